// The main window's preview on real generated media under X: the player object drives the real player
// and its frames reach the OpenGL view of the pane's video window.
#include "MediaFixtures.h"
#include "PreviewThumbnails.h"
#include "QIAnyUtil.h"
#include "QVideoShowWidget.h"
#include "TestSupport.h"
#include "VideoImageWindow.h"
#include "ZTPlayerClass.h"
#include "ZTQPlayObject.h"

#include <QOpenGLWidget>
#include <QSignalSpy>

#include <algorithm>
#include <cstring>

Q_DECLARE_METATYPE(uint64_t)

namespace {
constexpr uint64_t kFrameUs = 40000;

// Four seconds at 25 frames a second with a tone; frame N is a flat grey of luma 16 + 2N.
QString numberedClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("preview_numbered.mp4"),
         QString::fromLatin1("-f lavfi -i color=c=black:s=160x120:r=25:d=4 "
                             "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                             "-vf format=yuv420p,geq=lum=16+2*N:cb=128:cr=128 "
                             "-c:v libx264 -preset fast -qp 0 -bf 2 -g 25 -pix_fmt yuv420p -c:a aac -shortest")
             .split(QLatin1Char(' '))});
}

QString toneClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("preview_tone.m4a"),
         QString::fromLatin1("-f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 -c:a aac")
             .split(QLatin1Char(' '))});
}

// Luma of a frame as the view shows it (limited range expanded), at the centre.
int shownGrey(VideoImageWindow &window)
{
    auto *gl = qobject_cast<QOpenGLWidget *>(window.imageWidget()->videoView());
    if (!gl)
        return -1;
    const QImage image = gl->grabFramebuffer();
    return image.isNull() ? -1 : qGray(image.pixel(image.width() / 2, image.height() / 2));
}

int expectedGrey(int frame)
{
    return qBound(0, qRound((16 + 2 * frame - 16) * 255.0 / 219.0), 255);
}
} // namespace

