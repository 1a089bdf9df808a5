#pragma once

#include <cstdio>

class QWidget;

// Debugging aid: prints the window of the top-level widget `window` (its QWindow, once the
// window exists), then " BorderView:" and the top-level widget's whole tree at indentation
// 2, then " ContentView:" and the content widget's tree at indentation 2. The content
// widget is a VELBorderLessWindow's content view or a QMainWindow's central widget;
// otherwise the top-level widget stands for it. Main thread only.
void dumpWindow(const QWidget& window, std::FILE* out = stdout);

// The widget dumpWindow() prints under " ContentView:".
const QWidget& contentViewOf(const QWidget& window);
