#pragma once

#include <QImage>
#include <optional>

// The 48 x 48 picture that stands for the main window while it is minimised: the name
// bright while the search runs and dim otherwise, the creature over it, and a red glow
// added while any server is known. Composed only on the first image() after a change of
// state, so a caller may feed it the same states every second for free.
// Main thread only (uses the shared pictures).
class HarkenerIcon {
public:
    HarkenerIcon();

    bool isSnooping() const { return m_snooping; }
    void setSnooping(bool snooping);
    bool isGlowing() const { return m_glowing; }
    void setGlowing(bool glowing);

    // The composed picture for the current states; valid until the next change of state.
    // Its cacheKey() stays the same until then.
    const QImage& image();

private:
    QImage compose() const;

    std::optional<QImage> m_cache;
    const QImage& m_logoGlow;
    const QImage& m_gumpel;
    const QImage& m_harkenerHi;
    const QImage& m_harkenerLo;
    bool m_snooping = false;
    bool m_glowing = false;
};
