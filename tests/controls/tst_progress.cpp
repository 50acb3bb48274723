// Progress bar, slider and busy indicator: value rules, fill proportions and rounded ends, ranges that
// are empty or do not start at 0, the thumb, mouse and keys, and the spinning pattern.

#include "ControlTestImages.h"
#include "QProgressIndicator.h"
#include "QZTBaseButton.h"
#include "QZTBaseSlider.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QSignalSpy>
#include <QtTest>

#include <limits>

using namespace ctltest;

namespace {
// Input through the slider's window; a press holds the button until the next release.
void sendMouse(QWidget *w, QEvent::Type type, QPoint local)
{
    if (!w->isVisible() || !QTest::qWaitForWindowExposed(w))
        QFAIL("the slider is not on screen");
    if (type == QEvent::MouseButtonPress)
        rstest::pressAt(w, local);
    else if (type == QEvent::MouseButtonRelease)
        rstest::releaseAt(w, local);
    else
        rstest::moveTo(w, local);
}

// Fill length of a horizontal bar: the highlight-coloured run along its middle row.
int filledLength(const QImage &shot, const QColor &fill)
{
    int n = 0;
    const int y = shot.height() / 2;
    for (int x = 0; x < shot.width(); ++x)
        if (near(shot.pixelColor(x, y), fill, 40))
            ++n;
    return n;
}
} // namespace

class TestProgress : public QObject
{
    Q_OBJECT
private slots:
    void valueRules();
    void rangeSwapsAndClamps();
    void offsetsLargerThanBarReset();
    void textFormat_data();
    void textFormat();
    void fillProportion_data();
    void fillProportion();
    void shortFillKeepsRoundEnds();
    void emptyRangeDrawsEmptyBar();
    void paintingNeverChangesGeometry();
    void throttleLimitsRepaints();

    void pressSetsValue_data();
    void pressSetsValue();
    void thumbFollowsValue();
    void verticalMeasuresFromBottom();
    void arrowKeysStepByHundredth();
    void rangeNotStartingAtZero();
    void pressAtCurrentValueEmitsOnlyPress();
    void disabledPullKeepsValue();

    void indicatorGeometry_data();
    void indicatorGeometry();
    void indicatorTurnsAndStops();
};

void TestProgress::valueRules()
{
    QZTBaseProgress bar;
    QSignalSpy spy(&bar, &QZTBaseProgress::valueChanged);
    bar.setValue(0.0);
    QCOMPARE(spy.size(), 0);
    bar.setValue(150.0);
    QCOMPARE(bar.value(), 100.0);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toDouble(), 100.0);
    // No value at all (0 / 0) changes nothing, rather than filling the bar.
    bar.setValue(20.0);
    bar.setValue(std::numeric_limits<double>::quiet_NaN());
    QCOMPARE(bar.value(), 20.0);
    bar.setRange(std::numeric_limits<double>::quiet_NaN(), 50.0);
    QCOMPARE(bar.minimum(), 0.0);
    QCOMPARE(bar.maximum(), 100.0);
}

void TestProgress::rangeSwapsAndClamps()
{
    QZTBaseProgress bar;
    bar.setValue(80.0);
    bar.setRange(50, 10);
    QCOMPARE(bar.minimum(), 10.0);
    QCOMPARE(bar.maximum(), 50.0);
    QCOMPARE(bar.value(), 50.0);
}

void TestProgress::offsetsLargerThanBarReset()
{
    QZTBaseProgress bar;
    bar.resize(100, 10);
    bar.setOffset(60, 50);
    QCOMPARE(bar.getTLOffset(), 0);
    QCOMPARE(bar.getRBOffset(), 0);
    bar.setOffset(10, 20);
    QCOMPARE(bar.getRBOffset(), 20);
}

void TestProgress::textFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("percent, 1 decimal") << "%p%" << 1 << 0.0 << 37.5 << "37.5%";
    QTest::newRow("percent, 0 decimals") << "%p%" << 0 << 0.0 << 37.5 << "38%";
    QTest::newRow("value and maximum") << "%v of %m" << 0 << 0.0 << 20.0 << "20 of 101";
    QTest::newRow("percent from a minimum") << "%p%" << 0 << 50.0 << 75.0 << "50%";
    QTest::newRow("no tokens") << "busy" << 0 << 0.0 << 10.0 << "busy";
    QTest::newRow("negative decimals ignored") << "%p%" << -1 << 0.0 << 37.5 << "37.5%";
}

