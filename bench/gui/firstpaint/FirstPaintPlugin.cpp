// A Qt generic plugin that tells when the program's first window has been painted, so
// the unmodified program can be timed. Loaded with QT_PLUGIN_PATH pointing at its
// directory and QT_QPA_GENERIC_PLUGINS=benchfirstpaint. Writes the milliseconds from
// BENCH_START_NS (the launcher's wall clock in nanoseconds, taken just before exec) to
// the first painted window into the file BENCH_FIRST_PAINT_FILE.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGenericPlugin>
#include <QTimer>
#include <QWidget>

#include <chrono>

namespace {

class FirstPaintWatch final : public QObject {
public:
    explicit FirstPaintWatch(QObject* parent)
        : QObject(parent)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_seen || event->type() != QEvent::Paint)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !widget->window()->isVisible())
            return false;
        m_seen = true;
        // The paint pass and its flush to the screen end before the next turn of the loop.
        QTimer::singleShot(0, this, &FirstPaintWatch::report);
        return false;
    }

private:
    void report()
    {
        const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::system_clock::now().time_since_epoch()).count();
        const double elapsedMs = static_cast<double>(now - qEnvironmentVariable("BENCH_START_NS").toLongLong()) / 1e6;
        QFile file(qEnvironmentVariable("BENCH_FIRST_PAINT_FILE"));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray::number(elapsedMs, 'f', 1) + '\n');
        QCoreApplication::instance()->removeEventFilter(this);
    }

    bool m_seen = false;
};

}

class FirstPaintPlugin final : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "firstpaint.json")
public:
    QObject* create(const QString& key, const QString&) override
    {
        if (key.compare(QLatin1String("benchfirstpaint"), Qt::CaseInsensitive) != 0)
            return nullptr;
        auto* watch = new FirstPaintWatch(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(watch);
        return watch;
    }
};

#include "FirstPaintPlugin.moc"
