// Image-strip push button, check box and radio button: sizes from the strips, the frame shown in each
// state, text colours, the badge, timers, and that failed image loads keep the previous images.

#include "ControlTestImages.h"
#include "QZTBaseButton.h"
#include "QZTCheckBox.h"
#include "QZTRadioButton.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QSignalSpy>
#include <QtTest>

using namespace ctltest;

namespace {
// Counts timer events that reach a widget.
class TimerCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Timer)
            ++count;
        return false;
    }
};

// Timer events one 20 ms timer can deliver in the time since `clock` started: a timer that falls behind
// skips ticks rather than catching up, and a coarse timer fires at most 5% early.
qint64 oneTimersTicks(const QElapsedTimer &clock)
{
    return clock.elapsed() / 19 + 2;
}

QColor centreColor(QWidget *w)
{
    const QImage shot = render(w);
    return shot.pixelColor(shot.width() / 2, shot.height() / 2);
}
} // namespace

class TestButtons : public QObject
{
    Q_OBJECT
private slots:
    void stripSizesTheButton();
    void frameFollowsState_data();
    void frameFollowsState();
    void releaseGoesBackToNormalOrHover();
    void staticStateIgnoresHoverButNotPress();
    void disabledButtonShowsFrameThreeAndNoSignal();
    void failedImageLoadKeepsPreviousImage();
    void callerImageIsNeverBorrowed();
    void badgeCount_data();
    void badgeCount();
    void alternationTimerStartsOnce();
    void flickerRestartReplacesTimer();
    void centredIconKeepsFirstPosition();

    void checkImageSizesAndGrows();
    void disabledCheckShowsRightHalf();
    void clickOnTextToggles();
    void adjustSizeWithoutText();
    void failedCheckImageKeepsPrevious();
    void radioButtonModeChecksOnPress();
};

void TestButtons::stripSizesTheButton()
{
    QZTBaseButton b;
    QVERIFY(b.setButtonImage(saveImage(stripImage(100, 60), QStringLiteral("strip")), true));
    QCOMPARE(b.size(), QSize(50, 30));
    QVERIFY(b.isCustomDraw());
}

void TestButtons::frameFollowsState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("frame");
    QTest::newRow("normal") << 0 << false << 0;
    QTest::newRow("hover") << 1 << false << 1;
    QTest::newRow("pressed") << 2 << false << 2;
    QTest::newRow("disabled") << 3 << false << 3;
    QTest::newRow("checked shows pressed whatever the state") << 1 << true << 2;
}

void TestButtons::frameFollowsState()
{
    QFETCH(int, state);
    QFETCH(bool, checked);
    QFETCH(int, frame);
    QZTBaseButton b;
    QImage strip = stripImage(100, 60);
    b.setButtonImage(strip, false);
    b.setTextColor(Qt::white, Qt::gray, Qt::yellow, Qt::black);
    b.setCheckable(true);
    b.setChecked(checked);
    b.setBtnState(state);
    QVERIFY(near(centreColor(&b), frameColor(frame)));
    const QColor expectedText[4] = {Qt::white, Qt::gray, Qt::yellow, Qt::black};
    QCOMPARE(b.currentDrawColor(), expectedText[frame]);
}

void TestButtons::releaseGoesBackToNormalOrHover()
{
    QZTBaseButton b;
    b.setButtonImage(saveImage(stripImage(40, 20), QStringLiteral("s")), true);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QSignalSpy down(&b, &QZTBaseButton::mouseDown);
    QSignalSpy clicked(&b, &QAbstractButton::clicked);
    rstest::pressAt(&b, QPoint(7, 5));
    QCOMPARE(b.getBtnState(), 2);
    QCOMPARE(down.size(), 1);
    QCOMPARE(down.at(0).at(1).toInt(), 7);
    rstest::releaseAt(&b, QPoint(7, 5));
    QCOMPARE(b.getBtnState(), 0);
    QCOMPARE(clicked.size(), 1);
    b.setCheckable(true);
    b.setChecked(true);
    rstest::clickAt(&b, QPoint(7, 5));
    // A button checked at the release goes to the hover frame (the click then unchecks it).
    QCOMPARE(b.getBtnState(), 1);
}

void TestButtons::staticStateIgnoresHoverButNotPress()
{
    QWidget window; // room around the button for the pointer to come from
    auto *b = new QZTBaseButton(&window);
    b->setButtonImage(saveImage(stripImage(40, 20), QStringLiteral("s")), true);
    b->setStaticState(true);
    b->setBtnState(0);
    b->move(20, 20);
    window.resize(80, 60);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    rstest::moveTo(&window, QPoint(2, 2)); // twice: a move to where the pointer already is reports nothing
    rstest::moveTo(&window, QPoint(2, 3));
    rstest::moveTo(b);
    QVERIFY(b->underMouse());
    QCOMPARE(b->getBtnState(), 0);
    rstest::pressAt(b);
    QCOMPARE(b->getBtnState(), 2);
    rstest::releaseAt(b);
    QCOMPARE(b->getBtnState(), 2);
}

