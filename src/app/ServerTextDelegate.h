#pragma once

#include <QStyledItemDelegate>

// Paints a cell's text in the colours its Quake colour codes ask for, as plain text on
// one line, elided at the cell's edge. Everything else (selection, focus) is the style's.
class ServerTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
