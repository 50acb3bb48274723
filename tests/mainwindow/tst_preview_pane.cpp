// The main window's preview pane on real generated clips under X: the selected clip plays with ten strip
// thumbnails made on the pane's worker, the strip's handles trim the clip, the bar drives the player.
#include "MediaFixtures.h"
#include "QAudioDataWidget.h"
#include "QIAnyUtil.h"
#include "QImageDualSlider.h"
#include "QRirezaPlaterBtnForm.h"
#include "QRirezaPlayerForm.h"
#include "QZTBaseButton.h"

#include "TestSupport.h"
#include "VideoImageWindow.h"
#include "WindowInput.h"
#include "ZTPlayerClass.h"
#include "ZTQPlayObject.h"
#include "ZtVideoConvertItem.h"
#include <QLabel>

#include <QElapsedTimer>
#include <QSignalSpy>

#include <algorithm>
#include <memory>

namespace {
QString colourClip(const QString &name, const QString &colour, int seconds)
{
    return rstest::MediaFixtures::make(
        {name, QString::fromLatin1("-f lavfi -i color=c=%1:s=320x180:r=25:d=%2 "
                                   "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=%2 "
                                   "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -shortest")
                   .arg(colour)
                   .arg(seconds)
                   .split(QLatin1Char(' '))});
}

QString patternClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("pane_pattern.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=640x360:rate=25:duration=8 "
                             "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=8 "
                             "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -shortest")
             .split(QLatin1Char(' '))});
}

QString toneClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("pane_tone.m4a"),
         QString::fromLatin1("-f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 -c:a aac")
             .split(QLatin1Char(' '))});
}

std::unique_ptr<ZtVideoConvertItem> probe(const QString &path)
{
    auto item = std::make_unique<ZtVideoConvertItem>();
    if (!item->setVideoPath(path, 0))
        return nullptr;
    return item;
}

// Every control of the pictured pane can be clicked where it stands.
void checkReachable(QWidget *pane)
{
    const QStringList unreachable = rstest::unreachableControls(pane);
    QVERIFY2(unreachable.isEmpty(), qPrintable(unreachable.join(QStringLiteral("; "))));
}

// Blue dominates red in every thumbnail.
bool allBlue(const QList<QImage> &images)
{
    for (const QImage &image : images) {
        const QColor c = image.pixelColor(image.width() / 2, image.height() / 2);
        if (c.blue() < 150 || c.red() > 80)
            return false;
    }
    return true;
}
} // namespace

