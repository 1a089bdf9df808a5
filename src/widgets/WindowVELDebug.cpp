#include "widgets/WindowVELDebug.h"

#include "widgets/VELBorderLessWindow.h"
#include "widgets/ViewVELDebug.h"

#include <QMainWindow>
#include <QWindow>

namespace {
void writeLine(const QByteArray& text, std::FILE* out)
{
    const QByteArray line = text + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out);
}
} // namespace

const QWidget& contentViewOf(const QWidget& window)
{
    if (const auto* borderless = qobject_cast<const VELBorderLessWindow*>(&window); borderless && borderless->contentView())
        return *borderless->contentView();
    if (const auto* main = qobject_cast<const QMainWindow*>(&window); main && main->centralWidget())
        return *main->centralWidget();
    return window;
}

void dumpWindow(const QWidget& window, std::FILE* out)
{
    const QWindow* handle = window.windowHandle();
    writeLine(handle ? describeObject(handle) : QByteArrayLiteral("QWindow(0x0)"), out);
    writeLine(" BorderView:", out);
    dumpView(window, 2, out);
    writeLine(" ContentView:", out);
    dumpView(contentViewOf(window), 2, out);
}
