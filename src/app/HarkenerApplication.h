#pragma once

#include <QApplication>

// The application object. Qt lets no exception cross its event loop, so one that escapes
// a slot or an event handler is caught here, where every event is dispatched, and handed
// to the exception funnel instead of ending the program. Main thread only.
class HarkenerApplication : public QApplication {
    Q_OBJECT
public:
    HarkenerApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Whether Qt can show windows here: a display server to talk to, or a platform that
    // needs none. Checked before the application object exists.
    static bool canShowWindows(int argc, char** argv);
};
