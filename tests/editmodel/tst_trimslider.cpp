// The Trim page's range slider driven as a user drags it: handles never cross, the play handle follows
// the dragged handle, arrow keys ask for frame steps, and a slider narrower than its handles reports 0.

#include "QVEDualSlider.h"
#include "TestSupport.h"
#include "WidgetTestKit.h"

#include <QSignalSpy>
#include <cmath>

using Moves = QVector<QPair<bool, int>>; // (start handle?, new left edge)
Q_DECLARE_METATYPE(Moves)

namespace {

// Track 400 logical pixels, handles 10 wide: the slider is 420 wide and T = 400.
struct Rig
{
    QWidget host;
    QVEDualSlider *slider = nullptr;

    Rig()
    {
        host.resize(460, 60);
        slider = new QVEDualSlider(&host);
        slider->setBottomImage(wtk::makeSolid(QStringLiteral("trim_bottom"), 800, 16, Qt::gray));
        slider->setTopImage(wtk::makeSolid(QStringLiteral("trim_top"), 800, 16, Qt::red));
        slider->setStartBtnImage(wtk::makeStrip(QStringLiteral("trim_start"), 20, 40), 2);
        slider->setEndBtnImage(wtk::makeStrip(QStringLiteral("trim_end"), 20, 40));
        slider->setProgressBtnImage(wtk::makeStrip(QStringLiteral("trim_play"), 12, 40), 7);
        slider->setCircle(true);
        slider->setCircleLenght(1);
        slider->setPlayValue(0, false);
        slider->setStartValue(0);
        slider->setEndValue(100);
        slider->move(20, 10);
        host.show();
    }

    // Drags a handle so that its left edge goes to `left` (slider coordinates), grabbed 3 pixels in.
    void drag(QSliderCtrlBtn *handle, int left)
    {
        const QPoint grab(3, 5);
        rstest::pressAt(handle, grab);
        rstest::moveTo(slider, QPoint(left + grab.x(), 5));
        rstest::releaseAt(slider, QPoint(left + grab.x(), 5));
    }

    // The same drag handed to the handle itself, for a slider so narrow that its handles lie over each
    // other and no pointer could grab the one below: its handler must still report sound fractions.
    void dragUnderneath(QSliderCtrlBtn *handle, int left)
    {
        const QPoint grab(3, 5);
        const QPoint global = slider->mapToGlobal(QPoint(left + grab.x(), 5));
        QMouseEvent press(QEvent::MouseButtonPress, grab, handle->mapToGlobal(grab), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent move(QEvent::MouseMove, handle->mapFromGlobal(global), global, Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(handle, &press);
        QCoreApplication::sendEvent(handle, &move);
    }
};

} // namespace

class TestTrimSlider : public QObject
{
    Q_OBJECT
private slots:
    void handlesAreTheEditorsOwn()
    {
        Rig r;
        QCOMPARE(r.slider->width(), 420);
        QVERIFY(r.slider->startButton());
        QVERIFY(r.slider->endButton());
        QVERIFY(r.slider->playButton());
    }

    void percentSettersKeepTwoPixels_data()
    {
        QTest::addColumn<float>("end");
        QTest::addColumn<float>("start");
        QTest::addColumn<float>("secondEnd");
        QTest::addColumn<float>("startPos");
        QTest::addColumn<float>("endPos");
        // Each row: setEndValue(end), setStartValue(start), setEndValue(secondEnd).
        QTest::newRow("start stops 2 px left of the end") << 50.f << 60.f << 50.f << 198.f << 200.f;
        QTest::newRow("end raised 2 px past the start") << 100.f << 25.f << 10.f << 100.f << 102.f;
        QTest::newRow("start at the minimum") << 80.f << 0.f << 80.f << 0.f << 320.f;
        QTest::newRow("end at the maximum") << 100.f << 10.f << 100.f << 40.f << 400.f;
        QTest::newRow("end beyond the maximum") << 100.f << 10.f << 250.f << 40.f << 400.f;
        QTest::newRow("start below the minimum") << 100.f << -5.f << 100.f << 0.f << 400.f;
    }
    void percentSettersKeepTwoPixels()
    {
        QFETCH(float, end);
        QFETCH(float, start);
        QFETCH(float, secondEnd);
        Rig r;
        r.slider->setEndValue(end);
        r.slider->setStartValue(start);
        r.slider->setEndValue(secondEnd);
        QFETCH(float, startPos);
        QFETCH(float, endPos);
        QCOMPARE(r.slider->startPos(), startPos);
        QCOMPARE(r.slider->endPos(), endPos);
        QVERIFY(r.slider->startButton()->x() + r.slider->startButton()->width() <= r.slider->endButton()->x());
    }

