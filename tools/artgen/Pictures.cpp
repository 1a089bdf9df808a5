#include "Pictures.h"

#include "Painting.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <functional>
#include <cmath>
#include <numbers>

using namespace Painting;

namespace Pictures {
namespace {

const char* const Title = "Quake III Harkener";

QFont font(int pixels, int weight = QFont::Bold, int stretch = QFont::Unstretched, const char* family = "DejaVu Sans")
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setWeight(QFont::Weight(weight));
    f.setStretch(stretch);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

// Glowing text: a blurred halo of the glow colour under an outlined, gradient-filled face.
void glowText(QPainter& painter, const QSize& size, const QPainterPath& text, const QColor& glow, int radius,
              const QColor& top, const QColor& bottom, const QColor& outline)
{
    QImage halo = canvas(size.width(), size.height());
    {
        QPainter p(&halo);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(glow, radius));
        p.setBrush(glow);
        p.drawPath(text);
    }
    painter.drawImage(0, 0, blurred(halo, radius));
    const QRectF box = text.boundingRect();
    QLinearGradient face(box.topLeft(), box.bottomLeft());
    face.setColorAt(0, top);
    face.setColorAt(1, bottom);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(outline.alpha() ? QPen(outline, 1.2) : QPen(Qt::NoPen));
    painter.setBrush(face);
    painter.drawPath(text);
}

QImage swirlField(int width, int height, double period, double brightness, double offsetX)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double phase = swirlPhase(x + offsetX, y, period);
            // Bands of the phase give the swirl; their sharpness gives the glow.
            const double band = 0.5 + 0.5 * std::sin(phase * 2.2);
            line[x] = hotColour(std::pow(band, 1.6), brightness).rgb();
        }
    }
    return image;
}

// The creature's head, designed in a 48 x 48 box.
void drawHead(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor outline(12, 10, 10);

    QPainterPath horns;
    horns.moveTo(13, 15);
    horns.cubicTo(6, 12, 4, 6, 7, 1);
    horns.cubicTo(9, 6, 13, 9, 18, 10);
    horns.closeSubpath();
    horns.moveTo(35, 15);
    horns.cubicTo(42, 12, 44, 6, 41, 1);
    horns.cubicTo(39, 6, 35, 9, 30, 10);
    horns.closeSubpath();
    QLinearGradient bone(0, 0, 0, 16);
    bone.setColorAt(0, QColor(236, 222, 190));
    bone.setColorAt(1, QColor(120, 96, 70));
    painter.setPen(QPen(outline, 1));
    painter.setBrush(bone);
    painter.drawPath(horns);
    // Growth rings across the horns.
    painter.setPen(QPen(QColor(90, 70, 50, 160), 0.6));
    for (qreal t : { 0.3, 0.5, 0.7 }) {
        painter.drawLine(QPointF(7 + 4 * t, 1 + 9 * t), QPointF(10 + 5 * t, 4 + 7 * t));
        painter.drawLine(QPointF(41 - 4 * t, 1 + 9 * t), QPointF(38 - 5 * t, 4 + 7 * t));
    }

    QPainterPath head;
    head.moveTo(24, 6);
    head.cubicTo(35, 6, 38, 14, 37, 22);
    head.cubicTo(36, 29, 31, 33, 29, 38);
    head.lineTo(19, 38);
    head.cubicTo(17, 33, 12, 29, 11, 22);
    head.cubicTo(10, 14, 13, 6, 24, 6);
    QRadialGradient skin(QPointF(21, 14), 22);
    skin.setColorAt(0, QColor(150, 168, 120));
    skin.setColorAt(0.55, QColor(78, 96, 62));
    skin.setColorAt(1, QColor(26, 34, 22));
    painter.setBrush(skin);
    painter.drawPath(head);

    // Modelling: a lit crown, hollow cheeks, nostrils.
    painter.save();
    painter.setClipPath(head);
    painter.setPen(Qt::NoPen);
    QRadialGradient crown(QPointF(22, 10), 8);
    crown.setColorAt(0, QColor(255, 255, 230, 90));
    crown.setColorAt(1, QColor(255, 255, 230, 0));
    painter.setBrush(crown);
    painter.drawEllipse(QPointF(22, 10), 8, 6);
    for (qreal x : { 14.5, 33.5 }) {
        QRadialGradient hollow(QPointF(x, 28), 6);
        hollow.setColorAt(0, QColor(0, 0, 0, 120));
        hollow.setColorAt(1, QColor(0, 0, 0, 0));
        painter.setBrush(hollow);
        painter.drawEllipse(QPointF(x, 28), 6, 7);
    }
    painter.setBrush(QColor(16, 20, 12, 200));
    painter.drawEllipse(QPointF(22.3, 26.4), 0.9, 0.7);
    painter.drawEllipse(QPointF(25.7, 26.4), 0.9, 0.7);
    painter.restore();

    // Brow ridge and eye slits, lit from inside.
    QPainterPath brow;
    brow.moveTo(14, 18);
    brow.quadTo(24, 13, 34, 18);
    painter.setPen(QPen(QColor(20, 26, 16), 2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(brow);
    QPainterPath eyes;
    eyes.moveTo(15, 20);
    eyes.lineTo(22, 22);
    eyes.lineTo(16, 24);
    eyes.closeSubpath();
    eyes.moveTo(33, 20);
    eyes.lineTo(26, 22);
    eyes.lineTo(32, 24);
    eyes.closeSubpath();
    painter.setPen(QPen(outline, 0.8));
    painter.setBrush(QColor(255, 150, 20));
    painter.drawPath(eyes);

    QPainterPath mouth;
    mouth.moveTo(18, 29);
    mouth.quadTo(24, 33, 30, 29);
    mouth.lineTo(28, 35);
    mouth.lineTo(20, 35);
    mouth.closeSubpath();
    painter.setBrush(QColor(30, 6, 4));
    painter.drawPath(mouth);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 232, 210));
    for (int tooth = 0; tooth < 4; ++tooth) {
        QPainterPath fang;
        const qreal x = 19.5 + tooth * 2.5;
        fang.moveTo(x, 30.3 + (tooth == 0 || tooth == 3 ? -0.6 : 0.6));
        fang.lineTo(x + 2.2, 30.6 + (tooth == 0 || tooth == 3 ? -0.6 : 0.6));
        fang.lineTo(x + 1.1, 33.5);
        fang.closeSubpath();
        painter.drawPath(fang);
    }
}

