// Image-strip buttons, text image buttons, the counter badge, the slider handle and the two-image check
// button: sizes from their strips, the frame painted for each state, failed loads, and click behaviour.

#include "QCheckButton.h"
#include "QIAnyUtil.h"
#include "QImageButton.h"
#include "QImageButtonEx.h"
#include "QSliderCtrlBtn.h"
#include "QTextImageButton.h"
#include "TestSupport.h"
#include "WidgetTestKit.h"

#include <QLabel>
#include <QPainter>
#include <QSignalSpy>

class TestButtons : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qRegisterMetaType<QMouseEvent *>();
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + "/Contents");
    }

    void stripSizes_data()
    {
        QTest::addColumn<int>("frameW");
        QTest::addColumn<int>("frameH");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("400x80 strip") << 100 << 80 << QSize(50, 40);
        QTest::newRow("320x60 strip") << 80 << 60 << QSize(40, 30);
        QTest::newRow("odd pixels") << 33 << 21 << QSize(66 / 4, 10);
    }
    void stripSizes()
    {
        QFETCH(int, frameW);
        QFETCH(int, frameH);
        QFETCH(QSize, expected);
        const QString path = wtk::makeStrip(QStringLiteral("size_%1_%2").arg(frameW).arg(frameH), frameW, frameH);
        QImageButton image;
        QVERIFY(image.setBtnImage(path));
        QCOMPARE(image.size(), expected);
        QTextImageButton text;
        QVERIFY(text.setBtnImage(path));
        QCOMPARE(text.size(), expected);
        QCOMPARE(text.textRect(), QRect(QPoint(0, 0), expected));
        QSliderCtrlBtn handle;
        QVERIFY(handle.setBtnImage(path));
        QCOMPARE(handle.size(), expected);
    }

    void brokenImageKeepsPrevious_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::newRow("missing") << QStringLiteral("/nonexistent/strip.png");
        QTest::newRow("undecodable") << wtk::makeBroken(QStringLiteral("broken_strip"));
        QTest::newRow("empty path") << QString();
    }
    void brokenImageKeepsPrevious()
    {
        QFETCH(QString, bad);
        const QString good = wtk::makeStrip(QStringLiteral("good"), 60, 40);
        QImageButton image;
        QVERIFY(image.setBtnImage(good));
        QVERIFY(!image.setBtnImage(bad));
        QCOMPARE(image.size(), QSize(30, 20));
        QCOMPARE(wtk::shownFrame(&image), 0);

        QTextImageButton text;
        QVERIFY(text.setBtnImage(good));
        QVERIFY(!text.setBtnImageForRect(bad, QRect(0, 0, 90, 30)));
        QVERIFY(!text.setBtnImageAndText(bad, QStringLiteral("x"), 12));
        QCOMPARE(text.size(), QSize(30, 20));
        QCOMPARE(wtk::shownFrame(&text), 0);
        QVERIFY(text.getBtnText().isEmpty());

        QSliderCtrlBtn handle;
        QVERIFY(handle.setBtnImage(good));
        QVERIFY(!handle.setBtnImage(bad));
        QCOMPARE(handle.size(), QSize(30, 20));
    }

    // Frames of each state: normal, hover, pressed, release back to normal, disabled (or pressed look with
    // the over-state flag), enabled again.
    void stateFrames_data()
    {
        QTest::addColumn<int>("kind"); // 0 QImageButton, 1 QTextImageButton, 2 QSliderCtrlBtn
        QTest::addColumn<bool>("overState");
        QTest::newRow("image button") << 0 << false;
        QTest::newRow("image button, over state") << 0 << true;
        QTest::newRow("text button") << 1 << false;
        QTest::newRow("text button, over state") << 1 << true;
        QTest::newRow("slider handle") << 2 << false;
    }
    void stateFrames()
    {
        QFETCH(int, kind);
        QFETCH(bool, overState);
        const QString path = wtk::makeStrip(QStringLiteral("states"), 60, 40);
        QImageButton image;
        QTextImageButton text;
        QSliderCtrlBtn handle;
        QWidget *w = kind == 0   ? static_cast<QWidget *>(&image)
                     : kind == 1 ? static_cast<QWidget *>(&text)
                                 : static_cast<QWidget *>(&handle);
        image.setBtnImage(path);
        text.setBtnImage(path);
        handle.setBtnImage(path);
        image.setOverState(overState);
        text.setOverState(overState);
        wtk::Host host(w);

        QCOMPARE(wtk::shownFrame(w), 0);
        wtk::hover(w, QPoint(5, 5));
        QCOMPARE(wtk::shownFrame(w), 1);
        rstest::pressAt(w, QPoint(5, 5));
        QCOMPARE(wtk::shownFrame(w), 2);
        rstest::releaseAt(w, QPoint(5, 5));
        QCOMPARE(wtk::shownFrame(w), 0); // normal although the pointer is still inside
        w->setEnabled(false);
        QCOMPARE(wtk::shownFrame(w), overState ? 2 : 3);
        w->setEnabled(true);
        QCOMPARE(wtk::shownFrame(w), 0);
    }

    void rightButtonDoesNotPress()
    {
        QImageButton image;
        image.setBtnImage(wtk::makeStrip(QStringLiteral("right"), 60, 40));
        wtk::Host host(&image);
        rstest::pressAt(&image, QPoint(5, 5), Qt::RightButton);
        QCOMPARE(image.btnState(), 0);
        rstest::releaseAt(&image, QPoint(5, 5), Qt::RightButton);
    }

    void imageButtonReportsMovesOnlyWhilePressed()
    {
        QWidget host;
        auto *image = new QImageButton(&host);
        image->setBtnImage(wtk::makeStrip(QStringLiteral("move"), 60, 40));
        image->move(10, 10);
        host.show();
        QSignalSpy moves(image, &QImageButton::mouseMove);
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        wtk::hover(image, QPoint(4, 4));
        QCOMPARE(moves.count(), 0);
        rstest::pressAt(image, QPoint(7, 4));
        rstest::moveTo(image, QPoint(12, 4));
        QCOMPARE(moves.count(), 1);
        QCOMPARE(moves.at(0).at(1).toInt(), 7);
        rstest::releaseAt(image, QPoint(12, 4));
    }

    void animationLabel()
    {
        QImageButton image;
        image.setAnimationStart(true);
        QVERIFY(!image.getAnimationState());
        image.setBtnImage(wtk::makeStrip(QStringLiteral("anim"), 100, 80));
        image.setBtnanimation(3, 4, wtk::makeSolid(QStringLiteral("gif"), 8, 8, Qt::red));
        const QList<QLabel *> labels = image.findChildren<QLabel *>();
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first()->geometry(), QRect(3, 4, 100, 80));
        image.setAnimationStart(true);
        QVERIFY(image.getAnimationState());
        // A second animation replaces the first instead of stacking labels.
        image.setBtnanimation(0, 0, wtk::makeSolid(QStringLiteral("gif2"), 8, 8, Qt::red));
        QCOMPARE(image.findChildren<QLabel *>().size(), 1);
    }

    void captionNeedsStrip()
    {
        QImageButton image;
        image.resize(40, 20);
        image.setBtnText(QRect(0, 0, 40, 20), QStringLiteral("WWWW"), true);
        const QImage shot = wtk::render(&image);
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                QCOMPARE(qAlpha(shot.pixel(x, y)), 0);
    }

    void textButtonCheckedShowsPressedLook_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("enabled") << true;
        QTest::newRow("disabled") << false;
    }
    void textButtonCheckedShowsPressedLook()
    {
        QFETCH(bool, enabled);
        QTextImageButton text;
        text.setBtnImage(wtk::makeStrip(QStringLiteral("checked"), 60, 40));
        text.setTextColor(Qt::white, Qt::yellow, Qt::cyan, Qt::gray);
        text.setEnabled(enabled);
        text.setCheckState(true);
        QCOMPARE(wtk::shownFrame(&text), 2);
        QCOMPARE(text.currentTextColor(), QColor(Qt::cyan));
    }

    void textButtonGridKeepsCorners()
    {
        // 320x60 strip: frame 80x60 pixels = 40x30 logical, corners 10x10; stretched to 120x30 the corner
        // stays 10 wide and the middle band stretches.
        QImage strip(320, 60, QImage::Format_ARGB32);
        strip.fill(QColor(0, 0, 255));
        {
            QPainter p(&strip);
            for (int k = 0; k < 4; ++k)
                p.fillRect(k * 80, 0, 20, 20, QColor(255, 0, 0)); // top-left corner of each frame
        }
        const QString path = rstest::scratchDir(QStringLiteral("grid")) + "/grid.png";
        strip.save(path);
        QTextImageButton text;
        QVERIFY(text.setBtnImageForRect(path, QRect(0, 0, 120, 30)));
        QCOMPARE(text.size(), QSize(120, 30));
        const QImage shot = wtk::render(&text);
        QVERIFY(wtk::near(shot.pixelColor(5, 5), QColor(255, 0, 0)));
        QVERIFY(wtk::near(shot.pixelColor(14, 5), QColor(0, 0, 255)));
        QVERIFY(wtk::near(shot.pixelColor(60, 15), QColor(0, 0, 255)));
        text.setBtnImageForRect(path, QRect());
        QCOMPARE(text.size(), QSize(40, 30)); // empty rectangle: like setBtnImage
    }

    void textAlignment_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<bool>("centred");
        QTest::newRow("left 0 centres") << 0 << true;
        QTest::newRow("left 6 left-aligns") << 6 << false;
    }
    void textAlignment()
    {
        QFETCH(int, left);
        QFETCH(bool, centred);
        QTextImageButton text;
        text.setBtnImageForRect(wtk::makeSolid(QStringLiteral("black"), 800, 80, Qt::black), QRect(0, 0, 200, 40));
        text.setTextColor(Qt::white);
        text.setBtnText(QStringLiteral("Ok"));
        text.setTextRect(QRect(left, 0, 200 - left, 40));
        const QImage shot = wtk::render(&text);
        int firstX = -1;
        for (int x = 0; x < shot.width() && firstX < 0; ++x)
            for (int y = 0; y < shot.height(); ++y)
                if (qGray(shot.pixel(x, y)) > 128) {
                    firstX = x;
                    break;
                }
        QVERIFY(firstX >= 0);
        if (centred)
            QVERIFY2(firstX > 80, qPrintable(QString::number(firstX)));
        else
            QVERIFY2(firstX >= left && firstX < left + 6, qPrintable(QString::number(firstX)));
    }

    void badgeCount_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("hundred") << 100;
    }
    void badgeCount()
    {
        QFETCH(int, clicks);
        const QString path = wtk::makeStrip(QStringLiteral("badge"), 120, 60);
        QTextImageButton plain;
        plain.setBtnImage(path);
        QImageButtonEx badge;
        badge.setBtnImage(path);
        for (int i = 0; i < clicks; ++i)
            badge.addItemCount();
        QCOMPARE(badge.count(), clicks);
        const QImage a = wtk::render(&plain);
        const QImage b = wtk::render(&badge);
        // The badge sits at (width - 22, 5) and is 20 x 20.
        const QRect badgeArea(badge.width() - 22, 5, 20, 20);
        bool differs = false;
        for (int y = badgeArea.top(); y <= badgeArea.bottom(); ++y)
            for (int x = badgeArea.left(); x <= badgeArea.right(); ++x)
                differs = differs || a.pixel(x, y) != b.pixel(x, y);
        QCOMPARE(differs, clicks > 0);
        badge.resetCount();
        QCOMPARE(wtk::render(&badge), a);
    }

    void checkButtonBehaviour_data()
    {
        QTest::addColumn<bool>("radio");
        QTest::addColumn<bool>("checkedAfterPress");
        QTest::newRow("check box unchecks") << false << false;
        QTest::newRow("radio stays checked") << true << true;
    }
    void checkButtonBehaviour()
    {
        QFETCH(bool, radio);
        QFETCH(bool, checkedAfterPress);
        QCheckButton button;
        button.setButtonType(radio);
        QSignalSpy clicked(&button, &QCheckButton::clicked);
        button.setChecked(true);
        QCOMPARE(clicked.count(), 0);
        wtk::Host host(&button);
        rstest::clickAt(&button, QPoint(1, 1));
        QCOMPARE(button.isChecked(), checkedAfterPress);
        QCOMPARE(clicked.count(), 1);
        rstest::clickAt(&button, QPoint(1, 1));
        QCOMPARE(button.isChecked(), true);
        QCOMPARE(button.checkState(), 2);
    }

    void checkButtonImages_data()
    {
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QRect>("imageRect");
        QTest::addColumn<int>("textLeft");
        QTest::newRow("40x40 image") << true << QRect(0, 0, 20, 20) << 25;
        QTest::newRow("missing image") << false << QRect(0, 0, 0, 0) << 5;
    }
    void checkButtonImages()
    {
        QFETCH(bool, loads);
        QFETCH(QRect, imageRect);
        QFETCH(int, textLeft);
        QCheckButton button;
        button.resize(120, 30);
        const QString on = loads ? wtk::makeSolid(QStringLiteral("on"), 40, 40, Qt::red) : QStringLiteral("/no/on.png");
        const QString off =
            loads ? wtk::makeSolid(QStringLiteral("off"), 40, 40, Qt::blue) : QStringLiteral("/no/off.png");
        QCOMPARE(button.setCheckImage(on, off), loads);
        QCOMPARE(button.imageRect(), imageRect);
        QCOMPARE(button.textRect().left(), textLeft);
        if (loads) {
            // Vertically centred at the left: rows 5..24.
            QVERIFY(wtk::near(wtk::render(&button).pixelColor(10, 15), QColor(Qt::blue)));
            QCOMPARE(qAlpha(wtk::render(&button).pixel(10, 2)), 0);
            button.setChecked(true);
            QVERIFY(wtk::near(wtk::render(&button).pixelColor(10, 15), QColor(Qt::red)));
        }
    }

    void checkButtonTextWithoutImages()
    {
        QCheckButton button;
        button.resize(100, 20);
        button.setTextColor(Qt::white);
        button.setText(QStringLiteral("Mode"));
        wtk::render(&button);
        QCOMPARE(button.textRect(), QRect(0, 0, 100, 20)); // repaired to the whole widget
        const QSize before = button.size();
        QCheckButton empty;
        empty.resize(before);
        empty.adjustSize();
        QCOMPARE(empty.size(), before);
        button.adjustSize();
        QVERIFY(button.width() > 5 && button.width() < 100);
    }
};

RS_TEST_MAIN(TestButtons)
#include "tst_widgets_buttons.moc"
