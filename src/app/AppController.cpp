#include "app/AppController.h"

#include "app/AlertPanel.h"
#include "app/MainController.h"
#include "app/PreferencesController.h"
#include "artwork/EmbeddedPictures.h"
#include "platform/ExceptionFunnel.h"
#include "platform/UserDefaults.h"
#include "ui_AboutPanel.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QUrl>

namespace {

constexpr std::size_t MaximumPendingExceptions = 4;

QString reasonText(const Exception& exception)
{
    return QString::fromStdString(exception.reason());
}

// Centres a top-level window on the screen it is on (or the primary one).
void centerOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

}

AppController::AppController()
    : m_ui(std::make_unique<Ui::AboutPanel>())
{
    setExceptionSink([this](const Exception& exception) { postException(exception); });
}

void AppController::loadWindow()
{
    auto* panel = new QWidget(nullptr, Qt::Dialog);
    panel->setAttribute(Qt::WA_DeleteOnClose, false);
    m_ui->setupUi(panel);
    setWindow(panel);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &AppController::pushWindow);
    connect(m_ui->mailButton, &QPushButton::clicked, this, &AppController::pushEmail);
    connect(m_ui->wwwButton, &QPushButton::clicked, this, &AppController::pushWWW);
    resetVisuals();
}

Ui::AboutPanel& AppController::ui()
{
    window();
    return *m_ui;
}

AppController::~AppController()
{
    // The main controller stops the engine thread, which may still post until it ends.
    delete m_mainController;
    delete m_preferencesController;
    setExceptionSink({});
    delete loadedWindow();
}

void AppController::awakeFromNib()
{
    resetVisuals();
}

void AppController::resetVisuals()
{
    // A panel not built yet gets its pictures when it is.
    if (!loadedWindow())
        return;
    m_ui->bottomView->setPixmap(QPixmap::fromImage(AboutTiffSharedImage()));
    m_ui->mailButton->setIcon(QPixmap::fromImage(BriefchenTiffSharedImage()));
    m_ui->mailButton->setIconSize(BriefchenTiffSharedImage().size());
    m_ui->wwwButton->setIcon(QPixmap::fromImage(BlitzTiffSharedImage()));
    m_ui->wwwButton->setIconSize(BlitzTiffSharedImage().size());
}

void AppController::applicationDidFinishLaunching()
{
    if (m_mainController)
        m_mainController->applicationDidFinishLaunching();
}

void AppController::postException(const Exception& exception)
{
    std::lock_guard lock(m_exceptionLock);
    if (!m_pendingExceptions) {
        m_pendingExceptions = std::make_unique<std::vector<Exception>>();
        m_pendingExceptions->reserve(MaximumPendingExceptions);
    }
    // A copy of name, reason and user info only: it must not depend on the poster's frame.
    if (m_pendingExceptions->size() < MaximumPendingExceptions)
        m_pendingExceptions->emplace_back(exception.name(), exception.reason(), exception.userInfo());
}

void AppController::handlePendingExceptions()
{
    std::unique_ptr<std::vector<Exception>> taken;
    {
        // The main thread never waits for a poster; what is queued waits for the next tick.
        std::unique_lock lock(m_exceptionLock, std::try_to_lock);
        if (!lock.owns_lock())
            return;
        taken = std::move(m_pendingExceptions);
    }
    if (!taken)
        return;
    for (const Exception& exception : *taken) {
        if (m_terminating)
            return;
        handleException(exception);
    }
}

void AppController::handleException(const Exception& exception)
{
    if (exception.name() == Exception::FatalException)
        handleFatalException(exception);
    else
        handleNonFatalException(exception);
}

void AppController::handleFatalException(const Exception& exception)
{
    AlertPanel::run({ {}, QStringLiteral("An as unexpected as fatal error has occured:\n ") + reasonText(exception),
        QStringLiteral("Abort"), {} });
    terminate();
}

void AppController::handleNonFatalException(const Exception& exception)
{
    AlertPanel::Request request { {}, QStringLiteral("An unexpected condition appeared:\n") + reasonText(exception),
        QStringLiteral("Continue"), QStringLiteral("Abort") };
    request.escapeChoosesDefault = true;
    if (AlertPanel::run(request) == AlertPanel::Response::Alternate)
        terminate();
}

namespace {

std::function<void()>& quitHandler()
{
    static std::function<void()> s_handler;
    return s_handler;
}

}

void AppController::setQuitHandler(std::function<void()> handler)
{
    quitHandler() = std::move(handler);
}

void AppController::terminate()
{
    m_terminating = true;
    if (quitHandler())
        quitHandler()();
    else
        QCoreApplication::exit(0);
}

void AppController::pushAbout()
{
    QWidget* panel = window();
    panel->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    centerOnScreen(panel);
    activate();
}

void AppController::pushWindow()
{
    if (QWidget* panel = loadedWindow())
        panel->hide();
}

void AppController::pushEmail()
{
    if (performService(QStringLiteral("MailService"), QStringLiteral("MailViewer/Mail To"), ui().mailButton->text()))
        pushWindow();
}

void AppController::pushWWW()
{
    if (performService(QStringLiteral("WWWService"), QStringLiteral("OmniWeb/Open URL"), ui().wwwButton->text()))
        pushWindow();
}

bool AppController::performService(const QString& userDefaultsKey, const QString& defaultServiceName, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    const auto stored = UserDefaults::standardUserDefaults().stringForKey(userDefaultsKey.toStdString());
    const QString serviceName = stored ? QString::fromStdString(*stored) : defaultServiceName;
    // A service is "application/menu item"; the desktop offers the two items we use.
    const QString item = serviceName.section(QLatin1Char('/'), -1);
    if (item == QLatin1String("Mail To"))
        return QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + text));
    if (item == QLatin1String("Open URL"))
        return QDesktopServices::openUrl(QUrl::fromUserInput(text));
    return false;
}

void AppController::pushPreferences()
{
    if (m_preferencesController)
        m_preferencesController->activate();
}
