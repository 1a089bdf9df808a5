#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QWidget>

class VELReplROPDelegate;

// A picture view that repeats its picture over its whole area like wallpaper, copying the
// picture's pixels (alpha included) and never scaling it. Tiles hang from the top-left
// corner on a grid fixed to the view, so partial redraws line up with what is on screen;
// only the dirty region is drawn. With no picture, or one under 2 x 2 points, the dirty
// rectangle is outlined instead. Where made editable it accepts dropped pictures (image
// data or an image file), which go through setImage() like any other.
// Main thread only.
class VELReplROP : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool editable READ isEditable WRITE setEditable)

public:
    // One piece of a tiling pass: `source` in the picture's points, drawn with its
    // top-left corner at `target` in the view.
    struct Piece {
        QRect source;
        QPoint target;
        bool operator==(const Piece&) const = default;
    };

    explicit VELReplROP(QWidget* parent = nullptr);

    QImage image() const { return m_image; }
    // Asks the delegate first; a veto leaves the current picture. Answers whether the
    // picture was taken.
    bool setImage(const QImage& image);

    // Not owned; must outlive the view or be cleared. Null: no one to ask.
    VELReplROPDelegate* delegate() const { return m_delegate; }
    void setDelegate(VELReplROPDelegate* delegate) { m_delegate = delegate; }

    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);

    // The pieces that cover `dirty` for a picture of `pictureSize` points, row by row from
    // the top, each row from the dirty rectangle's left edge. Empty for an empty rectangle
    // or a picture under 2 x 2.
    static QList<Piece> tilePieces(const QSize& pictureSize, const QRect& dirty);

signals:
    // A dropped picture was taken (the image view's action).
    void imageDropped();

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void tileRect(QPainter& painter, const QRect& dirty) const;

    QImage m_image;
    VELReplROPDelegate* m_delegate = nullptr;
    bool m_editable = false;
};
