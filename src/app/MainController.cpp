#include "app/MainController.h"

#include "app/AlertPanel.h"
#include "app/AppController.h"
#include "app/BarberPole.h"
#include "app/DiscoveryEngine.h"
#include "app/ModalWait.h"
#include "app/PictureButton.h"
#include "app/Preferences.h"
#include "app/ServerRegistry.h"
#include "app/ServerTableModel.h"
#include "app/ServerTextDelegate.h"
#include "artwork/EmbeddedPictures.h"
#include "artwork/HarkenerIcon.h"
#include "platform/Exception.h"
#include "platform/NotificationCenter.h"
#include "ui_MainWindow.h"
#include "widgets/TableViewVELAppKit.h"
#include "widgets/VELBorderLessWindow.h"
#include "widgets/VELTransparentTableView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSortFilterProxyModel>

#include <algorithm>

namespace {

constexpr int TickMilliseconds = 1000;
constexpr int SlowestSpeed = -1;
constexpr int FastestSpeed = 2;

double barberPoleDelay(const DiscoveryEngine& engine)
{
    return engine.psychologicalFrequency() * 0.33 / 1000.0;
}

int registryTimeoutSeconds(const DiscoveryEngine& engine)
{
    return (engine.smartTimeoutValueMs() + 500) / 1000;
}

// Dark rows and light text in the skin's colours. Where the table is not made see-through
// it still belongs to the window, and server names' white and yellow stay legible.
QPalette tablePalette(QPalette palette)
{
    palette.setColor(QPalette::Base, QColor(18, 13, 11));
    palette.setColor(QPalette::AlternateBase, QColor(30, 22, 17));
    palette.setColor(QPalette::Text, QColor(236, 226, 206));
    palette.setColor(QPalette::Highlight, QColor(140, 58, 12));
    palette.setColor(QPalette::HighlightedText, QColor(255, 244, 224));
    palette.setColor(QPalette::Button, QColor(44, 32, 26));
    palette.setColor(QPalette::ButtonText, QColor(244, 204, 140));
    palette.setColor(QPalette::Window, QColor(18, 13, 11));
    palette.setColor(QPalette::WindowText, QColor(244, 204, 140));
    return palette;
}

}

MainController::MainController(std::unique_ptr<DiscoveryEngine> engine, ServerRegistry& registry, AppController* parent)
    : WindowController(parent)
    , m_ui(std::make_unique<Ui::MainWindow>())
    , m_icon(std::make_unique<HarkenerIcon>())
    , m_woodstock(std::move(engine))
    , m_registry(registry)
{
    NotificationCenter::defaultCenter().addObserver(this, "ServerManagerChanged",
        [this](const Notification&) { serverManagerChanged(); });

    auto* window = new VELBorderLessWindow();
    m_ui->setupUi(window);
    setWindow(window);
    window->installEventFilter(this);

    connect(m_ui->playButton, &QAbstractButton::clicked, this, &MainController::pushPlay);
    connect(m_ui->suspendButton, &QAbstractButton::clicked, this, &MainController::pushSuspend);
    connect(m_ui->resumeButton, &QAbstractButton::clicked, this, &MainController::pushSuspend);
    connect(m_ui->closeButton, &QAbstractButton::clicked, this, &MainController::pushClose);
    connect(m_ui->miniButton, &QAbstractButton::clicked, this, &MainController::pushMiniaturize);
    connect(m_ui->moreButton, &QAbstractButton::clicked, this, &MainController::pushMore);

    m_timer.setInterval(TickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &MainController::pollMyself);
}

MainController::~MainController()
{
    // Waits for a notification in flight on the engine thread before the flag goes.
    NotificationCenter::defaultCenter().removeObserver(this);
    delete window();
}

QTableView* MainController::tableView() const
{
    return m_ui->tableview;
}

void MainController::awakeFromNib()
{
    buildViewTree();
    setUpTable();
    setUpActions();
    m_ui->resumeButton->setGeometry(m_ui->suspendButton->geometry());
    m_ui->resumeButton->setEnabled(false);
    m_ui->resumeButton->setTransparent(true);
    resetVisuals();
    displayRunStatusInButton();
}

void MainController::reorderView(QWidget* view, QWidget* target, QPoint offset)
{
    const QRect frame = view->geometry().translated(-offset);
    const bool shown = !view->isHidden();
    view->setParent(target);
    view->setGeometry(frame);
    view->setVisible(shown);
}