class TestPreviewMedia : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qRegisterMetaType<uint64_t>("uint64_t");
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + "/Contents");
    }

    void playPauseSeekStep()
    {
        VideoImageWindow window;
        window.resize(320, 240);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ZTQPlayObject player;
        player.SetPlayWindows(&window);
        QSignalSpy hasVideo(&player, &ZTQPlayObject::emitIsHaveVideo);
        QVERIFY(player.SetPlayFile(numberedClip(), 0, 0));
        QCOMPARE(hasVideo.count(), 1);
        QVERIFY(hasVideo.first().first().toBool());
        ZTPlayerClass *p = player.playerClass();
        QCOMPARE(player.duration(), 4000000ull);

        QSignalSpy progress(&player, &ZTQPlayObject::emitPlayPro);
        QSignalSpy state(&player, &ZTQPlayObject::emitPlayState);
        player.StartPlay();
        QCOMPARE(state.first().first().toBool(), true);
        QVERIFY(p->IsRunning_Player());
        QVERIFY(!player.IsPause());
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last().first().toDouble() > 0.05, 5000);
        player.pausePlay();
        QVERIFY(player.IsPause());
        QCOMPARE(player.status(), int(ZTQPlayObject::StatusPaused));

        // An exact seek: the frame shown is the one at the asked time, within one frame.
        player.ProgressValueChange(0.5);
        const uint64_t landed = p->GetVideoTime_Player();
        QVERIFY2(landed + kFrameUs > 2000000 && landed < 2000000 + kFrameUs, qPrintable(QString::number(landed)));
        // The view shows that frame (drawn by the paused-screen timer).
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(shownGrey(window) - expectedGrey(50)) <= 6, 5000);

        // Steps move one frame each way and leave the player paused.
        const uint64_t before = p->GetVideoTime_Player();
        player.videoFrameStepUp();
        QCOMPARE(p->GetVideoTime_Player(), before + kFrameUs);
        player.videoFrameStepDown();
        QCOMPARE(p->GetVideoTime_Player(), before);
        QVERIFY(player.IsPause());

        // A drag: key-frame seeks while the slider moves, an exact landing when it is let go.
        player.beginAsyncSeek();
        for (double v : {0.1, 0.6, 0.3})
            player.ProgressValueChange(v);
        player.endAsyncSeek();
        QCOMPARE(p->GetVideoTime_Player(), 30 * kFrameUs);

        // A snapshot of the frame shown.
        const QString shot = rstest::scratchDir(QStringLiteral("shots")) + QStringLiteral("/frame.png");
        QVERIFY(player.Screenshots(shot));
        const QImage image(shot);
        QCOMPARE(image.size(), QSize(160, 120));
        QVERIFY(qAbs(qGray(image.pixel(80, 60)) - expectedGrey(30)) <= 6);
    }

    void playsToTheEnd()
    {
        ZTQPlayObject player;
        QVERIFY(player.SetPlayFile(numberedClip(), 0, 0));
        player.ProgressValueChange(0.9);
        QSignalSpy finished(&player, &ZTQPlayObject::emitPlayFinish);
        player.StartPlay();
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1, 5000);
        QCOMPARE(player.status(), int(ZTQPlayObject::StatusFinished));
        // Play again: from the start.
        player.StartPlay();
        QCOMPARE(player.status(), int(ZTQPlayObject::StatusPlaying));
        QVERIFY(player.playerClass()->GetPlayTime_Player() < 1000000);
        player.OnBtnStop();
        QCOMPARE(player.status(), int(ZTQPlayObject::StatusStopped));
    }

    // Audio-only media: level blocks arrive as copies whose header agrees with their size, so even a
    // queued receiver reads only what it holds; pause clears the bars.
    void levelBlocks()
    {
        ZTQPlayObject player;
        QSignalSpy hasVideo(&player, &ZTQPlayObject::emitIsHaveVideo);
        QVERIFY(player.SetPlayFile(toneClip(), 0, 0));
        QCOMPARE(hasVideo.first().first().toBool(), false);
        QVERIFY(player.isAudioOnly());
        QList<QByteArray> blocks;
        connect(
            &player, &ZTQPlayObject::emitAudioData, this, [&blocks](QByteArray block, int) { blocks << block; },
            Qt::QueuedConnection);
        player.StartPlay();
        QTRY_VERIFY_WITH_TIMEOUT(blocks.size() >= 5, 5000);
        for (const QByteArray &b : blocks) {
            QVERIFY(b.size() >= 44);
            quint32 dataBytes = 0;
            std::memcpy(&dataBytes, b.constData() + 40, 4);
            QCOMPARE(int(dataBytes), b.size() - 44);
        }
        QVERIFY(std::any_of(blocks.begin(), blocks.end(), [](const QByteArray &b) { return b.size() > 44; }));
        player.pausePlay();
        QTRY_VERIFY(!blocks.isEmpty() && blocks.last().isEmpty());
    }

    // Ten thumbnails at tenths of the clip, each within 200 x 200 and in the display aspect; a stop is
    // honoured before the next frame.
    void thumbnails()
    {
        const QString wide = rstest::MediaFixtures::make(
            {QStringLiteral("preview_anamorphic.mp4"),
             QString::fromLatin1("-f lavfi -i testsrc2=size=320x240:rate=25:duration=3 -vf setsar=4/3 "
                                 "-c:v libx264 -preset ultrafast -pix_fmt yuv420p")
                 .split(QLatin1Char(' '))});
        std::atomic<bool> cancel{false};
        int reports = 0;
        const QList<QImage> images =
            PreviewThumbnails::extract(wide, 3000000, cancel, [&reports](const QList<QImage> &) { ++reports; });
        QCOMPARE(images.size(), PreviewThumbnails::kCount);
        QCOMPARE(reports, PreviewThumbnails::kCount);
        for (const QImage &image : images) {
            QVERIFY(image.width() >= 199 && image.width() <= 200);
            QVERIFY2(qAbs(image.height() - 112) <= 1, qPrintable(QString::number(image.height())));
        }
        // Different frames along the clip (the test picture moves).
        QVERIFY(images.first() != images.last());

        QList<QImage> partial = PreviewThumbnails::extract(wide, 3000000, cancel, [&cancel](const QList<QImage> &so) {
            if (so.size() == 3)
                cancel = true;
        });
        QCOMPARE(partial.size(), 3);
        cancel = false;
        QVERIFY(PreviewThumbnails::extract(toneClip(), 3000000, cancel, {}).isEmpty());
        QVERIFY(PreviewThumbnails::extract(rstest::MediaFixtures::badFile(QStringLiteral("truncated.mp4")), 3000000,
                                           cancel, {})
                    .size() <= PreviewThumbnails::kCount);
    }

    void coverPicture()
    {
        ZTQPlayObject player;
        const QImage cover = player.getCoverImage(numberedClip());
        QCOMPARE(cover.size(), QSize(160, 120));
        QVERIFY(player.getCoverImage(rstest::MediaFixtures::badFile(QStringLiteral("text.mp4"))).isNull());
    }
};

RS_TEST_MAIN(TestPreviewMedia)
#include "tst_preview_media.moc"
