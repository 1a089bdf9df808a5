#include "AppTestSupport.h"

#include "app/AppController.h"
#include "app/HarkenerApplication.h"
#include "platform/ExceptionFunnel.h"
#include "platform/UserDefaults.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <thread>

namespace {

// Stands in for the desktop's mail program and browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

}

class AppControllerTest : public QObject {
    Q_OBJECT
private slots:
    void init() { UserDefaults::setStandardUserDefaults(std::make_unique<InMemoryUserDefaults>()); }

    void showsTheFirstFourQueuedExceptionsInOrder()
    {
        AppController controller;
        AlertRecorder alerts;
        std::thread worker([] {
            for (int i = 1; i <= 5; ++i)
                postExceptionToApplication(Exception("Test", "reason " + std::to_string(i)));
        });
        worker.join();

        controller.handlePendingExceptions();
        QCOMPARE(alerts.requests.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(alerts.requests[i].message, QStringLiteral("An unexpected condition appeared:\nreason %1").arg(i + 1));
        QCOMPARE(alerts.requests[0].defaultButton, QStringLiteral("Continue"));
        QCOMPARE(alerts.requests[0].alternateButton, QStringLiteral("Abort"));
        QVERIFY(alerts.requests[0].title.isEmpty());

        controller.handlePendingExceptions();
        QCOMPARE(alerts.requests.size(), 4); // the fifth was dropped, the queue is empty
        QVERIFY(!controller.isTerminating());
    }

    void aPostDuringADrainWaitsForTheNextTick()
    {
        AppController controller;
        AlertRecorder alerts;
        AlertPanel::setHandler([&](const AlertPanel::Request& request) {
            alerts.requests.append(request);
            if (alerts.requests.size() == 1)
                controller.postException(Exception("Test", "posted while an alert was up"));
            return AlertPanel::Response::Default;
        });
        controller.postException(Exception("Test", "first"));
        controller.handlePendingExceptions();
        QCOMPARE(alerts.requests.size(), 1);
        controller.handlePendingExceptions();
        QCOMPARE(alerts.requests.size(), 2);
        QVERIFY(alerts.requests[1].message.endsWith(QStringLiteral("posted while an alert was up")));
    }

    void fatalBehindNonFatalEndsTheProgramAfterBoth()
    {
        AppController controller;
        AlertRecorder alerts;
        controller.postException(Exception("Test", "harmless"));
        controller.postException(Exception(Exception::FatalException, "disk on fire"));
        controller.postException(Exception("Test", "never shown"));
        controller.handlePendingExceptions();

        QCOMPARE(alerts.requests.size(), 2);
        QCOMPARE(alerts.requests[1].message, QStringLiteral("An as unexpected as fatal error has occured:\n disk on fire"));
        QCOMPARE(alerts.requests[1].defaultButton, QStringLiteral("Abort"));
        QVERIFY(alerts.requests[1].alternateButton.isEmpty());
        QVERIFY(controller.isTerminating());
    }

    void abortOnANonFatalAlertEnds()
    {
        AppController controller;
        AlertRecorder alerts;
        alerts.responses = { AlertPanel::Response::Alternate };
        controller.handleException(Exception("Test", "100% broken <b>markup</b>"));
        QCOMPARE(alerts.requests.size(), 1);
        // Shown as it is: no format expansion, and the alert is plain text.
        QCOMPARE(alerts.requests[0].message, QStringLiteral("An unexpected condition appeared:\n100% broken <b>markup</b>"));
        QVERIFY(controller.isTerminating());
    }

    void anExceptionEscapingASlotReachesTheFunnel()
    {
        AppController controller;
        AlertRecorder alerts;
        QTimer::singleShot(0, &controller, [] { Exception::raise("thrown from a slot"); });
        QTRY_VERIFY_WITH_TIMEOUT((controller.handlePendingExceptions(), !alerts.requests.isEmpty()), 5000);
        QVERIFY(alerts.requests[0].message.endsWith(QStringLiteral("thrown from a slot")));
    }

    void theAddressButtonsHandTheirTitleToTheService_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("defaultService");
        QTest::addColumn<QString>("storedService");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("openedUrl");
        QTest::newRow("mail, default service") << "MailService" << "MailViewer/Mail To" << QString() << "me@example.org" << true << "mailto:me@example.org";
        QTest::newRow("mail, another mailer") << "MailService" << "MailViewer/Mail To" << "Other Mailer/Mail To" << "me@example.org" << true << "mailto:me@example.org";
        QTest::newRow("web, default service") << "WWWService" << "OmniWeb/Open URL" << QString() << "https://harkener.example.org/" << true << "https://harkener.example.org/";
        QTest::newRow("unknown service") << "WWWService" << "OmniWeb/Open URL" << "Nobody/Does This" << "https://x.example/" << false << QString();
    }

    void theAddressButtonsHandTheirTitleToTheService()
    {
        QFETCH(QString, key);
        QFETCH(QString, defaultService);
        QFETCH(QString, storedService);
        QFETCH(QString, text);
        QFETCH(bool, answer);
        QFETCH(QString, openedUrl);
        if (!storedService.isEmpty())
            UserDefaults::standardUserDefaults().setString(key.toStdString(), storedService.toStdString());
        UrlRecorder recorder;
        for (const char* scheme : { "mailto", "https" })
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");

        AppController controller;
        QCOMPARE(controller.performService(key, defaultService, text), answer);

        QCOMPARE(QGuiApplication::clipboard()->text(), text);
        QCOMPARE(recorder.urls.size(), openedUrl.isEmpty() ? 0 : 1);
        if (!openedUrl.isEmpty())
            QCOMPARE(recorder.urls.first(), QUrl(openedUrl));
        for (const char* scheme : { "mailto", "https" })
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
};

int runAppControllerTest(int argc, char** argv)
{
    AppControllerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AppControllerTest.moc"
