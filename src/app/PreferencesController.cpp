#include "app/PreferencesController.h"

#include "app/Preferences.h"
#include "ui_PreferencesPanel.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopedValueRollback>

namespace {

// The auto-open values the pop-up offers, in its order: open on more servers, open on
// every change, never (any value but 0 and 1).
constexpr int AutoOpenTags[] = { 0, 1, 2 };

// Picks a game program, or an application bundle as if it were a file: opening a
// "*.app" folder, or confirming one that is selected, chooses it. Qt's own dialog, as it
// tells when a folder is opened where the desktop's may not.
class GameFileDialog final : public QFileDialog {
public:
    explicit GameFileDialog(QWidget* parent)
        : QFileDialog(parent, PreferencesController::tr("Locate Quake III Arena"), QDir::homePath())
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setFileMode(QFileDialog::ExistingFile);
        setNameFilters({ PreferencesController::tr("Quake III Arena (Q3Test.app *.app quake3* ioquake3* q3*)"),
            PreferencesController::tr("All files (*)") });
        connect(this, &QFileDialog::directoryEntered, this, [this](const QString& directory) {
            if (isBundle(directory))
                choose(directory);
        });
    }

    QString chosenGame() const
    {
        if (!m_bundle.isEmpty())
            return m_bundle;
        return selectedFiles().isEmpty() ? QString() : selectedFiles().constLast();
    }

protected:
    void accept() override
    {
        const QStringList selected = selectedFiles();
        if (!selected.isEmpty() && isBundle(selected.constLast()))
            choose(selected.constLast());
        else
            QFileDialog::accept();
    }

private:
    static bool isBundle(const QString& path)
    {
        return path.endsWith(QLatin1String(".app")) && QFileInfo(path).isDir();
    }
    void choose(const QString& bundle)
    {
        m_bundle = bundle;
        done(QDialog::Accepted);
    }

    QString m_bundle;
};

int tagOf(const QObject* cell)
{
    return cell->property("tag").toInt();
}

}

PreferencesController::PreferencesController(WindowController* parent)
    : WindowController(parent)
    , m_ui(std::make_unique<Ui::PreferencesPanel>())
{
}

void PreferencesController::loadWindow()
{
    auto* panel = new QWidget(nullptr, Qt::Dialog);
    m_ui->setupUi(panel);
    setWindow(panel);

    for (int index = 0; index < m_ui->autoOpenButton->count(); ++index)
        m_ui->autoOpenButton->setItemData(index, AutoOpenTags[index]);
    auto* speedGroup = new QButtonGroup(panel);
    for (QAbstractButton* cell : speedCells())
        speedGroup->addButton(cell);
    m_ui->bottomView->setDelegate(this);
    m_ui->bottomView->setEditable(true);

    connect(m_ui->locateButton, &QPushButton::clicked, this, &PreferencesController::pushLocate);
    connect(speedGroup, &QButtonGroup::buttonClicked, this, &PreferencesController::pushSpeed);
    connect(m_ui->iconizedButton, &QCheckBox::clicked, this, &PreferencesController::pushIconized);
    connect(m_ui->promptButton, &QCheckBox::clicked, this, &PreferencesController::pushPrompt);
    connect(m_ui->fakeButton, &QCheckBox::clicked, this, &PreferencesController::pushFake);
    connect(m_ui->autoOpenButton, &QComboBox::activated, this, &PreferencesController::pushAutoOpen);
    connect(m_ui->resetButton, &QPushButton::clicked, this, &PreferencesController::pushReset);
    connect(m_ui->closeButton, &QPushButton::clicked, panel, &QWidget::hide);
    resetVisuals();
}

PreferencesController::~PreferencesController()
{
    if (!loadedWindow())
        return;
    m_ui->bottomView->setDelegate(nullptr);
    delete loadedWindow();
}

Ui::PreferencesPanel& PreferencesController::ui() const
{
    window();
    return *m_ui;
}

QList<QAbstractButton*> PreferencesController::speedCells() const
{
    return { ui().speedSlowest, ui().speedNormal, ui().speedFast, ui().speedFastest };
}

void PreferencesController::awakeFromNib()
{
    resetVisuals();
}

void PreferencesController::resetVisuals()
{
    // A panel not built yet shows the stored picture when it is.
    if (!loadedWindow())
        return;
    QScopedValueRollback showingStored(m_showingStoredPicture, true);
    m_ui->bottomView->setImage(Preferences::backgroundImage());
}

void PreferencesController::activate()
{
    fillWithPreferences();
    WindowController::activate();
}

void PreferencesController::fillWithPreferences()
{
    ui().path->setText(Preferences::q3TestPath());
    ui().fakeText->setText(Preferences::message());
    ui().promptButton->setChecked(Preferences::promptBeforeQuit());
    ui().iconizedButton->setChecked(Preferences::startsIconized());
    const int speed = Preferences::pollSpeed();
    for (QAbstractButton* cell : speedCells())
        cell->setChecked(tagOf(cell) == speed);
    // Every value but 0 and 1 means never; the pop-up shows those as its "Never" item.
    int index = ui().autoOpenButton->findData(Preferences::autoOpen());
    if (index < 0)
        index = ui().autoOpenButton->findData(AutoOpenTags[2]);
    ui().autoOpenButton->setCurrentIndex(index);
}

bool PreferencesController::imageWillBeSet(const QImage& image)
{
    if (!m_showingStoredPicture)
        Preferences::setBackgroundImage(image);
    return true;
}

QString PreferencesController::chooseGameWithDialog(QWidget* parent)
{
    GameFileDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.chosenGame();
}

void PreferencesController::pushLocate()
{
    // The path field keeps its text until the panel is filled again.
    const QString chosen = m_chooseGame(window());
    if (!chosen.isEmpty())
        Preferences::setQ3TestPath(chosen);
}

void PreferencesController::pushSpeed(QAbstractButton* cell)
{
    Preferences::setPollSpeed(tagOf(cell));
}

void PreferencesController::pushIconized()
{
    Preferences::setStartsIconized(ui().iconizedButton->isChecked());
}

void PreferencesController::pushPrompt()
{
    Preferences::setPromptBeforeQuit(ui().promptButton->isChecked());
}

void PreferencesController::pushAutoOpen()
{
    Preferences::setAutoOpen(ui().autoOpenButton->currentData().toInt());
}

void PreferencesController::pushFake()
{
}

void PreferencesController::pushReset()
{
    Preferences::reset();
    resetVisuals();
    fillWithPreferences();
}
