#include "ContactSheet.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int Margin = 12;
constexpr int Caption = 16;

void checkerboard(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, QColor(96, 96, 96));
    for (int y = area.top(); y < area.bottom(); y += 8)
        for (int x = area.left() + ((y - area.top()) / 8 % 2) * 8; x < area.right(); x += 16)
            painter.fillRect(QRect(x, y, 8, 8).intersected(area), QColor(140, 140, 140));
}

}

QImage contactSheet(const std::vector<NamedPicture>& pictures, int columns)
{
    std::vector<int> widths(columns, 0);
    std::vector<int> heights((pictures.size() + columns - 1) / columns, 0);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        widths[i % columns] = std::max({ widths[i % columns], pictures[i].second.width(), 150 });
        heights[i / columns] = std::max(heights[i / columns], pictures[i].second.height());
    }
    int width = Margin, height = Margin;
    for (int w : widths)
        width += w + Margin;
    for (int h : heights)
        height += h + Caption + Margin;
    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(40, 40, 44));
    QPainter painter(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    painter.setFont(font);
    int y = Margin;
    for (std::size_t row = 0; row < heights.size(); ++row) {
        int x = Margin;
        for (int column = 0; column < columns; ++column) {
            const std::size_t i = row * columns + column;
            if (i < pictures.size()) {
                const auto& [name, picture] = pictures[i];
                checkerboard(painter, QRect(QPoint(x, y), picture.size()));
                painter.drawImage(x, y, picture);
                painter.setPen(Qt::white);
                painter.drawText(x, y + heights[row] + 12,
                                 QString("%1 %2x%3").arg(name).arg(picture.width()).arg(picture.height()));
            }
            x += widths[column] + Margin;
        }
        y += heights[row] + Caption + Margin;
    }
    return sheet;
}

QImage zoomed(const QImage& picture, int factor)
{
    return picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage tiled(const QImage& picture, int columns, int rows)
{
    QImage block(picture.width() * columns, picture.height() * rows, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&block);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            painter.drawImage(column * picture.width(), row * picture.height(), picture);
    return block;
}
