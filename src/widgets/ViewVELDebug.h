#pragma once

#include <cstdio>

class QByteArray;
class QObject;
class QWidget;

// Debugging aid: prints `view` and all its descendants to `out`, one widget per line,
// each indented by one more space than its parent, children in stacking order. A line is
// the indentation, the widget's description as Qt's debug stream writes it, and a line
// feed; the text is written unchanged (a '%' stays a '%'). Nothing in the program calls
// it. Main thread only.
void dumpView(const QWidget& view, unsigned indentation = 0, std::FILE* out = stdout);

// The one-line description used by the dumps, e.g. QPushButton(0x55d0c4a0, name = "play").
QByteArray describeObject(const QObject* object);