class TestPreviewPane : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + "/Contents");
        qRegisterMetaType<QMouseEvent *>("QMouseEvent*");
    }

    void playsWithTenThumbnails()
    {
        auto item = probe(patternClip());
        QVERIFY(item);
        QRirezaPlayerForm pane;
        pane.resize(700, 520);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QVERIFY(!pane.strip()->isEnabled());
        QSignalSpy state(&pane, &QRirezaPlayerForm::emitPlayState);
        pane.setPlayerItem(item.get());
        QCOMPARE(pane.currentItem(), item.get());
        QVERIFY(pane.strip()->isEnabled());
        QCOMPARE(state.first().first().toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(pane.strip()->imageCount(), 10, 10000);
        QCOMPARE(item->m_thumbnails.size(), 10);
        QVERIFY(item->m_thumbnails.first().width() <= 200);
        QVERIFY(pane.videoWindow()->isVisible());
        QVERIFY(pane.controlBar()->pauseButton()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(pane.strip()->GetProgressValue() > 0.05, 5000);
        // The layout: bar at the bottom, strip over it, the video above.
        QCOMPARE(pane.controlBar()->geometry(), QRect(0, 480, 700, 40));
        QCOMPARE(pane.strip()->geometry().bottom(), 479);
        QCOMPARE(pane.videoWindow()->geometry(), QRect(0, 0, 700, 480 - pane.strip()->height()));

        // Pause from the bar, and a second selection of the same clip resumes it without reloading.
        rstest::clickAt(pane.controlBar()->pauseButton());
        QVERIFY(pane.player()->IsPause());
        QVERIFY(pane.controlBar()->playButton()->isVisible());
        // A click on the strip's time axis seeks there (the strip's own cursor follows).
        QImageDualSlider *strip = pane.strip();
        const QPoint middle(strip->imageAreaRect().left() + strip->imageAreaRect().width() * 45 / 100, 8);
        rstest::clickAt(strip, middle);
        QVERIFY(qAbs(double(pane.player()->playerClass()->GetVideoTime_Player()) - 3600000.0) <= 80000.0);
        QTest::qWait(200); // screenshot only: the paused frame is drawn by the screen timer
        QVERIFY(pane.grab().save(rstest::galleryPath(QStringLiteral("QRirezaPlayerForm-playing"))));
        checkReachable(&pane);
        pane.setPlayerItem(item.get());
        QVERIFY(!pane.player()->IsPause());
        QCOMPARE(pane.strip()->imageCount(), 10);
        pane.pausePlayer();
        QVERIFY(pane.player()->IsPause());
    }

    void trimAndResetWriteTheClip()
    {
        auto item = probe(patternClip());
        QVERIFY(item);
        item->m_thumbnails = QList<QImage>();
        QRirezaPlayerForm pane;
        pane.resize(618, 400);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.preparePlayer(item.get());
        QVERIFY(pane.player()->IsPause()); // opened, not started
        QSignalSpy changed(&pane, &QRirezaPlayerForm::emitPlayerItemChanged);
        QImageDualSlider *strip = pane.strip();
        const QPoint p = strip->startHandleRect().center();
        rstest::pressAt(strip, p);
        rstest::moveTo(strip, p + QPoint(150, 0));
        rstest::releaseAt(strip, p + QPoint(150, 0));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(item->m_nTrimStart, uint64_t(2000000)); // a quarter of 8 s
        QCOMPARE(item->m_nTrimEnd, uint64_t(0));
        // The play position followed the handle.
        QVERIFY(qAbs(double(pane.player()->playerClass()->GetVideoTime_Player()) - 2000000.0) <= 80000.0);

        rstest::clickAt(pane.controlBar()->resetButton());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(item->m_nTrimStart, uint64_t(0));
        QCOMPARE(strip->GetTrimInfo().start, uint64_t(0));

        // The editor changed the trim: the strip follows.
        item->m_nTrimStart = 4000000;
        item->m_nTrimEnd = 6000000;
        pane.playerItemChanged(item.get());
        QCOMPARE(strip->GetTrimInfo().end, uint64_t(6000000));

        // The volume: the bar's middle is 100, its end 200.
        pane.SoundValueChange(0.5);
        QCOMPARE(pane.volume(), 100);
        pane.SoundValueChange(1.0);
        QCOMPARE(pane.player()->soundVolume(), 200.0f);

        pane.clearCurrentPlayer();
        QVERIFY(!pane.currentItem());
        QVERIFY(!strip->isEnabled());
        QVERIFY(strip->isEmptyStrip());
        QVERIFY(!pane.videoWindow()->isVisible());
    }

    void soundOnlyShowsTheLevelBars()
    {
        auto item = probe(toneClip());
        QVERIFY(item);
        QRirezaPlayerForm pane;
        pane.resize(600, 420);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.setPlayerItem(item.get());
        QVERIFY(pane.audioPicture()->isVisible());
        QVERIFY(!pane.videoWindow()->isVisible());
        const auto anyLevel = [&pane] {
            const std::vector<int> &l = pane.audioPicture()->levels();
            return std::any_of(l.begin(), l.end(), [](int v) { return v > 0; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(anyLevel(), 5000);
        QVERIFY(pane.isThumbnailWorkerIdle());
        QCOMPARE(pane.strip()->imageCount(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(pane.controlBar()->timeLabel()->text() != QStringLiteral("00:00:00.00"), 5000);
        // The bars show the block just handed over: the picture is taken right after one arrives.
        bool shot = false;
        connect(pane.player(), &ZTQPlayObject::emitAudioData, this, [&](QByteArray block, int) {
            if (!shot && block.size() > 44)
                shot = pane.grab().save(rstest::galleryPath(QStringLiteral("QRirezaPlayerForm-sound")));
        });
        QTRY_VERIFY_WITH_TIMEOUT(shot, 5000);
        checkReachable(&pane);
        pane.pausePlayer();
        const std::vector<int> &peaks = pane.audioPicture()->peaks();
        QVERIFY(std::all_of(peaks.begin(), peaks.end(), [](int v) { return v == 0; })); // pause clears the bars
    }

    // Switching clips while thumbnails are made stops the old run; its pictures never reach the strip.
    void switchingStopsTheOldWorker()
    {
        auto red = probe(colourClip(QStringLiteral("pane_red.mp4"), QStringLiteral("red"), 30));
        auto blue = probe(colourClip(QStringLiteral("pane_blue.mp4"), QStringLiteral("blue"), 4));
        QVERIFY(red && blue);
        QRirezaPlayerForm pane;
        pane.resize(600, 420);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.preparePlayer(red.get());
        QElapsedTimer timer;
        timer.start();
        pane.preparePlayer(blue.get());
        QVERIFY(timer.elapsed() < 5000); // a stop waits for one frame at most
        QTRY_COMPARE_WITH_TIMEOUT(pane.strip()->imageCount(), 10, 10000);
        QVERIFY(allBlue(blue->m_thumbnails));
        // Once the worker has ended, everything either run sent has been posted: deliver it, then count.
        QTRY_VERIFY_WITH_TIMEOUT(pane.isThumbnailWorkerIdle(), rstest::kHangBoundMs);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(pane.strip()->imageCount(), 10);
        QVERIFY(red->m_thumbnails.size() < 10);

        // A clip whose ten thumbnails are cached shows them at once, without a worker.
        pane.preparePlayer(red.get());
        pane.preparePlayer(blue.get());
        QVERIFY(pane.isThumbnailWorkerIdle());
        QCOMPARE(pane.strip()->imageCount(), 10);

        // Deleting the pane while a worker runs ends it.
        auto other = std::make_unique<QRirezaPlayerForm>();
        other->preparePlayer(red.get());
        timer.restart();
        other.reset();
        QVERIFY(timer.elapsed() < 5000);
    }
};

RS_TEST_MAIN(TestPreviewPane)
#include "tst_preview_pane.moc"
