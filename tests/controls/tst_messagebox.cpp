// The skinned message box, built over the bundle's images: results of each button, layout of the
// buttons and the text, wrapping, icons, staying on top and centring once.

#include "ControlTestImages.h"
#include "QProjectConfig.h"
#include "QZTMessageBox.h"
#include "WindowInput.h"

#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace ctltest;

namespace {
// Runs `action` on the box once it is the active modal window.
void whenModal(std::function<void(QZTMessageBox *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto *box = qobject_cast<QZTMessageBox *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(box);
        }
    });
    timer->start();
}

void applicationOptions(QZTMessageBoxOption *option)
{
    option->yesText = QStringLiteral("YES");
    option->noText = QStringLiteral("NO");
}
} // namespace

class TestMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void buttonsReturnTheirResults_data();
    void buttonsReturnTheirResults();
    void emptyTitleShowsApplicationName();
    void yesNoLayout();
    void minimumSizeFromConfiguration();
    void longWordsAreCutAndShortWordsKept();
    void emptyLinesAreKept();
    void textStartsAfterIconColumn_data();
    void textStartsAfterIconColumn();
    void staysOnTopWithItsParent();
    void centresOnlyOnFirstShow();

private:
    static QZTMessageBox *makeBox(QZTMessageBox::Icon icon, QZTMessageBox::ButtonStyle style, const QString &text);
};

void TestMessageBox::initTestCase()
{
    useBundleResources();
    QVERIFY2(QFile::exists(rstest::resourcesDir() + QStringLiteral("/pic/bg_msg.png")), "skin images not built");
    QProjectConfig *config = QProjectConfig::getProjectConfig();
    config->setProjectName(QStringLiteral("Quorvane Reelsplice"));
    config->setTransparentMargins(8);
    config->setDlgTopAndBottom(22, 50);
    QZTMessageBox::setOptionCallback(&applicationOptions);
}

QZTMessageBox *TestMessageBox::makeBox(QZTMessageBox::Icon icon, QZTMessageBox::ButtonStyle style, const QString &text)
{
    auto *box = new QZTMessageBox;
    box->setButtonStyle(style);
    box->setMessageIcon(icon);
    box->setMessage(text);
    return box;
}

void TestMessageBox::buttonsReturnTheirResults_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("press"); // button index, -1 the close button, -2 Escape
    QTest::addColumn<int>("result");
    QTest::newRow("ok") << 1 << 0 << int(QMessageBox::Ok);
    QTest::newRow("cancel") << 2 << 0 << int(QMessageBox::Cancel);
    QTest::newRow("yes") << 4 << 0 << int(QMessageBox::Yes);
    QTest::newRow("no") << 4 << 1 << int(QMessageBox::No);
    QTest::newRow("close button") << 4 << -1 << int(QMessageBox::Close);
    QTest::newRow("escape") << 1 << -2 << 0;
}

void TestMessageBox::buttonsReturnTheirResults()
{
    QFETCH(int, style);
    QFETCH(int, press);
    QFETCH(int, result);
    whenModal([press](QZTMessageBox *box) {
        if (press == -2)
            rstest::keyClick(box, Qt::Key_Escape);
        else if (press == -1)
            rstest::clickAt(box->closeButton());
        else
            rstest::clickAt(box->buttons().at(press));
    });
    const int r = QZTMessageBox::ShowMessage(nullptr, QStringLiteral("Title"), QStringLiteral("Message"),
                                             QZTMessageBox::Warning, QZTMessageBox::ButtonStyle(style));
    QCOMPARE(r, result);
}

void TestMessageBox::emptyTitleShowsApplicationName()
{
    QString title;
    int buttons = 0;
    QString yesText;
    whenModal([&](QZTMessageBox *box) {
        title = box->getTitle();
        buttons = box->buttons().size();
        box->OnBtnClose();
    });
    QZTMessageBox::ShowMessage(nullptr, QString(), QStringLiteral("Failed"), QZTMessageBox::Critical,
                               QZTMessageBox::StyleOk);
    QCOMPARE(title, QStringLiteral("Quorvane Reelsplice"));
    QCOMPARE(buttons, 1);
    QScopedPointer<QZTMessageBox> box(makeBox(QZTMessageBox::NoIcon, QZTMessageBox::StyleYesNo, QStringLiteral("?")));
    QCOMPARE(box->buttons().at(0)->text(), QStringLiteral("YES"));
    QCOMPARE(box->buttons().at(1)->text(), QStringLiteral("NO"));
}

