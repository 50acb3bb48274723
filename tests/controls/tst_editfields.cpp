// Edit fields, spin boxes and date/time edits: skins that survive failed loads, icon placement and text
// elision, state changes, the digits-only mode, placeholder colours, the text edit's signal, step
// buttons with their hold-to-repeat, and the time edit's change reports.

#include "ControlTestImages.h"
#include "QZTBaseButton.h"
#include "QZTDateTimeEdit.h"
#include "QZTLineEdit.h"
#include "QZTSpinBox.h"
#include "QZTStepButtons.h"
#include "QZTTextEdit.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTextEdit>
#include <QValidator>
#include <QtTest>

using namespace ctltest;

class TestEditFields : public QObject
{
    Q_OBJECT
private slots:
    void failedSkinKeepsPreviousSkin();
    void iconPlacedOnceAtFirstDraw();
    void longTextIsElided();
    void stateChanges();
    void digitsOnly_data();
    void digitsOnly();
    void placeholderMode();
    void textEditReportsEveryChange();

    void clickStepsOnce();
    void holdingRepeatsAfterSixTicks();
    void releaseOutsideStopsWithoutExtraStep();
    void repeatStopsOnHideDisableAndFocusLoss_data();
    void repeatStopsOnHideDisableAndFocusLoss();
    void buttonsPlacedAtRightEdgeOnce();
    void stretchedButtonsSplitOddHeight();
    void missingUpImageKeepsQtArrows();
    void buttonMarginsPlaceButtons_data();
    void buttonMarginsPlaceButtons();

    void timeEditStartsAtMidnight();
    void timeEditReportsSteps();
    void timeEditDoesNotReportCodeChanges();
};

void TestEditFields::failedSkinKeepsPreviousSkin()
{
    QZTLineEdit edit;
    edit.resize(100, 20);
    QVERIFY(edit.setBackgroundImage(saveImage(solidImage(40, 40, Qt::blue), QStringLiteral("skin"))));
    const QString sheet = edit.styleSheet();
    QVERIFY(sheet.contains(QLatin1String("transparent")));
    QVERIFY(!edit.setBackgroundImage(QStringLiteral("/missing/skin.png")));
    QVERIFY(edit.isCustomDraw());
    QCOMPARE(edit.styleSheet(), sheet);
    QVERIFY(near(render(&edit).pixelColor(50, 10), Qt::blue));
    // Without any skin the native look stays: no transparent style sheet.
    QZTLineEdit plain;
    QVERIFY(!plain.setBackgroundImage(QStringLiteral("/missing/skin.png")));
    QVERIFY(plain.styleSheet().isEmpty());
}

void TestEditFields::iconPlacedOnceAtFirstDraw()
{
    QZTTextEdit host;
    host.resize(100, 30);
    host.QZTBaseRectImageDraw::setBackgroundImage(solidImage(20, 20, Qt::white));
    QVERIFY(host.setRectIcon(solidImage(20, 10, Qt::red)));
    QVERIFY(!host.setRectIcon(QImage()));
    const QImage shot = render(&host, {}); // the frame alone, without the inner edit on top
    QCOMPARE(host.iconRect(), QRect(0, 12, 10, 5));
    QVERIFY(near(shot.pixelColor(5, 14), Qt::red));
    host.resize(100, 60);
    render(&host);
    QCOMPARE(host.iconRect().y(), 12);
}

void TestEditFields::longTextIsElided()
{
    // The mix-in draws the text in the combo rows and shown texts; a spin box host keeps it simple.
    QZTSpinBox box;
    box.resize(60, 20);
    box.QZTBaseRectImageDraw::setBackgroundImage(solidImage(20, 20, Qt::white));
    box.setDrawText(QStringLiteral("a very long text that cannot fit"));
    box.setTextColor(Qt::black);
    const QImage shot = render(&box);
    // Something is drawn near the right end, but nothing spills past the right margin.
    bool inked = false;
    for (int x = 40; x < 58; ++x)
        for (int y = 0; y < 20; ++y)
            inked |= shot.pixelColor(x, y).red() < 128;
    QVERIFY(inked);
    for (int y = 0; y < 20; ++y)
        QVERIFY(shot.pixelColor(59, y).red() > 128);
}

void TestEditFields::stateChanges()
{
    QZTTextEdit host;
    host.resize(50, 20);
    host.show();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    host.enterEventDraw(&enter);
    QCOMPARE(host.drawState(), 1);
    QVERIFY(host.mousePressEventDraw(&press));
    QVERIFY(!host.mousePressEventDraw(&press));
    host.leaveEventDraw(&leave);
    QCOMPARE(host.drawState(), 2); // leaving while held stays pressed
    host.mouseReleaseEventDraw(&release);
    QCOMPARE(host.drawState(), 0); // released goes to normal, not hover
    host.setEnabled(false);
    QEvent change(QEvent::EnabledChange);
    host.changeEventDraw(&change);
    QCOMPARE(host.drawState(), 3);
}

