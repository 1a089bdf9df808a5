#include "app/QuakeText.h"

#include <QStringDecoder>

#include <array>

namespace QuakeText {

QColor colorForCode(int digit)
{
    // ^0 is black in the game; drawn as a dark grey so it stays legible over dark skins.
    static const std::array<QColor, 10> colors {
        QColor(0x50, 0x50, 0x50), QColor(0xff, 0x30, 0x30), QColor(0x30, 0xe0, 0x30), QColor(0xff, 0xff, 0x30),
        QColor(0x50, 0x70, 0xff), QColor(0x30, 0xff, 0xff), QColor(0xff, 0x40, 0xff), QColor(0xff, 0xff, 0xff),
        QColor(0xff, 0x90, 0x20), QColor(0xa0, 0xa0, 0xa0),
    };
    return colors.at(static_cast<std::size_t>(digit));
}

QString decode(const std::string& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format; });
    return text;
}

static bool isColorCode(const QString& text, qsizetype at)
{
    return text.at(at) == QLatin1Char('^') && at + 1 < text.size() && text.at(at + 1).isDigit()
        && text.at(at + 1).unicode() < 0x80;
}

QList<Run> runs(const QString& text)
{
    QList<Run> result;
    Run current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isColorCode(text, i)) {
            current.text += text.at(i);
            continue;
        }
        if (!current.text.isEmpty())
            result.append(current);
        current = { {}, colorForCode(text.at(i + 1).digitValue()) };
        ++i;
    }
    if (!current.text.isEmpty())
        result.append(current);
    return result;
}

QString plain(const QString& text)
{
    QString result;
    for (const Run& run : runs(text))
        result += run.text;
    return result;
}

}
