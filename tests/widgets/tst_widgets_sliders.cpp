// One-handle image slider and dual range slider: value to position mapping, empty ranges, dragging,
// the drag switch, the press's debug line, key signals and what the painting draws.

#include "QDualSlider.h"
#include "QSliderCtrlBtn.h"
#include "TestSupport.h"
#include "WidgetTestKit.h"
#include "qSliderCtrl.h"

#include <QSignalSpy>

#include <limits>

class TestSliders : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<QMouseEvent *>(); }

    void trackHeightDecidesSliderHeight_data()
    {
        QTest::addColumn<int>("pixelHeight");
        QTest::addColumn<int>("expected");
        QTest::newRow("41 pixels") << 41 << 20;
        QTest::newRow("42 pixels") << 42 << 21;
    }
    void trackHeightDecidesSliderHeight()
    {
        QFETCH(int, pixelHeight);
        QFETCH(int, expected);
        qSliderCtrl s;
        QVERIFY(
            s.setBottomImage(wtk::makeSolid(QStringLiteral("track%1").arg(pixelHeight), 400, pixelHeight, Qt::gray)));
        QCOMPARE(s.size(), QSize(200, expected));
        QVERIFY(!s.setBottomImage(QStringLiteral("/no/track.png")));
        QCOMPARE(s.size(), QSize(200, expected));
    }

    void setValueMapping_data()
    {
        QTest::addColumn<qlonglong>("minimum");
        QTest::addColumn<qlonglong>("maximum");
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("position");
        QTest::addColumn<float>("percent");
        QTest::newRow("middle") << 0LL << 100LL << 50.f << 200.f << 50.f;
        QTest::newRow("above maximum") << 0LL << 100LL << 150.f << 400.f << 100.f;
        QTest::newRow("below minimum") << 0LL << 100LL << -3.f << 0.f << 0.f;
        QTest::newRow("offset range") << 20LL << 100LL << 60.f << 200.f << 60.f;
        QTest::newRow("empty range") << 50LL << 50LL << 50.f << 400.f << 100.f;
        QTest::newRow("negative range, maximum 0") << -100LL << 0LL << -50.f << 200.f << 0.f;
        QTest::newRow("not a number") << 0LL << 100LL << std::numeric_limits<float>::quiet_NaN() << 0.f << 0.f;
    }
    void setValueMapping()
    {
        QFETCH(qlonglong, minimum);
        QFETCH(qlonglong, maximum);
        QFETCH(float, value);
        QFETCH(float, position);
        QFETCH(float, percent);
        qSliderCtrl s;
        s.resize(400, 20);
        s.setValueRange(minimum, maximum);
        s.setValue(value);
        QCOMPARE(s.position(), position);
        QCOMPARE(s.percent(), percent);
        QVERIFY(qIsFinite(s.getValue()));
    }

    void handleFollowsValueAndDrag()
    {
        QWidget host;
        auto *s = new qSliderCtrl(&host);
        s->setBottomImage(wtk::makeSolid(QStringLiteral("t"), 400, 16, Qt::gray));
        QVERIFY(s->setBtnImage(wtk::makeStrip(QStringLiteral("h"), 20, 20)));
        QCOMPARE(s->width(), 210); // widened by the handle
        QVERIFY(!s->setBtnImage(QStringLiteral("/no/handle.png")));
        QCOMPARE(s->width(), 210);
        host.resize(s->width() + 20, 40);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        s->setValue(50);
        QCOMPARE(s->handle()->x(), 100);
        QSignalSpy progress(s, &qSliderCtrl::sendProgressValue);
        // A press 3 pixels from the left end is nearer than half a handle: nothing happens.
        rstest::clickAt(s, QPoint(3, 10));
        QCOMPARE(progress.count(), 0);
        rstest::pressAt(s, QPoint(55, 10));
        QCOMPARE(progress.count(), 1);
        QCOMPARE(s->position(), 50.f);
        QCOMPARE(progress.at(0).at(0).toDouble(), 0.25);
        rstest::moveTo(s, QPoint(500, 10)); // past the window's edge: the press holds the pointer
        QCOMPARE(s->position(), 200.f);
        rstest::releaseAt(s, QPoint(500, 10));
        QCOMPARE(s->handle()->btnState(), 0);
        s->setEnabledPull(false);
        rstest::clickAt(s, QPoint(55, 10));
        QCOMPARE(s->position(), 200.f);
    }

    void roundedFillDrawsNothingAtZero()
    {
        qSliderCtrl s;
        s.setBottomImage(wtk::makeSolid(QStringLiteral("rt"), 400, 16, QColor(0, 0, 255)));
        s.setTopImage(wtk::makeSolid(QStringLiteral("rf"), 400, 16, QColor(255, 0, 0)));
        s.setCircle(true);
        s.setCircleLenght(7);
        s.setValue(0);
        QImage shot = wtk::render(&s);
        QVERIFY(wtk::near(shot.pixelColor(3, 10), QColor(0, 0, 255)));
        s.setValue(50);
        shot = wtk::render(&s);
        QVERIFY(wtk::near(shot.pixelColor(3, 10), QColor(255, 0, 0)));
        QVERIFY(wtk::near(shot.pixelColor(95, 10), QColor(255, 0, 0)));
        QVERIFY(wtk::near(shot.pixelColor(110, 10), QColor(0, 0, 255)));
    }

    void verticalModeFill()
    {
        qSliderCtrl s;
        s.resize(20, 100);
        s.SetVerticalMode(true);
        s.setShowValue(true);
        s.setValue(25);
        const QImage shot = wtk::render(&s);
        QVERIFY(shot.pixelColor(10, 90).alpha() >= 229); // the fill grows from the bottom, over the ground
        QCOMPARE(shot.pixelColor(10, 10).alpha(), 127);
    }

    void dualPaintsOnlyWithBothImages_data()
    {
        QTest::addColumn<bool>("bottom");
        QTest::addColumn<bool>("top");
        QTest::newRow("bottom only") << true << false;
        QTest::newRow("top only") << false << true;
    }
    void dualPaintsOnlyWithBothImages()
    {
        QFETCH(bool, bottom);
        QFETCH(bool, top);
        QDualSlider d;
        d.resize(200, 40);
        if (bottom)
            d.setBottomImage(wtk::makeSolid(QStringLiteral("db"), 400, 10, Qt::gray));
        if (top)
            d.setTopImage(wtk::makeSolid(QStringLiteral("dt"), 400, 10, Qt::red));
        const QImage shot = wtk::render(&d);
        for (int x = 0; x < shot.width(); ++x)
            QCOMPARE(qAlpha(shot.pixel(x, 20)), 0);
    }

    void dualSetValue_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("ps");
        QTest::addColumn<float>("shown");
        QTest::newRow("50") << 50.f << 95.f << 50.f;
        QTest::newRow("150") << 150.f << 190.f << 100.f;
        QTest::newRow("-1") << -1.f << 0.f << 0.f;
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 0.f << 0.f;
    }
    void dualSetValue()
    {
        QFETCH(float, value);
        QFETCH(float, ps);
        QFETCH(float, shown);
        QDualSlider d;
        d.setBottomImage(wtk::makeSolid(QStringLiteral("dbv"), 380, 10, Qt::gray));
        QVERIFY(d.setStartBtnImage(wtk::makeStrip(QStringLiteral("ds"), 20, 20), 0)); // 10 wide
        QCOMPARE(d.width(), 200);
        d.setValue(value);
        QCOMPARE(d.startPos(), ps);
        QCOMPARE(d.value(), shown);
    }

    void dualRangeKeepsTwoPixelsApart()
    {
        QDualSlider d;
        d.setBottomImage(wtk::makeSolid(QStringLiteral("dr"), 360, 10, Qt::gray));
        d.setStartBtnImage(wtk::makeStrip(QStringLiteral("drs"), 20, 20), 0);
        d.setEndBtnImage(wtk::makeStrip(QStringLiteral("dre"), 20, 20));
        QCOMPARE(d.width(), 200);
        QCOMPARE(d.endPos(), 180.f);
        d.setStartValue(100);
        QVERIFY(d.startPos() <= d.endPos() - 2);
        d.setEndValue(0);
        QVERIFY(d.endPos() >= d.startPos() + 2);
        d.resetStartEndValue();
        QCOMPARE(d.startPos(), 0.f);
        QCOMPARE(d.endPos(), 180.f);
    }

    void dualCappedRangeBetweenHandles()
    {
        QDualSlider d;
        d.setCircle(true);
        d.setBottomImage(wtk::makeSolid(QStringLiteral("cb"), 360, 10, QColor(0, 0, 255)));
        d.setTopImage(wtk::makeSolid(QStringLiteral("ct"), 360, 10, QColor(255, 0, 0)));
        d.setStartBtnImage(wtk::makeStrip(QStringLiteral("cs"), 20, 20), 0);
        d.setEndBtnImage(wtk::makeStrip(QStringLiteral("ce"), 20, 20));
        d.setStartValue(25);
        d.setEndValue(75);
        const QImage shot = wtk::render(&d);
        const int y = (d.height() - 5) / 2 + 2;
        const int between = (d.startHandle()->geometry().right() + d.endHandle()->x()) / 2;
        QVERIFY(wtk::near(shot.pixelColor(between, y), Qt::red));
        QVERIFY(wtk::near(shot.pixelColor(20, y), Qt::blue)); // track left of the start handle
    }

    void dualZeroSpanFractions()
    {
        // Handles as wide as half the slider leave nothing to relate positions to.
        QDualSlider d;
        d.setStartBtnImage(wtk::makeStrip(QStringLiteral("wide"), 80, 20), 0);
        d.resize(80, 40);
        d.setStartValue(50);
        d.setEndValue(50);
        d.setPlayValue(50, true);
        QCOMPARE(d.getStartValue(), 0.0);
        QCOMPARE(d.getEndValue(), 0.0);
        QCOMPARE(d.getPlayValue(), 0.0);
        QVERIFY(qIsFinite(d.getValue()));
    }

    void dualStartHandleDrag()
    {
        QWidget host;
        auto *d = new QDualSlider(&host);
        d->setBottomImage(wtk::makeSolid(QStringLiteral("dd"), 360, 10, Qt::gray));
        d->setStartBtnImage(wtk::makeStrip(QStringLiteral("dds"), 20, 20), 0);
        d->setEndBtnImage(wtk::makeStrip(QStringLiteral("dde"), 20, 20));
        d->move(10, 10);
        host.resize(300, 100);
        host.show();
        QSignalSpy progress(d, &QDualSlider::sendProgressValue);
        QSliderCtrlBtn *start = d->startHandle();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        // Press at offset 2 inside the handle, then drag so the handle's left would be 3 pixels in: snaps to 0.
        rstest::pressAt(start, QPoint(2, 5));
        rstest::moveTo(d, QPoint(5, 15));
        QCOMPARE(start->x(), 0);
        QCOMPARE(d->startPos(), 0.f);
        rstest::moveTo(d, QPoint(62, 15));
        QCOMPARE(start->x(), 60);
        QCOMPARE(d->startPos(), 60.f);
        QCOMPARE(progress.last().at(0).toDouble(), 60.0 / 180.0);
        rstest::releaseAt(d, QPoint(62, 15));
        // Dragging the end handle onto the start handle stops at its right edge.
        QSliderCtrlBtn *end = d->endHandle();
        rstest::pressAt(end, QPoint(0, 5));
        rstest::moveTo(d, QPoint(20, 15));
        QCOMPARE(end->x(), 70);
        QCOMPARE(d->endPos(), d->startPos());
        rstest::releaseAt(d, QPoint(20, 15));
    }

    void dualDragSwitch()
    {
        QWidget host;
        auto *d = new QDualSlider(&host);
        d->setBottomImage(wtk::makeSolid(QStringLiteral("dw"), 360, 10, Qt::gray));
        d->setStartBtnImage(wtk::makeStrip(QStringLiteral("dws"), 20, 20), 0);
        d->setProgressBtnImage(wtk::makeStrip(QStringLiteral("dwp"), 8, 20), 0);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        d->setEnabledPull(false);
        QSignalSpy press(d, &QDualSlider::emitMousePress);
        QSignalSpy release(d, &QDualSlider::emitmouseRelease);
        const float play = d->playPos();
        rstest::pressAt(d, QPoint(100, 20));
        rstest::moveTo(d, QPoint(120, 20));
        rstest::releaseAt(d, QPoint(120, 20));
        QCOMPARE(d->playPos(), play);
        QCOMPARE(press.count(), 1);
        QCOMPARE(release.count(), 1);
        d->setEnabledPull(true);
        rstest::clickAt(d, QPoint(100, 20));
        QCOMPARE(d->playPos(), 90.f);
    }

    // A press on the shared slider itself writes its line to the debug stream (the trim slider's silence is
    // checked with the editor's controls).
    void dualPressWritesDebugLine()
    {
        QDualSlider d;
        d.resize(200, 20);
        wtk::Host host(&d);
        QSignalSpy press(&d, &QDualSlider::emitMousePress);
        QTest::ignoreMessage(QtDebugMsg, "..............QDualSlider::mousePressEvent................");
        rstest::clickAt(&d);
        QCOMPARE(press.count(), 1);
    }

    void dualArrowKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("next");
        QTest::newRow("left") << int(Qt::Key_Left) << 1 << 0;
        QTest::newRow("right") << int(Qt::Key_Right) << 0 << 1;
        QTest::newRow("up") << int(Qt::Key_Up) << 0 << 0;
    }
    void dualArrowKeys()
    {
        QFETCH(int, key);
        QFETCH(int, previous);
        QFETCH(int, next);
        QDualSlider d;
        d.resize(200, 20);
        wtk::Host host(&d);
        rstest::clickAt(&d); // the click gives the slider the keyboard focus
        QSignalSpy prev(&d, &QDualSlider::emitPreviousFrame);
        QSignalSpy nxt(&d, &QDualSlider::emitNextFrame);
        rstest::keyClick(&d, Qt::Key(key));
        QCOMPARE(prev.count(), previous);
        QCOMPARE(nxt.count(), next);
    }
};

RS_TEST_MAIN(TestSliders)
#include "tst_widgets_sliders.moc"
