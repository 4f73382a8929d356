#pragma once

#include <QImage>

#include <algorithm>
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
    CSkewedTextureCache(CSkewedTextureCache&& other) noexcept { *this = std::move(other); }
    CSkewedTextureCache& operator=(CSkewedTextureCache&& other) noexcept
    {
        if (this != &other) {
            int reduction = 1;
            Image image = other.Take(reduction);
            Set(std::move(image), reduction);
        }
        return *this;
    }

    Image Get() const
    {
        std::lock_guard lock(m_mutex);
        return m_image;
    }
    // reduction > 1: a quick preview made that many times smaller than the
    // exact warp, drawn enlarged.
    void Set(Image image, int reduction = 1)
    {
        std::lock_guard lock(m_mutex);
        m_image = std::move(image);
        m_nReduction = m_image ? std::max(1, reduction) : 1;
    }
    void Reset() { Set(nullptr); }
    int Reduction() const
    {
        std::lock_guard lock(m_mutex);
        return m_nReduction;
    }
    CSkewedTextureCache SharedCopy() const
    {
        std::lock_guard lock(m_mutex);
        CSkewedTextureCache copy;
        copy.m_image = m_image;
        copy.m_nReduction = m_nReduction;
        return copy;
    }

    // The image, made by build first when there is none. Two threads drawing
    // the same area build it once: the second waits for the first.
    template <typename Build> Image GetOrBuild(Build&& build) const
    {
        std::lock_guard lock(m_mutex);
        if (!m_image) {
            QImage made = build();
            if (!made.isNull()) {
                m_image = std::make_shared<const QImage>(std::move(made));
                m_nReduction = 1;
            }
        }
        return m_image;
    }
    // The image with its reduction, read together.
    Image Get(int& reduction) const
    {
        std::lock_guard lock(m_mutex);
        reduction = m_nReduction;
        return m_image;
    }

private:
    Image Take(int& reduction)
    {
        std::lock_guard lock(m_mutex);
        reduction = std::exchange(m_nReduction, 1);
        return std::exchange(m_image, nullptr);
    }

    mutable std::mutex m_mutex;
    mutable Image m_image;
    mutable int m_nReduction = 1;
};
