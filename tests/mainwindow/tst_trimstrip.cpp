// The preview's trim strip and control bar without media: the time scale and handle arithmetic (every
// division guarded, zero durations included), the strip driven with real mouse events, and the bar.
#include "QIAnyUtil.h"
#include "QImageDualSlider.h"
#include "QRirezaPlaterBtnForm.h"
#include "QZTBaseButton.h"
#include "QZTBaseSlider.h"
#include "TestSupport.h"
#include "TrimStripMath.h"
#include "WindowInput.h"

#include <QLabel>
#include <QSignalSpy>

namespace {
constexpr uint64_t kSec = 1000000;

TrimStrip::Layout stripLayout(int width)
{
    TrimStrip::Layout g;
    g.width = width;
    g.height = 95;
    return g;
}

QImage filmFrame(int i)
{
    QImage image(160, 90, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((i * 36) % 360, 140, 200));
    return image;
}

// A strip 600 px long showing the whole of a one-minute clip, on the screen.
bool showMinute(QImageDualSlider &strip)
{
    strip.resize(618, strip.height());
    strip.SetTrimInfo(TrimInfo{0, 0, 0, 60 * kSec});
    strip.show();
    return QTest::qWaitForWindowExposed(&strip);
}
} // namespace

Q_DECLARE_METATYPE(uint64_t)