QPainterPath roundedBox(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// A small metal box of the title bar: raised, or sunk when pressed.
QImage titleBox(bool pressed, const std::function<void(QPainter&, const QColor&)>& glyph)
{
    QImage image = canvas(13, 13);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0, 0, 13, 13);
    painter.fillPath(roundedBox(box, 2), QColor(10, 10, 12));
    const QRectF face = box.adjusted(1, 1, -1, -1);
    fillMetal(painter, roundedBox(face, 1.5), face, pressed ? 70 : 128);
    bevel(painter, face, pressed, 1.5);
    painter.translate(pressed ? 0.5 : 0, pressed ? 0.5 : 0);
    glyph(painter, pressed ? QColor(255, 214, 90) : QColor(200, 40, 16));
    return image;
}

}

QImage psycho2()
{
    QImage tile = swirlField(300, 300, 300, 0.62, 0);
    return tile.convertToFormat(QImage::Format_RGB32);
}

QImage about()
{
    QImage image = swirlField(450, 238, 300, 0.95, 37);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Darken the left so the title reads, leave the figure's side hot.
    QLinearGradient shade(0, 0, 450, 0);
    shade.setColorAt(0, QColor(0, 0, 0, 170));
    shade.setColorAt(0.6, QColor(0, 0, 0, 90));
    shade.setColorAt(1, QColor(0, 0, 0, 10));
    painter.fillRect(image.rect(), shade);

    QImage figure = canvas(450, 238);
    {
        QPainter p(&figure);
        p.translate(262, 8);
        p.scale(4.2, 4.2);
        drawHead(p);
    }
    painter.drawImage(4, 6, tinted(blurred(figure, 6), QColor(0, 0, 0, 200)));
    painter.drawImage(0, 0, figure);

    glowText(painter, image.size(), textPath("QUAKE III", font(30, QFont::Black), QRectF(12, 40, 260, 40)),
             QColor(255, 80, 0, 200), 5, QColor(255, 236, 160), QColor(226, 84, 10), QColor(40, 8, 0));
    glowText(painter, image.size(), textPath("Harkener", font(44, QFont::Black), QRectF(12, 78, 260, 56)),
             QColor(255, 60, 0, 220), 6, QColor(255, 250, 210), QColor(250, 120, 20), QColor(40, 8, 0));
    painter.setPen(QColor(255, 214, 160));
    painter.setFont(font(12, QFont::DemiBold));
    painter.drawText(QRectF(12, 140, 260, 18), Qt::AlignHCenter, "finds the servers of your LAN party");
    painter.setFont(font(10, QFont::Normal));
    painter.setPen(QColor(230, 200, 170));
    painter.drawText(QRectF(0, 214, 450, 16), Qt::AlignHCenter, "Version 0.1  \u00b7  code and artwork by the Harkener developers");
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage bigWindow3()
{
    const int width = 525, height = 229, border = 5, barTop = 3, barHeight = 19;
    QImage image = canvas(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QPainterPath frame = roundedBox(QRectF(0, 0, width, height), 5);
    QPainterPath inside;
    inside.addRect(QRectF(border, barTop + barHeight + 2, width - 2 * border, height - barTop - barHeight - 2 - border));
    painter.fillPath(frame.subtracted(inside), QColor(8, 8, 10));
    fillMetal(painter, roundedBox(QRectF(1, 1, width - 2, height - 2), 4).subtracted(inside), QRectF(0, 0, width, 60), 112);
    bevel(painter, QRectF(1, 1, width - 2, height - 2), false, 4);
    bevel(painter, inside.boundingRect().adjusted(-1, -1, 1, 1), true);

    // Title bar: dark grooves across brushed metal.
    const QRectF bar(border + 20, barTop, width - 2 * border - 40, barHeight);
    painter.fillRect(bar, QColor(22, 22, 26));
    for (int y = int(bar.top()) + 2; y < bar.bottom() - 1; y += 3) {
        painter.fillRect(QRectF(bar.left() + 2, y, bar.width() - 4, 1), QColor(150, 154, 162));
        painter.fillRect(QRectF(bar.left() + 2, y + 1, bar.width() - 4, 1), QColor(70, 72, 78));
    }
    bevel(painter, bar, true);
    const QRectF plate(width / 2.0 - 92, barTop, 184, barHeight);
    QLinearGradient plateFill(plate.topLeft(), plate.bottomLeft());
    plateFill.setColorAt(0, QColor(40, 8, 4));
    plateFill.setColorAt(1, QColor(8, 2, 2));
    painter.fillPath(roundedBox(plate, 3), plateFill);
    bevel(painter, plate, true, 3);
    QFont titleFont = font(12, QFont::Bold);
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    glowText(painter, image.size(), textPath(QString(Title).toUpper(), titleFont, plate.adjusted(0, 1, 0, 1)),
             QColor(255, 60, 0, 200), 2, QColor(255, 244, 200), QColor(255, 150, 40), Qt::transparent);

    // A hot seam round the window's inside, as if the frame held something glowing.
    painter.setPen(QPen(QColor(255, 110, 20, 150), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(inside.boundingRect().adjusted(-1.5, -1.5, 1.5, 1.5));

    // Sockets for the close box at the left and the miniaturise box at the right.
    for (qreal x : { 9.0, width - 9.0 - 15 }) {
        const QRectF socket(x, barTop + 2, 15, 15);
        painter.fillPath(roundedBox(socket, 2), QColor(14, 14, 16));
        bevel(painter, socket, true, 2);
    }
    // Rivets in the corners.
    for (QPointF at : { QPointF(3, height - 3), QPointF(width - 3, height - 3) }) {
        QRadialGradient rivet(at - QPointF(0.6, 0.6), 2);
        rivet.setColorAt(0, QColor(230, 230, 236));
        rivet.setColorAt(1, QColor(40, 40, 46));
        painter.setPen(Qt::NoPen);
        painter.setBrush(rivet);
        painter.drawEllipse(at, 1.8, 1.8);
    }
    return image;
}

QImage closer(bool pressed)
{
    return titleBox(pressed, [](QPainter& painter, const QColor& colour) {
        painter.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(4, 4), QPointF(9, 9));
        painter.drawLine(QPointF(9, 4), QPointF(4, 9));
    });
}

QImage mini(bool pressed)
{
    return titleBox(pressed, [](QPainter& painter, const QColor& colour) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRect(QRectF(3.5, 4, 6, 1.6));
        painter.drawRect(QRectF(3.5, 7.4, 6, 1.6));
    });
}

QImage play(bool pressed)
{
    const int height = pressed ? 80 : 82;
    const qreal top = pressed ? 2 : 0;
    QImage image = canvas(64, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // A barrel: straight top and bottom, sides bowed outwards.
    auto barrel = [](qreal y) {
        QPainterPath path;
        path.moveTo(8, y + 1);
        path.lineTo(56, y + 1);
        path.cubicTo(66, y + 20, 66, y + 58, 56, y + 77);
        path.lineTo(8, y + 77);
        path.cubicTo(-2, y + 58, -2, y + 20, 8, y + 1);
        return path;
    };
    if (!pressed)
        painter.fillPath(barrel(4), QColor(26, 26, 30));
    QPainterPath body = barrel(top);
    QLinearGradient shine(0, top, 64, top);
    shine.setColorAt(0, QColor(4, 4, 6));
    shine.setColorAt(0.3, QColor(pressed ? 34 : 48, pressed ? 30 : 48, pressed ? 30 : 54));
    shine.setColorAt(0.7, QColor(10, 10, 12));
    shine.setColorAt(1, QColor(2, 2, 2));
    painter.fillPath(body, shine);
    painter.setPen(QPen(QColor(170, 174, 182), 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body);

    // The emblem: a silver ring round a play wedge, glowing hot while pressed.
    const QPointF centre(32, top + 33);
    QLinearGradient silver(centre - QPointF(0, 16), centre + QPointF(0, 16));
    silver.setColorAt(0, QColor(250, 250, 255));
    silver.setColorAt(0.5, QColor(150, 154, 164));
    silver.setColorAt(0.51, QColor(98, 100, 110));
    silver.setColorAt(1, QColor(220, 222, 230));
    if (pressed) {
        QImage halo = canvas(64, height);
        QPainter p(&halo);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(255, 90, 0));
        p.setPen(Qt::NoPen);
        p.drawEllipse(centre, 17, 17);
        p.end();
        painter.drawImage(0, 0, blurred(halo, 4));
    }
    QPainterPath ring;
    ring.addEllipse(centre, 16, 16);
    ring.addEllipse(centre, 12.5, 12.5);
    QPainterPath wedge;
    wedge.moveTo(centre + QPointF(-5, -8));
    wedge.lineTo(centre + QPointF(9, 0));
    wedge.lineTo(centre + QPointF(-5, 8));
    wedge.closeSubpath();
    painter.setPen(QPen(QColor(20, 20, 24), 1));
    painter.setBrush(silver);
    painter.drawPath(ring);
    painter.drawPath(wedge);

    painter.setPen(pressed ? QColor(255, 200, 120) : QColor(200, 204, 214));
    painter.setFont(font(12, QFont::Black));
    painter.drawText(QRectF(0, top + 54, 64, 16), Qt::AlignCenter, "PLAY");
    return image;
}

QImage pill(const QString& label)
{
    QImage image = canvas(80, 24);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(0.5, 0.5, 79, 23);
    QLinearGradient rim(outer.topLeft(), outer.bottomLeft());
    rim.setColorAt(0, QColor(210, 212, 220));
    rim.setColorAt(1, QColor(70, 72, 80));
    painter.fillPath(roundedBox(outer, 11.5), rim);
    const QRectF inner = outer.adjusted(2, 2, -2, -2);
    QLinearGradient body(inner.topLeft(), inner.bottomLeft());
    body.setColorAt(0, QColor(54, 54, 60));
    body.setColorAt(0.5, QColor(14, 14, 16));
    body.setColorAt(1, QColor(0, 0, 0));
    painter.fillPath(roundedBox(inner, 9.5), body);
    painter.setPen(Qt::white);
    painter.setFont(font(12, QFont::Bold));
    painter.drawText(inner, Qt::AlignCenter, label);
    return image;
}

QImage briefchen()
{
    QImage image = canvas(22, 13);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF paper(0.5, 0.5, 21, 12);
    QLinearGradient fill(paper.topLeft(), paper.bottomLeft());
    fill.setColorAt(0, QColor(255, 250, 236));
    fill.setColorAt(1, QColor(206, 196, 172));
    painter.setPen(QPen(QColor(40, 36, 30), 1));
    painter.setBrush(fill);
    painter.drawRect(paper);
    painter.setPen(QPen(QColor(90, 80, 66), 1));
    painter.drawLine(QPointF(0.5, 12.5), QPointF(8.5, 6.5));
    painter.drawLine(QPointF(21.5, 12.5), QPointF(13.5, 6.5));
    painter.setPen(QPen(QColor(40, 36, 30), 1));
    painter.drawPolyline(QPolygonF({ QPointF(0.5, 0.5), QPointF(11, 8), QPointF(21.5, 0.5) }));
    return image;
}

QImage blitz()
{
    QImage image = canvas(18, 18);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPolygonF bolt({ QPointF(11.5, 0.5), QPointF(3, 10), QPointF(8, 10), QPointF(5, 17.5), QPointF(15, 7),
                           QPointF(10, 7), QPointF(14, 0.5) });
    QLinearGradient fill(0, 0, 0, 18);
    fill.setColorAt(0, QColor(255, 250, 170));
    fill.setColorAt(0.5, QColor(255, 200, 30));
    fill.setColorAt(1, QColor(240, 90, 10));
    painter.setPen(QPen(QColor(90, 20, 0), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(fill);
    painter.drawPolygon(bolt);
    return image;
}

QImage gumpel()
{
    QImage image = canvas(48, 48);
    QPainter painter(&image);
    // Held a little high and small so that the name below stays readable.
    painter.translate(24, 0);
    painter.scale(0.9, 0.9);
    painter.translate(-24, 0);
    drawHead(painter);
    return image;
}

QImage logoGlow()
{
    QImage shape = canvas(48, 48);
    {
        QPainter painter(&shape);
        painter.setRenderHint(QPainter::Antialiasing);
        QRadialGradient glow(QPointF(24, 21), 22);
        glow.setColorAt(0, QColor(255, 40, 10, 230));
        glow.setColorAt(0.45, QColor(220, 20, 0, 150));
        glow.setColorAt(1, QColor(120, 0, 0, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(QPointF(24, 21), 22, 22);
        // Hot eyes: the emblem's centre.
        painter.setBrush(QColor(255, 90, 30, 255));
        painter.drawEllipse(QPointF(18.5, 22), 3.5, 2.2);
        painter.drawEllipse(QPointF(29.5, 22), 3.5, 2.2);
    }
    return blurred(shape, 1);
}

QImage harkenerName(bool bright)
{
    QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    QFont face = font(14, QFont::Bold, QFont::Condensed);
    const qreal advance = QFontMetricsF(face).horizontalAdvance("Harkener");
    face.setStretch(int(int(QFont::Condensed) * 46.0 / advance));
    const QPainterPath text = textPath("Harkener", face, QRectF(0, 34, 48, 14));
    painter.setRenderHint(QPainter::Antialiasing);
    if (bright) {
        QImage halo = canvas(48, 48);
        QPainter p(&halo);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(20, 90, 255), 2));
        p.setBrush(QColor(20, 90, 255));
        p.drawPath(text);
        p.end();
        painter.drawImage(0, 0, blurred(halo, 1));
    }
    QLinearGradient fill(0, 36, 0, 47);
    fill.setColorAt(0, bright ? QColor(210, 240, 255) : QColor(44, 76, 130));
    fill.setColorAt(1, bright ? QColor(70, 160, 255) : QColor(24, 44, 90));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(text);
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage searchingIcon(int size)
{
    QImage icon(48, 48, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::black);
    {
        QPainter painter(&icon);
        painter.drawImage(0, 0, harkenerName(true));
        painter.drawImage(0, 0, gumpel());
    }
    if (size == 48)
        return icon;
    return icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}
