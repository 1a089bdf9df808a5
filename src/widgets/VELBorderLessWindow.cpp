#include "widgets/VELBorderLessWindow.h"

#include <QResizeEvent>

namespace {
// Whatever the caller asked for, the widget is a top-level window (a dialog or tool
// window stays one) and loses its decoration.
Qt::WindowFlags framelessFlags(Qt::WindowFlags flags)
{
    if ((flags & Qt::WindowType_Mask) == Qt::Widget)
        flags |= Qt::Window;
    return flags | Qt::FramelessWindowHint;
}
} // namespace

VELBorderLessWindow::VELBorderLessWindow(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, framelessFlags(flags))
{
}

void VELBorderLessWindow::setContentView(QWidget* view)
{
    if (view == m_contentView)
        return;
    delete m_contentView;
    m_contentView = view;
    if (!view)
        return;
    view->setParent(this);
    view->setGeometry(rect());
    view->show();
}

void VELBorderLessWindow::setVisible(bool visible)
{
    // setWindowFlags() is not virtual, so flags set after construction are put right here,
    // before the window system ever sees the window.
    if (visible)
        forceFrameless();
    QWidget::setVisible(visible);
}

void VELBorderLessWindow::forceFrameless()
{
    const Qt::WindowFlags wanted = framelessFlags(windowFlags());
    if (windowFlags() != wanted)
        setWindowFlags(wanted);
}

void VELBorderLessWindow::resizeEvent(QResizeEvent* event)
{
    if (m_contentView)
        m_contentView->setGeometry(QRect(QPoint(0, 0), event->size()));
    QWidget::resizeEvent(event);
}
