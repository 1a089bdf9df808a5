#include "app/HarkenerApplication.h"

#include "platform/Exception.h"
#include "platform/ExceptionFunnel.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

HarkenerApplication::HarkenerApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Harkener"));
    setOrganizationName(QStringLiteral("Harkener"));
    setApplicationDisplayName(QStringLiteral("Quake III Harkener"));
    // The main window never closes by itself; only the controllers end the program.
    setQuitOnLastWindowClosed(false);
}

bool HarkenerApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Exception& exception) {
        postExceptionToApplication(exception);
    } catch (const std::exception& exception) {
        postExceptionToApplication(Exception(Exception::GenericException, exception.what()));
    } catch (...) {
        postExceptionToApplication(Exception(Exception::GenericException, "An unknown error reached the event loop"));
    }
    return false;
}

bool HarkenerApplication::canShowWindows(int argc, char** argv)
{
    std::string_view platform;
    if (const char* fromEnvironment = std::getenv("QT_QPA_PLATFORM"))
        platform = fromEnvironment;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            platform = argv[i + 1];
    }
    for (std::string_view headless : { "offscreen", "minimal", "vnc", "linuxfb", "eglfs" }) {
        if (platform.starts_with(headless))
            return true;
    }
    auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}
