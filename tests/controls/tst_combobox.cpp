// Combo box with widget rows, the check-box combo box and the skinned scroll bar: style splicing, rows,
// row sizes and colours, items added before the skin, check and radio modes, and the scroll bar's look.

#include "ControlTestImages.h"
#include "QCheckboxCombobox.h"
#include "QZTComboBox.h"
#include "QZTScrollBar.h"
#include "WindowInput.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QtTest>

using namespace ctltest;

namespace {
QString skinPath()
{
    static const QString path = saveImage(solidImage(40, 40, QColor(37, 37, 37)), QStringLiteral("field"));
    return path;
}

int countOf(const QString &text, const QString &part)
{
    return text.count(part);
}
} // namespace

class TestComboBox : public QObject
{
    Q_OBJECT
private slots:
    void cutStyleString_data();
    void cutStyleString();
    void colourRuleIsReplacedNotAppended();
    void skinRulesGoInOnce();
    void itemsAddedBeforeSkinStay();
    void firstRowBecomesShownText();
    void rowSizesWithSpacing();
    void currentRowHighlightNeedsHoverColour();
    void popupOffsetPutsListUnderTheCombo();
    void removeAndInvalidIndexes();

    void checkModeJoinsTickedTexts();
    void checkModeClickTicksAndKeepsListOpen();
    void radioModeMarksCurrentRow();
    void switchingToRadioLeavesOneBox();
    void boxesKeepTheirImages();

    void scrollBarHandle_data();
    void scrollBarHandle();
};

void TestComboBox::cutStyleString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("result");
    QTest::newRow("absent") << "a{b;}"
                            << "x{"
                            << ";}" << false << "a{b;}";
    QTest::newRow("start and end") << "a{1;}b{2;}"
                                   << "a{"
                                   << ";}" << true << "b{2;}";
    QTest::newRow("start without end") << "a{1 b"
                                       << "a{"
                                       << ";}" << true << "1 b";
    QTest::newRow("first occurrence only") << "p{1;}p{2;}"
                                           << "p{"
                                           << ";}" << true << "p{2;}";
}

void TestComboBox::cutStyleString()
{
    QFETCH(QString, text);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(bool, found);
    QFETCH(QString, result);
    QCOMPARE(QZTComboBox::cutStyleString(text, start, end), found);
    QCOMPARE(text, result);
}

void TestComboBox::colourRuleIsReplacedNotAppended()
{
    QZTComboBox combo;
    combo.setItemBgColor(QColor(1, 2, 3));
    combo.setItemBgColor(QColor(4, 5, 6));
    const QString sheet = combo.styleSheetText();
    QCOMPARE(countOf(sheet, QStringLiteral("QListView::item {background: ")), 1);
    QVERIFY(sheet.endsWith(QStringLiteral("QListView::item {background: #040506;}")));
    combo.setItemBorder(1, Qt::red);
    combo.setItemBorder(2, Qt::blue);
    QCOMPARE(countOf(combo.styleSheetText(), QStringLiteral("border: ")), 1);
    QVERIFY(combo.styleSheetText().contains(QStringLiteral("border: 2px solid #0000ff}")));
}

void TestComboBox::skinRulesGoInOnce()
{
    QZTComboBox combo;
    QVERIFY(combo.setBackgroundImage(skinPath()));
    QVERIFY(combo.setBackgroundImage(skinPath()));
    QCOMPARE(countOf(combo.styleSheet(), QStringLiteral("QComboBox {background-color:transparent;border:none}")), 1);
    QVERIFY(!combo.setBackgroundImage(QStringLiteral("/missing.png")));
    QVERIFY(combo.isCustomDraw());
}