void TestButtons::disabledButtonShowsFrameThreeAndNoSignal()
{
    QZTBaseButton b;
    b.setButtonImage(saveImage(stripImage(40, 20), QStringLiteral("s")), true);
    b.setEnabled(false);
    QCOMPARE(b.getBtnState(), 3);
    QVERIFY(near(centreColor(&b), frameColor(3)));
    QSignalSpy down(&b, &QZTBaseButton::mouseDown);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    rstest::clickAt(&b, QPoint(5, 5));
    QCOMPARE(down.size(), 0);
}

void TestButtons::failedImageLoadKeepsPreviousImage()
{
    QZTBaseButton b;
    QVERIFY(b.setButtonImage(saveImage(stripImage(100, 60), QStringLiteral("good")), true));
    // A missing file and a file that is not an image both fail and leave the 50x30 button intact.
    QVERIFY(!b.setButtonImage(QStringLiteral("/nonexistent/strip.png"), true));
    const QString garbage = rstest::scratchDir(QStringLiteral("garbage")) + QStringLiteral("/bad.png");
    QFile f(garbage);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a png");
    f.close();
    QVERIFY(!b.setButtonImage(garbage, true));
    QImage null;
    QVERIFY(!b.setButtonImage(&null, true, false));
    QCOMPARE(b.size(), QSize(50, 30));
    QVERIFY(b.isCustomDraw());
    QVERIFY(near(centreColor(&b), frameColor(0)));
}

void TestButtons::callerImageIsNeverBorrowed()
{
    QZTBaseButton b;
    {
        auto *image = new QImage(stripImage(100, 60));
        b.setButtonImage(image, true, false); // "borrowed" by the old design
        delete image;                         // the caller frees it
    }
    QVERIFY(near(centreColor(&b), frameColor(0)));
}

void TestButtons::badgeCount_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("none") << 0 << false;
    QTest::newRow("one") << 1 << true;
    QTest::newRow("hundred") << 100 << true;
}

void TestButtons::badgeCount()
{
    QFETCH(int, count);
    QFETCH(bool, drawn);
    QZTBaseButton b;
    b.setButtonImage(stripImage(100, 60), true); // 50 x 30
    for (int i = 0; i < count; ++i)
        b.addItemCount();
    QCOMPARE(b.itmeCount(), count);
    const QImage shot = render(&b);
    // The default badge sits at x 30..49, y 0..19 in orange.
    QCOMPARE(near(shot.pixelColor(39, 4), QColor(255, 120, 0), 30), drawn);
    QVERIFY(near(shot.pixelColor(10, 25), frameColor(0)));
}

void TestButtons::alternationTimerStartsOnce()
{
    QZTBaseButton b;
    b.setAlternateEffect(true, 20);
    for (int i = 0; i < 5; ++i)
        b.addItemCount();
    TimerCounter counter;
    QElapsedTimer clock;
    clock.start();
    b.installEventFilter(&counter);
    // One 20 ms timer: one tick per 20 ms of the time that passed, not five times as many.
    QTRY_VERIFY_WITH_TIMEOUT(counter.count >= 10, rstest::kHangBoundMs);
    QVERIFY2(counter.count <= oneTimersTicks(clock), qPrintable(QString::number(counter.count)));
    b.resetCount();
    counter.count = 0;
    // No tick may follow: no state to wait for; a slow machine only shortens the look.
    QTest::qWait(100);
    QCOMPARE(counter.count, 0);
}

void TestButtons::flickerRestartReplacesTimer()
{
    QZTBaseButton b;
    b.setButtonImage(stripImage(40, 20), true);
    b.startFlicker(20);
    b.startFlicker(20);
    b.startFlicker(20);
    TimerCounter counter;
    QElapsedTimer clock;
    clock.start();
    b.installEventFilter(&counter);
    QTRY_VERIFY_WITH_TIMEOUT(counter.count >= 10, rstest::kHangBoundMs);
    QVERIFY2(counter.count <= oneTimersTicks(clock), qPrintable(QString::number(counter.count)));
    b.stopFlicker();
    counter.count = 0;
    // No tick may follow: no state to wait for; a slow machine only shortens the look.
    QTest::qWait(100);
    QCOMPARE(counter.count, 0);
}

