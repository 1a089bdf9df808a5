// A Qt generic plugin that watches the unmodified program's timers, so a test can tell
// whether its one-second tick kept pace. Loaded with QT_PLUGIN_PATH pointing at its
// directory and QT_QPA_GENERIC_PLUGINS=ticktrace. After every firing of a timer whose
// mean interval is about a second, writes "firings longest_gap_ms mean_ms" for it into
// the file TICK_TRACE_FILE.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGenericPlugin>
#include <QHash>
#include <QTimerEvent>

namespace {

class TickTrace final : public QObject {
public:
    explicit TickTrace(QObject* parent)
        : QObject(parent)
    {
        m_clock.start();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Timer)
            record(static_cast<QTimerEvent*>(event)->timerId());
        return false;
    }

private:
    struct Timer {
        qint64 last = -1;
        qint64 firings = 0;
        qint64 total = 0;
        qint64 longest = 0;
    };

    void record(int id)
    {
        const qint64 now = m_clock.elapsed();
        Timer& timer = m_timers[id];
        if (timer.last >= 0) {
            const qint64 gap = now - timer.last;
            ++timer.firings;
            timer.total += gap;
            timer.longest = std::max(timer.longest, gap);
        }
        timer.last = now;
        const qint64 mean = timer.firings ? timer.total / timer.firings : 0;
        if (timer.firings >= 3 && mean >= 900 && mean <= 1100) {
            QFile file(qEnvironmentVariable("TICK_TRACE_FILE"));
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray::number(timer.firings) + ' ' + QByteArray::number(timer.longest) + ' ' + QByteArray::number(mean) + '\n');
        }
    }

    QElapsedTimer m_clock;
    QHash<int, Timer> m_timers;
};

}

class TickTracePlugin final : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "ticktrace.json")
public:
    QObject* create(const QString& key, const QString&) override
    {
        if (key.compare(QLatin1String("ticktrace"), Qt::CaseInsensitive) != 0)
            return nullptr;
        auto* trace = new TickTrace(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(trace);
        return trace;
    }
};

#include "TickTracePlugin.moc"