void TestComboBox::itemsAddedBeforeSkinStay()
{
    QZTComboBox combo;
    combo.addItem(QStringLiteral("one"), 1);
    combo.addItem(QStringLiteral("two"), 2);
    combo.setCurrentIndex(1);
    QVERIFY(combo.setBackgroundImage(skinPath()));
    QCOMPARE(combo.count(), 2);
    QVERIFY(combo.rowView());
    QCOMPARE(combo.rowView()->count(), 2);
    QVERIFY(combo.rowAt(0));
    QCOMPARE(combo.itemText(0), QStringLiteral("one"));
    QCOMPARE(combo.itemData(1).toInt(), 2);
    QCOMPARE(combo.currentIndex(), 1);
    combo.addItem(QStringLiteral("three"));
    QCOMPARE(combo.count(), 3);
    QVERIFY(combo.rowAt(2));
}

void TestComboBox::firstRowBecomesShownText()
{
    QZTComboBox combo;
    combo.setBackgroundImage(skinPath());
    combo.addItem(QStringLiteral("first"));
    QCOMPARE(combo.drawText(), QStringLiteral("first"));
    QCOMPARE(combo.toolTip(), QStringLiteral("first"));
    combo.addItem(QStringLiteral("second"));
    combo.setCurrentIndex(1);
    QCOMPARE(combo.drawText(), QStringLiteral("second"));
}

void TestComboBox::rowSizesWithSpacing()
{
    QZTComboBox combo;
    combo.resize(120, 22);
    combo.setBackgroundImage(skinPath());
    combo.addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    combo.setItemSpacing(3, Qt::black);
    combo.show();
    combo.showPopup();
    QCOMPARE(combo.rowView()->item(0)->sizeHint().height(), 19 + 2);
    QCOMPARE(combo.rowView()->item(1)->sizeHint().height(), 19 + 1 + 2);
    QCOMPARE(combo.rowView()->item(2)->sizeHint().height(), 19 + 1);
    combo.hidePopup();
}

void TestComboBox::currentRowHighlightNeedsHoverColour()
{
    QZTComboBox combo;
    combo.resize(120, 22);
    combo.setBackgroundImage(skinPath());
    combo.addItems({QStringLiteral("a"), QStringLiteral("b")});
    combo.setItemBgColor(QColor(10, 10, 10));
    combo.setItemSelectedColor(QColor(200, 0, 0));
    combo.rowView()->setCurrentRow(0);
    QZTComboBoxItem *row = combo.rowAt(0);
    QZTComboBoxItem *other = combo.rowAt(1);
    combo.show();
    combo.showPopup();
    QTRY_VERIFY(other->isVisible());
    QVERIFY(near(render(row).pixelColor(60, 2), QColor(10, 10, 10)));
    // Without a hover colour a hovered row takes the selected colour.
    rstest::moveTo(row);
    rstest::moveTo(other);
    QVERIFY(near(render(other).pixelColor(60, 2), QColor(200, 0, 0)));
    rstest::moveTo(&combo); // off the list
    combo.setItemHoverColor(QColor(0, 200, 0));
    QVERIFY(near(render(row).pixelColor(60, 2), QColor(200, 0, 0)));
    rstest::moveTo(other);
    QVERIFY(near(render(other).pixelColor(60, 2), QColor(0, 200, 0)));
    combo.hidePopup();
}

void TestComboBox::popupOffsetPutsListUnderTheCombo()
{
    QZTComboBox combo;
    combo.resize(120, 22);
    combo.move(100, 100);
    combo.setBackgroundImage(skinPath());
    combo.addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    combo.setPopupOffestPoint(QPoint(0, 5));
    combo.show();
    combo.showPopup();
    QWidget *popup = combo.rowView()->window();
    QTRY_VERIFY(popup->isVisible());
    QCOMPARE(popup->y(), combo.mapToGlobal(QPoint(0, combo.height())).y());
    combo.hidePopup();
}

