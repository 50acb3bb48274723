#include "MediaFixtures.h"
#include "QMediaElementWindow.h"
#include "TestSupport.h"
#include "ZTPlayerClass.h"
#include "ZTPlayerManager.h"

#include <QImage>
#include <QSignalSpy>

namespace {

constexpr uint64_t kFrameUs = 40000;

// Four seconds at 25 frames a second with a tone; frame N is a flat grey of luma 16 + 2N.
QString numberedClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("controller_numbered.mp4"),
         QString::fromLatin1("-f lavfi -i color=c=black:s=160x120:r=25:d=4 "
                             "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                             "-vf format=yuv420p,geq=lum=16+2*N:cb=128:cr=128 "
                             "-c:v libx264 -preset fast -qp 0 -bf 2 -g 25 -pix_fmt yuv420p -c:a aac -shortest")
             .split(QLatin1Char(' '))});
}

} // namespace

// The preview controller driving the real player: what the editor's trim page and player bar rely on.
class TestPlayerControllerMedia : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<uint64_t>("uint64_t"); }

    void sectionPlayStopsOnTheSectionEnd()
    {
        ZTPlayerManager m;
        QMediaElementWindow original, preview;
        m.setMediaOriginalWindow(&original);
        m.setMediaPreviewWindow(&preview);
        m.setTrimTime(1000000, 3000000);
        QVERIFY(m.setPlayFile(numberedClip(), 160, 120, 3));
        QCOMPARE(m.getPlaylength(), uint64_t(2000000));
        QSignalSpy state(&m, &ZTPlayerManager::emitPlayState);
        QSignalSpy trimState(&m, &ZTPlayerManager::emitTrimPlayState);
        QSignalSpy progress(&m, &ZTPlayerManager::emitPlayProgress);
        m.onTrimPlay(0.25f, 0.5f); // 1.5 s to 2.0 s
        QCOMPARE(trimState.first().first().toBool(), true);
        QTRY_VERIFY_WITH_TIMEOUT(!trimState.last().first().toBool(), rstest::kHangBoundMs);
        QCOMPARE(state.last().first().toBool(), false);
        ZTPlayerClass *p = m.getPlayerClass();
        QVERIFY(p->IsPause_Player());
        QVERIFY(p->GetPlayTime_Player() - 2000000ull < kFrameUs); // paused right after the seek back
        QCOMPARE(p->GetVideoTime_Player(), 50 * kFrameUs);
        QCOMPARE(progress.last().first().toDouble(), 0.5);
    }

    void trimEndStopsAndReturnsToTheStart()
    {
        ZTPlayerManager m;
        m.setTrimTime(3000000, 3400000);
        QVERIFY(m.setPlayFile(numberedClip(), 160, 120, 3));
        QSignalSpy finished(&m, &ZTPlayerManager::emitPlayFinish);
        m.onPlay();
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1, rstest::kHangBoundMs);
        ZTPlayerClass *p = m.getPlayerClass();
        QVERIFY(!p->IsRunning_Player());
        QCOMPARE(p->GetPlayTime_Player(), 3000000ull);
    }

    void frameStepsReportWhereTheyLand()
    {
        ZTPlayerManager m;
        m.setTrimTime(1000000, 3000000);
        QVERIFY(m.setPlayFile(numberedClip(), 160, 120, 3));
        QSignalSpy percent(&m, &ZTPlayerManager::emitStartEndProgressValue);
        m.onNextStep(true, 0.5f); // seek to 2.0 s, then one frame on
        QCOMPARE(m.getPlayerClass()->GetVideoTime_Player(), 51 * kFrameUs);
        QVERIFY(qAbs(percent.last().first().toFloat() - 52.0f) < 0.01f);
        m.onPreviousStep(false, 0.52f);
        QCOMPARE(m.getPlayerClass()->GetVideoTime_Player(), 50 * kFrameUs);
        // At the trim start a step back only redraws.
        m.onPreviousStep(true, 0.0f);
        QCOMPARE(m.getPlayerClass()->GetVideoTime_Player(), 25 * kFrameUs);
    }

    void sliderDragLandsExactly()
    {
        ZTPlayerManager m;
        QVERIFY(m.setPlayFile(numberedClip(), 160, 120, 3));
        m.beginAsyncSeek();
        for (double v : {0.1, 0.4, 0.7, 0.33})
            m.progressValueChange(v);
        m.endAsyncSeek();
        QCOMPARE(m.getPlayerClass()->GetVideoTime_Player(), 33 * kFrameUs); // 1.32 s
    }

    void snapshotOfTheEditedPreview()
    {
        ZTPlayerManager m;
        QVERIFY(m.setPlayFile(numberedClip(), 200, 150, 3));
        m.progressValueChange(0.5);
        const QString path = rstest::scratchDir(QStringLiteral("snap")) + QStringLiteral("/frame.png");
        QVERIFY(m.captureImage(path, QStringLiteral("PNG")));
        const QImage image(path);
        QCOMPARE(image.size(), QSize(200, 150));
        // Frame 50: luma 116 in limited range, a mid grey.
        const int grey = qGray(image.pixel(100, 75));
        QVERIFY2(grey > 100 && grey < 130, qPrintable(QString::number(grey)));
    }
};

RS_TEST_MAIN(TestPlayerControllerMedia)
#include "tst_playercontroller_media.moc"
