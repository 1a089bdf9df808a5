// Shows the widget kit the way the main window uses it and grabs it to PNG files: the frame
// picture over the tiled background, with a see-through table of a few rows, one selected.
// Usage: harkener_widgetdemo [output-directory]   (renders offscreen unless told otherwise)
#include "widgets/VELBorderLessWindow.h"
#include "widgets/VELDragWindowButton.h"
#include "widgets/VELReplROP.h"
#include "widgets/VELTransparentImageView.h"
#include "widgets/VELTransparentTableView.h"

#ifdef HARKENER_DEMO_ARTWORK
#include "artwork/EmbeddedPictures.h"
#endif

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPainter>
#include <QStandardItemModel>
#include <QTableView>

#include <cstdio>

namespace {

// Stand-ins for when the embedded pictures are not built: a busy tile and a frame with a
// transparent inside, so that both the tiling and the see-through parts show.
QImage standInBackground()
{
    QImage tile(300, 300, QImage::Format_RGB32);
    QPainter painter(&tile);
    for (int y = 0; y < 300; y += 20)
        for (int x = 0; x < 300; x += 20)
            painter.fillRect(x, y, 20, 20, QColor::fromHsv((x + y) % 360, 200, 160 + (x / 20 % 2) * 60));
    return tile;
}

QImage standInFrame()
{
    QImage frame(525, 229, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    painter.setPen(QPen(QColor(60, 60, 70), 8));
    painter.drawRoundedRect(QRectF(4, 4, 517, 221), 12, 12);
    painter.fillRect(QRect(8, 8, 509, 22), QColor(60, 60, 70));
    return frame;
}

QImage backgroundPicture()
{
#ifdef HARKENER_DEMO_ARTWORK
    if (!Psycho2TiffSharedImage().isNull())
        return Psycho2TiffSharedImage();
#endif
    return standInBackground();
}

QImage framePicture()
{
#ifdef HARKENER_DEMO_ARTWORK
    if (!BigWindow3TiffSharedImage().isNull())
        return BigWindow3TiffSharedImage();
#endif
    return standInFrame();
}

QStandardItemModel* serverModel(QObject* parent)
{
    const char* rows[][4] = {
        {"Fragfest", "q3dm17", "7/16", "10.0.0.12:27960"},  {"Basement LAN", "q3tourney2", "2/8", "10.0.0.31:27960"},
        {"Rail only", "q3dm6", "12/12", "10.0.0.40:27961"}, {"Newbies", "q3dm1", "0/10", "10.0.0.77:27960"},
        {"CTF night", "q3ctf1", "5/20", "10.0.0.9:27962"},
    };
    auto* model = new QStandardItemModel(0, 4, parent);
    model->setHorizontalHeaderLabels({"Name", "Map", "Players", "Address"});
    for (const auto& row : rows)
        model->appendRow({new QStandardItem(row[0]), new QStandardItem(row[1]), new QStandardItem(row[2]), new QStandardItem(row[3])});
    return model;
}

QWidget* skinnedContent(quint32 flags)
{
    const QImage frame = framePicture();
    auto* content = new QWidget;
    content->resize(frame.size());
    auto* background = new VELReplROP(content);
    background->setGeometry(1, 1, frame.width() - 2, frame.height() - 2);
    background->setImage(backgroundPicture());
    auto* frameView = new VELTransparentImageView(content);
    frameView->setGeometry(0, 0, frame.width(), frame.height());
    frameView->setImage(frame);
    auto* move = new VELDragWindowButton(frameView);
    move->setGeometry(30, 8, 200, 22);
    move->setFlat(true);

    auto* table = new QTableView(frameView);
    table->setGeometry(24, 42, 477, 150);
    table->setModel(serverModel(table));
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->selectRow(1);
    if (flags & VELTransparentTableView::TransparentRows) {
        // Light text reads best over the dark background.
        QPalette palette = table->palette();
        palette.setColor(QPalette::Text, Qt::white);
        palette.setColor(QPalette::ButtonText, Qt::white);
        table->setPalette(palette);
    }
    VELTransparentTableView::makeTransparent(table, flags);
    return content;
}

bool grabTo(quint32 flags, const QString& path)
{
    VELBorderLessWindow window;
    window.resize(framePicture().size());
    window.setContentView(skinnedContent(flags));
    window.show();
    QApplication::processEvents();
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    using T = VELTransparentTableView;
    const bool ok = grabTo(T::ReplaceCornerView | T::TransparentHeader | T::TransparentRows, out.filePath("widgetdemo-transparent.png"))
                    && grabTo(T::ReplaceCornerView, out.filePath("widgetdemo-default.png"));
    return ok ? 0 : 1;
}
