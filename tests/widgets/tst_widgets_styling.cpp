// Start-up configuration, the light and dark styling routines, the tag-image button and the message
// dialog: what each routine leaves on the control, against the bundle's skin images.

#include "QIAnyUtil.h"
#include "QInitCtrlStyle.h"
#include "QInitProject.h"
#include "QProjectConfig.h"
#include "QVEInitCtrlStyle.h"
#include "QZTBaseButton.h"
#include "QZTButtonExtend.h"
#include "QZTCheckBox.h"
#include "QZTComboBox.h"
#include "QZTDialog.h"
#include "QZTLineEdit.h"
#include "QZTMessageBox.h"
#include "QZTMessageDlg.h"
#include "QZTRadioButton.h"
#include "QZTScrollBar.h"
#include "TestSupport.h"
#include "UserPicture.h"
#include "WidgetTestKit.h"

#include <QApplication>
#include <QBuffer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {
QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}
} // namespace

class TestStyling : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + "/Contents"); }

    void initProjectFillsConfiguration_data()
    {
        QTest::addColumn<bool>("withWidget");
        QTest::newRow("with the main window") << true;
        QTest::newRow("without a widget") << false;
    }
    void initProjectFillsConfiguration()
    {
        QFETCH(bool, withWidget);
        QProjectConfig::releaseProjectConfig();
        QFont before = QProjectConfig::getProjectConfig()->font();
        QWidget window;
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(17);
        window.setFont(font);
        QInitProject::InitProject(withWidget ? &window : nullptr);
        QProjectConfig *config = QProjectConfig::getProjectConfig();
        QCOMPARE(config->companyName(), QStringLiteral("Quorvane"));
        QCOMPARE(config->projectName(), QStringLiteral("Quorvane Reelsplice"));
        QCOMPARE(config->projectShortName(), QStringLiteral("Reelsplice"));
        QCOMPARE(config->getTransparentMargins(), QMargins(8, 8, 8, 8));
        QCOMPARE(config->dlgTop(), 22);
        QCOMPARE(config->dlgBottom(), 50);
        QCOMPARE(config->font().pixelSize() == 17, withWidget);
        if (!withWidget)
            QCOMPARE(config->font(), before);
    }

    void messageBoxGetsTheStyling()
    {
        QInitProject::InitProject(nullptr);
        QZTMessageBox box;
        box.setButtonStyle(QZTMessageBox::StyleYesNo);
        QCOMPARE(box.getTitle(), QStringLiteral("Quorvane Reelsplice"));
        QStringList texts;
        for (QZTBaseButton *b : box.findChildren<QZTBaseButton *>())
            texts << b->text();
        QVERIFY(texts.contains(QStringLiteral("YES")));
        QVERIFY(texts.contains(QStringLiteral("NO")));
        QCOMPARE(box.palette().color(QPalette::Active, QPalette::WindowText), QColor(255, 255, 255));
        QCOMPARE(box.font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(box.font().pixelSize(), 12);
    }

    void optionCallback()
    {
        MessageBoxOptionCallback(nullptr); // ignored
        QZTMessageBoxOption option;
        option.buttonMargin = 33;
        MessageBoxOptionCallback(&option);
        QCOMPARE(option.okText, QStringLiteral("OK"));
        QCOMPARE(option.cancelText, QStringLiteral("Cancel"));
        QCOMPARE(option.buttonTextColors[3], QColor(111, 111, 111));
        QCOMPARE(option.closeButtonOffsetX, 1);
        QCOMPARE(option.closeButtonOffsetY, 1);
        QCOMPARE(option.iconOffset, -7);
        QCOMPARE(option.messageFont.pixelSize(), 12);
        QCOMPARE(option.buttonMargin, 33); // left as the box set it
        QCOMPARE(option.palette.color(QPalette::Disabled, QPalette::Text), QColor(255, 255, 255));
    }

    void initPaletteKeepsDisabledWindowText_data()
    {
        QTest::addColumn<int>("role");
        QTest::newRow("text") << int(QPalette::Text);
        QTest::newRow("window text") << int(QPalette::WindowText);
    }
    void initPaletteKeepsDisabledWindowText()
    {
        QFETCH(int, role);
        QLabel label;
        QInitCtrlStyle::InitPalette(&label, QPalette::ColorRole(role), QColor(1, 2, 3));
        QCOMPARE(label.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(167, 167, 167));
        QCOMPARE(label.palette().color(QPalette::Active, QPalette::ColorRole(role)), QColor(1, 2, 3));
        QVEInitCtrlStyle::SetPalette(&label, QPalette::WindowText, QColor(9, 9, 9));
        QCOMPARE(label.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(9, 9, 9));
    }

    void buttonSizes_data()
    {
        QTest::addColumn<int>("routine");
        QTest::addColumn<QSize>("expected"); // empty: the size the strip gives the button
        QTest::newRow("InitZTButton resizes to 0 x 30") << 0 << QSize(0, 30);
        QTest::newRow("InitZTButton1 keeps the strip's size") << 1 << QSize();
    }
    void buttonSizes()
    {
        QFETCH(int, routine);
        QFETCH(QSize, expected);
        QZTBaseButton button;
        button.setButtonImage(QIAnyUtil::getResourcePath() + "/pic/btn_common.png", true);
        button.resize(55, 21);
        if (routine == 0)
            QInitCtrlStyle::InitZTButton(&button, 0, 30);
        else
            QInitCtrlStyle::InitZTButton1(&button, 0, 30);
        QZTBaseButton reference;
        reference.setButtonImage(QIAnyUtil::getResourcePath() + "/image/Common_bg/btn_common1.png", true);
        QCOMPARE(button.size(), expected.isValid() ? expected : reference.size());
        QCOMPARE(button.font().family(), QStringLiteral("Tahoma"));
        QVERIFY(!button.buttonImage().isNull());
    }

    void dialogRoutines()
    {
        QZTDialog plain(nullptr, 1);
        InitDlg(&plain);
        QVERIFY(plain.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(plain.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(plain.stretchPolicy(), 0);
        QCOMPARE(plain.font().pixelSize(), 12);
        QCOMPARE(plain.palette().color(QPalette::Active, QPalette::WindowText), QColor(255, 255, 255));

        QZTDialog first(nullptr, 1);
        QInitCtrlStyle::InitBg1(&first);
        QCOMPARE(first.stretchPolicy(), 0); // InitDlg runs after the resizable background
        QVERIFY(first.width() > 0);

        QZTDialog player(nullptr, 1);
        QInitCtrlStyle::InitBg3(&player);
        QCOMPARE(player.stretchPolicy(), 3); // kept from loading the resizable background
        QVERIFY(!player.testAttribute(Qt::WA_TranslucentBackground));

        // Null controls are ignored by every routine.
        InitDlg(static_cast<QZTDialog *>(nullptr));
        QInitCtrlStyle::InitBg2(static_cast<QZTDialog *>(nullptr));
        QInitCtrlStyle::InitZTButton(nullptr, 1, 1);
        QInitCtrlStyle::InitZTCombox1(nullptr, 1, 1, QString());
        QInitCtrlStyle::InitZtScrollBar(nullptr);
        QInitCtrlStyle::InitFont(nullptr, 12);
        QVEInitCtrlStyle::SetLabel(nullptr, QStringLiteral("x"), 12);
        QVEInitCtrlStyle::InitZTCheckCombox(nullptr);
        QVEInitCtrlStyle::SetZTButtonEx(nullptr, 1, 1);
    }

    // The combo routines set the font between style-sheet changes; the combo must keep it when shown.
    void comboRoutinesKeepTheirFont_data()
    {
        QTest::addColumn<int>("routine");
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("light") << 0 << 12;
        QTest::newRow("light, own image") << 1 << 12;
        QTest::newRow("dark") << 2 << 11;
    }
    void comboRoutinesKeepTheirFont()
    {
        QFETCH(int, routine);
        QFETCH(int, pixelSize);
        QZTDialog dlg(nullptr, 1);
        QInitCtrlStyle::InitBg1(&dlg);
        auto *combo = new QZTComboBox(&dlg);
        if (routine == 0)
            QInitCtrlStyle::InitZTCombox(combo, 160, 22);
        else if (routine == 1)
            QInitCtrlStyle::InitZTCombox1(combo, 160, 22, QString());
        else
            QVEInitCtrlStyle::SetQZTComboBox(combo);
        combo->addItems({QStringLiteral("English"), QStringLiteral("Deutsch")});
        dlg.show();
        QCOMPARE(combo->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(combo->font().pixelSize(), pixelSize);
    }

    void boxTextColours_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QColor>("enabled");
        QTest::addColumn<QColor>("disabled");
        QTest::newRow("light") << false << QColor(53, 53, 53) << QColor(167, 167, 167);
        QTest::newRow("dark") << true << QColor(255, 255, 255) << QColor(101, 101, 101);
    }
    void boxTextColours()
    {
        QFETCH(bool, dark);
        QFETCH(QColor, enabled);
        QFETCH(QColor, disabled);
        QZTCheckBox box;
        QZTRadioButton radio;
        if (dark) {
            QVEInitCtrlStyle::SetCheckBox(&box);
            QVEInitCtrlStyle::SetRadioButton(&radio);
        } else {
            QInitCtrlStyle::InitCheckBox(&box);
            QInitCtrlStyle::InitRadio(&radio);
        }
        for (QWidget *w : {static_cast<QWidget *>(&box), static_cast<QWidget *>(&radio)}) {
            QCOMPARE(w->palette().color(QPalette::Active, QPalette::WindowText), enabled);
            QCOMPARE(w->palette().color(QPalette::Disabled, QPalette::WindowText), disabled);
            QCOMPARE(w->font().pixelSize(), 12);
        }
    }

    void labels()
    {
        QLabel label;
        label.resize(10, 17);
        QVEInitCtrlStyle::SetLabel(&label, QStringLiteral("Brightness"), 12);
        QFont expected = label.font();
        QCOMPARE(expected.family(), QStringLiteral("Tahoma"));
        QCOMPARE(label.width(), QFontMetrics(expected).horizontalAdvance(QStringLiteral("Brightness")));
        QCOMPARE(label.height(), 17);
        QCOMPARE(label.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(255, 255, 255));
        QLabel other;
        other.resize(10, 17);
        QVEInitCtrlStyle::SetLabel2(&other, QStringLiteral("Brightness"), 12);
        QCOMPARE(other.size(), QSize(10, 17));
        QCOMPARE(other.text(), QStringLiteral("Brightness"));
    }

    void darkScrollBarKeepsOtherFields()
    {
        QZTScrollBar bar;
        QZTScrollBarStyleAttribute attribute = bar.styleAttribute();
        attribute.width = 17;
        bar.setStyleAttribute(attribute);
        QVEInitCtrlStyle::SetQZTScrollBar(&bar);
        QCOMPARE(bar.styleAttribute().width, 17);
        QCOMPARE(bar.styleAttribute().grooveColor, QColor(37, 37, 37));
        QCOMPARE(bar.styleAttribute().handleInset, 1);
        QInitCtrlStyle::InitZtScrollBar(&bar);
        QCOMPARE(bar.styleAttribute().grooveColor, QColor(240, 240, 240));
        QCOMPARE(bar.styleAttribute().arrowColors[0], QColor(214, 214, 214));
    }

    void tagFitting_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("wide") << QSize(200, 100) << QRect(0, 31, 125, 62);
        QTest::newRow("tall") << QSize(100, 200) << QRect(31, 0, 62, 125);
        QTest::newRow("square") << QSize(50, 50) << QRect(0, 0, 125, 125);
    }
    void tagFitting()
    {
        QFETCH(QSize, picture);
        QFETCH(QRect, expected);
        QCOMPARE(QZTButtonExtend::fittedRect(QRect(0, 0, 125, 125), picture.width(), picture.height()), expected);
    }

    void tagImages()
    {
        QZTButtonExtend button;
        button.resize(125, 125);
        button.setBackgroundColor(QColor(37, 37, 37));
        const QString red = wtk::makeSolid(QStringLiteral("tagred"), 200, 100, Qt::red);
        QVERIFY(button.setTagImg(QRect(0, 0, 125, 125), red));
        QImage shot = wtk::render(&button);
        QVERIFY(wtk::near(shot.pixelColor(60, 60), Qt::red));
        QCOMPARE(shot.pixelColor(60, 10), QColor(37, 37, 37));
        // A file that does not load keeps the picture.
        QVERIFY(!button.setTagImg(QRect(0, 0, 125, 125), wtk::makeBroken(QStringLiteral("tagbroken"))));
        QVERIFY(wtk::near(wtk::render(&button).pixelColor(60, 60), Qt::red));
        // Swatch over the picture.
        button.setIconColor(Qt::blue);
        button.setIconColorRect(QRect(50, 50, 20, 20));
        shot = wtk::render(&button);
        QVERIFY(wtk::near(shot.pixelColor(60, 60), Qt::blue));
        QCOMPARE(shot.pixelColor(50, 60), QColor(128, 128, 128));
        // Bytes: a PNG shows, garbage clears.
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(10, 10, QImage::Format_RGB32).save(&buffer, "PNG");
        QVERIFY(button.setTagImg(QRect(0, 0, 125, 125), png.toStdString()));
        QVERIFY(!button.setTagImg(QRect(0, 0, 125, 125), std::string("garbage")));
        QVERIFY(!button.setTagImg(QRect(0, 0, 125, 125), QImage()));
        QVERIFY(!button.setTagImg(QRect(0, 0, 125, 125), QString()));
    }

    // Users' pictures are decoded no larger than where they are shown; absurd declared sizes are refused
    // before any pixel is decoded (a 275 kB file can declare a gigabyte of pixels).
    void userPictures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QSize>("expected"); // invalid: refused
        QImage huge(16000, 16000, QImage::Format_Mono);
        huge.fill(0);
        const QByteArray hugePng = encoded(huge, "PNG");
        QTest::newRow("16000 x 16000 PNG") << hugePng << int(Qt::KeepAspectRatio) << QSize();
        QTest::newRow("its header alone") << hugePng.left(69) << int(Qt::KeepAspectRatio) << QSize();
        QImage wide(4000, 1000, QImage::Format_RGB32);
        wide.fill(Qt::green);
        const QByteArray wideJpeg = encoded(wide, "JPEG");
        QTest::newRow("wide JPEG inside") << wideJpeg << int(Qt::KeepAspectRatio) << QSize(250, 62);
        QTest::newRow("wide JPEG covering") << wideJpeg << int(Qt::KeepAspectRatioByExpanding) << QSize(1000, 250);
        QTest::newRow("small PNG as it is")
            << encoded(QImage(10, 10, QImage::Format_RGB32), "PNG") << int(Qt::KeepAspectRatio) << QSize(10, 10);
        QTest::newRow("no picture") << QByteArray("garbage") << int(Qt::KeepAspectRatio) << QSize();
    }
    void userPictures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, mode);
        QFETCH(QSize, expected);
        const QImage picture = UserPicture::fromData(bytes, QSize(250, 250), Qt::AspectRatioMode(mode));
        QCOMPARE(picture.isNull() ? QSize() : picture.size(), expected);
        // The cover button shows what is decoded and refuses the rest.
        QZTButtonExtend button;
        QCOMPARE(button.setTagImg(QRect(0, 0, 125, 125), bytes.toStdString()), expected.isValid());
    }

    void noSwatchByDefault()
    {
        QZTButtonExtend plain;
        plain.resize(40, 20);
        QZTBaseButton base;
        base.resize(40, 20);
        QCOMPARE(wtk::render(&plain), wtk::render(&base));
        QVEInitCtrlStyle::SetZTButtonEx(&plain, 75, 22);
        QCOMPARE(plain.size(), QSize(75, 22));
    }

    void messageDialogLayout_data()
    {
        QTest::addColumn<unsigned>("style");
        QTest::addColumn<bool>("cancelShown");
        QTest::addColumn<QString>("okText");
        QTest::newRow("OK only") << 0u << false << QStringLiteral("OK");
        QTest::newRow("yes/no") << 0x400u << true << QStringLiteral("YES");
        QTest::newRow("restart") << 0x200u << true << QStringLiteral("Restart");
    }
    void messageDialogLayout()
    {
        QFETCH(unsigned, style);
        QFETCH(bool, cancelShown);
        QFETCH(QString, okText);
        QZTMessageDlg dlg;
        dlg.SetMessage(QStringLiteral("Done."));
        dlg.SetMessageStyle(style);
        dlg.show();
        QCOMPARE(dlg.size(), QSize(307, 190));
        QCOMPARE(dlg.m_btnCancel->isVisible(), cancelShown);
        QCOMPARE(dlg.m_btnOk->getBtnText(), okText);
        if (!cancelShown)
            QCOMPARE(dlg.width() - dlg.m_btnOk->geometry().right() - 1, 25);
        const QRect message = dlg.messageRect();
        QVERIFY(qAbs((message.left() + message.right()) / 2 - 153) <= 1);
        // The images come from the bundle's resource folder.
        QCOMPARE(dlg.m_btnClose->size(), QSize(14, 14));
        dlg.close();
    }

    void messageDialogWidensForLongText()
    {
        QZTMessageDlg dlg;
        dlg.SetMessage(QString(60, QLatin1Char('W')));
        dlg.show();
        const QRect message = dlg.messageRect();
        QCOMPARE(message.left(), 40);
        QVERIFY(message.width() - 1 <= 520);
        QCOMPARE(dlg.width(), message.width() - 1 + 81);
        dlg.close();
    }

    void messageDialogBackgroundFailureKeepsLook()
    {
        QZTMessageDlg dlg;
        QVERIFY(dlg.setBackgroundImage(wtk::makeNineGrid(QStringLiteral("msgbg"), 300, 300)));
        const QImage before = wtk::render(&dlg);
        QVERIFY(wtk::near(before.pixelColor(2, dlg.height() - 3), Qt::red)); // a corner of the nine-grid
        QVERIFY(!dlg.setBackgroundImage(wtk::makeBroken(QStringLiteral("msgbroken"))));
        QCOMPARE(wtk::render(&dlg), before);
    }

    void messageDialogResults_data()
    {
        QTest::addColumn<unsigned>("style");
        QTest::addColumn<int>("button"); // 0 ok, 1 cancel, 2 close
        QTest::addColumn<int>("result");
        QTest::newRow("yes") << 0x400u << 0 << int(QMessageBox::Yes);
        QTest::newRow("no") << 0x400u << 1 << int(QMessageBox::No);
        QTest::newRow("close is no") << 0x400u << 2 << int(QMessageBox::No);
        QTest::newRow("ok") << 0u << 0 << int(QMessageBox::Ok);
        QTest::newRow("stop") << 0x100u << 1 << int(QMessageBox::Cancel);
    }
    void messageDialogResults()
    {
        QFETCH(unsigned, style);
        QFETCH(int, button);
        QFETCH(int, result);
        QZTMessageDlg dlg;
        dlg.SetMessageStyle(style);
        QPushButton *target = button == 0   ? static_cast<QPushButton *>(dlg.m_btnOk)
                              : button == 1 ? static_cast<QPushButton *>(dlg.m_btnCancel)
                                            : static_cast<QPushButton *>(dlg.m_btnClose);
        QTimer::singleShot(0, target, &QPushButton::click);
        QTimer::singleShot(2000, &dlg, [&dlg] { dlg.done(-1); }); // never hang the test
        QCOMPARE(dlg.exec(), result);
    }

    void restartDoesNotClose()
    {
        QZTMessageDlg dlg;
        dlg.SetMessageStyle(0x200);
        dlg.show();
        dlg.m_btnOk->click();
        QVERIFY(dlg.isVisible());
        dlg.close();
    }

    void plainShowMessage_data()
    {
        QTest::addColumn<bool>("nullTexts");
        QTest::newRow("texts") << false;
        QTest::newRow("null pointers") << true;
    }
    void plainShowMessage()
    {
        QFETCH(bool, nullTexts);
        QString seenTitle = QStringLiteral("unset");
        QTimer::singleShot(0, [&seenTitle] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seenTitle = box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        });
        const int result = nullTexts ? ShowMessage(nullptr, nullptr, 0x400) : ShowMessage("Saved", "Title", 0x400);
        QCOMPARE(result, int(QMessageBox::Ok));
        QCOMPARE(seenTitle, nullTexts ? QString() : QStringLiteral("Title"));
    }
};

RS_TEST_MAIN(TestStyling)
#include "tst_widgets_styling.moc"
