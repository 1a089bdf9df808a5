#include "widgets/PaintOverride.h"

#include "platform/Log.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <exception>

PaintOverride::PaintOverride(QWidget* target, const char* name, Paint paint, Mode mode)
    : QObject(target)
    , m_target(target)
    , m_paint(std::move(paint))
    , m_mode(mode)
{
    setObjectName(QString::fromLatin1(name));
    target->installEventFilter(this);
}

void PaintOverride::install(QWidget* target, const char* name, Paint paint, Mode mode)
{
    if (!isInstalled(target, name))
        new PaintOverride(target, name, std::move(paint), mode);
}

bool PaintOverride::isInstalled(const QWidget* target, const char* name)
{
    return target->findChild<PaintOverride*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly) != nullptr;
}

bool PaintOverride::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_target || event->type() != QEvent::Paint)
        return false;
    // Nothing may escape an event handler; a failed paint leaves the area as it was.
    try {
        QPainter painter(m_target);
        m_paint(*m_target, painter, *static_cast<QPaintEvent*>(event));
    } catch (const std::exception& failure) {
        logMessage("%s painting failed: %s", objectName().toUtf8().constData(), failure.what());
    }
    return m_mode == Mode::Replace;
}