class TestTrimStrip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + "/Contents");
        qRegisterMetaType<TrimInfo>("TrimInfo");
        qRegisterMetaType<QMouseEvent *>("QMouseEvent*");
    }

    void labelStep_data()
    {
        QTest::addColumn<uint64_t>("duration");
        QTest::addColumn<uint64_t>("step");
        QTest::newRow("zero") << uint64_t(0) << 1 * kSec;
        QTest::newRow("short clip") << uint64_t(150000) << 1 * kSec;
        QTest::newRow("95 s") << 95 * kSec << 10 * kSec;
        QTest::newRow("100.000009 s") << 100 * kSec + 9 << 10 * kSec;
        QTest::newRow("100.00001 s") << 100 * kSec + 10 << 15 * kSec;
        QTest::newRow("one hour") << 3600 * kSec << 600 * kSec;
        QTest::newRow("beyond 300 h") << 400 * 3600 * kSec << 60 * 3600 * kSec;
    }
    void labelStep()
    {
        QFETCH(uint64_t, duration);
        QFETCH(uint64_t, step);
        QCOMPARE(TrimStrip::labelStep(duration), step);
        QCOMPARE(TrimStrip::minorStep(duration), step / 5);
    }

    // A clip of length 0, or shorter than the smallest tick, used to divide by zero when the scale was
    // painted; it now gets tick 0 alone.
    void ticks_data()
    {
        QTest::addColumn<uint64_t>("duration");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lastX");
        QTest::newRow("zero") << uint64_t(0) << 1 << 9;
        QTest::newRow("shorter than a tick") << uint64_t(150000) << 1 << 9;
        QTest::newRow("95 s: ticks every 2 s") << 95 * kSec << 48 << 9 + int(47 * 2 * 500.0 / 95);
        QTest::newRow("exactly ten labels") << 100 * kSec << 51 << 9 + 500;
    }
    void ticks()
    {
        QFETCH(uint64_t, duration);
        QFETCH(int, count);
        QFETCH(int, lastX);
        const QVector<int> xs = TrimStrip::tickPositions(9, 500, duration, TrimStrip::minorStep(duration));
        QCOMPARE(xs.size(), count);
        QCOMPARE(xs.first(), 9);
        QCOMPARE(xs.last(), lastX);
        QVERIFY(std::is_sorted(xs.begin(), xs.end()));
    }

    void texts()
    {
        QCOMPARE(TrimStrip::timeToString(3725 * kSec + 500000), QStringLiteral("01:02:05.500"));
        QCOMPARE(TrimStrip::tooltipTime(3725 * kSec + 500000), QStringLiteral("01:02:05.50"));
        QCOMPARE(QRirezaPlaterBtnForm::timeText(3725 * kSec + 500000), QStringLiteral("01:02:05.50"));
        QCOMPARE(QRirezaPlaterBtnForm::timeText(0), QStringLiteral("00:00:00.00"));
    }

    // Handles placed for a trim give the trim back to within a pixel's worth of time; the end handle at
    // the right end means "to the end" (0), anywhere else a real time of at least 1.
    void handlesRoundTrip_data()
    {
        QTest::addColumn<uint64_t>("start");
        QTest::addColumn<uint64_t>("end");
        QTest::addColumn<uint64_t>("duration");
        QTest::addColumn<uint64_t>("expectedEnd");
        QTest::newRow("whole clip") << uint64_t(0) << uint64_t(0) << 60 * kSec << uint64_t(0);
        QTest::newRow("middle") << 12 * kSec << 48 * kSec << 60 * kSec << 48 * kSec;
        QTest::newRow("end at duration") << 5 * kSec << 60 * kSec << 60 * kSec << uint64_t(0);
        QTest::newRow("end near start") << uint64_t(0) << uint64_t(10) << 60 * kSec << uint64_t(1);
        QTest::newRow("zero duration") << uint64_t(0) << uint64_t(0) << uint64_t(0) << uint64_t(0);
        QTest::newRow("end before start: to the end") << 30 * kSec << 10 * kSec << 60 * kSec << uint64_t(0);
    }
    void handlesRoundTrip()
    {
        QFETCH(uint64_t, start);
        QFETCH(uint64_t, end);
        QFETCH(uint64_t, duration);
        QFETCH(uint64_t, expectedEnd);
        const TrimStrip::Layout g = stripLayout(618);
        const TrimInfo in{start, end, 0, duration};
        const QRect s = g.startHandle(in), e = g.endHandle(in);
        QVERIFY(s.right() < e.left());
        const TrimInfo out = g.trimFromHandles(s, e, duration, 0.5);
        const uint64_t pixel = duration / uint64_t(g.stripLength()) + 1;
        QVERIFY2(out.start + pixel >= start && out.start <= start + pixel, qPrintable(QString::number(out.start)));
        if (expectedEnd <= 1)
            QCOMPARE(out.end, expectedEnd);
        else
            QVERIFY(out.end + pixel >= expectedEnd && out.end <= expectedEnd + pixel);
        QCOMPARE(out.duration, duration);
    }

    void cursorFraction_data()
    {
        QTest::addColumn<double>("progress");
        QTest::newRow("start") << 0.0;
        QTest::newRow("quarter") << 0.25;
        QTest::newRow("end") << 1.0;
        QTest::newRow("beyond") << 7.0;
        QTest::newRow("nan") << qQNaN();
    }
    void cursorFraction()
    {
        QFETCH(double, progress);
        const TrimStrip::Layout g = stripLayout(518); // strip length 500
        const double back = g.progressOf(g.cursorHead(progress).left());
        QVERIFY(back >= 0.0 && back <= 1.0);
        const double expected = std::isnan(progress) ? 0.0 : std::clamp(progress, 0.0, 1.0);
        QVERIFY2(qAbs(back - expected) <= 1.0 / 500, qPrintable(QString::number(back)));
        TrimStrip::Layout empty = stripLayout(18); // no strip left at all
        QCOMPARE(empty.progressOf(empty.cursorHead(progress).left()), 0.0);
    }

    // ---------------------------------------------------------------------------------- the widget

    void paintsEveryDuration_data()
    {
        QTest::addColumn<uint64_t>("duration");
        QTest::newRow("zero") << uint64_t(0);
        QTest::newRow("shorter than a tick") << uint64_t(40000);
        QTest::newRow("95 s") << 95 * kSec;
        QTest::newRow("two hours") << 7200 * kSec;
    }
    void paintsEveryDuration()
    {
        QFETCH(uint64_t, duration);
        QImageDualSlider strip;
        strip.resize(600, strip.height());
        strip.SetTrimInfo(TrimInfo{0, 0, 0, duration});
        QCOMPARE(strip.isEnabled(), duration != 0); // a clip of length 0 cannot be trimmed
        QVERIFY(!strip.grab().isNull());
        strip.reset();
        QVERIFY(strip.isEmptyStrip());
        QVERIFY(!strip.grab().isNull());
    }

    void dragHandles()
    {
        QImageDualSlider strip;
        QVERIFY(showMinute(strip));
        QSignalSpy trims(&strip, &QImageDualSlider::emitTrimInfoChanged);
        QSignalSpy positions(&strip, &QImageDualSlider::emitProgressValueChanged);

        // Start handle 150 px right: 15 s.
        QPoint p = strip.startHandleRect().center();
        rstest::pressAt(&strip, p);
        QCOMPARE(positions.count(), 1); // a press on a handle moves the play position there
        rstest::moveTo(&strip, p + QPoint(150, 0));
        rstest::releaseAt(&strip, p + QPoint(150, 0));
        QCOMPARE(trims.count(), 1);
        TrimInfo t = trims.last().first().value<TrimInfo>();
        QCOMPARE(t.start, 15 * kSec);
        QCOMPARE(t.end, uint64_t(0));

        // The end handle cannot pass the start handle.
        p = strip.endHandleRect().center();
        rstest::pressAt(&strip, p);
        rstest::moveTo(&strip, p - QPoint(590, 0));
        rstest::releaseAt(&strip, p - QPoint(590, 0));
        t = trims.last().first().value<TrimInfo>();
        QVERIFY(strip.endHandleRect().left() > strip.startHandleRect().right());
        QVERIFY(t.end > t.start && t.end >= 1);

        // Back to the far right: to the end again.
        p = strip.endHandleRect().center();
        rstest::pressAt(&strip, p);
        rstest::moveTo(&strip, p + QPoint(800, 0));
        rstest::releaseAt(&strip, p + QPoint(800, 0));
        QCOMPARE(trims.last().first().value<TrimInfo>().end, uint64_t(0));

        // The range cannot leave the strip; its length stays.
        const int rangeWidth = strip.endHandleRect().left() - strip.startHandleRect().right();
        p = QPoint(strip.startHandleRect().right() + 20, strip.startHandleRect().center().y());
        rstest::pressAt(&strip, p);
        rstest::moveTo(&strip, p - QPoint(1000, 0));
        rstest::releaseAt(&strip, p - QPoint(1000, 0));
        QCOMPARE(strip.startHandleRect().left(), 0);
        QCOMPARE(strip.endHandleRect().left() - strip.startHandleRect().right(), rangeWidth);
        QCOMPARE(trims.last().first().value<TrimInfo>().start, uint64_t(0));
        QVERIFY(trims.last().first().value<TrimInfo>().end != 0);

        // A click on the range that does not drag it moves the play position there.
        QSignalSpy seeks(&strip, &QImageDualSlider::emitProgressValueChanged);
        const int before0 = trims.count();
        p = QPoint((strip.startHandleRect().right() + strip.endHandleRect().left()) / 2,
                   strip.imageAreaRect().center().y());
        rstest::clickAt(&strip, p);
        QCOMPARE(trims.count(), before0);
        QCOMPARE(seeks.count(), 1);
        QVERIFY(qAbs(strip.cursorHeadRect().center().x() - p.x()) <= 1);

        // Hovering lights a handle; leaving the strip for another window puts it back.
        rstest::moveTo(&strip, strip.endHandleRect().center());
        QCOMPARE(strip.activePart(), int(QImageDualSlider::PartEnd));
        QWidget elsewhere;
        auto *spot = new QWidget(&elsewhere);
        spot->setGeometry(10, 10, 20, 20);
        elsewhere.setGeometry(strip.geometry().left(), strip.geometry().bottom() + 40, 40, 40);
        elsewhere.show();
        QVERIFY(QTest::qWaitForWindowExposed(&elsewhere));
        rstest::moveTo(spot);
        QCOMPARE(strip.activePart(), int(QImageDualSlider::PartNone));

        // A click on a handle that does not move it changes nothing (no rounding of the trim).
        strip.SetTrimInfo(TrimInfo{1234567, 0, 0, 60 * kSec});
        const int before = trims.count();
        p = strip.startHandleRect().center();
        rstest::clickAt(&strip, p);
        QCOMPARE(trims.count(), before);
        QCOMPARE(strip.GetTrimInfo().start, uint64_t(1234567));
    }

    // Pictures arriving while a handle is held (the clip's thumbnails come in the background) leave the
    // handle where the pointer holds it, and the release trims there.
    void picturesArrivingDuringADrag()
    {
        QImageDualSlider strip;
        QVERIFY(showMinute(strip));
        QSignalSpy trims(&strip, &QImageDualSlider::emitTrimInfoChanged);
        const QPoint p = strip.startHandleRect().center();
        rstest::pressAt(&strip, p);
        rstest::moveTo(&strip, p + QPoint(150, 0));
        strip.SetImageList({filmFrame(0), filmFrame(1)});
        strip.AddImage(filmFrame(2));
        QCOMPARE(strip.startHandleRect().center(), p + QPoint(150, 0));
        rstest::releaseAt(&strip, p + QPoint(150, 0));
        QCOMPARE(trims.count(), 1);
        QCOMPARE(trims.last().first().value<TrimInfo>().start, 15 * kSec);
    }

    void pressOnThumbnailsSeeks()
    {
        QImageDualSlider strip;
        QVERIFY(showMinute(strip));
        QSignalSpy positions(&strip, &QImageDualSlider::emitProgressValueChanged);
        QSignalSpy presses(&strip, &QImageDualSlider::sendPressEvent);
        QSignalSpy trims(&strip, &QImageDualSlider::emitTrimInfoChanged);
        // Below the content (in the bottom margin): nothing at all.
        rstest::clickAt(&strip, QPoint(300, strip.height() - 2));
        QCOMPARE(positions.count(), 0);
        QCOMPARE(presses.count(), 0);
        // A quarter into the thumbnails.
        const int x = strip.imageAreaRect().left() + 150;
        rstest::pressAt(&strip, QPoint(x, strip.imageAreaRect().center().y()));
        QCOMPARE(positions.count(), 1);
        QVERIFY(qAbs(positions.last().first().toDouble() - 0.25) < 0.005);
        // Dragging past the right end holds the position at 1.0.
        rstest::moveTo(&strip, QPoint(2000, strip.imageAreaRect().center().y()));
        QCOMPARE(positions.last().first().toDouble(), 1.0);
        rstest::releaseAt(&strip, QPoint(2000, strip.imageAreaRect().center().y()));
        QCOMPARE(trims.count(), 0);
        QCOMPARE(presses.count(), 1);
    }

    void thumbnailsAndGallery()
    {
        const QString res = QIAnyUtil::getResourcePath();
        QImageDualSlider strip;
        strip.resize(700, strip.height());
        strip.SetPaintImageCount(10);
        strip.SetStartImage(res + "/image/Player/slider_start.png");
        strip.SetEndImage(res + "/image/Player/slider_end.png");
        strip.SetSliderImage(res + "/image/Player/slider_image.png");
        strip.SetTrimInfo(TrimInfo{0, 0, 0, 95 * kSec});
        // Fewer images than cells repeat the last one; the list is capped at the cell count.
        for (int i = 0; i < 4; ++i)
            strip.AddImage(filmFrame(i));
        const QImage four = strip.grab().toImage();
        const QRect area = strip.imageAreaRect();
        const QRgb lastCell = four.pixel(area.right() - 30, area.center().y());
        const QRgb fourthCell = four.pixel(area.left() + 3 * area.width() / 10 + 30, area.center().y());
        QCOMPARE(lastCell, fourthCell);
        for (int i = 4; i < 14; ++i)
            strip.AddImage(filmFrame(i));
        QCOMPARE(strip.imageCount(), 10);
        strip.SetTrimInfo(TrimInfo{20 * kSec, 75 * kSec, 0, 95 * kSec});
        strip.SetProgressValue(0.4);
        QVERIFY(strip.grab().save(rstest::galleryPath(QStringLiteral("QImageDualSlider"))));
        strip.setEnabled(false);
        QVERIFY(strip.grab().save(rstest::galleryPath(QStringLiteral("QImageDualSlider-disabled"))));
        strip.reset();
        QVERIFY(strip.grab().save(rstest::galleryPath(QStringLiteral("QImageDualSlider-empty"))));
    }

    // ---------------------------------------------------------------------------------- the bar

    void controlBar()
    {
        QRirezaPlaterBtnForm bar;
        bar.resize(700, 40);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QCOMPARE(bar.timeLabel()->text(), QStringLiteral("00:00:00:000"));
        QVERIFY(!bar.previousButton()->isEnabled());
        QVERIFY(!bar.nextButton()->isEnabled());
        QSignalSpy play(&bar, &QRirezaPlaterBtnForm::emitBtnPlay);
        QSignalSpy pause(&bar, &QRirezaPlaterBtnForm::emitBtnPause);
        rstest::clickAt(bar.playButton());
        QVERIFY(bar.pauseButton()->isVisible());
        rstest::clickAt(bar.pauseButton());
        QCOMPARE(play.count(), 1);
        QCOMPARE(pause.count(), 1);
        QVERIFY(bar.playButton()->isVisible());

        bar.setTimeLabel(3725 * kSec + 500000);
        QCOMPARE(bar.timeLabel()->text(), QStringLiteral("01:02:05.50"));
        bar.setBtnEnable(true, false);
        QVERIFY(bar.previousButton()->isEnabled());
        QSignalSpy previous(&bar, &QRirezaPlaterBtnForm::emitBtnPrevious);
        rstest::clickAt(bar.previousButton());
        QCOMPARE(previous.count(), 1);
        QSignalSpy reset(&bar, &QRirezaPlaterBtnForm::emitBtnReset);
        rstest::clickAt(bar.resetButton());
        QCOMPARE(reset.count(), 1);

        // The volume: the middle of the track is half of the 0..200 scale, its end the whole.
        QSignalSpy volume(&bar, &QRirezaPlaterBtnForm::emitSliderVolume);
        QZTBaseSlider *slider = bar.volumeSlider();
        rstest::clickAt(slider, QPoint(slider->width() / 2, slider->height() / 2));
        QVERIFY(!volume.isEmpty());
        QVERIFY(qAbs(volume.last().first().toDouble() - 0.5) < 0.02);
        rstest::clickAt(slider, QPoint(slider->width() - 5, slider->height() / 2));
        QCOMPARE(volume.last().first().toDouble(), 1.0);
        bar.setVolume(50.0);
        QCOMPARE(slider->value(), 50.0);

        // Layout: the centre button centred, the others beside it, nothing overlapping.
        QCOMPARE(bar.playButton()->x(), (700 - bar.playButton()->width()) / 2);
        QVERIFY(bar.previousButton()->geometry().right() < bar.playButton()->x());
        QVERIFY(bar.nextButton()->x() > bar.playButton()->geometry().right());
        QVERIFY(slider->geometry().right() < bar.resetButton()->x());
        QVERIFY(bar.timeLabel()->geometry().right() < bar.previousButton()->x());
        QVERIFY(bar.grab().save(rstest::galleryPath(QStringLiteral("QRirezaPlaterBtnForm"))));
        const QStringList unreachable = rstest::unreachableControls(&bar);
        QVERIFY2(unreachable.isEmpty(), qPrintable(unreachable.join(QStringLiteral("; "))));
    }
};

RS_TEST_MAIN(TestTrimStrip)
#include "tst_trimstrip.moc"
