#include "artwork/HarkenerIcon.h"

#include "artwork/EmbeddedPictures.h"

#include <QPainter>

HarkenerIcon::HarkenerIcon()
    : m_logoGlow(LogoGlowTiffSharedImage())
    , m_gumpel(GumpelTiffSharedImage())
    , m_harkenerHi(HarkenerHiTiffSharedImage())
    , m_harkenerLo(HarkenerLoTiffSharedImage())
{
}

void HarkenerIcon::setSnooping(bool snooping)
{
    if (snooping == m_snooping)
        return;
    m_cache.reset();
    m_snooping = snooping;
}

void HarkenerIcon::setGlowing(bool glowing)
{
    if (glowing == m_glowing)
        return;
    m_cache.reset();
    m_glowing = glowing;
}

const QImage& HarkenerIcon::image()
{
    if (!m_cache)
        m_cache = compose();
    return *m_cache;
}

QImage HarkenerIcon::compose() const
{
    const QSize size = m_harkenerHi.isNull() ? QSize(48, 48) : m_harkenerHi.size();
    QImage composed(size, QImage::Format_ARGB32_Premultiplied);
    // The picture counts as opaque throughout, so source-atop lays each part over it by
    // the part's own alpha.
    composed.fill(Qt::black);
    QPainter painter(&composed);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.drawImage(0, 0, m_snooping ? m_harkenerHi : m_harkenerLo);
    painter.drawImage(0, 0, m_gumpel);
    if (m_glowing) {
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        painter.drawImage(0, 0, m_logoGlow);
    }
    return composed;
}
