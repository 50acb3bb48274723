// The editor's small controls under a real X server, driven with real events: the page button bar, the
// play bar, the fading notice, the overlay boxes and the desktop helpers; each saves its screenshot.

#include "EditControlsGallery.h"
#include "HostServices.h"
#include "QCommonButtonForm.h"
#include "QHorizontalListFrom.h"
#include "QHorizontalListItem.h"
#include "QIAnyUtil.h"
#include "QMediaBorderFrame.h"
#include "QMediaDashedFrame.h"
#include "QMessageOpacityForm.h"
#include "QPlayerOperationForm.h"
#include "QVEDualSlider.h"
#include "QZTBaseButton.h"
#include "QZTBaseSlider.h"
#include "VECommonClass.h"
#include "WindowInput.h"

#include <QSignalSpy>
#include <QTimer>

Q_DECLARE_METATYPE(QMouseEvent *)

namespace {

QString res(const char *path)
{
    return QIAnyUtil::getResourcePath() + QLatin1String(path);
}

class RecordingRevealer : public IFileRevealer
{
public:
    explicit RecordingRevealer(QStringList *paths) : m_paths(paths) {}
    bool revealFile(const QString &path) override
    {
        m_paths->append(path);
        return true;
    }

private:
    QStringList *m_paths;
};

// A window with a spot in a corner of the screen: the pointer comes to a window from there and goes back,
// so Qt hands the window its Enter and Leave as it does when a user's pointer crosses into it. The X
// server's own pointer is put there too, so that it rests over no window under test.
struct Elsewhere
{
    QWidget window;
    QWidget *spot = new QWidget(&window);
    Elsewhere()
    {
        window.setGeometry(10, 10, 60, 40);
        spot->setGeometry(10, 10, 40, 20);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("the window the pointer comes from was not shown");
        QCursor::setPos(spot->mapToGlobal(spot->rect().center()));
        rstest::moveTo(spot);
    }
};

} // namespace

