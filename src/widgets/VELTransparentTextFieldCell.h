#pragma once

#include <QStyledItemDelegate>

// An item delegate that draws nothing, so the cells it serves show what lies behind them.
// Editing and size hints are the styled delegate's. Main thread only.
class VELTransparentTextFieldCell : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
