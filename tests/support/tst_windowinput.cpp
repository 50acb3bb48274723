// Window-system input reaches only the widget on top, which is what lets window tests find covered controls.

#include "TestSupport.h"
#include "WindowInput.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

class TestWindowInput : public QObject
{
    Q_OBJECT
private slots:
    void coveredControlIsFoundAndNotReached()
    {
        QWidget window;
        window.resize(300, 200);
        auto *open = new QPushButton(QStringLiteral("Open"), &window);
        open->setObjectName(QStringLiteral("open"));
        open->setGeometry(10, 10, 100, 30);
        auto *covered = new QPushButton(QStringLiteral("OK"), &window);
        covered->setObjectName(QStringLiteral("ok"));
        covered->setGeometry(10, 100, 100, 30);
        auto *sheet = new QWidget(&window); // a container declared after the button lies over it
        sheet->setObjectName(QStringLiteral("sheet"));
        sheet->setGeometry(0, 80, 300, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QStringList unreachable = rstest::unreachableControls(&window);
        QCOMPARE(unreachable.size(), 1);
        QVERIFY2(unreachable.first().startsWith(QStringLiteral("ok (QPushButton) under sheet")),
                 qPrintable(unreachable.first()));
        QVERIFY(rstest::isOnTopAt(open));
        QVERIFY(!rstest::isOnTopAt(covered));

        QSignalSpy opened(open, &QPushButton::clicked);
        QSignalSpy confirmed(covered, &QPushButton::clicked);
        rstest::clickAt(open);
        QCOMPARE(opened.count(), 1);
        sheet->hide();
        rstest::clickAt(covered);
        QCOMPARE(confirmed.count(), 1);
    }

    void keysGoToTheFocusWidget()
    {
        QWidget window;
        auto *first = new QLineEdit(&window);
        auto *second = new QLineEdit(&window);
        second->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        second->setFocus();
        rstest::typeText(first, QStringLiteral("abc")); // any widget of the window: the focus widget types
        QCOMPARE(second->text(), QStringLiteral("abc"));
        QVERIFY(first->text().isEmpty());
    }
};

RS_TEST_MAIN(TestWindowInput)
#include "tst_windowinput.moc"