void TestComboBox::removeAndInvalidIndexes()
{
    QZTComboBox combo;
    combo.setBackgroundImage(skinPath());
    combo.addItems({QStringLiteral("a"), QStringLiteral("b")});
    combo.removeItem(7);
    QCOMPARE(combo.count(), 2);
    combo.removeItem(0);
    QCOMPARE(combo.count(), 1);
    QCOMPARE(combo.itemText(0), QStringLiteral("b"));
    QVERIFY(!combo.getItemWidgt(5));
    QVERIFY(!combo.IsValid(-1));
}

namespace {
struct CheckComboFixture
{
    QCheckboxCombobox combo;
    CheckComboFixture(bool checkMode = true)
    {
        combo.resize(160, 22);
        const QString on = saveImage(solidImage(28, 28, Qt::green), QStringLiteral("on"));
        const QString off = saveImage(solidImage(28, 28, Qt::red), QStringLiteral("off"));
        combo.setCheckImage(on, off);
        combo.setBackgroundImage(skinPath());
        combo.setCheckMode(checkMode);
        combo.addItems({QStringLiteral("Chapter 1"), QStringLiteral("Chapter 2"), QStringLiteral("Chapter 3")});
        combo.show();
    }
};
} // namespace

void TestComboBox::checkModeJoinsTickedTexts()
{
    CheckComboFixture f;
    QSignalSpy spy(&f.combo, &QCheckboxCombobox::emitStateChange);
    QCOMPARE(f.combo.drawText(), QString());
    QString textAtSignal;
    connect(&f.combo, &QCheckboxCombobox::emitStateChange, this, [&] { textAtSignal = f.combo.drawText(); });
    f.combo.setCheckState(0, true);
    QCOMPARE(spy.last().at(0).toInt(), 0);
    QCOMPARE(spy.last().at(1).toInt(), 2);
    QCOMPARE(textAtSignal, QStringLiteral("Chapter 1"));
    f.combo.setCheckState(2, true);
    QCOMPARE(f.combo.getSelectItemText(), QStringLiteral("Chapter 1;Chapter 3"));
    QCOMPARE(f.combo.drawText(), QStringLiteral("Chapter 1;Chapter 3"));
    f.combo.setCheckAll(false);
    QCOMPARE(f.combo.drawText(), QString());
}

// A click on a row's box in check mode ticks it and leaves the list open for further ticks.
void TestComboBox::checkModeClickTicksAndKeepsListOpen()
{
    CheckComboFixture f;
    f.combo.showPopup();
    QWidget *popup = f.combo.rowView()->window();
    QTRY_VERIFY(popup->isVisible());
    QComboboxCheckbox *box = f.combo.checkBoxAt(1);
    QVERIFY(box);
    rstest::clickAt(box, QPoint(3, 3));
    QVERIFY(box->isChecked());
    QVERIFY(popup->isVisible());
    QCOMPARE(f.combo.drawText(), QStringLiteral("Chapter 2"));
    rstest::clickAt(f.combo.checkBoxAt(2), QPoint(3, 3));
    QCOMPARE(f.combo.drawText(), QStringLiteral("Chapter 2;Chapter 3"));
    f.combo.hidePopup();
}

void TestComboBox::radioModeMarksCurrentRow()
{
    CheckComboFixture f(false);
    QSignalSpy spy(&f.combo, &QCheckboxCombobox::emitStateChange);
    f.combo.setCurrentIndex(0);
    spy.clear();
    f.combo.setCurrentIndex(2);
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0), (QList<QVariant>{0, 0}));
    QCOMPARE(spy.at(1), (QList<QVariant>{2, 2}));
    QCOMPARE(f.combo.drawText(), QStringLiteral("Chapter 3"));
    // A press on a box picks its row and closes the list; the box itself ignores the click.
    f.combo.showPopup();
    QWidget *popup = f.combo.rowView()->window();
    QTRY_VERIFY(popup->isVisible());
    rstest::clickAt(f.combo.checkBoxAt(1), QPoint(3, 3));
    QCOMPARE(f.combo.currentIndex(), 1);
    QTRY_VERIFY(!popup->isVisible());
    QVERIFY(f.combo.itemCheckState(1));
    QVERIFY(!f.combo.itemCheckState(2));
}

