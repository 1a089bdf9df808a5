#include "widgets/ViewVELDebug.h"

#include <QByteArray>
#include <QDebug>
#include <QWidget>

QByteArray describeObject(const QObject* object)
{
    QString text;
    QDebug(&text).nospace() << object;
    // Qt's debug stream may add a trailing space and never a line break we want to keep.
    text = text.trimmed();
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.toLocal8Bit();
}

void dumpView(const QWidget& view, unsigned indentation, std::FILE* out)
{
    const QByteArray line = QByteArray(static_cast<qsizetype>(indentation), ' ') + describeObject(&view) + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out);
    // Taken once: a widget that changes its children while being described does not send
    // the walk past the end of the list.
    const QList<QWidget*> subviews = view.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (const QWidget* subview : subviews)
        dumpView(*subview, indentation + 1, out);
}
