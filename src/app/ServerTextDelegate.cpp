#include "app/ServerTextDelegate.h"

#include "app/QuakeText.h"
#include "app/ServerTableModel.h"

#include <QApplication>
#include <QPainter>

namespace {

QRect textRect(const QStyleOptionViewItem& option)
{
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    return option.rect.adjusted(margin, 0, -margin, 0);
}

// Draws the runs left to right; the run that does not fit is elided and ends the line.
void drawRuns(QPainter* painter, const QList<QuakeText::Run>& runs, const QRect& rect, const QStyleOptionViewItem& option)
{
    const QFontMetrics metrics(option.font);
    const QColor plainColor = option.palette.color(QPalette::Text);
    int x = rect.left();
    for (const QuakeText::Run& run : runs) {
        const int available = rect.right() + 1 - x;
        const int width = metrics.horizontalAdvance(run.text);
        const bool fits = width <= available;
        const QString text = fits ? run.text : metrics.elidedText(run.text, Qt::ElideRight, available);
        painter->setPen(run.color.isValid() ? run.color : plainColor);
        painter->drawText(QRect(x, rect.top(), available, rect.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        if (!fits)
            return;
        x += width;
    }
}

}

void ServerTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QString raw = index.data(ServerTableModel::RawTextRole).toString();
    background.text.clear();
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    painter->save();
    painter->setFont(background.font);
    painter->setClipRect(option.rect);
    const QRect rect = textRect(background);
    if (background.displayAlignment & Qt::AlignHCenter) {
        const QString plain = QuakeText::plain(raw);
        painter->setPen(background.palette.color(QPalette::Text));
        painter->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine,
            QFontMetrics(background.font).elidedText(plain, Qt::ElideRight, rect.width()));
    } else {
        drawRuns(painter, QuakeText::runs(raw), rect, background);
    }
    painter->restore();
}
