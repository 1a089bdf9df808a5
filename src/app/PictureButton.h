#pragma once

#include <QAbstractButton>
#include <QImage>

// A button drawn only by its pictures: one at rest, another while pressed, dimmed while
// disabled. A transparent button is not shown at all, so two of them can share a place
// and only the visible one takes the click. Main thread only.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    QImage image() const { return m_image; }
    // Shown while the button is held down; the plain picture when null.
    void setAlternateImage(const QImage& image);
    QImage alternateImage() const { return m_alternateImage; }

    void setTransparent(bool transparent);
    bool isTransparent() const { return m_transparent; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    QImage m_alternateImage;
    bool m_transparent = false;
};