void MainController::buildViewTree()
{
    QWidget* frameView = m_ui->windowFrameView;
    const QRect frame = frameView->geometry();
    const std::initializer_list<QWidget*> controls { m_ui->moveButton, m_ui->closeButton, m_ui->miniButton,
        m_ui->mainBox, m_ui->moreBox };
    for (QWidget* view : controls)
        reorderView(view, frameView, frame.topLeft());
    frameView->move(0, 0);
    m_ui->bottomView->setGeometry(1, 1, frame.width() - 2, frame.height() - 2);

    auto* contentView = new QWidget();
    contentView->setObjectName(QStringLiteral("contentView"));
    contentView->setGeometry(0, 0, frame.width(), frame.height());
    m_ui->bottomView->setParent(contentView);
    m_ui->bottomView->show();
    frameView->setParent(contentView);
    frameView->show();
    static_cast<VELBorderLessWindow*>(window())->setContentView(contentView);

    window()->setFixedSize(frame.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed(QPoint(0, 0), frame.size());
        placed.moveCenter(screen->availableGeometry().center());
        window()->move(placed.topLeft());
    }
}

void MainController::setUpTable()
{
    m_model = new ServerTableModel(this);
    m_sortedModel = new QSortFilterProxyModel(this);
    m_sortedModel->setSourceModel(m_model);
    m_sortedModel->setSortRole(ServerTableModel::SortRole);
    QTableView* table = m_ui->tableview;
    table->setModel(m_sortedModel);
    table->setItemDelegate(new ServerTextDelegate(table));
    table->setSortingEnabled(true);
    table->sortByColumn(ServerTableModel::NameColumn, Qt::AscendingOrder);
    QHeaderView* header = table->horizontalHeader();
    header->setSectionResizeMode(ServerTableModel::NameColumn, QHeaderView::Stretch);
    header->resizeSection(ServerTableModel::MapColumn, 96);
    header->resizeSection(ServerTableModel::PlayersColumn, 60);
    header->resizeSection(ServerTableModel::AddressColumn, 136);
    table->setPalette(tablePalette(table->palette()));
    table->setShowGrid(false);
    // Alternate rows paint their own background, which see-through rows must not have.
    table->setAlternatingRowColors(!Preferences::transparentTableRows());
    connect(table, &QAbstractItemView::doubleClicked, this, &MainController::pushPlay);
    quint32 flags = VELTransparentTableView::ReplaceCornerView;
    if (Preferences::transparentHeaderView())
        flags |= VELTransparentTableView::TransparentHeader;
    if (Preferences::transparentTableRows())
        flags |= VELTransparentTableView::TransparentRows;
    VELTransparentTableView::makeTransparent(table, flags);
}

void MainController::setUpActions()
{
    auto* app = qobject_cast<AppController*>(parentController());
    auto addAction = [this](const QString& text, const QKeySequence& shortcut, auto slot) {
        auto* action = new QAction(text, window());
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, slot);
        window()->addAction(action);
    };
    if (app) {
        addAction(tr("About Harkener…"), QKeySequence(Qt::Key_F1), [app] { app->pushAbout(); });
        addAction(tr("Preferences…"), QKeySequence(tr("Ctrl+,")), [app] { app->pushPreferences(); });
    }
    // Spelled out: the platform's standard Quit key is empty on some desktops.
    addAction(tr("Quit"), QKeySequence(tr("Ctrl+Q")), [this] { windowShouldClose(); });
    window()->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void MainController::resetVisuals()
{
    m_ui->windowFrameView->setImage(BigWindow3TiffSharedImage());
    setBackImage(Preferences::backgroundImage());
    m_ui->bottomView->setImage(m_backImage);
    m_ui->closeButton->setImage(CloserNormalTiffSharedImage());
    m_ui->closeButton->setAlternateImage(CloserPressedTiffSharedImage());
    m_ui->miniButton->setImage(MiniNormalTiffSharedImage());
    m_ui->miniButton->setAlternateImage(MiniPressedTiffSharedImage());
    m_ui->playButton->setImage(PlayTiffSharedImage());
    m_ui->playButton->setAlternateImage(PlayPressedTiffSharedImage());
    m_ui->suspendButton->setImage(SuspendTiffSharedImage());
    m_ui->resumeButton->setImage(ResumeTiffSharedImage());
}

void MainController::applicationDidFinishLaunching()
{
    m_ui->moreButton->setChecked(false);
    pushMore();
    if (Preferences::startsIconized())
        iconize();
    else
        deiconize();
    m_timer.start();
    m_woodstock->snoop();
    m_registry.setTimeout(registryTimeoutSeconds(*m_woodstock));
}

