// The view-tree dumps: their line formats, read back from a temporary file.
#include "widgets/VELBorderLessWindow.h"
#include "widgets/ViewVELDebug.h"
#include "widgets/WindowVELDebug.h"

#include <QtTest>

#include <cstdio>
#include <functional>

namespace {

QList<QByteArray> dumpedLines(const std::function<void(std::FILE*)>& dump)
{
    std::FILE* file = std::tmpfile();
    if (!file)
        return {};
    dump(file);
    std::rewind(file);
    QByteArray text;
    char buffer[4096];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, static_cast<qsizetype>(read));
    std::fclose(file);
    QList<QByteArray> lines = text.split('\n');
    if (lines.value(lines.size() - 1).isEmpty()) // every line ends with a line feed
        lines.removeLast();
    return lines;
}

QByteArray line(int indentation, const QObject* object)
{
    return QByteArray(indentation, ' ') + describeObject(object);
}

} // namespace

class ViewDumpTest : public QObject {
    Q_OBJECT

private slots:
    void viewWithoutSubviewsIsOneLine();
    void subviewsFollowDepthFirstOneSpaceDeeper();
    void descriptionIsWrittenUnchanged();
    void windowPrintsItsFrameAndContentTrees();
};

void ViewDumpTest::viewWithoutSubviewsIsOneLine()
{
    QWidget view;
    const auto lines = dumpedLines([&](std::FILE* out) { dumpView(view, 3, out); });
    QCOMPARE(lines, QList<QByteArray>{line(3, &view)});
    QVERIFY(describeObject(&view).startsWith("QWidget(0x"));
}

void ViewDumpTest::subviewsFollowDepthFirstOneSpaceDeeper()
{
    QWidget root;
    auto* first = new QWidget(&root);
    auto* grandchild = new QWidget(first);
    auto* second = new QWidget(&root);
    const auto lines = dumpedLines([&](std::FILE* out) { dumpView(root, 0, out); });
    QCOMPARE(lines, (QList<QByteArray>{line(0, &root), line(1, first), line(2, grandchild), line(1, second)}));
}

void ViewDumpTest::descriptionIsWrittenUnchanged()
{
    QWidget view;
    view.setObjectName(QStringLiteral("100%s done %n"));
    const auto lines = dumpedLines([&](std::FILE* out) { dumpView(view, 0, out); });
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains("100%s done %n"), lines.first().constData());
}

void ViewDumpTest::windowPrintsItsFrameAndContentTrees()
{
    VELBorderLessWindow window;
    auto* content = new QWidget;
    window.setContentView(content);
    window.show();
    const auto lines = dumpedLines([&](std::FILE* out) { dumpWindow(window, out); });
    const QList<QByteArray> expected{
        describeObject(window.windowHandle()), " BorderView:", line(2, &window), line(3, content),
        " ContentView:", line(2, content),
    };
    QCOMPARE(lines, expected);
}

QTEST_MAIN(ViewDumpTest)
#include "ViewDumpTest.moc"
