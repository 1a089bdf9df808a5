#include "AppTestSupport.h"

#include "app/QuakeText.h"
#include "app/ServerTableModel.h"

#include <QTest>

class ServerTableTest : public QObject {
    Q_OBJECT
private slots:
    void colourCodesBecomeRuns_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("codes"); // -1: the view's own colour
        QTest::newRow("no codes") << "Arena" << QStringList { "Arena" } << QList<int> { -1 };
        QTest::newRow("two colours") << "^1Red^7White" << QStringList { "Red", "White" } << QList<int> { 1, 7 };
        QTest::newRow("plain then coloured") << "The ^3Pit" << QStringList { "The ", "Pit" } << QList<int> { -1, 3 };
        QTest::newRow("code at the end") << "Frag^2" << QStringList { "Frag" } << QList<int> { -1 };
        QTest::newRow("codes only") << "^1^2" << QStringList {} << QList<int> {};
        QTest::newRow("caret without digit") << "a^b ^" << QStringList { "a^b ^" } << QList<int> { -1 };
        QTest::newRow("doubled caret") << "^^5x" << QStringList { "^", "x" } << QList<int> { -1, 5 };
    }

    void colourCodesBecomeRuns()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, codes);
        const QList<QuakeText::Run> runs = QuakeText::runs(text);
        QCOMPARE(runs.size(), texts.size());
        for (qsizetype i = 0; i < runs.size(); ++i) {
            QCOMPARE(runs[i].text, texts[i]);
            QCOMPARE(runs[i].color, codes[i] < 0 ? QColor() : QuakeText::colorForCode(codes[i]));
        }
    }

    void serverBytesDecodeSafely_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf-8") << QByteArray("Caf\xc3\xa9") << QStringLiteral("Café");
        QTest::newRow("latin-1") << QByteArray("Caf\xe9") << QStringLiteral("Café");
        QTest::newRow("control characters dropped") << QByteArray("two\nlines\ttab\x1b[31m") << QStringLiteral("twolinestab[31m");
    }

    void serverBytesDecodeSafely()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(QuakeText::decode(bytes.toStdString()), text);
    }

    void cellsShowPlainTextAndSortNaturally()
    {
        ServerTableModel model;
        model.setServers({ makeServer(0x0a000005, 27961, "^1<b>Big</b> ^7Arena", "q3dm17", 12, 16),
            makeServer(0x0a000004, 27960, "Small", "q3tourney2", 3, 8) });
        const QModelIndex name = model.index(0, ServerTableModel::NameColumn);
        QCOMPARE(name.data().toString(), QStringLiteral("<b>Big</b> Arena"));
        QCOMPARE(name.data(ServerTableModel::RawTextRole).toString(), QStringLiteral("^1<b>Big</b> ^7Arena"));
        QVERIFY(name.data(Qt::ToolTipRole).toString().contains(QStringLiteral("&lt;b&gt;Big&lt;/b&gt; Arena")));
        QCOMPARE(model.index(0, ServerTableModel::MapColumn).data().toString(), QStringLiteral("q3dm17"));
        QCOMPARE(model.index(0, ServerTableModel::PlayersColumn).data().toString(), QStringLiteral("12/16"));
        QCOMPARE(model.index(0, ServerTableModel::AddressColumn).data().toString(), QStringLiteral("10.0.0.5:27961"));
        // Numbers sort as numbers: 3 players before 12, 10.0.0.4 before 10.0.0.5.
        QVERIFY(model.index(1, ServerTableModel::PlayersColumn).data(ServerTableModel::SortRole).toLongLong()
            < model.index(0, ServerTableModel::PlayersColumn).data(ServerTableModel::SortRole).toLongLong());
        QVERIFY(model.index(1, ServerTableModel::AddressColumn).data(ServerTableModel::SortRole).toULongLong()
            < model.index(0, ServerTableModel::AddressColumn).data(ServerTableModel::SortRole).toULongLong());
    }

    void hostileCountsStayInRange()
    {
        ServerTableModel model;
        ServerRecord server = makeServer(1, 27960, "x");
        server.info["clients"] = "123456789";
        server.info["sv_maxclients"] = "-5";
        model.setServers({ server });
        QCOMPARE(model.index(0, ServerTableModel::PlayersColumn).data().toString(), QStringLiteral("99999/0"));
        QVERIFY(!model.index(5, 0).data().isValid());
    }
};

int runServerTableTest(int argc, char** argv)
{
    ServerTableTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ServerTableTest.moc"
