#pragma once

#include <QImage>
#include <QWidget>

// A picture view that lays its picture over what lies behind it (source-atop) at the
// picture's own size, its bottom-left corner at the view's bottom-left corner, and draws
// nothing else: no frame, no scaling, no alignment. Main thread only.
class VELTransparentImageView : public QWidget {
    Q_OBJECT

public:
    explicit VELTransparentImageView(QWidget* parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage& image);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};