void TestProgress::textFormat()
{
    QFETCH(QString, format);
    QFETCH(int, decimals);
    QFETCH(double, min);
    QFETCH(double, value);
    QFETCH(QString, text);
    QZTBaseProgress bar;
    bar.setFormat(format);
    bar.setDecimals(decimals);
    bar.setRange(min, 100);
    bar.setValue(value);
    QCOMPARE(bar.getFormatValue(), text);
}

void TestProgress::fillProportion_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << 0.0 << 100.0 << 0.0 << 0;
    QTest::newRow("half") << 0.0 << 100.0 << 50.0 << 100;
    QTest::newRow("full") << 0.0 << 100.0 << 100.0 << 200;
    QTest::newRow("quarter of 100..300") << 100.0 << 300.0 << 150.0 << 50;
}

void TestProgress::fillProportion()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, value);
    QFETCH(int, length);
    QZTBaseProgress bar;
    bar.resize(200, 10);
    bar.resetFormat();
    bar.setRange(min, max);
    bar.setValue(value);
    const int measured = filledLength(render(&bar), QColor(6, 176, 37));
    QVERIFY2(qAbs(measured - length) <= 2, qPrintable(QString::number(measured)));
}

void TestProgress::shortFillKeepsRoundEnds()
{
    QZTBaseProgress bar;
    bar.resize(200, 20);
    bar.resetFormat();
    bar.setValue(8); // 16 pixels: shorter than the two 10-pixel caps
    const QImage shot = render(&bar);
    const QColor fill(6, 176, 37);
    QVERIFY(near(shot.pixelColor(8, 10), fill, 40));
    // Rounded at both ends: the fill's top corners are not filled.
    QVERIFY(!near(shot.pixelColor(0, 0), fill, 40));
    QVERIFY(!near(shot.pixelColor(15, 0), fill, 40));
    QVERIFY(!near(shot.pixelColor(30, 10), fill, 40));
}

void TestProgress::emptyRangeDrawsEmptyBar()
{
    QZTBaseSlider slider;
    slider.resize(200, 10);
    slider.resetFormat();
    slider.setRange(5, 5);
    slider.setValue(5.0);
    QCOMPARE(slider.fraction(), 0.0);
    QCOMPARE(filledLength(render(&slider), QColor(6, 176, 37)), 0);
    slider.setFormat(QStringLiteral("%p%"));
    QCOMPARE(slider.getFormatValue(), QStringLiteral("0.0%"));
    QSignalSpy spy(&slider, &QZTBaseSlider::sendProgressValue);
    slider.show();
    sendMouse(&slider, QEvent::MouseButtonPress, QPoint(100, 5));
    sendMouse(&slider, QEvent::MouseButtonRelease, QPoint(100, 5));
    rstest::keyClick(&slider, Qt::Key_Right);
    QCOMPARE(slider.value(), 5.0);
    for (const QList<QVariant> &v : spy)
        QVERIFY(qIsFinite(v.at(0).toDouble()));
}

void TestProgress::paintingNeverChangesGeometry()
{
    QZTBaseProgress bar;
    bar.resize(200, 4);
    // A track image 24 pixels high (12 logical) makes the bar that thick when it is set.
    QVERIFY(bar.setBottomImage(saveImage(solidImage(400, 24, Qt::gray), QStringLiteral("track"))));
    const QSize sized = bar.size();
    QCOMPARE(sized.height(), 12);
    QSignalSpy never(&bar, &QZTBaseProgress::valueChanged);
    const QPalette before = bar.palette();
    bar.setDataColors({{0.0, Qt::red}, {1.0, Qt::blue}});
    const QPalette coloured = bar.palette();
    render(&bar);
    render(&bar);
    QCOMPARE(bar.size(), sized);
    QVERIFY(coloured.brush(QPalette::Highlight) == bar.palette().brush(QPalette::Highlight));
    QVERIFY(!(before.brush(QPalette::Highlight) == coloured.brush(QPalette::Highlight)));
}