void MainController::pollMyself()
{
    // Alerts, dialogs and games run nested event loops; a tick inside them would show
    // alerts over alerts or open the window while the game runs.
    if (m_busy || QApplication::activeModalWidget())
        return;
    QScopedValueRollback busy(m_busy, true);
    auto* app = qobject_cast<AppController*>(parentController());
    if (app) {
        app->handlePendingExceptions();
        if (app->isTerminating())
            return;
    }
    followPreferences();
    if (m_restartPending && !m_woodstock->isRunning()) {
        m_restartPending = false;
        m_woodstock->snoop();
    }
    displayRunStatusInButton();
    m_registry.timeout();
    if (!m_gotStuff.exchange(false))
        return;
    reloadTable();
    const std::size_t count = m_model->servers().size();
    applyAutoOpenRule(count, Preferences::autoOpen());
    m_nEntries = count;
}

void MainController::followPreferences()
{
    const QImage background = Preferences::backgroundImage();
    if (background.cacheKey() != m_backImage.cacheKey())
        setBackImage(background);
    if (!m_woodstock->isRunning())
        return;
    // A hand-edited speed outside the engine's range would fail every second; the
    // nearest speed the engine knows is what the user meant.
    const int speed = std::clamp(Preferences::pollSpeed(), SlowestSpeed, FastestSpeed);
    if (!m_woodstock->setSnoopSpeed(speed))
        return;
    m_ui->barberPole->setAnimationDelay(barberPoleDelay(*m_woodstock));
    m_registry.setTimeout(registryTimeoutSeconds(*m_woodstock));
}

void MainController::serverManagerChanged()
{
    m_gotStuff.store(true);
}

