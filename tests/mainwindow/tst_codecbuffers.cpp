// Buffers handed out by the codec library: the byte count the library gives is the limit, whatever the
// buffer's own header claims.
#include "CodecBuffers.h"
#include "TestSupport.h"

#include <QBuffer>

#include <cstring>

namespace {
QByteArray wave(quint32 declaredData, int actualData, const char *riff = "RIFF")
{
    QByteArray b(44 + actualData, '\0');
    std::memcpy(b.data(), riff, 4);
    std::memcpy(b.data() + 8, "WAVEfmt ", 8);
    const quint32 rate = 22050;
    std::memcpy(b.data() + 24, &rate, 4);
    std::memcpy(b.data() + 36, "data", 4);
    std::memcpy(b.data() + 40, &declaredData, 4);
    for (int i = 0; i < actualData; ++i)
        b[44 + i] = char(i);
    return b;
}

QByteArray bmp(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

quint32 le32(const QByteArray &b, int at)
{
    quint32 v = 0;
    std::memcpy(&v, b.constData() + at, 4);
    return v;
}
} // namespace

class TestCodecBuffers : public QObject
{
    Q_OBJECT
private slots:
    void waveBlocks_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<int>("length"); // what the library says it handed out
        QTest::addColumn<int>("expectedSize");
        QTest::newRow("consistent") << wave(200, 200) << 244 << 244;
        QTest::newRow("header claims more than given") << wave(1u << 30, 200) << 244 << 244;
        QTest::newRow("library gave less than the block") << wave(200, 200) << 144 << 144;
        QTest::newRow("shorter than a header") << wave(0, 0) << 40 << 0;
        QTest::newRow("not a wave image") << wave(200, 200, "JUNK") << 244 << 0;
    }
    void waveBlocks()
    {
        QFETCH(QByteArray, block);
        QFETCH(int, length);
        QFETCH(int, expectedSize);
        quint32 rate = 1;
        const QByteArray copy =
            CodecBuffers::waveBlock(reinterpret_cast<const unsigned char *>(block.constData()), quint32(length), &rate);
        QCOMPARE(copy.size(), expectedSize);
        if (expectedSize) {
            QCOMPARE(rate, 22050u);
            QCOMPARE(le32(copy, 40), quint32(expectedSize - 44)); // the copy's header tells the truth
        }
        QVERIFY(CodecBuffers::waveBlock(nullptr, 100, &rate).isEmpty());
    }

    void images_data()
    {
        QTest::addColumn<int>("cut");   // bytes withheld from the length the library reports
        QTest::addColumn<int>("claim"); // added to the BMP's own file-size field
        QTest::addColumn<bool>("decodes");
        QTest::newRow("whole") << 0 << 0 << true;
        QTest::newRow("header claims more than given") << 0 << 4096 << false;
        QTest::newRow("truncated by the library's count") << 100 << 0 << false;
        QTest::newRow("header below a BMP header") << 0 << -10000 << false;
    }
    void images()
    {
        QFETCH(int, cut);
        QFETCH(int, claim);
        QFETCH(bool, decodes);
        QByteArray b = bmp(40, 30);
        const quint32 declared = quint32(qMax(0, b.size() + claim));
        std::memcpy(b.data() + 2, &declared, 4);
        const QImage image =
            CodecBuffers::decodeImage(reinterpret_cast<const unsigned char *>(b.constData()), quint32(b.size() - cut));
        QCOMPARE(!image.isNull(), decodes);
        if (decodes)
            QCOMPARE(image.size(), QSize(40, 30));
        QVERIFY(CodecBuffers::decodeImage(nullptr, 100).isNull());
    }
};

RS_TEST_MAIN(TestCodecBuffers)
#include "tst_codecbuffers.moc"
