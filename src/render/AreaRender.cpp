// The members of CArea that rebuild the warped texture at once live with the
// renderer that builds it, so that the area record itself calls nothing
// above the document.
#include "document/Area.h"
#include "render/AreaWarp.h"

void CArea::SetTexture(const QImage* texture)
{
    if (!texture)
        return;
    SetTexture(CStoredImage(*texture));
}

void CArea::SetTexture(const CStoredImage& texture)
{
    m_pTexture = std::make_unique<QImage>(texture.Image());
    m_textureJpeg = texture.Jpeg();
    if (m_bSkew)
        RenderSkewedTexture(true);
}

void CArea::SetSkewEdit(bool edit)
{
    m_bSkewEdit = edit;
    if (!edit)
        RenderSkewedTexture(true);
}

void CArea::SetSkewPreview(bool preview)
{
    m_bSkewPreview = preview;
    if (preview && m_bSkewEdit)
        RenderSkewedTexture(true);
}

void CArea::RenderSkewedTexture(bool force)
{
    if (!m_pTexture || (!m_bSkewPreview && !force))
        return;
    m_skewed.Reset();
    QImage skewed = BuildAreaWarp(*this);
    if (!skewed.isNull())
        m_skewed.Set(std::make_shared<const QImage>(std::move(skewed)));
}

void CArea::RefreshSkewedTexture()
{
    const bool shown = m_bSkewEdit ? m_bSkewPreview : m_bSkew != 0;
    if (shown)
        RenderSkewedTexture(true);
    else
        m_skewed.Reset();
}

void CArea::RenderSkewedPreview(qint64 maxPixels)
{
    if (!m_pTexture)
        return;
    const int reduction = AreaWarpReduction(*this, maxPixels);
    if (reduction == 1) {
        RenderSkewedTexture(true);
        return;
    }
    QImage preview = BuildAreaWarpReduced(*this, reduction);
    if (preview.isNull())
        m_skewed.Reset();
    else
        m_skewed.Set(std::make_shared<const QImage>(std::move(preview)), reduction);
}
