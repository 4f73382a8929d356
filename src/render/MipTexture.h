#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

// A texture made ready for filtered sampling as a repeating pattern: settled
// on white (so transparent texels need no care while sampling), in RGB32,
// with a chain of ever smaller copies down to one texel, and its mean
// colour.
//
// Level k + 1 has half the texels of level k each way, rounded up, each the
// area-weighted mean of the level-k texels it covers. An area mean over a
// partition of the whole texture is exactly a mean over one period of the
// repeating pattern, so every level still tiles seamlessly; the repetition
// itself (texel n - 1 next to texel 0) is the sampler's concern. A level
// whose size is not an exact half keeps its own scale: level-0 texel point u
// is level-k point u * scaleX.
class CMipTexture
{
public:
    struct Level
    {
        int width = 0;
        int height = 0;
        double scaleX = 1; // width / level-0 width
        double scaleY = 1;
        std::vector<std::uint32_t> texels; // row-major, 0xffRRGGBB
    };

    // An empty chain for a null or empty texture. Throws std::bad_alloc
    // when memory runs out.
    explicit CMipTexture(const QImage& texture);

    bool IsNull() const { return m_levels.empty(); }
    int LevelCount() const { return static_cast<int>(m_levels.size()); }
    const Level& GetLevel(int i) const { return m_levels[static_cast<std::size_t>(i)]; }
    // The rounded mean of the settled texels of level 0.
    std::uint32_t Mean() const { return m_mean; }

private:
    void AddHalfLevel();

    std::vector<Level> m_levels;
    std::uint32_t m_mean = 0xFFFFFFFF;
};
