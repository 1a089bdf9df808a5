#include "app/ModalWait.h"

#include "platform/Exception.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace ModalWait {

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(10);
    QTimer deadline;
    if (timeoutMs >= 0) {
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        deadline.start(timeoutMs);
    }
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done();
}

void runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start();
    if (!process.waitForStarted(-1)) {
        Exception::raise("Can't launch %s: %s", program.toLocal8Bit().constData(),
            process.errorString().toLocal8Bit().constData());
    }
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}
