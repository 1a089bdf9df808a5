// bench_qt_floor: the least a Qt Widgets program does before its first window is
// painted (load the libraries, connect to the display, show one plain window). The rest
// benchmark times it beside harkener, so the start-up figure can be read against what
// Qt itself costs on the machine.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(400, 300);
    window.show();
    return application.exec();
}
