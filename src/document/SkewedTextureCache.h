#pragma once

#include <QImage>

#include <memory>
#include <mutex>

// An area's warped texture, kept apart from the area's value so that a
// const area can be drawn from several threads: the image itself is never
// changed once made, only replaced, and the slot that holds it is guarded.
// A copy starts empty (the copy rebuilds when drawn); SharedCopy hands the
// same image on, for copies that must draw exactly as the original did.
class CSkewedTextureCache
{
public:
    using Image = std::shared_ptr<const QImage>;

    CSkewedTextureCache() = default;
    CSkewedTextureCache(const CSkewedTextureCache&) {}
    CSkewedTextureCache& operator=(const CSkewedTextureCache&)
    {
        Reset();
        return *this;
    }
    CSkewedTextureCache(CSkewedTextureCache&& other) noexcept : m_image(other.Take()) {}
    CSkewedTextureCache& operator=(CSkewedTextureCache&& other) noexcept
    {
        if (this != &other)
            Set(other.Take());
        return *this;
    }

    Image Get() const
    {
        std::lock_guard lock(m_mutex);
        return m_image;
    }
    void Set(Image image)
    {
        std::lock_guard lock(m_mutex);
        m_image = std::move(image);
    }
    void Reset() { Set(nullptr); }
    CSkewedTextureCache SharedCopy() const
    {
        CSkewedTextureCache copy;
        copy.m_image = Get();
        return copy;
    }

    // The image, made by build first when there is none. Two threads drawing
    // the same area build it once: the second waits for the first.
    template <typename Build> Image GetOrBuild(Build&& build) const
    {
        std::lock_guard lock(m_mutex);
        if (!m_image) {
            QImage made = build();
            if (!made.isNull())
                m_image = std::make_shared<const QImage>(std::move(made));
        }
        return m_image;
    }

private:
    Image Take()
    {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_image, nullptr);
    }

    mutable std::mutex m_mutex;
    mutable Image m_image;
};
