// Image spin box, time fields and the image scroll bars: clamping, stepping with carry, typed times,
// scroll steps and style rules.

#include "ImageScrollBars.h"
#include "QCustomSpinBox.h"
#include "QCustomTimeEdit.h"
#include "QEditTimeEx.h"
#include "QImageButton.h"
#include "TestSupport.h"
#include "TimeFieldMath.h"
#include "WidgetTestKit.h"

#include <QLineEdit>
#include <QSignalSpy>

class TestInputs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<uint64_t>("uint64_t"); }

    void spinBoxTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::newRow("in range") << "42"
                                  << "42" << 42;
        QTest::newRow("above range") << "150"
                                     << "99" << 99;
        QTest::newRow("all deleted") << ""
                                     << "0" << 0;
    }
    void spinBoxTyping()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, value);
        QCustomSpinBox spin;
        spin.setRange(0, 100);
        emit spin.lineEdit()->textEdited(typed);
        QCOMPARE(spin.lineEdit()->text(), shown);
        QCOMPARE(spin.getValue(), value);
    }

    void spinBoxRangeAndButtons()
    {
        QCustomSpinBox spin;
        spin.setRange(5, 10);
        QCOMPARE(spin.lineEdit()->text(), QStringLiteral("5"));
        spin.setValue(3);
        QCOMPARE(spin.getValue(), 5);
        spin.setValue(10);
        QCOMPARE(spin.getValue(), 9);
        spin.OnBtnUp();
        QCOMPARE(spin.getValue(), 9);
        spin.setValue(5);
        spin.OnBtnDown();
        QCOMPARE(spin.getValue(), 5);
        spin.OnBtnUp();
        QCOMPARE(spin.lineEdit()->text(), QStringLiteral("6"));
        const QString strip = wtk::makeStrip(QStringLiteral("spinbtn"), 28, 22);
        QVERIFY(spin.setUpAndDownBtnImage(strip, strip));
        spin.resize(80, 22);
        spin.show();
        QCOMPARE(spin.upButton()->size(), QSize(14, 11));
        QCOMPARE(spin.upButton()->pos(), QPoint(64, 0));
        QCOMPARE(spin.downButton()->pos(), QPoint(64, 11));
        spin.upButton()->click();
        QCOMPARE(spin.getValue(), 7);
    }

    void spinBoxEnabledColours()
    {
        QCustomSpinBox spin;
        spin.setEditColor(QColor(1, 2, 3), QColor(4, 5, 6));
        spin.setEnabled(false);
        QCOMPARE(spin.lineEdit()->palette().color(QPalette::Disabled, QPalette::Text), QColor(4, 5, 6));
        spin.setEnabled(true);
        QCOMPARE(spin.lineEdit()->palette().color(QPalette::Active, QPalette::Text), QColor(1, 2, 3));
    }

    void conversions_data()
    {
        QTest::addColumn<qulonglong>("us");
        QTest::addColumn<QTime>("time");
        QTest::newRow("zero") << 0ULL << QTime(0, 0, 0, 0);
        QTest::newRow("1:02:03.004") << 3723004000ULL << QTime(1, 2, 3, 4);
        QTest::newRow("sub-millisecond dropped") << 1999ULL << QTime(0, 0, 0, 1);
        QTest::newRow("last of day") << 86399999000ULL << QTime(23, 59, 59, 999);
        QTest::newRow("25 hours clamped") << 90000000000ULL << QTime(23, 59, 59, 999);
        QTest::newRow("huge clamped") << 0xffffffffffffffffULL << QTime(23, 59, 59, 999);
    }
    void conversions()
    {
        QFETCH(qulonglong, us);
        QFETCH(QTime, time);
        QCOMPARE(QCustomTimeEdit::IntConvertToTime(us), time);
        QVERIFY(QCustomTimeEdit::IntConvertToTime(us).isValid());
        QCOMPARE(QCustomTimeEdit::TimeConvertToInt(time), qulonglong(TimeFieldMath::toMicroseconds(time)));
    }

    void typedTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qulonglong>("us");
        QTest::newRow("full") << "01:02:03.004" << 3723004000ULL;
        QTest::newRow("minutes need a second colon") << "01:02" << 3600000000ULL;
        QTest::newRow("seconds after one colon") << "01:02.5" << 3602005000ULL;
        QTest::newRow("past the day") << "99:00:00.000" << 86399999000ULL;
        QTest::newRow("garbage") << "abc" << 0ULL;
    }
    void typedTimes()
    {
        QFETCH(QString, text);
        QFETCH(qulonglong, us);
        QCustomTimeEdit edit;
        QSignalSpy changed(&edit, &QCustomTimeEdit::emitTimeChange);
        edit.setCurrentTime(5000000);
        edit.timeTextEdited(text);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).value<uint64_t>(), uint64_t(us));
        QCOMPARE(edit.getCurrentTime(), 5000000ULL); // the owner applies the value
        QEditTimeEx ex;
        QSignalSpy exChanged(&ex, &QEditTimeEx::emitTextEdited);
        ex.onTextEdited(text);
        QCOMPARE(exChanged.at(0).at(0).value<uint64_t>(), uint64_t(us));
    }

    void steppingWithCarry_data()
    {
        QTest::addColumn<QTime>("current");
        QTest::addColumn<int>("section");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QTime>("maximum");
        QTest::addColumn<QTime>("expected");
        const int ms = QDateTimeEdit::MSecSection, sec = QDateTimeEdit::SecondSection,
                  min = QDateTimeEdit::MinuteSection;
        const QTime end(23, 59, 59, 999);
        QTest::newRow("ms carry") << QTime(0, 0, 59, 999) << ms << true << end << QTime(0, 1, 0, 0);
        QTest::newRow("ms carry into hour") << QTime(0, 59, 59, 999) << ms << true << end << QTime(1, 0, 0, 0);
        QTest::newRow("seconds carry keeps ms") << QTime(0, 0, 59, 250) << sec << true << end << QTime(0, 1, 0, 250);
        QTest::newRow("minutes carry") << QTime(0, 59, 10, 5) << min << true << end << QTime(1, 0, 10, 5);
        QTest::newRow("ms borrow") << QTime(0, 1, 0, 0) << ms << false << end << QTime(0, 0, 59, 999);
        QTest::newRow("seconds borrow") << QTime(1, 0, 0, 7) << sec << false << end << QTime(0, 59, 59, 7);
        QTest::newRow("end of day clamps") << QTime(23, 59, 59, 999) << ms << true << end << end;
    }
    void steppingWithCarry()
    {
        QFETCH(QTime, current);
        QFETCH(int, section);
        QFETCH(bool, up);
        QFETCH(QTime, maximum);
        QFETCH(QTime, expected);
        QTime result;
        QVERIFY(TimeFieldMath::carried(current, QDateTimeEdit::Section(section), up, result));
        QVERIFY(result <= maximum);
        QCOMPARE(result, expected);
    }

    void noBorrowBeforeMidnight()
    {
        QTime result;
        QVERIFY(!TimeFieldMath::carried(QTime(0, 0, 0, 0), QDateTimeEdit::MSecSection, false, result));
        QVERIFY(!TimeFieldMath::carried(QTime(0, 0, 1, 500), QDateTimeEdit::MSecSection, true, result));
    }

    void timeEditStepReportsCarryWithinRange_data()
    {
        QTest::addColumn<qulonglong>("maximumUs");
        QTest::addColumn<qulonglong>("expectedUs");
        QTest::newRow("maximum allows") << 3600000000ULL << 60000000ULL;
        QTest::newRow("maximum forbids: own step") << 59999000ULL << 0ULL;
    }
    void timeEditStepReportsCarryWithinRange()
    {
        QFETCH(qulonglong, maximumUs);
        QFETCH(qulonglong, expectedUs);
        QCustomTimeEdit edit;
        edit.setTimeRange(0, maximumUs);
        edit.setCurrentTime(59999000); // 00:00:59.999
        edit.timeEdit()->setCurrentSection(QDateTimeEdit::MSecSection);
        QSignalSpy changed(&edit, &QCustomTimeEdit::emitTimeChange);
        edit.timeEdit()->stepUp();
        QCOMPARE(changed.count(), 1);
        const uint64_t reported = changed.at(0).at(0).value<uint64_t>();
        if (expectedUs)
            QCOMPARE(reported, uint64_t(expectedUs));
        else
            QCOMPARE(reported, uint64_t(QCustomTimeEdit::TimeConvertToInt(edit.timeEdit()->time())));
    }

    void scrollBarSteps_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("expected");
        QTest::newRow("up from 20") << 20 << true << 0;
        QTest::newRow("up from 21") << 21 << true << 1;
        QTest::newRow("down near the end") << 95 << false << 100;
        QTest::newRow("down") << 10 << false << 30;
    }
    void scrollBarSteps()
    {
        QFETCH(int, start);
        QFETCH(bool, up);
        QFETCH(int, expected);
        ScrollBar bar;
        bar.setRange(0, 100);
        bar.setValue(start);
        if (up)
            bar.UP();
        else
            bar.DOWN();
        QCOMPARE(bar.value(), expected);
    }

    void scrollBarHandle_data()
    {
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("pageStep");
        QTest::addColumn<int>("handleRows");
        QTest::newRow("nothing to scroll: whole bar") << 0 << 10 << 100;
        QTest::newRow("half") << 10 << 10 << 50;
        QTest::newRow("no page step, no maximum") << 0 << 0 << 0;
    }
    void scrollBarHandle()
    {
        QFETCH(int, maximum);
        QFETCH(int, pageStep);
        QFETCH(int, handleRows);
        ScrollBar bar;
        bar.resize(10, 100);
        bar.setRange(0, maximum);
        bar.setPageStep(pageStep);
        const QImage shot = wtk::render(&bar);
        int rows = 0;
        for (int y = 0; y < 100; ++y)
            rows += shot.pixelColor(5, y) == QColor(174, 176, 164) ? 1 : 0;
        QCOMPARE(rows, handleRows);
    }

    void scrollBarArrowButtons()
    {
        ScrollBar bar;
        bar.setRange(0, 100);
        bar.setValue(50);
        const QString strip = wtk::makeStrip(QStringLiteral("arrow"), 16, 16);
        bar.setImageUpallow(strip);
        bar.setImageUpallow(strip);
        QCOMPARE(bar.findChildren<QImageButton *>().size(), 1);
        bar.upButton()->click();
        QCOMPARE(bar.value(), 30);
    }

    void styleScrollBarRules()
    {
        StyleScrollBar bar;
        const QString base = bar.styleSheet();
        QVERIFY(base.startsWith(QStringLiteral("QScrollBar:vertical{width:8px;")));
        bar.setImageUpallow(QString(), QString());
        QCOMPARE(bar.styleSheet(), base);
        bar.setImageUpallow(QStringLiteral("C:\\skin\\up.png"), QString());
        QVERIFY(bar.styleSheet().endsWith(
            QStringLiteral("QScrollBar::sub-line:vertical{height:9px;width:8px;border-image:url(C:/skin/up.png);"
                           "subcontrol-position:top;}")));
        const int once = bar.styleSheet().size();
        bar.setImageDownallow(QStringLiteral("/d.png"), QStringLiteral("/dh.png"));
        QVERIFY(bar.styleSheet().contains(QStringLiteral("add-line:vertical:hover{height:9px;width:8px;border-"
                                                         "image:url(/dh.png);subcontrol-position:bottom;}")));
        bar.setImageUpallow(QStringLiteral("C:\\skin\\up.png"), QString());
        QVERIFY(bar.styleSheet().size() > once); // rules accumulate
    }
};

RS_TEST_MAIN(TestInputs)
#include "tst_widgets_inputs.moc"