void TestButtons::centredIconKeepsFirstPosition()
{
    QZTBaseButton b;
    b.setButtonImage(stripImage(100, 60), true); // 50 x 30
    b.setBtnIcon(solidImage(20, 20, Qt::magenta));
    b.setIconRect(QRect(-1, -1, 0, 0));
    render(&b);
    QCOMPARE(b.iconRect(), QRect(20, 10, 10, 10));
    b.resize(100, 60);
    const QImage shot = render(&b);
    QCOMPARE(b.iconRect(), QRect(20, 10, 10, 10));
    QVERIFY(near(shot.pixelColor(25, 15), Qt::magenta));
}

void TestButtons::checkImageSizesAndGrows()
{
    QZTCheckBox box;
    box.resize(100, 10);
    const QImage two = solidImage(80, 40, Qt::red);
    QVERIFY(box.setCheckImage(&two, &two, nullptr, true, true));
    QCOMPARE(box.checkRect().size(), QSize(20, 20));
    QCOMPARE(box.height(), 20);
    QCOMPARE(box.textRect().left(), 25);
}

void TestButtons::disabledCheckShowsRightHalf()
{
    QImage image(80, 40, QImage::Format_ARGB32);
    {
        QPainter p(&image);
        p.fillRect(0, 0, 40, 40, Qt::green);
        p.fillRect(40, 0, 40, 40, Qt::gray);
    }
    QZTCheckBox box;
    box.resize(60, 20);
    box.setCheckImage(&image, &image, nullptr, true, true);
    QVERIFY(near(render(&box).pixelColor(10, 10), Qt::green));
    box.setEnabled(false);
    QVERIFY(near(render(&box).pixelColor(10, 10), Qt::gray));
    // One frame: the same picture either way.
    box.setCheckImage(&image, &image, nullptr, false, false);
    QCOMPARE(box.checkRect().size(), QSize(40, 20));
    QVERIFY(near(render(&box).pixelColor(10, 10), Qt::green));
}

void TestButtons::clickOnTextToggles()
{
    QZTCheckBox box;
    const QImage on = solidImage(40, 40, Qt::green), off = solidImage(40, 40, Qt::red);
    box.setCheckImage(&on, &off, nullptr, false, true);
    box.setText(QStringLiteral("Option with text"));
    box.resize(200, 20);
    box.show();
    QVERIFY(near(render(&box).pixelColor(10, 10), Qt::red)); // the second image: unchecked
    rstest::clickAt(&box, QPoint(150, 10));
    QVERIFY(box.isChecked());
    QVERIFY(near(render(&box).pixelColor(10, 10), Qt::green));
}

void TestButtons::adjustSizeWithoutText()
{
    QZTCheckBox box;
    const QImage image = solidImage(40, 40, Qt::green);
    box.setCheckImage(&image, &image, nullptr, false, false);
    box.adjustSize();
    QCOMPARE(box.width(), 20);
    // With a text the box is just wide enough to show it whole.
    const QString text = QStringLiteral("High - Speed mode - Fast and Lossless (Recommended)");
    box.setText(text);
    box.adjustSize();
    const QFontMetrics fm(box.font());
    QCOMPARE(fm.elidedText(text, Qt::ElideRight, box.width() - box.textRect().left()), text);
}

void TestButtons::failedCheckImageKeepsPrevious()
{
    QZTCheckBox box;
    const QImage image = solidImage(40, 40, Qt::green);
    QVERIFY(box.setCheckImage(&image, &image, nullptr, false, false));
    QVERIFY(
        !box.setCheckImage(QStringLiteral("/missing/on.png"), QStringLiteral("/missing/off.png"), QString(), false));
    const QImage null;
    QVERIFY(!box.setCheckImage(&image, &null, nullptr, false, false));
    QVERIFY(box.isCustomDraw());
    QCOMPARE(box.checkRect().size(), QSize(20, 20));
}

void TestButtons::radioButtonModeChecksOnPress()
{
    QZTRadioButton radio;
    QVERIFY(radio.setCheckImage(saveImage(stripImage(80, 40), QStringLiteral("radio")), QString(), true, false));
    QCOMPARE(radio.size(), QSize(40, 20));
    radio.show();
    QVERIFY(QTest::qWaitForWindowExposed(&radio));
    rstest::pressAt(&radio, QPoint(5, 5));
    QVERIFY(radio.isChecked());
    rstest::releaseAt(&radio, QPoint(5, 5));
    QVERIFY(radio.isChecked());
    QVERIFY(near(centreColor(&radio), frameColor(2)));
}

RS_TEST_MAIN(TestButtons)
#include "tst_buttons.moc"
