// The output writer of the jobs: bytes land at their offsets whatever the order of writes and seeks, and a
// failed write is reported, not lost.
#include "TestSupport.h"
#include "mux_writer.h"

#include <QFile>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using rsc::job::BlockWriter;

namespace {
struct Write
{
    qint64 offset;
    int size;
};
} // namespace
Q_DECLARE_METATYPE(QList<Write>)

class TestJobWriter : public QObject
{
    Q_OBJECT

private slots:
    void landsAtOffsets_data();
    void landsAtOffsets();
    void reportsFailedWrites();
};

void TestJobWriter::landsAtOffsets_data()
{
    constexpr int MiB = 1 << 20;
    QTest::addColumn<QList<Write>>("writes");
    QTest::newRow("in order across blocks") << QList<Write>{{0, 3 * MiB}, {3 * MiB, 3 * MiB}, {6 * MiB, 7}};
    QTest::newRow("one write larger than a block") << QList<Write>{{0, 9 * MiB + 13}};
    // A muxer fills in a size at the start of the file after its data, and box sizes just behind it.
    QTest::newRow("patch in an earlier block") << QList<Write>{{0, 8}, {8, 10 * MiB}, {0, 4}, {10 * MiB + 8, 100}};
    QTest::newRow("patch in the current block") << QList<Write>{{0, 1000}, {200, 4}, {1000, 50}, {990, 20}};
    QTest::newRow("gap then back") << QList<Write>{{0, 10}, {5 * MiB, 10}, {10, 100}};
}

void TestJobWriter::landsAtOffsets()
{
    QFETCH(QList<Write>, writes);
    const QString path = rstest::scratchDir(QStringLiteral("job-writer")) + QStringLiteral("/out.bin");
    QFile::remove(path);
    const int fd = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QByteArray expected;
    {
        BlockWriter writer(fd);
        int round = 0;
        for (const Write &w : writes) {
            QByteArray data(w.size, '\0');
            for (int i = 0; i < w.size; ++i)
                data[i] = char((i * 31 + round * 7) & 0xff);
            ++round;
            QVERIFY(writer.write(w.offset, reinterpret_cast<const uint8_t *>(data.constData()), size_t(w.size)));
            if (expected.size() < w.offset + w.size)
                expected.append(QByteArray(int(w.offset + w.size - expected.size()), '\0'));
            expected.replace(int(w.offset), w.size, data);
        }
        QVERIFY(writer.finish());
    }
    ::close(fd);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray got = f.readAll();
    QCOMPARE(got.size(), expected.size());
    QVERIFY(got == expected);
}

void TestJobWriter::reportsFailedWrites()
{
    // /dev/full refuses every write with "no space left", for root as well.
    const int fd = ::open("/dev/full", O_WRONLY);
    if (fd < 0)
        QSKIP("no /dev/full");
    BlockWriter writer(fd);
    const QByteArray data(1 << 20, 'x');
    bool accepted = true;
    for (int i = 0; i < 64 && accepted; ++i)
        accepted =
            writer.write(qint64(i) << 20, reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()));
    QVERIFY(!writer.finish());
    QVERIFY(!accepted); // the failure reached the muxing side while it was still writing
    QCOMPARE(writer.errorNumber(), ENOSPC);
    ::close(fd);
}

RS_TEST_MAIN(TestJobWriter)
#include "tst_job_writer.moc"
