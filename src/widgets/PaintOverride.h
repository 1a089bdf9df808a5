#pragma once

#include <QObject>

#include <functional>

class QPaintEvent;
class QPainter;
class QWidget;

// Changes a widget's painting in place: the widget keeps its class, state and place in the
// tree, and from then on its paint events go to `paint`, instead of (Replace) or before
// (Underlay) its own painting. This is how the kit turns widgets that already exist (a
// table's viewport, its header) into their see-through variants. The override is a child
// of the widget and dies with it.
// Main thread only.
class PaintOverride final : public QObject {
    Q_OBJECT

public:
    using Paint = std::function<void(QWidget& widget, QPainter& painter, const QPaintEvent& event)>;
    enum class Mode { Replace, Underlay };

    // Installs `paint` under `name` unless an override of that name is already there.
    static void install(QWidget* target, const char* name, Paint paint, Mode mode = Mode::Replace);
    static bool isInstalled(const QWidget* target, const char* name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PaintOverride(QWidget* target, const char* name, Paint paint, Mode mode);

    QWidget* m_target;
    Paint m_paint;
    Mode m_mode;
};