void TestProgress::throttleLimitsRepaints()
{
    QZTBaseProgress bar;
    bar.resize(100, 10);
    bar.setUpdateInterval(100);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    int paints = 0;
    struct Counter : QObject
    {
        int *n;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                ++*n;
            return false;
        }
    } counter;
    counter.n = &paints;
    QElapsedTimer clock;
    clock.start();
    bar.installEventFilter(&counter);
    for (int i = 1; i <= 30; ++i) {
        bar.setValue(double(i));
        QTest::qWait(10); // spaces the changes; nothing is asserted on this
    }
    QTRY_VERIFY_WITH_TIMEOUT(paints >= 2, rstest::kHangBoundMs);
    // Thirty changes, at most one repaint per 100 ms interval of the time that passed (and the first at once).
    const qint64 intervals = clock.elapsed() / 100 + 2;
    QVERIFY2(paints <= intervals && paints < 30, qPrintable(QStringLiteral("%1 in %2").arg(paints).arg(intervals)));
}

void TestProgress::pressSetsValue_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");
    QTest::newRow("middle") << 100 << true << 50.0;
    QTest::newRow("inside start offset") << 5 << false << 0.0;
    QTest::newRow("track end") << 190 << true << 100.0;
}

void TestProgress::pressSetsValue()
{
    QFETCH(int, x);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    QZTBaseSlider slider;
    slider.resize(200, 10);
    slider.setOffset(10, 10);
    slider.show();
    QSignalSpy progress(&slider, &QZTBaseSlider::sendProgressValue);
    QSignalSpy press(&slider, &QZTBaseSlider::sendPressEvent);
    sendMouse(&slider, QEvent::MouseButtonPress, QPoint(x, 5));
    QCOMPARE(press.size(), accepted ? 1 : 0);
    QCOMPARE(slider.value(), value);
    if (accepted)
        QCOMPARE(progress.at(0).at(0).toDouble(), value / 100.0);
    sendMouse(&slider, QEvent::MouseButtonRelease, QPoint(x, 5));
}

void TestProgress::thumbFollowsValue()
{
    QZTBaseSlider slider;
    slider.resize(200, 10);
    slider.setOffset(10, 10);
    QVERIFY(slider.setBtnImage(saveImage(stripImage(40, 20), QStringLiteral("thumb"))));
    QCOMPARE(slider.getButton()->size(), QSize(20, 10));
    slider.setValue(50.0);
    QCOMPARE(slider.getButton()->x(), 89);
    slider.setValue(0.0);
    QCOMPARE(slider.getButton()->x(), 10 - 1 - 10);
    // A missing image gives a plain 10-pixel thumb across the full height.
    QVERIFY(slider.setBtnImage(QStringLiteral("/missing/thumb.png")));
    QCOMPARE(slider.getButton()->size(), QSize(10, 10));
}

void TestProgress::verticalMeasuresFromBottom()
{
    QZTBaseSlider slider;
    slider.setProgressPolicy(QZTBaseProgress::Vertical);
    slider.resize(10, 200);
    slider.show();
    sendMouse(&slider, QEvent::MouseButtonPress, QPoint(5, 0));
    QCOMPARE(slider.value(), 100.0);
    sendMouse(&slider, QEvent::MouseMove, QPoint(5, 150));
    QCOMPARE(slider.value(), 25.0);
    sendMouse(&slider, QEvent::MouseMove, QPoint(5, 500)); // clamped at the bottom end
    QCOMPARE(slider.value(), 0.0);
    sendMouse(&slider, QEvent::MouseButtonRelease, QPoint(5, 500));
}

void TestProgress::arrowKeysStepByHundredth()
{
    QZTBaseSlider slider;
    slider.setRange(0, 255);
    slider.show();
    QSignalSpy progress(&slider, &QZTBaseSlider::sendProgressValue);
    rstest::keyClick(&slider, Qt::Key_Right); // the active window's slider holds the keyboard
    QCOMPARE(slider.value(), 2.55);
    rstest::keyClick(&slider, Qt::Key_Up);
    QCOMPARE(slider.value(), 5.1);
    rstest::keyClick(&slider, Qt::Key_Down);
    rstest::keyClick(&slider, Qt::Key_Left);
    rstest::keyClick(&slider, Qt::Key_Left);
    QCOMPARE(slider.value(), 0.0);
    QCOMPARE(progress.size(), 0);
}

