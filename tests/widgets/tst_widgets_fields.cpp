// Image field base and the menu-backed combo box: frame per state, nine-grid corners, text elision,
// entries, signals, removal and the menu's entry size.

#include "QCustomComboBox.h"
#include "QCustomImageWidget.h"
#include "TestSupport.h"
#include "WidgetTestKit.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>

class TestFields : public QObject
{
    Q_OBJECT
private slots:
    void noStripPaintsNothing()
    {
        QCustomImageWidget w;
        w.resize(80, 20);
        w.setTextColor(Qt::white);
        w.setBtnText(QStringLiteral("text"));
        const QImage shot = wtk::render(&w);
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                QCOMPARE(qAlpha(shot.pixel(x, y)), 0);
    }

    void imageForRectSizes_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("null rect: one frame") << QRect() << QSize(30, 20);
        QTest::newRow("explicit") << QRect(0, 0, 100, 24) << QSize(100, 24);
        QTest::newRow("width only") << QRect(0, 0, 70, 0) << QSize(70, 20);
    }
    void imageForRectSizes()
    {
        QFETCH(QRect, rect);
        QFETCH(QSize, expected);
        QCustomImageWidget w;
        QVERIFY(w.setImageForRect(wtk::makeStrip(QStringLiteral("field"), 60, 40), rect));
        QCOMPARE(w.size(), expected);
        QCOMPARE(w.textRect(), QRect(QPoint(0, 0), expected));
        QVERIFY(!w.setImageForRect(QStringLiteral("/no/such.png"), QRect(0, 0, 10, 10)));
        QCOMPARE(w.size(), expected);
    }

    void stateSequence_data()
    {
        QTest::addColumn<bool>("overState");
        QTest::addColumn<bool>("checked");
        QTest::newRow("plain") << false << false;
        QTest::newRow("over state") << true << false;
        QTest::newRow("checked") << false << true;
    }
    void stateSequence()
    {
        QFETCH(bool, overState);
        QFETCH(bool, checked);
        QCustomImageWidget w;
        w.setBtnImage(wtk::makeStrip(QStringLiteral("seq"), 60, 40));
        w.setOverState(overState);
        w.setCheckState(checked);
        w.setTextColor(Qt::white, Qt::yellow, Qt::cyan, Qt::gray);
        auto expect = [&](int frame) { return checked ? 2 : frame; };
        wtk::Host host(&w);
        QCOMPARE(wtk::shownFrame(&w), expect(0));
        wtk::hover(&w, QPoint(3, 3));
        QCOMPARE(w.cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(wtk::shownFrame(&w), expect(1));
        rstest::pressAt(&w, QPoint(3, 3));
        QCOMPARE(wtk::shownFrame(&w), expect(2));
        rstest::releaseAt(&w, QPoint(3, 3));
        QCOMPARE(w.state(), 0);
        QCOMPARE(wtk::shownFrame(&w), expect(0));
        w.setEnabled(false);
        QCOMPARE(wtk::shownFrame(&w), checked ? 2 : (overState ? 2 : 3));
        if (!checked)
            QCOMPARE(w.currentTextColor(), QColor(Qt::gray));
        w.setEnabled(true);
        QCOMPARE(wtk::shownFrame(&w), expect(0));
    }

    void nineGridCorners()
    {
        // Frame 60x60 pixels = 30x30 logical with 10x10 red corners, stretched to 120 wide.
        QCustomImageWidget w;
        QImage strip(240, 60, QImage::Format_ARGB32);
        strip.fill(QColor(0, 0, 255));
        for (int k = 0; k < 4; ++k)
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x)
                    strip.setPixelColor(k * 60 + x, y, QColor(255, 0, 0));
        const QString path = rstest::scratchDir(QStringLiteral("fieldgrid")) + "/g.png";
        strip.save(path);
        QVERIFY(w.setImageForRect(path, QRect(0, 0, 120, 30)));
        const QImage shot = wtk::render(&w);
        QVERIFY(wtk::near(shot.pixelColor(4, 4), QColor(255, 0, 0)));
        QVERIFY(wtk::near(shot.pixelColor(13, 4), QColor(0, 0, 255)));
        QVERIFY(wtk::near(shot.pixelColor(115, 25), QColor(0, 0, 255)));
    }

    void comboFirstItemBecomesCurrent()
    {
        QCustomComboBox box;
        QSignalSpy changed(&box, &QCustomComboBox::currentIndexChanged);
        QSignalSpy activated(&box, &QCustomComboBox::activated);
        box.addItems({QStringLiteral("Low"), QStringLiteral("High"), QStringLiteral("Custom")});
        QCOMPARE(box.currentIndex(), 0);
        QCOMPARE(box.currentText(), QStringLiteral("Low"));
        QCOMPARE(box.getBtnText(), QStringLiteral("Low"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(activated.count(), 0);
        QCOMPARE(box.count(), 3);
    }

    void comboChoosing_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("changedSignals");
        QTest::newRow("current again: nothing") << 0 << 0;
        QTest::newRow("another entry") << 2 << 1;
    }
    void comboChoosing()
    {
        QFETCH(int, choice);
        QFETCH(int, changedSignals);
        QCustomComboBox box;
        box.addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        QSignalSpy changed(&box, &QCustomComboBox::currentIndexChanged);
        QSignalSpy activated(&box, &QCustomComboBox::activated);
        QStringList order;
        connect(&box, &QCustomComboBox::currentIndexChanged, [&](int) { order << "changed"; });
        connect(&box, &QCustomComboBox::activated, [&](int) { order << "activated"; });
        box.actions().at(choice)->trigger();
        QCOMPARE(changed.count(), changedSignals);
        QCOMPARE(activated.count(), changedSignals);
        if (changedSignals) {
            QCOMPARE(order, QStringList({"changed", "activated"}));
            QCOMPARE(activated.at(0).at(0).toInt(), choice);
            QCOMPARE(box.currentIndex(), choice);
        }
    }

    void comboInvalidIndexes_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("-1") << -1;
        QTest::newRow("past end") << 3;
    }
    void comboInvalidIndexes()
    {
        QFETCH(int, index);
        QCustomComboBox box;
        box.addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        box.setItemData(1, &box);
        QSignalSpy changed(&box, &QCustomComboBox::currentIndexChanged);
        box.setCurrentIndex(index);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(box.currentIndex(), 0);
        QVERIFY(box.itemText(index).isEmpty());
        QVERIFY(box.itemDataString(index).isNull());
        QVERIFY(!box.itemData(index));
        QCOMPARE(box.itemData(1), static_cast<void *>(&box));
        box.setItemDataString(index, QStringLiteral("x")); // ignored
        QVERIFY(!box.IsValid(index));
    }

    void comboDeleteMapsToLast()
    {
        QCustomComboBox box;
        box.addItems({QStringLiteral("Low"), QStringLiteral("High"), QStringLiteral("Customized")});
        box.setCurrentIndex(2);
        box.DeleteItem(3);
        QCOMPARE(box.count(), 2);
        QVERIFY(box.itemText(2).isEmpty());
        QCOMPARE(box.itemText(1), QStringLiteral("High"));
        QCOMPARE(box.currentIndex(), 2); // the caller selects again
        QCOMPARE(box.menu()->actions().size(), 2);
        box.clear();
        QVERIFY(box.isEmpty());
        QCOMPARE(box.currentIndex(), -1);
        QVERIFY(box.getBtnText().isEmpty());
        box.DeleteItem(0); // nothing to remove
    }

    void comboIndexTextKeepsItemText()
    {
        QCustomComboBox box;
        box.addItems({QStringLiteral("a"), QStringLiteral("b")});
        box.setIndexText(0, QStringLiteral("shown"));
        QCOMPARE(box.menu()->actions().at(0)->text(), QStringLiteral("shown"));
        QCOMPARE(box.getBtnText(), QStringLiteral("shown"));
        QCOMPARE(box.toolTip(), QStringLiteral("shown"));
        QCOMPARE(box.itemText(0), QStringLiteral("a"));
        QCOMPARE(box.currentText(), QStringLiteral("a"));
    }

    void comboAutoGrow()
    {
        QCustomComboBox box;
        box.setItemDefaultW(40);
        box.addItem(QStringLiteral("ab"));
        QCOMPARE(box.itemWidth(), 40);
        const QString wide = QStringLiteral("A considerably wider entry text");
        box.addItem(wide);
        const int grown = box.itemWidth();
        QVERIFY(grown > 40);
        QVERIFY(box.menu()->styleSheet().contains(QStringLiteral("width:%1;").arg(grown)));
        box.addItem(QStringLiteral("x"));
        QCOMPARE(box.itemWidth(), grown);
        box.setShowItemRect(QRect(0, 0, 77, 19));
        QVERIFY(box.menu()->styleSheet().endsWith(QStringLiteral("QMenu:item{height:19px;width:77;}")));
        box.addItem(wide + wide);
        QCOMPARE(box.itemWidth(), grown);
    }

    void comboMenuFontFollowsPointSize()
    {
        QWidget parent;
        auto *box = new QCustomComboBox(&parent);
        box->addItem(QStringLiteral("one"));
        box->setItemFontPointSize(14);
        box->addItem(QStringLiteral("two"));
        parent.show();
        box->menu()->ensurePolished();
        QCOMPARE(box->menu()->font().pixelSize(), 14); // the field's unit
        QCOMPARE(box->menu()->font().family(), QStringLiteral("Tahoma"));
    }

    void comboPressWithoutEntriesOpensNothing()
    {
        QCustomComboBox box;
        box.setBtnImage(wtk::makeStrip(QStringLiteral("combo"), 60, 40));
        wtk::Host host(&box);
        rstest::pressAt(&box, QPoint(3, 3));
        QCOMPARE(box.state(), 2);
        QCoreApplication::processEvents();
        QVERIFY(!box.menu()->isVisible());
        rstest::releaseAt(&box, QPoint(3, 3));
        box.addItem(QStringLiteral("one"));
        rstest::pressAt(&box, QPoint(3, 3));
        QTRY_VERIFY(box.menu()->isVisible());
        QCOMPARE(box.menu()->pos(), box.mapToGlobal(QPoint(0, box.height())));
        rstest::releaseAt(&box, QPoint(3, 3));
        box.menu()->hide();
    }
};

RS_TEST_MAIN(TestFields)
#include "tst_widgets_fields.moc"
