// The skinned menu: its default colours, drawn marks, shortcut texts, fixed item sizes, and the standard
// menu event handling it keeps (shortcut override, tool tips).

#include "ControlTestImages.h"
#include "QZTMenu.h"
#include "WindowInput.h"

#include <QAction>
#include <QShortcut>
#include <QSignalSpy>
#include <QStyleOptionMenuItem>
#include <QtTest>

using namespace ctltest;

namespace {
QImage menuShot(QZTMenu &menu)
{
    menu.adjustSize();
    return render(&menu);
}
} // namespace

class TestMenu : public QObject
{
    Q_OBJECT
private slots:
    void defaultLook();
    void radioMarkWithoutImage();
    void fixedItemHeight_data();
    void fixedItemHeight();
    void shortcutTextIsDrawnRightOfLabel();
    void checkImagesFallBackPerState();
    void keepsShortcutOverrideAndToolTips();
    void mergedColours();
};

void TestMenu::defaultLook()
{
    QZTMenu menu;
    menu.addAction(QStringLiteral("Open"));
    QAction *disabled = menu.addAction(QStringLiteral("Disabled"));
    disabled->setEnabled(false);
    QCOMPARE(menu.style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, &menu), 3);
    QVERIFY(menu.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(menu.testAttribute(Qt::WA_TranslucentBackground));
    const QImage shot = menuShot(menu);
    QVERIFY(near(shot.pixelColor(1, 1), QColor(225, 225, 225), 2));
    const QRect open = menu.actionGeometry(menu.actions().at(0));
    // Black text somewhere in the first item, grey text in the disabled one.
    auto darkest = [&](const QRect &r) {
        int best = 255;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                best = qMin(best, shot.pixelColor(x, y).red());
        return best;
    };
    QVERIFY(darkest(open) < 60);
    const int grey = darkest(menu.actionGeometry(disabled));
    QVERIFY2(grey >= 90 && grey < 200, qPrintable(QString::number(grey)));
    // The disabled text is drawn once: no lighter etched copy beside it.
    const QRect off = menu.actionGeometry(disabled);
    const int ground = shot.pixelColor(off.left() + 2, off.center().y()).red();
    int brightest = 0;
    for (int y = off.top(); y <= off.bottom(); ++y)
        for (int x = off.left(); x <= off.right(); ++x)
            brightest = qMax(brightest, shot.pixelColor(x, y).red());
    QVERIFY2(brightest <= ground + 3, qPrintable(QStringLiteral("%1 on %2").arg(brightest).arg(ground)));
}

void TestMenu::radioMarkWithoutImage()
{
    QZTMenu menu;
    QAction *on = menu.addAction(QStringLiteral("On"));
    QAction *off = menu.addAction(QStringLiteral("Off"));
    auto *group = new QActionGroup(&menu);
    for (QAction *a : {on, off}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    on->setChecked(true);
    const QImage shot = menuShot(menu);
    const QRect r1 = menu.actionGeometry(on), r2 = menu.actionGeometry(off);
    const int m1 = (r1.top() + r1.bottom()) / 2, m2 = (r2.top() + r2.bottom()) / 2;
    // A 6x6 dot in the 14x14 check square starting at left + 7.
    QVERIFY(shot.pixelColor(r1.left() + 14, m1 + 1).red() < 80);
    QVERIFY(shot.pixelColor(r1.left() + 8, m1 - 5).red() > 200);
    QVERIFY(shot.pixelColor(r2.left() + 14, m2 + 1).red() > 200);
}

void TestMenu::fixedItemHeight_data()
{
    QTest::addColumn<int>("height");
    QTest::newRow("fixed 30") << 30;
    QTest::newRow("base style sizes") << -1;
}

void TestMenu::fixedItemHeight()
{
    QFETCH(int, height);
    QZTMenu menu;
    menu.setItemHeight(height);
    menu.addAction(QStringLiteral("One"));
    menu.addAction(QStringLiteral("Two"));
    menu.adjustSize();
    const int h = menu.actionGeometry(menu.actions().at(1)).height();
    if (height > 0)
        QCOMPARE(h, 30);
    else
        QVERIFY(h > 0 && h != 30);
}

void TestMenu::shortcutTextIsDrawnRightOfLabel()
{
    QZTMenu menu;
    menu.setItemWidth(200);
    menu.setItemHeight(24);
    QAction *action = menu.addAction(QStringLiteral("Save\tCtrl+S"));
    const QImage shot = menuShot(menu);
    const QRect r = menu.actionGeometry(action);
    bool inkRight = false;
    for (int x = r.left() + 120; x < r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            inkRight |= shot.pixelColor(x, y).red() < 100;
    QVERIFY(inkRight);
}

void TestMenu::checkImagesFallBackPerState()
{
    QZTMenu menu;
    const QString on = saveImage(solidImage(28, 28, Qt::blue), QStringLiteral("on"));
    menu.setCheckStateImage(QStringLiteral("/missing/checked.png"), on);
    QVERIFY(menu.styleAttribute()->checkedImage.isNull());
    QVERIFY(!menu.styleAttribute()->uncheckedImage.isNull());
    QAction *a = menu.addAction(QStringLiteral("Toggle"));
    a->setCheckable(true);
    const QImage shot = menuShot(menu);
    const QRect r = menu.actionGeometry(a);
    QVERIFY(near(shot.pixelColor(r.left() + 14, (r.top() + r.bottom()) / 2), Qt::blue));
}

// Keys a menu handles itself are claimed through ShortcutOverride, and actions show their tool tips:
// both come from QMenu's own event handling, which the skinned menu keeps.
void TestMenu::keepsShortcutOverrideAndToolTips()
{
    QZTMenu menu;
    QAction *a = menu.addAction(QStringLiteral("Item"));
    a->setToolTip(QStringLiteral("tip"));
    menu.setToolTipsVisible(true);
    // The program's own shortcut on the same key must not take it from the open menu.
    QWidget window;
    QShortcut elsewhere(QKeySequence(Qt::Key_Down), &window, nullptr, nullptr, Qt::ApplicationShortcut);
    QSignalSpy stolen(&elsewhere, &QShortcut::activated);
    menu.popup(QPoint(100, 100));
    QTRY_VERIFY(menu.isVisible());
    rstest::keyClick(&menu, Qt::Key_Down);
    QCOMPARE(stolen.count(), 0);
    QCOMPARE(menu.activeAction(), a);
    menu.hide();
}

void TestMenu::mergedColours()
{
    QCOMPARE(QZTMenuStyle::mergedColors(QColor(100, 0, 200, 50), QColor(0, 100, 0), 50), QColor(50, 50, 100, 50));
}

RS_TEST_MAIN(TestMenu)
#include "tst_menu.moc"