class TestEditControls : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + "/Contents");
        qRegisterMetaType<QMouseEvent *>();
    }

    void buttonBarCentresItsButtons_data()
    {
        QTest::addColumn<QSize>("bar");
        QTest::addColumn<QPoint>("reset");
        QTest::addColumn<QPoint>("apply");
        QTest::newRow("page column") << QSize(300, 100) << QPoint(95, 23) << QPoint(95, 54);
        QTest::newRow("smaller than its buttons") << QSize(60, 20) << QPoint(-25, -17) << QPoint(-25, 14);
    }
    void buttonBarCentresItsButtons()
    {
        QFETCH(QSize, bar);
        QCommonButtonForm form;
        form.resize(bar);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.m_btnReset->size(), QSize(110, 22));
        QFETCH(QPoint, reset);
        QCOMPARE(form.m_btnReset->pos(), reset);
        QTEST(form.m_btnApplyToAll->pos(), "apply");
    }

    void buttonBarRelaysClicks()
    {
        QCommonButtonForm form;
        form.resize(134, 281);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QSignalSpy reset(&form, &QCommonButtonForm::emitReset);
        QSignalSpy apply(&form, &QCommonButtonForm::emitApplyToAll);
        rstest::clickAt(form.m_btnReset);
        rstest::clickAt(form.m_btnApplyToAll);
        rstest::clickAt(form.m_btnApplyToAll);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(apply.count(), 2);
        QCOMPARE(form.m_btnReset->text(), QStringLiteral("Reset"));
        QCOMPARE(form.m_btnApplyToAll->toolTip(), QStringLiteral("Apply to all"));
        editgallery::save(&form, QStringLiteral("QCommonButtonForm"), QColor(53, 53, 53));
    }

    void playBarFollowsTheUserAndThePlayer()
    {
        QPlayerOperationForm bar;
        bar.resize(700, 40);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QSignalSpy play(&bar, &QPlayerOperationForm::emitPlay);
        QSignalSpy pause(&bar, &QPlayerOperationForm::emitPause);
        QSignalSpy stop(&bar, &QPlayerOperationForm::emitStop);
        QVERIFY(bar.m_btnPlay->isVisible());
        QVERIFY(!bar.m_btnPause->isVisible());
        rstest::clickAt(bar.m_btnPlay);
        // Pause shows at once, before the player confirms.
        QCOMPARE(play.count(), 1);
        QVERIFY(!bar.m_btnPlay->isVisible());
        QVERIFY(bar.m_btnPause->isVisible());
        bar.setPlayProcess(0.5);
        QCOMPARE(bar.m_playProgress->value(), 50.0);
        bar.setTime(QStringLiteral("00:00:02 / 00:00:04"));
        QCOMPARE(bar.m_lblTime->text(), QStringLiteral("00:00:02 / 00:00:04"));
        editgallery::save(&bar, QStringLiteral("QPlayerOperationForm-playing"));
        rstest::clickAt(bar.m_btnPause);
        QCOMPARE(pause.count(), 1);
        QVERIFY(bar.m_btnPlay->isVisible());
        bar.showPlayOrPause(true);
        QVERIFY(bar.m_btnPause->isVisible());
        rstest::clickAt(bar.m_btnStop);
        QCOMPARE(stop.count(), 1);
        QVERIFY(bar.m_btnPlay->isVisible());
        bar.showPlayOrPause(true);
        bar.playFinish();
        QCOMPARE(bar.m_playProgress->value(), 0.0);
        QVERIFY(bar.m_btnPlay->isVisible() && !bar.m_btnPause->isVisible());
        QCOMPARE(play.count() + pause.count() + stop.count(), 3); // the player's slots emit nothing
        editgallery::save(&bar, QStringLiteral("QPlayerOperationForm"));
    }

    void playBarSliderSeeks()
    {
        QPlayerOperationForm bar;
        bar.resize(700, 40);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QSignalSpy press(&bar, &QPlayerOperationForm::emitSliderPress);
        QSignalSpy value(&bar, &QPlayerOperationForm::emitProgressValue);
        QSignalSpy release(&bar, &QPlayerOperationForm::emitSliderRelease);
        QZTBaseSlider *s = bar.m_playProgress;
        const QPoint middle(s->width() / 2, s->height() / 2);
        rstest::pressAt(s, middle);
        QCOMPARE(press.count(), 1);
        QVERIFY(value.count() >= 1);
        QVERIFY(qAbs(value.last().first().toDouble() - 0.5) < 0.05);
        rstest::releaseAt(s, middle);
        QCOMPARE(release.count(), 1);
    }

    void playBarWidensOnlyTheSlider()
    {
        QPlayerOperationForm bar;
        bar.resize(700, 40);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const QPoint stop = bar.m_btnStop->pos();
        const int slider = bar.m_playProgress->width();
        QCOMPARE(bar.m_btnSnapshot->x(), 12);
        QCOMPARE(bar.m_btnSnapshotMenu->x(), bar.m_btnSnapshot->x() + bar.m_btnSnapshot->width() - 1);
        bar.resize(900, 40);
        QCOMPARE(bar.m_btnStop->pos(), stop);
        QCOMPARE(bar.m_playProgress->width(), slider + 200);
        QCOMPARE(bar.m_lblTime->x() + bar.m_lblTime->width(), 900 - 12);
        QCOMPARE(bar.m_playProgress->x() + bar.m_playProgress->width() + 12, bar.m_lblTime->x());
        // Nothing overlaps: the time text is not cut by the slider, also when it grows.
        QVERIFY(bar.m_lblTime->fontMetrics().horizontalAdvance(bar.m_lblTime->text()) <= bar.m_lblTime->width());
        bar.setTime(QStringLiteral("100:00:00 / 125:30:00"));
        QVERIFY(bar.m_lblTime->fontMetrics().horizontalAdvance(bar.m_lblTime->text()) <= bar.m_lblTime->width());
        QCOMPARE(bar.m_lblTime->x() + bar.m_lblTime->width(), 900 - 12);
        QCOMPARE(bar.m_playProgress->x() + bar.m_playProgress->width() + 12, bar.m_lblTime->x());
    }

    void noticeFadesAndCloses()
    {
        QWidget owner;
        QMessageOpacityForm notice(&owner);
        // As the editor sets it, through the frameless base.
        static_cast<QBaseDrawWidget &>(notice).setBackgroundImage(res("/VEditSource/bg_3.png"), false);
        notice.setMessageText(QStringLiteral("The snapshot was saved."));
        notice.startOpacity();
        // Held at full opacity first: the fade starts only when the one-second hold has run out.
        QCOMPARE(notice.windowOpacity(), 1.0);
        QVERIFY(notice.fadeTimer()->isActive());
        QVERIFY(notice.fadeTimer()->interval() >= 1000);
        notice.setShowlink(0, 0, false);
        notice.setCheckShow(false);
        notice.show();
        QVERIFY(QTest::qWaitForWindowExposed(&notice));
        QCOMPARE(notice.size(), QSize(351, 125));
        editgallery::save(&notice, QStringLiteral("QMessageOpacityForm"), Qt::transparent);
        QTRY_VERIFY_WITH_TIMEOUT(!notice.isVisible(), 10000);
        QVERIFY(notice.windowOpacity() < 0.1);
        // The owner keeps the notice: the next message starts opaque again.
        notice.startOpacity();
        QCOMPARE(notice.windowOpacity(), 1.0);
    }

    // The text keeps a 50-pixel margin on both sides instead of running past the right edge.
    void noticeTextFitsInside()
    {
        QMessageOpacityForm notice;
        notice.setMessageText(QStringLiteral("A long message that wraps onto a second line inside the notice."));
        QCOMPARE(notice.m_lblText->geometry(), QRect(50, 57, 251, 40));
        QVERIFY(notice.m_lblText->wordWrap());
        QVERIFY(!notice.m_btnOk->isVisibleTo(&notice));
        notice.setMessageText(QStringLiteral("Placed"), 20, 30);
        QCOMPARE(notice.m_lblText->geometry(), QRect(20, 30, 311, 40));
        QVERIFY(notice.m_btnOk->isVisibleTo(&notice));
    }

    void noticeHoverHoldsIt_data()
    {
        QTest::addColumn<bool>("fadeOnHover");
        QTest::newRow("fade on hover") << true;
        QTest::newRow("hover ignored") << false;
    }
    void noticeHoverHoldsIt()
    {
        QFETCH(bool, fadeOnHover);
        Elsewhere elsewhere;
        QMessageOpacityForm notice;
        notice.setIsOpacity(fadeOnHover);
        notice.show();
        QVERIFY(QTest::qWaitForWindowExposed(&notice));
        notice.startOpacity();
        notice.onTimer(); // the hold is over: fading at 50 ms steps
        notice.onTimer();
        const double fading = notice.windowOpacity();
        QVERIFY(fading < 0.9);
        rstest::moveTo(&notice, QPoint(notice.width() / 2, 20));
        if (!fadeOnHover) {
            QCOMPARE(notice.windowOpacity(), fading);
            QCOMPARE(notice.fadeTimer()->interval(), QMessageOpacityForm::kStepMs);
            return;
        }
        QCOMPARE(notice.windowOpacity(), 1.0);
        QVERIFY(!notice.fadeTimer()->isActive());
        rstest::moveTo(elsewhere.spot);
        QVERIFY(notice.fadeTimer()->isActive());
        QCOMPARE(notice.fadeTimer()->interval(), QMessageOpacityForm::kHoldMs);
        QVERIFY(notice.isVisible());
    }

    void noticeCloseButtonDuringTheHold()
    {
        QMessageOpacityForm notice;
        notice.show();
        QVERIFY(QTest::qWaitForWindowExposed(&notice));
        notice.startOpacity();
        // The pointer rests on the button it clicks, so the notice goes away from under it.
        QCursor::setPos(notice.m_btnClose->mapToGlobal(notice.m_btnClose->rect().center()));
        QTRY_VERIFY(notice.underMouse());
        rstest::clickAt(notice.m_btnClose);
        QVERIFY(!notice.isVisible());
        QTRY_VERIFY(!notice.underMouse());
        QVERIFY(!notice.fadeTimer()->isActive());
        QCOMPARE(notice.windowOpacity(), 1.0);
    }

    void dashedBoxPaintsAfterADelay()
    {
        QMediaBorderFrame overlay;
        overlay.resize(200, 120);
        overlay.setDashedFrame(QRect(20, 10, 100, 60), false);
        overlay.show();
        QVERIFY(QTest::qWaitForWindowExposed(&overlay));
        QMediaDashedFrame *box = overlay.dashedFrame();
        QVERIFY(box);
        QTRY_VERIFY(box->paintCount() >= 2);
        overlay.hide();
        QCOMPARE(box->paintCount(), 0);
        overlay.show();
        QTRY_VERIFY(box->paintCount() >= 2); // every showing waits again
    }

    void overlayItemsFollowTheirIndex()
    {
        QMediaBorderFrame overlay;
        overlay.addDashFrameItem(QRect());
        overlay.addDashFrameItem(QRect());
        for (int bad : {-1, 2}) {
            overlay.setDashFrameItemForList(QRect(1, 2, 3, 4), bad);
            overlay.setDashFrameItemShow(bad, false);
            QVERIFY(!overlay.isValid(bad));
        }
        QCOMPARE(overlay.item(0)->geometry(), QRect());
        overlay.setDashFrameItemForList(QRect(5, 6, 70, 40), 1);
        QCOMPARE(overlay.item(1)->geometry(), QRect(5, 6, 70, 40));
        // The main box of a watermark overlay is placed from the picture's origin.
        overlay.setVideoDashedFrame(QRect(10, 20, 300, 200));
        overlay.setDashedFrame(QRect(1, 2, 30, 40), false);
        QCOMPARE(overlay.dashedFrame()->geometry(), QRect(11, 22, 30, 40));
        overlay.setDashedFrame(QRect(0, 5, 320, 180), true);
        QCOMPARE(overlay.getVideoDashedFrame(), QRect(0, 5, 320, 180));
    }

    void overlayReportsActivationAndMouse()
    {
        QMediaBorderFrame overlay;
        overlay.resize(100, 80);
        QSignalSpy active(&overlay, &QMediaBorderFrame::emitWindowsActivate);
        QEvent deactivate(QEvent::WindowDeactivate);
        QVERIFY(QApplication::sendEvent(&overlay, &deactivate)); // consumed
        QCOMPARE(active.count(), 1);
        QCOMPARE(active.last().first().toBool(), false);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&overlay, &activate);
        QCOMPARE(active.last().first().toBool(), true);

        QSignalSpy press(&overlay, &QMediaBorderFrame::emitMousePressEvent);
        QSignalSpy release(&overlay, &QMediaBorderFrame::emitMouseReleaseEvent);
        overlay.show();
        QVERIFY(QTest::qWaitForWindowExposed(&overlay));
        rstest::clickAt(&overlay, QPoint(30, 40));
        QCOMPARE(press.count(), 1);
        QCOMPARE(release.count(), 1);
    }

    void revealUsesSingleSlashes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("revealed");
        QTest::newRow("doubled slash and backslash")
            << QStringLiteral("/home/u//Shots\\a.png") << QStringLiteral("/home/u/Shots/a.png");
        QTest::newRow("three slashes become two") << QStringLiteral("/home///u") << QStringLiteral("/home//u");
    }
    void revealUsesSingleSlashes()
    {
        QFETCH(QString, path);
        QFETCH(QString, revealed);
        QStringList paths;
        auto previous = HostServices::setFileRevealer(std::make_unique<RecordingRevealer>(&paths));
        VECommonClass::setOpenFinder(path);
        HostServices::setFileRevealer(std::move(previous));
        QCOMPARE(paths, QStringList{revealed});
    }

    void topHintNeedsANativeWindow()
    {
        QWidget plain;
        VECommonClass::setWindowTopHint(&plain);
        QVERIFY(!(plain.windowFlags() & Qt::WindowStaysOnTopHint));
        QMediaBorderFrame overlay; // creates its native window to be raised
        QVERIFY(overlay.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!overlay.isVisible());
    }

    void galleryOfTheListAndSlider()
    {
        QHorizontalListFrom list;
        list.setBackgroundColor(QColor(53, 53, 53));
        list.resize(420, 80);
        const QString titles[] = {QStringLiteral("None"), QStringLiteral("Vignette"), QStringLiteral("Old film"),
                                  QStringLiteral("Light leak"), QStringLiteral("Letterbox bars")};
        for (const QString &t : titles)
            list.addListItem(QString(), t);
        list.setCurrentIndex(1);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        rstest::moveTo(list.item(2), QPoint(5, 5)); // twice: a move to where the pointer is reports nothing
        rstest::moveTo(list.item(2), QPoint(6, 5));
        rstest::moveTo(list.item(3));
        editgallery::save(&list, QStringLiteral("QHorizontalListFrom"));

        QWidget page;
        page.resize(480, 60);
        auto *slider = new QVEDualSlider(&page);
        slider->setBottomImage(res("/VEditSource/slider_play_bottom.png"));
        slider->setTopImage(res("/VEditSource/slider_play_top.png"));
        // The handle row sits 5 below the middle and the knob 4 below its image's middle: on the track at -9
        // (and the play handle, placed by its top, at 5).
        slider->setStartBtnImage(res("/VEditSource/slider_image.png"), -9);
        slider->setEndBtnImage(res("/VEditSource/slider_image.png"));
        slider->setProgressBtnImage(res("/VEditSource/slider_image.png"), 5);
        slider->setCircle(true);
        slider->setCircleLenght(1);
        slider->setStartValue(0);
        slider->setEndValue(100);
        slider->setWidth(440);
        slider->setEndValue(100);
        slider->setStartValue(20);
        slider->setEndValue(75);
        slider->setPlayValue(40, false);
        slider->move(20, 10);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        editgallery::save(&page, QStringLiteral("QVEDualSlider"));
    }
};

RS_TEST_MAIN(TestEditControls)
#include "tst_editcontrols.moc"