void MainController::reloadTable()
{
    const std::optional<ServerRecord> selected = selectedServer();
    m_model->setServers(m_registry.snapshot());
    QTableView* table = m_ui->tableview;
    if (selected) {
        const int row = m_model->rowOfServer(*selected);
        if (row >= 0)
            table->selectRow(m_sortedModel->mapFromSource(m_model->index(row, 0)).row());
    }
    const bool needsScroller = needsVerticalScrollerForFrame(*table, QRectF(table->geometry()));
    table->setVerticalScrollBarPolicy(needsScroller ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int count = m_model->rowCount();
    m_ui->statusLabel->setText(count == 1 ? tr("1 server") : tr("%n servers", nullptr, count));
}

void MainController::applyAutoOpenRule(std::size_t count, int autoOpen)
{
    if (autoOpen == 0) {
        if (count == 0 && m_autoOpened && !isMiniaturized()) {
            m_autoOpened = false;
            iconize();
        } else if (count > m_nEntries) {
            m_autoOpened = true;
            if (isMiniaturized())
                deiconize();
        }
    } else if (autoOpen == 1) {
        if (isMiniaturized())
            deiconize();
    }
}

void MainController::displayRunStatusInButton()
{
    PictureButton* suspendButton = m_ui->suspendButton;
    PictureButton* resumeButton = m_ui->resumeButton;
    const bool suspendVisible = !suspendButton->isTransparent();
    if (m_woodstock->isVirtuallyRunning()) {
        m_icon->setSnooping(true);
        if (!suspendVisible) {
            resumeButton->setTransparent(true);
            suspendButton->setTransparent(false);
            m_ui->barberPole->startAnimation();
            m_ui->barberPole->setAnimationDelay(barberPoleDelay(*m_woodstock));
        }
    } else {
        m_icon->setSnooping(false);
        if (suspendVisible) {
            suspendButton->setTransparent(true);
            resumeButton->setTransparent(false);
            m_ui->barberPole->stopAnimation();
        }
    }
    const bool controllable = !m_woodstock->isUncontrollable();
    resumeButton->setEnabled(controllable);
    suspendButton->setEnabled(controllable);
    const bool anyServer = m_registry.count() != 0;
    m_ui->playButton->setEnabled(anyServer);
    m_icon->setGlowing(anyServer);
    updateMiniwindowImage();
}

void MainController::updateMiniwindowImage()
{
    // The icon hands out the same picture until its state changes; only then is the
    // window system told.
    const QImage& image = m_icon->image();
    if (image.cacheKey() == m_miniwindowImageKey)
        return;
    m_miniwindowImageKey = image.cacheKey();
    window()->setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

void MainController::pushSuspend()
{
    m_restartPending = false;
    if (m_woodstock->isRunning()) {
        m_woodstock->suspend();
        m_registry.suspend();
    } else {
        m_registry.resume();
        m_woodstock->snoop();
    }
    displayRunStatusInButton();
}

std::optional<ServerRecord> MainController::selectedServer() const
{
    const QModelIndexList rows = m_ui->tableview->selectionModel()
        ? m_ui->tableview->selectionModel()->selectedRows()
        : QModelIndexList();
    if (rows.isEmpty())
        return std::nullopt;
    const ServerRecord* server = m_model->serverAt(m_sortedModel->mapToSource(rows.first()).row());
    if (!server)
        return std::nullopt;
    return *server;
}

QString MainController::launchPath() const
{
    const QString path = QDir::cleanPath(Preferences::q3TestPath());
    const QFileInfo info(path);
    if (path.isEmpty() || path == QLatin1String(".") || info.suffix() != QLatin1String("app"))
        return path == QLatin1String(".") ? QString() : path;
    return path + QLatin1Char('/') + info.completeBaseName();
}

void MainController::pushPlay()
{
    const QString path = launchPath();
    if (path.isEmpty()) {
        AlertPanel::run({ {}, QStringLiteral("Can't open Quake3 Arena. Check path in preferences."), QStringLiteral("OK"), {} });
        return;
    }
    const std::optional<ServerRecord> server = selectedServer();
    if (!server || !m_registry.contains(*server))
        return;
    QScopedValueRollback busy(m_busy, true);
    m_woodstock->suspend();
    m_registry.suspend();
    const QStringList arguments { QStringLiteral("+connect"), QString::fromStdString(server->address()) };
    iconize();
    if (const auto autoStart = Preferences::autoStartPath(); autoStart && !autoStart->isEmpty())
        startTaskForExecutable(*autoStart, arguments);
    startTaskForExecutable(path, arguments);
    restartSearchAfterPlay();
}

void MainController::restartSearchAfterPlay()
{
    auto* app = qobject_cast<AppController*>(parentController());
    if (app && app->isTerminating())
        return;
    // A game that ended quickly can leave the old engine thread still winding down;
    // starting a second one would fail and leave the search stopped.
    if (ModalWait::waitUntil([this] { return !m_woodstock->isRunning(); }, m_engineWindDownMilliseconds))
        m_woodstock->snoop();
    else
        m_restartPending = true;
    m_registry.resume();
    deiconize();
}

void MainController::startTaskForExecutable(const QString& path, const QStringList& arguments)
{
    try {
        ModalWait::runProgram(path, arguments);
    } catch (const Exception& exception) {
        handleException(exception);
    }
}

bool MainController::windowShouldClose()
{
    auto* app = qobject_cast<AppController*>(parentController());
    if (!Preferences::promptBeforeQuit()) {
        if (app)
            app->terminate();
        return false;
    }
    const AlertPanel::Request request { QStringLiteral("Quake III Harkener"), QStringLiteral("Quit the program ?"),
        QStringLiteral("OK"), QStringLiteral("Cancel") };
    if (AlertPanel::run(request) == AlertPanel::Response::Default && app)
        app->terminate();
    return false;
}

void MainController::pushClose()
{
    if (windowShouldClose()) {
        window()->close();
        return;
    }
    auto* app = qobject_cast<AppController*>(parentController());
    if (!app || !app->isTerminating())
        QApplication::beep();
}

void MainController::setBackImage(const QImage& image)
{
    m_backImage = image;
    m_ui->bottomView->setImage(image);
    m_ui->barberPole->backgroundChanged();
}

void MainController::_iconize()
{
    setWindowLevel(NormalLevel);
    window()->show();
    window()->raise();
}

void MainController::iconize()
{
    _iconize();
    updateMiniwindowImage();
    QScopedValueRollback iconizing(m_iconizing, true);
    window()->showMinimized();
}

void MainController::_deiconize()
{
    setWindowLevel(FloatingLevel);
}

void MainController::deiconize()
{
    _deiconize();
    window()->showNormal();
    window()->raise();
    window()->activateWindow();
}

void MainController::pushMiniaturize()
{
    iconize();
}

void MainController::windowWillMiniaturize()
{
    // Only the level: bringing the window to the front would undo the minimise.
    setWindowLevel(NormalLevel);
}

void MainController::pushMore()
{
}

bool MainController::isMiniaturized() const
{
    return window()->isMinimized() || !window()->isVisible();
}

void MainController::setWindowLevel(int level)
{
    m_windowLevel = level;
    QWidget* mainWindow = window();
    const bool floating = level > NormalLevel;
    if (mainWindow->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == floating)
        return;
    // Changing a window's flags hides it; it comes back in the state it had.
    const bool shown = mainWindow->isVisible();
    const Qt::WindowStates state = mainWindow->windowState();
    mainWindow->setWindowFlag(Qt::WindowStaysOnTopHint, floating);
    if (shown) {
        mainWindow->setWindowState(state);
        mainWindow->show();
    }
}

bool MainController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window())
        return false;
    if (event->type() == QEvent::Close) {
        event->ignore();
        windowShouldClose();
        return true;
    }
    if (event->type() == QEvent::WindowStateChange && window()->isMinimized() && !m_iconizing) {
        // Changing the flags inside the window system's own state change is not safe.
        QMetaObject::invokeMethod(this, &MainController::windowWillMiniaturize, Qt::QueuedConnection);
    }
    return false;
}
