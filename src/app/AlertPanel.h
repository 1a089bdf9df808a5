#pragma once

#include <QString>

#include <functional>

// A modal alert with fixed texts. The message is always shown as plain text, so a
// reason that arrived from the network or the system is never read as markup.
// Main thread only.
class AlertPanel {
public:
    enum class Response { Default, Alternate };

    struct Request {
        QString title;
        QString message;
        QString defaultButton;
        QString alternateButton; // empty: no such button
        // Escape and the window's close pick the default button instead of the alternate
        // one, where the alternate one ends the program.
        bool escapeChoosesDefault = false;
    };

    // Shows the alert and waits for the user's choice.
    static Response run(const Request& request);

    // Tests answer alerts without a user; an empty function restores the real dialog.
    using Handler = std::function<Response(const Request&)>;
    static void setHandler(Handler handler);
};