void TestEditFields::digitsOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");
    QTest::newRow("zero") << "0" << int(QValidator::Intermediate);
    QTest::newRow("zeros") << "000" << int(QValidator::Intermediate);
    QTest::newRow("ten") << "10" << int(QValidator::Acceptable);
    QTest::newRow("leading zeros") << "007" << int(QValidator::Acceptable);
    QTest::newRow("empty") << "" << int(QValidator::Intermediate);
    QTest::newRow("letters") << "1a" << int(QValidator::Invalid);
}

void TestEditFields::digitsOnly()
{
    QFETCH(QString, text);
    QFETCH(int, state);
    QZTLineEdit edit;
    edit.onlyInputNumber();
    int pos = 0;
    QCOMPARE(int(edit.validator()->validate(text, pos)), state);
}

void TestEditFields::placeholderMode()
{
    QWidget window;
    auto *other = new QLineEdit(&window);
    auto *edit = new QZTLineEdit(&window);
    other->move(0, 40);
    other->setFocus();
    QPalette p = edit->palette();
    p.setColor(QPalette::Text, Qt::black);
    edit->setPalette(p);
    edit->setPlaceholderText(QStringLiteral("Search"));
    edit->setPlaceholderTextColor(Qt::gray, true);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::gray));
    QCOMPARE(edit->placeholderText(), QStringLiteral("Search"));
    rstest::clickAt(edit);
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::black));
    QVERIFY(edit->placeholderText().isEmpty());
    rstest::clickAt(other);
    QTRY_COMPARE(edit->palette().color(QPalette::Text), QColor(Qt::gray));
    QCOMPARE(edit->placeholderText(), QStringLiteral("Search"));
    rstest::clickAt(edit);
    QTRY_VERIFY(edit->hasFocus());
    rstest::typeText(edit, QStringLiteral("abc"));
    rstest::clickAt(other);
    QTRY_VERIFY(!edit->hasFocus());
    QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::black));
}

void TestEditFields::textEditReportsEveryChange()
{
    QZTTextEdit edit;
    QSignalSpy spy(&edit, &QZTTextEdit::textChanged);
    edit.textEdit()->setPlainText(QStringLiteral("line one\nline two"));
    QVERIFY(spy.size() >= 1);
    QCOMPARE(spy.last().at(0).toString(), QStringLiteral("line one\nline two"));
    edit.setEditMargins(4, 3, 2, 1);
    edit.resize(100, 50);
    edit.show();
    QCOMPARE(edit.textEdit()->geometry(), QRect(QPoint(4, 3), QPoint(97, 48)));
}

namespace {
struct SpinFixture
{
    QZTSpinBox box;
    QZTBaseButton *up = nullptr;
    QZTBaseButton *down = nullptr;
    SpinFixture()
    {
        box.setRange(0, 1000);
        box.resize(100, 30);
        const QString upPath = saveImage(stripImage(28, 20), QStringLiteral("up"));
        const QString downPath = saveImage(stripImage(28, 20), QStringLiteral("down"));
        box.setUpAndDownBtnImage(upPath, downPath, true);
        box.show();
        if (!QTest::qWaitForWindowExposed(&box))
            qWarning("the spin box was not shown");
        up = box.stepButtons()->upButton();
        down = box.stepButtons()->downButton();
    }
};
} // namespace

void TestEditFields::clickStepsOnce()
{
    SpinFixture f;
    QVERIFY(f.up);
    // Released well inside the repeat delay (six ticks): after two, counted by the timer itself, so that a busy
    // machine's oversleeping cannot carry the hold into the repeat.
    rstest::pressAt(f.up, QPoint(3, 3));
    QTRY_VERIFY_WITH_TIMEOUT(f.box.stepButtons()->tickCount() >= 2, rstest::kHangBoundMs);
    rstest::releaseAt(f.up, QPoint(3, 3));
    QCOMPARE(f.box.value(), 1);
    QVERIFY(!f.box.stepButtons()->isRepeating());
}

