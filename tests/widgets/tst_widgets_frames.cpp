// Frames of the small windows: the nine-point image dialog, the variable-size window, the image widget
// and image dialog: sizes from their backgrounds, nine-grid pieces, title placement, dragging by the top
// band, edge resizing and maximising.

#include "FramelessScreen.h"
#include "QImageButton.h"
#include "QImageDialog.h"
#include "QImageWidget.h"
#include "QNinePointsImageDialog.h"
#include "QVariableSizeWidget.h"
#include "TestSupport.h"
#include "WidgetTestKit.h"
#include "WindowInput.h"

#include <QSignalSpy>

class TestFrames : public QObject
{
    Q_OBJECT
private:
    // Input at a screen point: the window moves and resizes under the pointer, so its local point is taken
    // afresh for each event.
    static void hover(QWidget *w, const QPoint &global) { rstest::moveTo(w, w->mapFromGlobal(global)); }
    static void press(QWidget *w, const QPoint &global) { rstest::pressAt(w, w->mapFromGlobal(global)); }
    static void release(QWidget *w, const QPoint &global) { rstest::releaseAt(w, w->mapFromGlobal(global)); }
    static void dragTo(QWidget *w, const QPoint &global)
    {
        // Resizing acts on every second move: send two.
        hover(w, global);
        hover(w, global);
    }

private slots:
    void backgroundSizesTheDialog_data()
    {
        QTest::addColumn<bool>("resizable");
        QTest::newRow("fixed") << false;
        QTest::newRow("resizable") << true;
    }
    void backgroundSizesTheDialog()
    {
        QFETCH(bool, resizable);
        QNinePointsImageDialog dlg;
        QVERIFY(dlg.setBackgroundImage(wtk::makeNineGrid(QStringLiteral("bg600"), 600, 400), resizable));
        QCOMPARE(dlg.size(), QSize(300, 200));
        QCOMPARE(dlg.minimumSize() == QSize(300, 200), !resizable);
        QCOMPARE(dlg.topLeftCorner().width, 100);
        QCOMPARE(dlg.topLeftCorner().height, 66);
        QCOMPARE(dlg.titleRect().width(), 300);
        QVERIFY(!dlg.setBackgroundImage(wtk::makeBroken(QStringLiteral("bgbroken")), true));
        QCOMPARE(dlg.size(), QSize(300, 200));
    }

    void nineGridPieces()
    {
        QNinePointsImageDialog dlg;
        dlg.setBackgroundImage(wtk::makeNineGrid(QStringLiteral("bg300"), 300, 300), true); // 150 logical
        dlg.resize(400, 300);
        const QImage shot = wtk::render(&dlg);
        QVERIFY(wtk::near(shot.pixelColor(10, 10), Qt::red)); // corner stays 50x50
        QVERIFY(wtk::near(shot.pixelColor(390, 290), Qt::red));
        QVERIFY(wtk::near(shot.pixelColor(200, 10), Qt::green)); // stretched band
        QVERIFY(wtk::near(shot.pixelColor(200, 150), Qt::blue)); // centre
        QVERIFY(wtk::near(shot.pixelColor(60, 10), Qt::green));
    }

