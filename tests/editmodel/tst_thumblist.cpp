// The package list of the Effect and Audio pages, driven by clicks as a user picks tiles.

#include "QHorizontalListFrom.h"
#include "QHorizontalListItem.h"
#include "QIAnyUtil.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QSignalSpy>

namespace {

void click(QWidget *w, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    rstest::clickAt(w, rstest::kCentre, button, mods);
}

struct ListRig
{
    QHorizontalListFrom list;
    explicit ListRig(int count = 4)
    {
        list.resize(400, 90);
        for (int i = 0; i < count; ++i)
            list.addListItem(QString(), QStringLiteral("Package %1").arg(i));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
    }
};

} // namespace

class TestThumbList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + "/Contents"); }

    void clickSelectsAndReportsOnce()
    {
        ListRig r;
        QSignalSpy changed(&r.list, &QHorizontalListFrom::currentIndexChanged);
        click(r.list.item(2));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.last().first().toInt(), 2);
        click(r.list.item(2));
        QCOMPARE(changed.count(), 1); // the selected tile again: nothing
        click(r.list.item(1));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(r.list.item(1)->getMouseState(), QBaseItem::Selected);
        QCOMPARE(r.list.item(2)->getMouseState(), QBaseItem::Normal);
    }

    // The index the pages read back is the tile the user clicked last, not the one last marked in code.
    void clickUpdatesTheStoredIndex()
    {
        ListRig r;
        r.list.setCurrentIndex(0);
        click(r.list.item(3));
        QCOMPARE(r.list.getCurrentIndex(), 3);
        QCOMPARE(r.list.currentItem(), r.list.item(3));
    }

    void markingInCodeReportsNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("expected");
        QTest::newRow("valid") << 2 << 2;
        QTest::newRow("negative") << -1 << 1;
        QTest::newRow("count") << 4 << 1;
    }
    void markingInCodeReportsNothing()
    {
        QFETCH(int, index);
        QFETCH(int, expected);
        ListRig r;
        r.list.setCurrentIndex(1);
        QSignalSpy changed(&r.list, &QHorizontalListFrom::currentIndexChanged);
        r.list.setCurrentIndex(index);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(r.list.getCurrentIndex(), expected);
        for (int i = 0; i < r.list.count(); ++i)
            QCOMPARE(r.list.item(i)->getMouseState(), i == expected ? QBaseItem::Selected : QBaseItem::Normal);
    }

    // After clear() nothing points at a deleted tile: refilled lists report the first click again.
    void clearForgetsTheCurrentTile()
    {
        ListRig r(2);
        click(r.list.item(0));
        r.list.clear();
        QCOMPARE(r.list.count(), 0);
        QCOMPARE(r.list.currentItem(), nullptr);
        QCOMPARE(r.list.getCurrentIndex(), -1);
        for (int round = 0; round < 20; ++round) {
            r.list.clear();
            r.list.addListItem(QString(), QStringLiteral("A"));
            r.list.addListItem(QString(), QStringLiteral("B"));
            QSignalSpy changed(&r.list, &QHorizontalListFrom::currentIndexChanged);
            r.list.item(0)->show();
            click(r.list.item(0));
            QCOMPARE(changed.count(), 1);
            QCOMPARE(r.list.getCurrentIndex(), 0);
        }
    }

    void modifiersAndButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("preselected");
        QTest::addColumn<int>("reports");
        QTest::addColumn<int>("menus");
        QTest::addColumn<int>("state");
        QTest::newRow("shift click changes nothing")
            << int(Qt::LeftButton) << int(Qt::ShiftModifier) << false << 0 << 0 << int(QBaseItem::Hover);
        QTest::newRow("control click deselects quietly")
            << int(Qt::LeftButton) << int(Qt::ControlModifier) << true << 0 << 0 << int(QBaseItem::Normal);
        QTest::newRow("right click selects, then the menu")
            << int(Qt::RightButton) << int(Qt::NoModifier) << false << 1 << 1 << int(QBaseItem::Selected);
        QTest::newRow("right click on the selected tile: menu only")
            << int(Qt::RightButton) << int(Qt::NoModifier) << true << 0 << 1 << int(QBaseItem::Selected);
        QTest::newRow("middle button does nothing")
            << int(Qt::MiddleButton) << int(Qt::NoModifier) << false << 0 << 0 << int(QBaseItem::Hover);
    }
    void modifiersAndButtons()
    {
        QFETCH(int, button);
        QFETCH(int, modifiers);
        QFETCH(bool, preselected);
        QFETCH(int, reports);
        QFETCH(int, menus);
        QFETCH(int, state);
        ListRig r;
        QHorizontalListItem *tile = r.list.item(1);
        if (preselected)
            click(tile);
        QSignalSpy changed(&r.list, &QHorizontalListFrom::currentIndexChanged);
        QSignalSpy menu(tile, &QBaseItem::emitShowTreeMenu);
        // The pointer comes onto the tile from its neighbour (twice there: a move to where the pointer already
        // is reports nothing).
        rstest::moveTo(r.list.item(0), QPoint(5, 5));
        rstest::moveTo(r.list.item(0), QPoint(6, 5));
        rstest::moveTo(tile);
        click(tile, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(changed.count(), reports);
        QCOMPARE(menu.count(), menus);
        QCOMPARE(int(tile->getMouseState()), state);
    }

    void longTitleIsElided()
    {
        ListRig r(0);
        const QString title = QStringLiteral("Old film grain and scratches");
        r.list.addListItem(QString(), title);
        QHorizontalListItem *tile = r.list.item(0);
        QVERIFY(tile->m_lblTitle->text().endsWith(QChar(0x2026)));
        QCOMPARE(tile->m_lblTitle->toolTip(), title);
        QVERIFY(tile->m_lblTitle->fontMetrics().horizontalAdvance(tile->m_lblTitle->text()) <=
                tile->m_lblTitle->width());
    }

    // Every caption is one line in the row's one font, as tall as a short name's and inside the tile: a
    // name wider than the tile is cut short at the right, its tool tip carrying it whole; the pictures of the
    // row stand level.
    void titleOnOneLine_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("cut");
        QTest::newRow("short name") << QStringLiteral("Sepia") << false;
        QTest::newRow("frame package") << QStringLiteral("Rounded Border") << true;
        QTest::newRow("filter package") << QStringLiteral("Letterbox bars") << true;
    }
    void titleOnOneLine()
    {
        QFETCH(QString, title);
        QFETCH(bool, cut);
        ListRig r(0);
        r.list.addListItem(QString(), QStringLiteral("None"));
        r.list.addListItem(QString(), title);
        QHorizontalListItem *plain = r.list.item(0);
        QHorizontalListItem *tile = r.list.item(1);
        QCoreApplication::processEvents();
        QLabel *label = tile->m_lblTitle;
        const QFontMetrics fm = label->fontMetrics();
        QCOMPARE(label->text(), fm.elidedText(title, Qt::ElideRight, label->width()));
        QCOMPARE(label->text().endsWith(QChar(0x2026)), cut);
        QCOMPARE(label->toolTip(), title);
        QCOMPARE(label->font(), plain->m_lblTitle->font());
        QCOMPARE(label->height(), plain->m_lblTitle->height());
        QVERIFY(label->height() >= fm.height());
        QVERIFY(tile->rect().contains(label->geometry()));
        QCOMPARE(tile->m_wdgCoverImage->y(), plain->m_wdgCoverImage->y());
    }
};

RS_TEST_MAIN(TestThumbList)
#include "tst_thumblist.moc"
