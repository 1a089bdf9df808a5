#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <string>

// Text that a game server sends about itself: bytes of unknown encoding with Quake
// colour codes ("^1Red ^7White"). Turned into plain runs of one colour each; the codes
// themselves are never shown, and control characters are dropped so that a name cannot
// break a row.
namespace QuakeText {

struct Run {
    QString text;
    QColor color; // invalid: the view's own text colour
};

// UTF-8 where the bytes are valid UTF-8, Latin-1 otherwise; control characters removed.
QString decode(const std::string& bytes);
// The runs of the decoded text, empty runs left out.
QList<Run> runs(const QString& text);
// The text without colour codes.
QString plain(const QString& text);
// The colour of code ^0 .. ^9.
QColor colorForCode(int digit);

}
