#pragma once

#include <QPointer>
#include <QWidget>

// A top-level window without any decoration of the window system (no title bar, border or
// buttons), whatever window flags it is given: a skinned window draws its own. It holds
// one content widget that fills it. Main thread only.
class VELBorderLessWindow : public QWidget {
    Q_OBJECT

public:
    explicit VELBorderLessWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // Takes ownership of `view`, which replaces (and deletes) the previous content widget
    // and fills the window.
    void setContentView(QWidget* view);
    QWidget* contentView() const { return m_contentView; }

    void setVisible(bool visible) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void forceFrameless();

    QPointer<QWidget> m_contentView;
};