void TestProgress::rangeNotStartingAtZero()
{
    QZTBaseSlider slider;
    slider.resize(200, 10);
    slider.setRange(-100, 100);
    slider.show();
    QSignalSpy progress(&slider, &QZTBaseSlider::sendProgressValue);
    sendMouse(&slider, QEvent::MouseButtonPress, QPoint(150, 5));
    QCOMPARE(slider.value(), 50.0);
    QCOMPARE(progress.at(0).at(0).toDouble(), 0.75);
    QCOMPARE(slider.fraction(), 0.75);
    sendMouse(&slider, QEvent::MouseButtonRelease, QPoint(150, 5));
}

void TestProgress::pressAtCurrentValueEmitsOnlyPress()
{
    QZTBaseSlider slider;
    slider.resize(200, 10);
    slider.setValue(50.0);
    slider.show();
    QSignalSpy changed(&slider, &QZTBaseProgress::valueChanged);
    QSignalSpy progress(&slider, &QZTBaseSlider::sendProgressValue);
    QSignalSpy press(&slider, &QZTBaseSlider::sendPressEvent);
    sendMouse(&slider, QEvent::MouseButtonPress, QPoint(100, 5));
    QCOMPARE(press.size(), 1);
    QCOMPARE(changed.size(), 0);
    QCOMPARE(progress.size(), 0);
    sendMouse(&slider, QEvent::MouseButtonRelease, QPoint(100, 5));
}

void TestProgress::disabledPullKeepsValue()
{
    QZTBaseSlider slider;
    slider.resize(200, 10);
    slider.setEnabledPull(false);
    slider.show();
    QSignalSpy press(&slider, &QZTBaseSlider::sendPressEvent);
    QSignalSpy release(&slider, &QZTBaseSlider::sendReleseEvent);
    sendMouse(&slider, QEvent::MouseButtonPress, QPoint(120, 5));
    sendMouse(&slider, QEvent::MouseButtonRelease, QPoint(120, 5));
    QCOMPARE(press.size(), 1);
    QCOMPARE(release.size(), 1);
    QCOMPARE(slider.value(), 0.0);
}

void TestProgress::indicatorGeometry_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("inner");
    QTest::newRow("20") << 20 << 9 << 4;
    QTest::newRow("40") << 40 << 19 << 9;
}

// The spokes reach from the inner to the outer radius: pixels just inside the outer radius along the
// first spoke are painted, pixels inside the inner radius are not.
void TestProgress::indicatorGeometry()
{
    QFETCH(int, side);
    QFETCH(int, outer);
    QFETCH(int, inner);
    QProgressIndicator indicator;
    indicator.resize(side, side);
    indicator.setColor(Qt::black);
    indicator.setDisplayedWhenStopped(true);
    const QImage shot = render(&indicator);
    const int cx = (side - 1) / 2, cy = (side - 1) / 2;
    QVERIFY(shot.pixelColor(cx, cy - outer + 1).alpha() > 100);
    QVERIFY(shot.pixelColor(cx, cy - inner + 2).alpha() < 60);
}

void TestProgress::indicatorTurnsAndStops()
{
    QProgressIndicator indicator;
    indicator.resize(20, 20);
    QCOMPARE(indicator.sizeHint(), QSize(20, 20));
    QVERIFY(render(&indicator).pixelColor(9, 1).alpha() == 0); // stopped: nothing
    indicator.setAnimationDelay(10);
    QVERIFY(!indicator.isAnimated()); // a delay change does not start it
    indicator.startAnimation();
    QVERIFY(indicator.isAnimated());
    QTRY_VERIFY(indicator.angle() != 0);
    indicator.stopAnimation();
    const int angle = indicator.angle();
    QVERIFY(angle % 30 == 0);
    // It may not turn on: no state to wait for; a slow machine only shortens the look.
    QTest::qWait(50);
    QCOMPARE(indicator.angle(), angle);
    auto painted = [](const QImage &shot) {
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixelColor(x, y).alpha() > 0)
                    return true;
        return false;
    };
    QVERIFY(!painted(render(&indicator)));
    indicator.setDisplayedWhenStopped(true);
    QVERIFY(painted(render(&indicator)));
}

RS_TEST_MAIN(TestProgress)
#include "tst_progress.moc"