    // A sequence of drags of both handles: after every step the start handle lies left of the end
    // handle, both fractions are inside 0..1 and ordered, and the reported fractions are the held ones.
    void dragsNeverCross_data()
    {
        QTest::addColumn<Moves>("moves");
        using M = Moves;
        QTest::newRow("start onto the end") << M{{true, 500}};
        QTest::newRow("end onto the start") << M{{true, 150}, {false, 20}};
        QTest::newRow("end past the left edge") << M{{false, -80}};
        QTest::newRow("start past the right edge") << M{{false, 300}, {true, 900}};
        QTest::newRow("back and forth") << M{{true, 200}, {false, 190}, {true, 5}, {false, 410}, {true, 409}};
        QTest::newRow("start snaps to 0 near the left end") << M{{true, 100}, {true, 4}};
        QTest::newRow("inside the range") << M{{true, 60}, {false, 300}, {true, 120}, {false, 250}};
    }
    void dragsNeverCross()
    {
        QFETCH(Moves, moves);
        Rig r;
        QSignalSpy startSpy(r.slider, &QDualSlider::sendProgressValue);
        QSignalSpy endSpy(r.slider, &QDualSlider::sendEndProgressValue);
        QSignalSpy playSpy(r.slider, &QDualSlider::sendPlayProValue);
        for (const auto &m : moves) {
            r.drag(m.first ? r.slider->startButton() : r.slider->endButton(), m.second);
            QSliderCtrlBtn *s = r.slider->startButton();
            QSliderCtrlBtn *e = r.slider->endButton();
            QVERIFY2(s->x() + s->width() <= e->x(), qPrintable(QStringLiteral("%1 %2").arg(s->x()).arg(e->x())));
            QVERIFY(s->x() >= 0 && e->x() + e->width() <= r.slider->width());
            const double a = r.slider->getStartValue(), b = r.slider->getEndValue();
            QVERIFY2(a >= 0 && a <= b && b <= 1.0, qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
            if (m.first) {
                QCOMPARE(startSpy.last().first().toDouble(), a);
            } else {
                QCOMPARE(endSpy.last().first().toDouble(), b);
            }
            // The play handle follows the dragged handle to the same place.
            QCOMPARE(playSpy.last().first().toDouble(), m.first ? a : b);
            QCOMPARE(r.slider->getPlayValue(), m.first ? a : b);
        }
    }

    void startHandleDropsAtTheDragPoint()
    {
        Rig r;
        r.drag(r.slider->startButton(), 120);
        QCOMPARE(r.slider->startButton()->x(), 120);
        QCOMPARE(r.slider->getStartValue(), 120.0 / 400);
        r.drag(r.slider->endButton(), 300);
        QCOMPARE(r.slider->endButton()->x(), 300);
        QCOMPARE(r.slider->endPos(), 289.f); // one less than left - handle width
    }

    void pressOnTheTrackMovesThePlayHandle()
    {
        Rig r;
        QSignalSpy press(r.slider, &QDualSlider::emitMousePress);
        QSignalSpy play(r.slider, &QDualSlider::sendPlayProValue);
        QSignalSpy release(r.slider, &QDualSlider::emitmouseRelease);
        rstest::clickAt(r.slider, QPoint(210, 20));
        QCOMPARE(press.count(), 1);
        QCOMPARE(release.count(), 1);
        QCOMPARE(play.last().first().toDouble(), 200.0 / 400);
    }

    void arrowKeysAskForFrameSteps_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("next");
        QTest::newRow("left") << int(Qt::Key_Left) << 1 << 0;
        QTest::newRow("right") << int(Qt::Key_Right) << 0 << 1;
        QTest::newRow("up") << int(Qt::Key_Up) << 0 << 0;
        QTest::newRow("space") << int(Qt::Key_Space) << 0 << 0;
    }
    void arrowKeysAskForFrameSteps()
    {
        QFETCH(int, key);
        Rig r;
        // A parent that would see keys the slider passes on.
        struct KeyWatch : QObject
        {
            int keys = 0;
            bool eventFilter(QObject *, QEvent *e) override
            {
                keys += e->type() == QEvent::KeyPress;
                return false;
            }
        } watch;
        r.host.installEventFilter(&watch);
        rstest::clickAt(r.slider, QPoint(210, 20)); // a click on the track gives the slider the focus
        QSignalSpy previousSpy(r.slider, &QDualSlider::emitPreviousFrame);
        QSignalSpy nextSpy(r.slider, &QDualSlider::emitNextFrame);
        rstest::keyClick(r.slider, Qt::Key(key));
        QFETCH(int, previous);
        QFETCH(int, next);
        QCOMPARE(previousSpy.count(), previous);
        QCOMPARE(nextSpy.count(), next);
        QCOMPARE(watch.keys, 0); // no key reaches the page behind the slider
        // Dragging gives the slider the focus, so the keys work right after a drag.
        r.slider->clearFocus();
        r.drag(r.slider->startButton(), 50);
        QCOMPARE(r.host.focusWidget(), static_cast<QWidget *>(r.slider));
    }

    // Before the page lays it out the slider may be narrower than its two handles: every fraction it
    // reports is then 0, never NaN or infinite.
    void narrowSliderReportsZero_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("as wide as the handles") << 20;
        QTest::newRow("narrower than the handles") << 8;
        QTest::newRow("no width") << 0;
    }
    void narrowSliderReportsZero()
    {
        QFETCH(int, width);
        Rig r;
        r.slider->resize(width, 40);
        QSignalSpy startSpy(r.slider, &QDualSlider::sendProgressValue);
        QSignalSpy playSpy(r.slider, &QDualSlider::sendPlayProValue);
        r.slider->setStartValue(30);
        r.slider->setEndValue(70);
        r.slider->setPlayValue(50, true);
        if (rstest::isOnTopAt(r.slider->startButton(), QPoint(3, 5)))
            r.drag(r.slider->startButton(), 3);
        else
            r.dragUnderneath(r.slider->startButton(), 3);
        for (double v :
             {r.slider->getStartValue(), r.slider->getEndValue(), r.slider->getPlayValue(),
              double(r.slider->getValue()), startSpy.last().first().toDouble(), playSpy.last().first().toDouble()}) {
            QVERIFY(std::isfinite(v));
            QCOMPARE(v, 0.0);
        }
    }
};

RS_TEST_MAIN(TestTrimSlider)
#include "tst_trimslider.moc"