void TestEditFields::holdingRepeatsAfterSixTicks()
{
    SpinFixture f;
    QElapsedTimer clock;
    clock.start();
    rstest::pressAt(f.down, QPoint(3, 3));
    f.box.setValue(500);
    // The repeat begins after six ticks, never sooner (a coarse timer may fire 5% early), and steps at
    // most once per tick after that.
    QTRY_VERIFY_WITH_TIMEOUT(f.box.value() < 500, rstest::kHangBoundMs);
    QVERIFY2(clock.elapsed() >= 550, qPrintable(QString::number(clock.elapsed())));
    QTRY_VERIFY_WITH_TIMEOUT(500 - f.box.value() >= 3, rstest::kHangBoundMs);
    const int held = 500 - f.box.value();
    const qint64 ticks = clock.elapsed() / 95;
    QVERIFY2(held >= 1 && held <= ticks - 5, qPrintable(QStringLiteral("%1 in %2 ticks").arg(held).arg(ticks)));
    rstest::releaseAt(f.down, QPoint(3, 3));
    QCOMPARE(500 - f.box.value(), held + 1);
    const int after = f.box.value();
    // Nothing may step once the button is up: no state to wait for; a slow machine only shortens the look.
    QTest::qWait(250);
    QCOMPARE(f.box.value(), after);
}

void TestEditFields::releaseOutsideStopsWithoutExtraStep()
{
    SpinFixture f;
    rstest::pressAt(f.up, QPoint(3, 3));
    QTRY_VERIFY_WITH_TIMEOUT(f.box.value() >= 1, rstest::kHangBoundMs);
    const int held = f.box.value();
    // Qt sends no released() for a release outside the button: the next tick sees the button up.
    rstest::releaseAt(f.up, QPoint(200, 200));
    QTRY_VERIFY_WITH_TIMEOUT(!f.box.stepButtons()->isRepeating(), rstest::kHangBoundMs);
    QCOMPARE(f.box.value(), held);
    // Nothing may step after the repeat ended: no state to wait for; a slow machine only shortens the look.
    QTest::qWait(300);
    QCOMPARE(f.box.value(), held);
}

void TestEditFields::repeatStopsOnHideDisableAndFocusLoss_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("hide") << 0;
    QTest::newRow("disable") << 1;
    QTest::newRow("focus loss") << 2;
    QTest::newRow("second press") << 3;
}

void TestEditFields::repeatStopsOnHideDisableAndFocusLoss()
{
    QFETCH(int, how);
    QWidget other;
    SpinFixture f;
    rstest::pressAt(f.up, QPoint(3, 3));
    QVERIFY(f.box.stepButtons()->isRepeating());
    if (how == 0) {
        f.box.hide();
    } else if (how == 1) {
        f.box.setEnabled(false);
    } else if (how == 2) {
        QTRY_VERIFY(f.box.hasFocus());
        other.show(); // another window takes the keyboard
        other.activateWindow();
        QTRY_VERIFY(!f.box.hasFocus());
    } else {
        // Pressing the other button replaces the repeat: still one timer, now stepping down.
        rstest::pressAt(f.down, QPoint(3, 3));
        f.box.setValue(100);
        QTRY_VERIFY_WITH_TIMEOUT(f.box.value() < 100, rstest::kHangBoundMs);
        rstest::releaseAt(f.down, QPoint(3, 3));
        return;
    }
    QVERIFY(!f.box.stepButtons()->isRepeating());
    const int value = f.box.value();
    // Nothing may step after the repeat ended: no state to wait for; a slow machine only shortens the look.
    QTest::qWait(900);
    QCOMPARE(f.box.value(), value);
}

void TestEditFields::buttonsPlacedAtRightEdgeOnce()
{
    SpinFixture f;
    QCOMPARE(f.up->size(), QSize(14, 10));
    QCOMPARE(f.up->pos(), QPoint(86, 0));
    QCOMPARE(f.down->pos(), QPoint(86, 20));
    f.box.resize(200, 30);
    QCOMPARE(f.up->x(), 86);
}

void TestEditFields::stretchedButtonsSplitOddHeight()
{
    QZTDoubleSpinBox box;
    box.resize(100, 31);
    box.setUpAndDownBtnImage(saveImage(stripImage(28, 20), QStringLiteral("u")),
                             saveImage(stripImage(28, 20), QStringLiteral("d")), false);
    box.show();
    QZTBaseButton *up = box.stepButtons()->upButton();
    QZTBaseButton *down = box.stepButtons()->downButton();
    QCOMPARE(up->height(), 15);
    QCOMPARE(down->height(), 16);
    QCOMPARE(down->geometry().bottom(), 30);
}

