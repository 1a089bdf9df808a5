#pragma once

class QImage;

// Asked by a VELReplROP before every change of its picture, the program's and a drop's
// alike. Called on the main thread.
class VELReplROPDelegate {
public:
    virtual ~VELReplROPDelegate() = default;

    // Answers true to let `image` (possibly a null image: no picture) be set, false to
    // keep the current picture.
    virtual bool imageWillBeSet(const QImage& image) = 0;
};