void TestMessageBox::yesNoLayout()
{
    QScopedPointer<QZTMessageBox> box(
        makeBox(QZTMessageBox::Warning, QZTMessageBox::StyleYesNo, QStringLiteral("Go?")));
    box->show();
    QZTBaseButton *yes = box->buttons().at(0);
    QZTBaseButton *no = box->buttons().at(1);
    QCOMPARE(no->geometry().right() + 1, box->width() - 8 - 20);
    QCOMPARE(yes->geometry().right() + 1 + 15, no->x());
    QCOMPARE(yes->y(), no->y());
    // Centred in the button band above the bottom margin.
    QCOMPARE(no->y(), box->height() - 50 - 8 + (50 - no->height()) / 2);
    QVERIFY(no->width() >= 80);
    QCOMPARE(box->closeButton()->pos(), QPoint(16, 13));
}

void TestMessageBox::minimumSizeFromConfiguration()
{
    QScopedPointer<QZTMessageBox> box(makeBox(QZTMessageBox::NoIcon, QZTMessageBox::StyleOk, QStringLiteral("x")));
    QCOMPARE(box->minimumBoxSize(), QSize(275, 170));
    box->show();
    QCOMPARE(box->size(), QSize(275, 170));
}

void TestMessageBox::longWordsAreCutAndShortWordsKept()
{
    QScopedPointer<QZTMessageBox> box(makeBox(QZTMessageBox::NoIcon, QZTMessageBox::StyleOk, QString()));
    const QFontMetrics fm(box->messageFont());
    const QString longWord(400, QLatin1Char('W'));
    box->setMessage(longWord);
    const QStringList pieces = box->displayText().split(QLatin1Char('\n'));
    QVERIFY(pieces.size() > 1);
    QCOMPARE(pieces.join(QString()), longWord);
    for (const QString &piece : pieces)
        QVERIFY(fm.boundingRect(QRect(), Qt::TextSingleLine, piece).width() <= 500);

    QStringList words;
    for (int i = 0; i < 120; ++i)
        words << QStringLiteral("word%1").arg(i);
    box->setMessage(words.join(QLatin1Char(' ')));
    const QStringList lines = box->displayText().split(QLatin1Char('\n'));
    QVERIFY(lines.size() > 1);
    QStringList rejoined;
    for (const QString &line : lines) {
        QVERIFY(fm.boundingRect(QRect(), Qt::TextSingleLine, line).width() <= 500);
        rejoined << line.split(QLatin1Char(' '));
    }
    QCOMPARE(rejoined, words); // broken only between words
}

void TestMessageBox::emptyLinesAreKept()
{
    QScopedPointer<QZTMessageBox> box(
        makeBox(QZTMessageBox::NoIcon, QZTMessageBox::StyleOk, QStringLiteral("first\n\nsecond")));
    QCOMPARE(box->displayText(), QStringLiteral("first\n\nsecond"));
    const QFontMetrics fm(box->messageFont());
    box->show();
    QVERIFY(box->getTextRect().height() >= 3 * fm.height() + 40 - 3);
}

void TestMessageBox::textStartsAfterIconColumn_data()
{
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("textLeft");
    QTest::newRow("no icon (0)") << 0 << 8;
    QTest::newRow("no icon (2)") << 2 << 8;
    QTest::newRow("error icon: 40 + 40") << 4 << 8 + 40 + 40;
}

void TestMessageBox::textStartsAfterIconColumn()
{
    QFETCH(int, icon);
    QFETCH(int, textLeft);
    QScopedPointer<QZTMessageBox> box(
        makeBox(QZTMessageBox::Icon(icon), QZTMessageBox::StyleOk, QStringLiteral("A short message")));
    box->show();
    QCOMPARE(box->getTextRect().left(), textLeft);
    QCOMPARE(box->getIconRect().width(), icon == 4 ? 80 : 0);
}

void TestMessageBox::staysOnTopWithItsParent()
{
    QWidget parent;
    parent.setWindowFlags(parent.windowFlags() | Qt::WindowStaysOnTopHint);
    parent.resize(600, 400);
    parent.show();
    bool onTop = false;
    whenModal([&](QZTMessageBox *box) {
        onTop = box->windowFlags() & Qt::WindowStaysOnTopHint;
        box->OnBtnClose();
    });
    QZTMessageBox::ShowMessage(&parent, QStringLiteral("T"), QStringLiteral("M"), QZTMessageBox::Success,
                               QZTMessageBox::StyleOk);
    QVERIFY(onTop);
}

void TestMessageBox::centresOnlyOnFirstShow()
{
    QScopedPointer<QZTMessageBox> box(makeBox(QZTMessageBox::NoIcon, QZTMessageBox::StyleOk, QStringLiteral("m")));
    box->show();
    box->move(13, 17);
    box->hide();
    box->show();
    QCOMPARE(box->pos(), QPoint(13, 17));
}

RS_TEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
