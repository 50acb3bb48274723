// The edit record and the track records: defaults, resets and deep copies.

#include "TestSupport.h"

#include "TrackInfo.h"
#include "VEEditConfig.h"

class TestEditRecord : public QObject
{
    Q_OBJECT
private slots:
    void newResetAndCopiedRecordsAgree()
    {
        VEEditConfig fresh;
        VEEditConfig changed;
        changed.trimStart = 5;
        changed.crop.rotation = 90;
        changed.watermark.text.text = "hello";
        changed.audio.equalize.setBands(std::vector<double>{60, 250}.data(), std::vector<double>{1, 2}.data(), 2);
        changed.audioTag.title = "t";
        changed.SetDefault();
        const VEEditConfig copy(fresh);
        QVERIFY(fresh == changed);
        QVERIFY(copy == fresh);
        QCOMPARE(changed.audio.equalize.count, 0);
        QVERIFY(changed.audio.equalize.frequencies == nullptr);
        QVERIFY(changed.audio.equalize.gains == nullptr);
        QVERIFY(fresh.subtitleItems.isEmpty() && fresh.chapters.isEmpty() && fresh.audioList.isEmpty());
    }

    void overlaySlotsHaveTheirOwnDefaults()
    {
        const VEEditConfig c;
        QCOMPARE(c.effectOverlay.image.mixMode, 1u);
        QCOMPARE(c.effectOverlay.image.width, 1.0);
        QCOMPARE(c.effectOverlay.image.height, 1.0);
        QCOMPARE(c.frameOverlay.image.mixMode, 0u);
        QCOMPARE(c.frameOverlay.image.width, 1.0);
        QCOMPARE(c.watermark.image.mixMode, 0u);
        QCOMPARE(c.watermark.image.width, 0.0);
        const VEWatermarkSettings alone;
        QCOMPARE(alone.image.mixMode, 0u);
        QCOMPARE(alone.image.height, 0.0);
        QCOMPARE(c.subtitleValue.subtitleIndex, -1);
        QCOMPARE(c.subtitleValue.subtitleRow, 0);
    }

    void carriedValuesAreCopiedAndReset()
    {
        // Values the editing pages keep in the record without the engine reading them.
        VEEditConfig c;
        QCOMPARE(c.crop.extraValue1, 0);
        QCOMPARE(c.crop.extraValue2, 1);
        c.crop.extraValue2 = 7;
        c.videoEffect.extraValue = 3;
        c.effectOverlay.packageIndex = 4;
        c.frameOverlay.packageIndex = 2;
        c.subtitle.extraValue1 = 9;
        c.audioTag.extraFlag = 1;
        const VEEditConfig copy(c);
        QVERIFY(copy == c);
        QCOMPARE(copy.effectOverlay.packageIndex, 4);
        VEEditConfig other;
        QVERIFY(!(other == c));
        other = c;
        QCOMPARE(other.frameOverlay.packageIndex, 2);
        c.SetDefault();
        QVERIFY(c == VEEditConfig());
        QCOMPARE(c.effectOverlay.packageIndex, 0);
        QCOMPARE(c.crop.extraValue2, 1);
    }

    void resetKeepsTheThreeLists()
    {
        VEEditConfig c;
        c.chapters.append(VEChapterInfo());
        c.subtitleItems.append(VESubltItemInfo{"a", "b"});
        c.audioList << QStringLiteral("English(aac)");
        c.subtitle.fontSize = 40;
        c.SetDefault();
        QCOMPARE(c.chapters.size(), 1);
        QCOMPARE(c.subtitleItems.size(), 1);
        QCOMPARE(c.audioList.size(), 1);
        QCOMPARE(c.subtitle.fontSize, 18u);
    }

    void equaliserCopiesAreIndependent()
    {
        VEEditConfig source;
        const double f[3] = {100, 1000, 10000};
        const double g[3] = {-3, 0, 6};
        source.audio.equalize.setBands(f, g, 3);
        VEEditConfig copy = source;
        QVERIFY(copy.audio.equalize.frequencies != source.audio.equalize.frequencies);
        source.audio.equalize.frequencies[1] = 42;
        source.audio.equalize.clear();
        QCOMPARE(copy.audio.equalize.count, 3);
        QCOMPARE(copy.audio.equalize.frequencies[1], 1000.0);
        QCOMPARE(copy.audio.equalize.gains[2], 6.0);
        // Assigning a record to itself changes nothing.
        VEEditConfig &same = copy;
        copy = same;
        QCOMPARE(copy.audio.equalize.count, 3);
        QCOMPARE(copy.audio.equalize.gains[0], -3.0);
    }

    void trackPrivateDataIsDeepCopied_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("avcC") << QByteArray("\x01\x64\x00\x1f\xff\xe1", 6);
    }
    void trackPrivateDataIsDeepCopied()
    {
        QFETCH(QByteArray, bytes);
        VideoTrackInfo a;
        a.assign(reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size());
        a.value1 = 7;
        VideoTrackInfo b = a;
        QCOMPARE(b.privateDataSize, bytes.size());
        QVERIFY(b.sameAs(a));
        if (!bytes.isEmpty()) {
            QVERIFY(b.privateData != a.privateData);
            a.privateData[0] ^= 0xFF;
            QVERIFY(!b.sameAs(a));
        } else {
            QVERIFY(b.privateData == nullptr);
        }
        b.SetDefault();
        QCOMPARE(b.index, -1);
        QCOMPARE(b.privateDataSize, 0);
        QVERIFY(b.privateData == nullptr);
    }
};

RS_TEST_MAIN(TestEditRecord)
#include "tst_editrecord.moc"
