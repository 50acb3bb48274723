// Audio level bars: geometry from the layout record, levels and peaks from WAV level blocks, and blocks
// that lie about their size.

#include "QAudioDataWidget.h"
#include "TestSupport.h"
#include "WidgetTestKit.h"

#include <QtEndian>

namespace {
// A WAV image with the given samples; declaredBytes overrides the data byte count at offset 40.
QByteArray wavBlock(const QVector<quint16> &samples, qint64 declaredBytes = -1, int rate = 8000)
{
    QByteArray block(44 + samples.size() * 2, '\0');
    qToLittleEndian<quint32>(rate, block.data() + 24);
    qToLittleEndian<quint32>(quint32(declaredBytes < 0 ? samples.size() * 2 : declaredBytes), block.data() + 40);
    for (int i = 0; i < samples.size(); ++i)
        qToLittleEndian<quint16>(samples[i], block.data() + 44 + 2 * i);
    return block;
}
} // namespace

class TestAudio : public QObject
{
    Q_OBJECT
private slots:
    void geometry_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("bars");
        QTest::addColumn<int>("blocks");
        QTest::newRow("300x60") << QSize(300, 60) << 23 << 12;
        QTest::newRow("tiny") << QSize(5, 2) << 0 << 0;
    }
    void geometry()
    {
        QFETCH(QSize, size);
        QFETCH(int, bars);
        QFETCH(int, blocks);
        const AudioDataAttribute a = wtk::audioBarsRecord();
        QAudioDataWidget w(nullptr, &a);
        w.resize(size);
        w.resizeChange();
        QCOMPARE(w.barCount(), bars);
        QCOMPARE(w.blockCount(), blocks);
    }

    void levelsAndPeaks_data()
    {
        QTest::addColumn<int>("sampleCount");
        QTest::addColumn<int>("sampleValue");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("peak");
        QTest::newRow("full scale") << 2300 << 65535 << 11 << 53;
        QTest::newRow("silence") << 2300 << 0 << 0 << 0;
        QTest::newRow("fewer samples than bars") << 5 << 65535 << 11 << 53;
    }
    void levelsAndPeaks()
    {
        QFETCH(int, sampleCount);
        QFETCH(int, sampleValue);
        QFETCH(int, level);
        QFETCH(int, peak);
        const AudioDataAttribute a = wtk::audioBarsRecord();
        QAudioDataWidget w(nullptr, &a);
        w.resize(300, 60);
        w.resizeChange();
        const QByteArray block = wavBlock(QVector<quint16>(sampleCount, quint16(sampleValue)));
        w.setAudioData(reinterpret_cast<const unsigned char *>(block.constData()), block.size(), 8000);
        QVERIFY(w.hasData());
        for (int i = 0; i < w.barCount(); ++i) {
            QCOMPARE(w.levels()[i], level);
            QCOMPARE(w.peaks()[i], peak);
        }
        w.setAudioData(nullptr, 0, 0);
        QVERIFY(!w.hasData());
        for (int p : w.peaks())
            QCOMPARE(p, 0);
    }

    void peaksFallWithGravity()
    {
        const AudioDataAttribute a = wtk::audioBarsRecord();
        QAudioDataWidget w(nullptr, &a);
        w.resize(300, 60);
        w.resizeChange();
        const QByteArray loud = wavBlock(QVector<quint16>(230, 65535));
        const QByteArray quiet = wavBlock(QVector<quint16>(230, 0));
        w.setAudioData(reinterpret_cast<const unsigned char *>(loud.constData()), loud.size(), 8000);
        QCOMPARE(w.peaks()[0], 53);
        QList<int> seen;
        for (int i = 0; i < 4; ++i) {
            w.setAudioData(reinterpret_cast<const unsigned char *>(quiet.constData()), quiet.size(), 8000);
            seen << w.peaks()[0];
        }
        // Counter c = 1, 2, 3, 4 drops (c*c)>>3 = 0, 0, 1, 2.
        QCOMPARE(seen, QList<int>({53, 53, 52, 50}));
    }

    void highRateUsesFirstPart()
    {
        // At 48000 only the first third of the samples counts: loud first third, silent rest.
        const AudioDataAttribute a = wtk::audioBarsRecord();
        QAudioDataWidget w(nullptr, &a);
        w.resize(300, 60);
        w.resizeChange();
        QVector<quint16> samples(2300, 0);
        for (int i = 0; i < 2300 / 3; ++i)
            samples[i] = 65535;
        const QByteArray block = wavBlock(samples);
        w.setAudioData(reinterpret_cast<const unsigned char *>(block.constData()), block.size(), 48000);
        QCOMPARE(w.levels()[0], 11);
        QCOMPARE(w.levels()[22], 11);
    }

    void untrustedBlocks_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("shorter than header") << QByteArray(43, '\xff') << false;
        QTest::newRow("declares 4 GB") << wavBlock(QVector<quint16>(10, 65535), 0xffffffffLL) << true;
        QTest::newRow("declares more than given") << wavBlock(QVector<quint16>(10, 65535), 100000) << true;
        QTest::newRow("header only") << wavBlock({}) << true;
    }
    void untrustedBlocks()
    {
        QFETCH(QByteArray, block);
        QFETCH(bool, accepted);
        const AudioDataAttribute a = wtk::audioBarsRecord();
        QAudioDataWidget w(nullptr, &a);
        w.resize(300, 60);
        w.resizeChange();
        // Copy into an exactly sized heap buffer so that reading past it would be caught by sanitizers.
        std::vector<unsigned char> exact(block.begin(), block.end());
        w.setAudioData(exact.data(), int(exact.size()), 8000);
        QCOMPARE(w.hasData(), accepted);
        for (int level : w.levels())
            QVERIFY(level >= 0 && level <= w.blockCount());
    }

    void paintingDrawsBarsOnce()
    {
        const AudioDataAttribute a = wtk::audioBarsRecord();
        QAudioDataWidget w(nullptr, &a);
        w.resize(300, 60);
        w.show(); // a resize or show re-lays the bars out and drops their levels
        const QByteArray block = wavBlock(QVector<quint16>(2300, 65535));
        w.setAudioData(reinterpret_cast<const unsigned char *>(block.constData()), block.size(), 8000);
        QImage shot = wtk::render(&w);
        QVERIFY(wtk::near(shot.pixelColor(5, 57), QColor(215, 63, 63), 40));
        QCOMPARE(shot.pixelColor(12, 57), QColor(0, 0, 0)); // the gap between bars
        shot = wtk::render(&w);                             // no new block: background only
        QCOMPARE(shot.pixelColor(5, 57), QColor(0, 0, 0));
    }

    // The logo stands in for the bars: shown while idle, never through the gaps between bars.
    void logoOnlyWithoutBars()
    {
        const QString logo = rstest::scratchDir(QStringLiteral("audio_logo")) + QStringLiteral("/logo.png");
        QImage white(200, 200, QImage::Format_ARGB32);
        white.fill(Qt::white);
        QVERIFY(white.save(logo));
        const AudioDataAttribute a = wtk::audioBarsRecord();
        QAudioDataWidget w(nullptr, &a);
        w.setAudioLogo(logo);
        w.resize(300, 60);
        w.show();
        const auto whiteInRow = [](const QImage &shot) {
            int n = 0;
            for (int x = 110; x < 190; ++x)
                n += shot.pixelColor(x, 57) == QColor(Qt::white);
            return n;
        };
        QVERIFY(whiteInRow(wtk::render(&w)) > 40);
        const QByteArray block = wavBlock(QVector<quint16>(2300, 65535));
        w.setAudioData(reinterpret_cast<const unsigned char *>(block.constData()), block.size(), 8000);
        QCOMPARE(whiteInRow(wtk::render(&w)), 0);
    }

    void lineMode()
    {
        AudioDataAttribute a = wtk::audioBarsRecord();
        a.mode = 1;
        QAudioDataWidget w(nullptr, &a);
        w.resize(300, 60);
        w.resizeChange();
        QCOMPARE(w.barCount(), 300 / 11); // gaps are ignored in line mode
    }
};

RS_TEST_MAIN(TestAudio)
#include "tst_widgets_audio.moc"
