#include "ArtworkTests.h"

#include "artwork/DataZLib.h"
#include "platform/Exception.h"

#include <QTest>
#include <random>

namespace {

Data repeated(std::size_t length)
{
    Data data(length);
    for (std::size_t i = 0; i < length; ++i)
        data[i] = std::uint8_t(i % 7);
    return data;
}

Data randomBytes(std::size_t length)
{
    std::mt19937 generator(42);
    Data data(length);
    for (auto& byte : data)
        byte = std::uint8_t(generator());
    return data;
}

}

class DataZLibTest : public QObject {
    Q_OBJECT

private slots:
    void inflatingWithAnExpectedLength_data()
    {
        QTest::addColumn<int>("trueLength");
        QTest::addColumn<int>("expectedLength");
        QTest::addColumn<bool>("inflates");
        QTest::newRow("exact") << 10000 << 10000 << true;
        QTest::newRow("larger hint") << 10000 << 50000 << true;
        QTest::newRow("half the true length") << 20000 << 10000 << true;
        QTest::newRow("room exactly 2n+8192") << 10000 << 904 << true;
        QTest::newRow("one byte short of the room") << 10001 << 904 << false;
        QTest::newRow("zero hint, fits the slack") << 8192 << 0 << true;
        QTest::newRow("zero hint, beyond the slack") << 8193 << 0 << false;
    }

    void inflatingWithAnExpectedLength()
    {
        QFETCH(int, trueLength);
        QFETCH(int, expectedLength);
        QFETCH(bool, inflates);
        const Data original = repeated(std::size_t(trueLength));
        const auto stream = compressedDataUsingZLib(original);
        QVERIFY(stream);

        const auto fromBuffer = decompressedDataUsingZLib(*stream, std::uint32_t(expectedLength));
        const auto fromBytes = dataWithZLibCompressedBytes(*stream, std::uint32_t(expectedLength));
        QCOMPARE(fromBuffer.has_value(), inflates);
        QCOMPARE(fromBytes.has_value(), inflates);
        if (inflates) {
            QVERIFY(*fromBuffer == original);
            QVERIFY(*fromBytes == original);
        }
    }

    void anyExpectedLengthCostsOnlyWhatTheStreamHolds()
    {
        // The largest hint once meant a zero-filled buffer of 8 GiB before zlib ran.
        const Data original = repeated(5000);
        const auto stream = compressedDataUsingZLib(original);
        QVERIFY(stream);
        const auto back = dataWithZLibCompressedBytes(*stream, 0xFFFFFFFFu);
        QVERIFY(back && *back == original);
        QVERIFY(back->capacity() < 1u << 20);
    }

    void corruptStreamRaisesWithTheSourceNamed()
    {
        Data stream = *compressedDataUsingZLib(repeated(4000));
        stream.back() ^= 0xFF; // the checksum no longer matches
        const Data broken = { 0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF };
        try {
            decompressedDataUsingZLib(broken, 100);
            QFAIL("no exception");
        } catch (const Exception& exception) {
            QCOMPARE(exception.name(), std::string(Exception::GenericException));
            QCOMPARE(exception.reason(), std::string("Incoming ZLib data <789cffff ffff> was corrupted"));
        }
        try {
            dataWithZLibCompressedBytes(stream, 4000);
            QFAIL("no exception");
        } catch (const Exception& exception) {
            QCOMPARE(exception.name(), std::string(Exception::GenericException));
            QCOMPARE(exception.reason(), std::string("Incoming ZLib data Data was corrupted"));
        }
    }

    void truncatedStreamNeverReadsBeyondItsBytes()
    {
        // The stored length goes with the bytes, so a cut stream is refused, not overrun.
        const Data stream = *compressedDataUsingZLib(repeated(4000));
        const std::span<const std::uint8_t> cut(stream.data(), stream.size() / 2);
        QVERIFY_THROWS_EXCEPTION(Exception, dataWithZLibCompressedBytes(cut, 4000));
    }

    void compressingRefusesWhatDoesNotShrink_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("short") << QByteArray("getinfo xxx");
        const Data noise = randomBytes(4096);
        QTest::newRow("incompressible") << QByteArray(reinterpret_cast<const char*>(noise.data()), int(noise.size()));
    }

    void compressingRefusesWhatDoesNotShrink()
    {
        QFETCH(QByteArray, input);
        QVERIFY(!compressedDataUsingZLib(Data(input.begin(), input.end())));
    }

    void longRunRoundTrips()
    {
        const Data run(100000, 0x41);
        const auto stream = compressedDataUsingZLib(run);
        QVERIFY(stream);
        QVERIFY(stream->size() < 1000);
        // A bare zlib stream at the default level.
        QCOMPARE((*stream)[0], std::uint8_t(0x78));
        QCOMPARE((*stream)[1], std::uint8_t(0x9C));
        const auto back = decompressedDataUsingZLib(*stream, std::uint32_t(run.size()));
        QVERIFY(back && *back == run);
    }
};

int runDataZLibTest(int argc, char** argv)
{
    DataZLibTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DataZLibTest.moc"