void TestEditFields::buttonMarginsPlaceButtons_data()
{
    QTest::addColumn<int>("host"); // 0 spin box, 1 double spin box, 2 time edit
    QTest::addColumn<int>("left");
    QTest::newRow("spin box") << 0 << 60;
    QTest::newRow("double spin box") << 1 << 60;
    QTest::newRow("time edit") << 2 << 60;
    QTest::newRow("left beyond 16 bits") << 0 << 65536 + 60; // kept as 16-bit values
}

void TestEditFields::buttonMarginsPlaceButtons()
{
    QFETCH(int, host);
    QFETCH(int, left);
    QZTSpinBox spin;
    QZTDoubleSpinBox doubleSpin;
    QZTTimeEdit time;
    QAbstractSpinBox *box = host == 0   ? static_cast<QAbstractSpinBox *>(&spin)
                            : host == 1 ? static_cast<QAbstractSpinBox *>(&doubleSpin)
                                        : static_cast<QAbstractSpinBox *>(&time);
    const QString up = saveImage(stripImage(28, 20), QStringLiteral("u"));
    const QString down = saveImage(stripImage(28, 20), QStringLiteral("d"));
    QZTStepButtons *buttons = nullptr;
    if (host == 0) {
        spin.setUpAndDownBtnImage(up, down, true);
        spin.setBtnMargins(left, 2, 0, 3);
        buttons = spin.stepButtons();
    } else if (host == 1) {
        doubleSpin.setUpAndDownBtnImage(up, down, true);
        doubleSpin.setBtnMargins(QMargins(left, 2, 0, 3));
        buttons = doubleSpin.stepButtons();
    } else {
        time.setUpAndDownBtnImage(up, down, true);
        time.setBtnMargins(left, 2, 0, 3);
        buttons = time.stepButtons();
    }
    box->resize(100, 30);
    box->show();
    QCOMPARE(buttons->margins(), QMargins(60, 2, 0, 3));
    QCOMPARE(buttons->upButton()->pos(), QPoint(60, 2));
    QCOMPARE(buttons->downButton()->pos(), QPoint(60, 30 - 3 - buttons->downButton()->height()));
}

void TestEditFields::missingUpImageKeepsQtArrows()
{
    QZTSpinBox box;
    QVERIFY(!box.setUpAndDownBtnImage(QStringLiteral("/missing/up.png"), QStringLiteral("/missing/down.png"), true));
    QVERIFY(!box.stepButtons()->upButton());
}

void TestEditFields::timeEditStartsAtMidnight()
{
    QZTTimeEdit edit;
    QCOMPARE(edit.time(), QTime(0, 0, 0, 0));
    QVERIFY(edit.displayedSections() & QDateTimeEdit::HourSection);
    QVERIFY(!(edit.displayedSections() & QDateTimeEdit::DaySection));
}

void TestEditFields::timeEditReportsSteps()
{
    QZTTimeEdit edit;
    edit.setDisplayFormat(QStringLiteral("hh:mm:ss"));
    edit.resize(120, 30);
    edit.setUpAndDownBtnImage(saveImage(stripImage(28, 20), QStringLiteral("u")),
                              saveImage(stripImage(28, 20), QStringLiteral("d")), true);
    edit.show();
    QVERIFY(QTest::qWaitForWindowActive(&edit)); // the field takes the keyboard, its first section chosen
    edit.setCurrentSection(QDateTimeEdit::MinuteSection);
    QSignalSpy spy(&edit, &QZTDateTimeEdit::emitTimeEdited);
    rstest::clickAt(edit.stepButtons()->upButton(), QPoint(3, 3));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("00:01:00"));
    rstest::pressAt(edit.stepButtons()->downButton(), QPoint(3, 3));
    QTRY_VERIFY_WITH_TIMEOUT(spy.size() >= 2, rstest::kHangBoundMs);
    const int whileHeld = spy.size() - 1;
    rstest::releaseAt(edit.stepButtons()->downButton(), QPoint(3, 3));
    QCOMPARE(spy.size(), 1 + whileHeld + 1);
}

void TestEditFields::timeEditDoesNotReportCodeChanges()
{
    QZTTimeEdit edit;
    edit.setDisplayFormat(QStringLiteral("hh:mm:ss"));
    edit.show();
    QSignalSpy spy(&edit, &QZTDateTimeEdit::emitTimeEdited);
    edit.setTime(QTime(1, 2, 3));
    QCOMPARE(spy.size(), 0);
    rstest::clickAt(&edit, QPoint(10, edit.height() / 2)); // the click gives the field the keyboard
    edit.setCurrentSection(QDateTimeEdit::SecondSection);
    rstest::keyClick(&edit, Qt::Key_Up);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("01:02:04"));
}

RS_TEST_MAIN(TestEditFields)
#include "tst_editfields.moc"
