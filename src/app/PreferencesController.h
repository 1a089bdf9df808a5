#pragma once

#include "app/WindowController.h"
#include "widgets/VELReplROPDelegate.h"

#include <functional>
#include <memory>

class QAbstractButton;
class QImage;
namespace Ui {
class PreferencesPanel;
}

// The preferences panel: every control writes its setting at once (there is no OK or
// Cancel), and a picture set on the panel's background view becomes the window
// background for this run. Main thread only.
class PreferencesController : public WindowController, public VELReplROPDelegate {
    Q_OBJECT
public:
    explicit PreferencesController(WindowController* parent = nullptr);
    ~PreferencesController() override;

    void awakeFromNib();
    void resetVisuals();
    // Fills the controls from the store, then brings the panel to the front.
    void activate() override;
    void fillWithPreferences();

    bool imageWillBeSet(const QImage& image) override;

    // Asks the user for the game; answers its path, or "" when cancelled. Tests replace it.
    using GameChooser = std::function<QString(QWidget* parent)>;
    void setGameChooser(GameChooser chooser) { m_chooseGame = std::move(chooser); }
    static QString chooseGameWithDialog(QWidget* parent);

public slots:
    void pushLocate();
    void pushSpeed(QAbstractButton* cell);
    void pushIconized();
    void pushPrompt();
    void pushAutoOpen();
    void pushFake();
    void pushReset();

protected:
    // The panel, built when first opened.
    void loadWindow() override;

private:
    QList<QAbstractButton*> speedCells() const;
    Ui::PreferencesPanel& ui() const;

    std::unique_ptr<Ui::PreferencesPanel> m_ui;
    GameChooser m_chooseGame = &PreferencesController::chooseGameWithDialog;
    // Set while the panel shows the store's own picture, which needs no storing.
    bool m_showingStoredPicture = false;
};