    void titlePlacement_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<bool>("centred");
        QTest::newRow("left 0: centred") << QRect(0, 8, 0, 0) << true;
        QTest::newRow("left 10: left-aligned") << QRect(10, 8, 0, 0) << false;
    }
    void titlePlacement()
    {
        QFETCH(QRect, rect);
        QFETCH(bool, centred);
        QNinePointsImageDialog dlg;
        dlg.resize(300, 100);
        dlg.setTitleRect(rect);
        dlg.setTextColor(Qt::white);
        dlg.setTitle(QStringLiteral("Title"));
        const QImage shot = wtk::render(&dlg);
        int first = -1;
        for (int x = 0; x < shot.width() && first < 0; ++x)
            for (int y = 8; y < 28; ++y)
                if (qAlpha(shot.pixel(x, y)) > 100) {
                    first = x;
                    break;
                }
        QVERIFY(first >= 0);
        if (centred)
            QVERIFY2(first > 100, qPrintable(QString::number(first)));
        else
            QVERIFY2(first >= 10 && first < 16, qPrintable(QString::number(first)));
        QCOMPARE(dlg.titleRect().width(), 300); // the window's width whatever the indent
        QCOMPARE(dlg.titleRect().height(), 20);
    }

    // A 2x logo shows at half its pixel size; one that does not load leaves the shown logo in place.
    void logoAtLogicalSize_data()
    {
        QTest::addColumn<bool>("variableWindow");
        QTest::newRow("nine-point dialog") << false;
        QTest::newRow("variable-size window") << true;
    }
    void logoAtLogicalSize()
    {
        QFETCH(bool, variableWindow);
        QNinePointsImageDialog dlg;
        QVariableSizeWidget window;
        QWidget *w = variableWindow ? static_cast<QWidget *>(&window) : static_cast<QWidget *>(&dlg);
        auto setLogo = [&](const QString &path) {
            return variableWindow ? window.setLogoImage(path) : dlg.setLogoImage(path);
        };
        const QString background = wtk::makeSolid(QStringLiteral("logobg"), 200, 200, Qt::blue);
        QVERIFY(variableWindow ? window.setBackgroundImage(background, false)
                               : dlg.setBackgroundImage(background, false));
        QVERIFY(setLogo(wtk::makeSolid(QStringLiteral("logo"), 40, 40, Qt::red)));
        QVERIFY(!setLogo(wtk::makeBroken(QStringLiteral("logobroken"))));
        QVERIFY(!setLogo(QString()));
        const QImage shot = wtk::render(w);
        QVERIFY(wtk::near(shot.pixelColor(5, 5), Qt::red));
        QVERIFY(wtk::near(shot.pixelColor(18, 18), Qt::red));
        QVERIFY(wtk::near(shot.pixelColor(22, 22), Qt::blue));
        QVERIFY(wtk::near(shot.pixelColor(5, 30), Qt::blue));
    }

    void longTitleIsElided()
    {
        QNinePointsImageDialog dlg;
        dlg.resize(60, 40);
        dlg.setTitleRect(QRect(0, 0, 0, 0));
        dlg.setTextColor(Qt::white);
        dlg.setTitle(QStringLiteral("A title far longer than sixty pixels"));
        const QImage shot = wtk::render(&dlg);
        // Elided to the width: nothing is drawn at the very edges.
        for (int y = 0; y < 20; ++y)
            QVERIFY(qAlpha(shot.pixel(0, y)) < 100);
    }

    void dragByTopBand_data()
    {
        QTest::addColumn<int>("offsetY");
        QTest::addColumn<bool>("moves");
        QTest::newRow("99 drags") << 99 << true;
        QTest::newRow("100 does not") << 100 << false;
    }
    void dragByTopBand()
    {
        QFETCH(int, offsetY);
        QFETCH(bool, moves);
        QNinePointsImageDialog dlg;
        dlg.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        dlg.setGeometry(100, 100, 300, 200);
        dlg.show();
        const QPoint start = dlg.pos();
        const QPoint grab(start.x() + 50, start.y() + offsetY);
        press(&dlg, grab);
        hover(&dlg, grab + QPoint(20, 10));
        release(&dlg, grab + QPoint(20, 10));
        QCOMPARE(dlg.pos() != start, moves);
        if (moves)
            QCOMPARE(dlg.pos(), start + QPoint(20, 10));
    }

    void edgeCursors_data()
    {
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<QPoint>("at"); // relative to the top-left of a 300x200 window
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("state");
        QTest::newRow("left edge") << true << QPoint(2, 100) << int(Qt::SizeHorCursor) << 1;
        QTest::newRow("top-left corner") << true << QPoint(1, 1) << int(Qt::SizeFDiagCursor) << 2;
        QTest::newRow("top edge") << true << QPoint(150, 2) << int(Qt::SizeVerCursor) << 3;
        QTest::newRow("top-right corner") << true << QPoint(298, 1) << int(Qt::SizeBDiagCursor) << 4;
        QTest::newRow("right edge") << true << QPoint(298, 100) << int(Qt::SizeHorCursor) << 5;
        QTest::newRow("bottom-right corner") << true << QPoint(298, 198) << int(Qt::SizeFDiagCursor) << 6;
        QTest::newRow("bottom edge") << true << QPoint(150, 198) << int(Qt::SizeVerCursor) << 7;
        QTest::newRow("bottom-left corner") << true << QPoint(1, 198) << int(Qt::SizeBDiagCursor) << 8;
        QTest::newRow("inside") << true << QPoint(150, 100) << int(Qt::ArrowCursor) << 0;
        QTest::newRow("left edge, no horizontal") << false << QPoint(2, 100) << int(Qt::ArrowCursor) << 0;
        QTest::newRow("corner, no horizontal") << false << QPoint(1, 1) << int(Qt::ArrowCursor) << 0;
        QTest::newRow("bottom, no horizontal") << false << QPoint(150, 198) << int(Qt::SizeVerCursor) << 7;
    }
    void edgeCursors()
    {
        QFETCH(bool, horizontal);
        QFETCH(QPoint, at);
        QFETCH(int, cursor);
        QFETCH(int, state);
        QNinePointsImageDialog dlg;
        dlg.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        dlg.setGeometry(100, 100, 300, 200);
        dlg.setHorizontalEnable(horizontal);
        dlg.show();
        hover(&dlg, dlg.pos() + at);
        QCOMPARE(int(dlg.cursor().shape()), cursor);
        QCOMPARE(dlg.resizeState(), state);
    }

    void leftEdgeResizeBounds()
    {
        QNinePointsImageDialog dlg;
        dlg.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        dlg.setGeometry(200, 100, 300, 200);
        dlg.setMinimumSize(100, 100);
        dlg.show();
        const QRect start = dlg.geometry();
        hover(&dlg, QPoint(start.left() + 2, 200)); // grab 2 pixels inside the left edge
        QCOMPARE(dlg.resizeState(), 1);
        press(&dlg, QPoint(start.left() + 2, 200));
        dragTo(&dlg, QPoint(start.left() - 48, 200));
        QCOMPARE(dlg.geometry().left(), start.left() - 50);
        QCOMPARE(dlg.geometry().right(), start.right());
        QCOMPARE(dlg.geometry().top(), start.top()); // the grab does not move any other edge
        // Right minus the new left would fall to the minimum width: the left edge stays.
        const int before = dlg.geometry().left();
        dragTo(&dlg, QPoint(start.right() - 90, 200));
        QCOMPARE(dlg.geometry().left(), before);
        release(&dlg, QPoint(start.right() - 90, 200));
        QCOMPARE(dlg.resizeState(), 0); // released: the resize is over
    }

    void topEdgeGrabDoesNotJump()
    {
        QNinePointsImageDialog dlg;
        dlg.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        dlg.setGeometry(200, 100, 300, 200);
        dlg.show();
        const QRect start = dlg.geometry();
        hover(&dlg, QPoint(300, start.top() + 3));
        QCOMPARE(dlg.resizeState(), 3);
        press(&dlg, QPoint(300, start.top() + 3));
        dragTo(&dlg, QPoint(300, start.top() + 3));
        QCOMPARE(dlg.geometry(), start);
        dragTo(&dlg, QPoint(300, start.top() - 7));
        QCOMPARE(dlg.geometry().top(), start.top() - 10);
        QCOMPARE(dlg.geometry().bottom(), start.bottom());
        release(&dlg, QPoint(300, start.top() - 7));
    }

    void doubleClickMaximise_data()
    {
        QTest::addColumn<bool>("edgeResize");
        QTest::newRow("edge resizing off") << false;
        QTest::newRow("edge resizing on") << true;
    }
    void doubleClickMaximise()
    {
        QFETCH(bool, edgeResize);
        QNinePointsImageDialog dlg;
        dlg.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        const QRect normal(120, 90, 300, 200);
        dlg.setGeometry(normal);
        dlg.setVariableResize(edgeResize);
        dlg.show();
        hover(&dlg, QPoint(122, 150)); // on the left edge: a resize state is set
        rstest::doubleClickAt(&dlg, QPoint(150, 10));
        if (!edgeResize) {
            QCOMPARE(dlg.geometry(), normal);
            return;
        }
        QCOMPARE(dlg.geometry(), FramelessScreen::availableGeometry(&dlg));
        QVERIFY(dlg.isMaximised());
        QCOMPARE(dlg.resizeState(), 0);
        // A drag on the maximised window neither resizes nor moves it.
        rstest::pressAt(&dlg, QPoint(2, 150));
        dragTo(&dlg, dlg.mapToGlobal(QPoint(40, 150)));
        QCOMPARE(dlg.geometry(), FramelessScreen::availableGeometry(&dlg));
        rstest::releaseAt(&dlg, QPoint(40, 150));
        rstest::doubleClickAt(&dlg, QPoint(150, 10));
        QCOMPARE(dlg.geometry(), normal);
    }

    void frameButtons()
    {
        QNinePointsImageDialog dlg;
        const QString strip = wtk::makeStrip(QStringLiteral("close"), 28, 28);
        // Each button is the child its own call added: close, then minimise, then maximise, left to right.
        QList<QImageButton *> known;
        auto added = [&]() -> QImageButton * {
            QImageButton *fresh = nullptr;
            for (QImageButton *b : dlg.findChildren<QImageButton *>()) {
                if (!known.contains(b))
                    fresh = b;
            }
            known.append(fresh);
            return fresh;
        };
        dlg.addCloseBtn(strip, true);
        QImageButton *close = added();
        dlg.addMinBtn(strip, true);
        QImageButton *min = added();
        dlg.addMaxBtn(strip, false);
        QImageButton *max = added();
        QVERIFY(close && min && max);
        QCOMPARE(close->pos(), QPoint(16, 13));
        QCOMPARE(min->pos(), QPoint(36, 13));
        QCOMPARE(max->pos(), QPoint(56, 13));
        QVERIFY(close->isEnabled());
        QVERIFY(!min->isEnabled());
        QVERIFY(!max->isEnabled());
        dlg.addCloseBtn(strip, true); // replaces, does not stack
        const QList<QImageButton *> buttons = dlg.findChildren<QImageButton *>();
        QCOMPARE(buttons.size(), 3);
        for (QImageButton *b : buttons) {
            if (b != min && b != max)
                QCOMPARE(b->pos(), QPoint(16, 13));
        }
    }

    void variableWindowWithoutBackground()
    {
        QVariableSizeWidget w;
        w.resize(100, 80);
        w.setDlgTitle(QStringLiteral("ignored"));
        const QImage shot = wtk::render(&w);
        QVERIFY(wtk::near(shot.pixelColor(50, 10), QColor(100, 100, 100, 100), 2));
        QVERIFY(wtk::near(shot.pixelColor(5, 75), QColor(100, 100, 100, 100), 2));
    }

    void variableWindowSizes()
    {
        QVariableSizeWidget w;
        QVERIFY(w.setBackgroundImage(wtk::makeNineGrid(QStringLiteral("vbg"), 1000, 800), true));
        QCOMPARE(w.size(), QSize(500, 400));
        QCOMPARE(w.minimumSize(), QSize(450, 350));
        QVERIFY(w.setBackgroundTile(wtk::makeSolid(QStringLiteral("tile"), 40, 40, Qt::green), false));
        QCOMPARE(w.size(), QSize(800, 600));
        const QImage shot = wtk::render(&w);
        QVERIFY(wtk::near(shot.pixelColor(790, 590), Qt::green));
    }

    void variableWindowMaximise()
    {
        QVariableSizeWidget w;
        w.setWindowFlags(Qt::FramelessWindowHint);
        const QRect normal(150, 120, 300, 200);
        w.setGeometry(normal);
        w.show();
        QSignalSpy restored(&w, &QVariableSizeWidget::emitRestoreDlg);
        w.OnBtnMax(8);
        const QRect area = FramelessScreen::availableGeometry(&w);
        QCOMPARE(w.geometry(), QRect(area.x() - 4, area.y() - 4, area.width() + 8, area.height()));
        QCOMPARE(restored.count(), 0);
        w.OnBtnMax(8);
        QCOMPARE(w.geometry(), normal);
        QCOMPARE(restored.count(), 1);
    }

    void variableWindowDoubleClickBand_data()
    {
        QTest::addColumn<int>("pressY");
        QTest::addColumn<bool>("maximises");
        QTest::newRow("75") << 75 << true;
        QTest::newRow("80") << 80 << false;
    }
    void variableWindowDoubleClickBand()
    {
        QFETCH(int, pressY);
        QFETCH(bool, maximises);
        QVariableSizeWidget w;
        w.setWindowFlags(Qt::FramelessWindowHint);
        w.setGeometry(150, 120, 300, 200);
        w.show();
        rstest::doubleClickAt(&w, QPoint(100, pressY));
        QCOMPARE(w.isMaxSize(), maximises);
    }

    void variableWindowReleaseResetsCursor()
    {
        QVariableSizeWidget w;
        w.setWindowFlags(Qt::FramelessWindowHint);
        w.setGeometry(150, 120, 300, 200);
        w.show();
        hover(&w, QPoint(151, 200));
        QCOMPARE(w.cursor().shape(), Qt::SizeHorCursor);
        press(&w, QPoint(151, 200));
        release(&w, QPoint(151, 200));
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(w.resizeState(), 0);
    }

    void imageWidgetCorners_data()
    {
        QTest::addColumn<int>("imageSize");
        QTest::addColumn<QPoint>("cornerPixel");
        QTest::addColumn<QPoint>("bandPixel");
        QTest::newRow("600x600 image: 40x30 corners") << 600 << QPoint(35, 25) << QPoint(60, 15);
        QTest::newRow("60x60 image: 10x10 corners") << 60 << QPoint(5, 5) << QPoint(60, 5);
    }
    void imageWidgetCorners()
    {
        QFETCH(int, imageSize);
        QFETCH(QPoint, cornerPixel);
        QFETCH(QPoint, bandPixel);
        QImageWidget w;
        QVERIFY(
            w.SetImageBackgroud(wtk::makeNineGrid(QStringLiteral("iw%1").arg(imageSize), imageSize, imageSize), false));
        w.resize(120, 90);
        const QImage shot = wtk::render(&w);
        QVERIFY(wtk::near(shot.pixelColor(cornerPixel), Qt::red));
        QVERIFY(wtk::near(shot.pixelColor(bandPixel), Qt::green));
        QVERIFY(wtk::near(shot.pixelColor(60, 45), Qt::blue));
    }

    void imageWidgetEmptyAndColour()
    {
        QImageWidget w;
        w.resize(40, 30);
        QCOMPARE(qAlpha(wtk::render(&w).pixel(20, 15)), 0);
        w.setBackgroundColor(10, 20, 30);
        QCOMPARE(wtk::render(&w).pixelColor(20, 15), QColor(10, 20, 30));
        QVERIFY(QImageWidget::GetApplicationPath().endsWith(QLatin1Char('/')));
        QVERIFY(QImageDialog::GetApplicationPath().isEmpty());
    }

    void imageWidgetGrab()
    {
        QWidget host;
        host.setGeometry(50, 50, 400, 300);
        auto *w = new QImageWidget(&host);
        w->setGeometry(10, 10, 40, 30);
        host.show();
        rstest::pressAt(w, QPoint(5, 5));
        hover(&host, QPoint(123, 77));
        release(&host, QPoint(123, 77));
        QCOMPARE(w->pos(), QPoint(10, 10)); // grabbing is off
        w->SetGrabEnable(true);
        rstest::pressAt(w, QPoint(5, 5));
        hover(&host, QPoint(123, 77));
        QCOMPARE(w->pos(), QPoint(123, 77));
        release(&host, QPoint(123, 77));
    }

    void imageDialogBand_data()
    {
        QTest::addColumn<int>("offsetY");
        QTest::addColumn<bool>("moves");
        QTest::newRow("0") << 0 << false;
        QTest::newRow("1") << 1 << true;
        QTest::newRow("49") << 49 << true;
        QTest::newRow("50") << 50 << false;
    }
    void imageDialogBand()
    {
        QFETCH(int, offsetY);
        QFETCH(bool, moves);
        QImageDialog dlg(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
        QVERIFY(dlg.SetImageBackgroud(wtk::makeSolid(QStringLiteral("idlg"), 400, 300, Qt::gray)));
        QCOMPARE(dlg.size(), QSize(200, 150));
        dlg.move(100, 100);
        dlg.show();
        const QPoint start = dlg.pos();
        press(&dlg, start + QPoint(30, offsetY));
        hover(&dlg, start + QPoint(40, offsetY + 5));
        release(&dlg, start + QPoint(40, offsetY + 5));
        QCOMPARE(dlg.pos() != start, moves);
    }
};

RS_TEST_MAIN(TestFrames)
#include "tst_widgets_frames.moc"