void TestComboBox::switchingToRadioLeavesOneBox()
{
    CheckComboFixture f;
    f.combo.setCheckAll(true);
    f.combo.setCurrentIndex(1);
    f.combo.setCheckMode(false);
    QVERIFY(!f.combo.itemCheckState(0));
    QVERIFY(f.combo.itemCheckState(1));
    QVERIFY(!f.combo.itemCheckState(2));
    QVERIFY(!f.combo.itemCheckState(9));
}

void TestComboBox::boxesKeepTheirImages()
{
    CheckComboFixture f;
    const QImage before = f.combo.checkBoxAt(0)->checkedImage();
    f.combo.setCheckImage(saveImage(solidImage(28, 28, Qt::blue), QStringLiteral("on2")),
                          saveImage(solidImage(28, 28, Qt::yellow), QStringLiteral("off2")));
    // A failed load keeps the images that new boxes get.
    QVERIFY(!f.combo.setCheckImage(QStringLiteral("/missing/on.png"), QStringLiteral("/missing/off.png")));
    f.combo.addItem(QStringLiteral("Chapter 4"));
    QCOMPARE(f.combo.checkBoxAt(0)->checkedImage(), before);
    QVERIFY(near(f.combo.checkBoxAt(3)->checkedImage().pixelColor(1, 1), Qt::blue));
}

void TestComboBox::scrollBarHandle_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<bool>("trackAlways");
    QTest::addColumn<bool>("handle");
    QTest::addColumn<bool>("track");
    QTest::newRow("empty range: groove only") << 0 << false << false << false;
    QTest::newRow("not hovered: handle, no track") << 100 << false << true << false;
    QTest::newRow("track always shown") << 100 << true << true << true;
}

void TestComboBox::scrollBarHandle()
{
    QFETCH(int, maximum);
    QFETCH(bool, trackAlways);
    QFETCH(bool, handle);
    QFETCH(bool, track);
    QZTScrollBar bar(Qt::Vertical);
    QCOMPARE(bar.width(), 10);
    bar.resize(10, 200);
    bar.setRange(0, maximum);
    bar.setPageStep(50);
    QZTScrollBarStyleAttribute a;
    a.grooveColor = QColor(0, 0, 255);
    a.trackColor = QColor(0, 255, 0);
    a.normalColor = QColor(255, 0, 0);
    a.trackAlwaysShown = trackAlways;
    bar.setStyleAttribute(a);
    QCOMPARE(bar.style()->pixelMetric(QStyle::PM_ScrollBarExtent), 11);
    const QImage shot = render(&bar);
    bool sawHandle = false, sawTrack = false;
    for (int y = 0; y < shot.height(); ++y) {
        sawHandle |= near(shot.pixelColor(5, y), a.normalColor, 30);
        sawTrack |= near(shot.pixelColor(5, y), a.trackColor, 30);
    }
    QCOMPARE(sawHandle, handle);
    QCOMPARE(sawTrack, track);
    // The default radius of -1 rounds the 10-pixel handle by 5: its corner pixel stays unpainted.
    if (handle && !track) {
        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = Qt::Vertical;
        option.minimum = 0;
        option.maximum = maximum;
        option.pageStep = 50;
        option.sliderPosition = 0;
        option.sliderValue = 0;
        option.rect = bar.rect();
        const QRect h = bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
        QVERIFY(!near(shot.pixelColor(h.left(), h.top()), a.normalColor, 30));
        QVERIFY(near(shot.pixelColor(h.center().x(), h.center().y()), a.normalColor, 30));
    }
}

RS_TEST_MAIN(TestComboBox)
#include "tst_combobox.moc"
