// The editor preview on a real generated clip with the real player, under a real X server: the edited
// pane shows rotation and crop, the overlays lie over the pictures and drag the boxes through the preview
// controller, and each tab shows its panes. Screenshots go to the gallery.

#include "EditControlsGallery.h"
#include "MediaFixtures.h"
#include "NSOpenGLVideoView.h"
#include "QAudioDataWidget.h"
#include "QIAnyUtil.h"
#include "QMediaBorderFrame.h"
#include "QMediaDashedFrame.h"
#include "QMediaElementWindow.h"
#include "QMediaForm.h"
#include "QVideoElementWindow.h"
#include "WindowInput.h"
#include "ZTPlayerManager.h"

#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <algorithm>
#include <functional>

Q_DECLARE_METATYPE(VERect)

namespace {

// Two seconds, 320 x 180: quadrants red (top left), blue (top right), green (bottom left), yellow.
QString quadrantClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("editpreview_quadrants.mp4"),
         {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
          QStringLiteral("color=c=red:s=320x180:r=25:d=2,"
                         "drawbox=x=160:y=0:w=160:h=90:color=blue:t=fill,"
                         "drawbox=x=0:y=90:w=160:h=90:color=green:t=fill,"
                         "drawbox=x=160:y=90:w=160:h=90:color=yellow:t=fill"),
          QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
          QStringLiteral("-preset"), QStringLiteral("ultrafast")}});
}

enum class Hue { Black, Red, Blue, Green, Yellow, Other };

Hue hueOf(QRgb c)
{
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    if (r < 50 && g < 50 && b < 50)
        return Hue::Black;
    if (r > 180 && g < 80 && b < 80)
        return Hue::Red;
    if (b > 180 && r < 80 && g < 80)
        return Hue::Blue;
    if (g > 90 && r < 80 && b < 80)
        return Hue::Green;
    if (r > 180 && g > 180 && b < 80)
        return Hue::Yellow;
    return Hue::Other;
}

const char *hueName(Hue h)
{
    static const char *names[] = {"black", "red", "blue", "green", "yellow", "other"};
    return names[int(h)];
}

// What the pane's video view shows now (the GL framebuffer), or a null image before it exists.
QImage shown(QMediaElementWindow *w)
{
    NSOpenGLVideoView *view = w->videoElement() ? w->videoElement()->openGlView() : nullptr;
    return view ? view->grabFramebuffer().convertToFormat(QImage::Format_RGB32) : QImage();
}

Hue hueAt(const QImage &image, double fx, double fy)
{
    return hueOf(image.pixel(int(fx * (image.width() - 1)), int(fy * (image.height() - 1))));
}

struct Sample
{
    double x, y;
    Hue hue;
};

// Waits until the pane shows every sample's colour (frames arrive on the player's thread).
bool showsWithin(QMediaElementWindow *w, const QVector<Sample> &samples, QString *seen, int ms = rstest::kHangBoundMs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        const QImage image = shown(w);
        if (!image.isNull()) {
            bool all = true;
            seen->clear();
            for (const Sample &s : samples) {
                const Hue h = hueAt(image, s.x, s.y);
                *seen += QStringLiteral("(%1,%2)=%3 ").arg(s.x).arg(s.y).arg(QLatin1String(hueName(h)));
                all = all && h == s.hue;
            }
            if (all)
                return true;
        }
        QTest::qWait(50);
    }
    return false;
}

// The pane's picture has the edited picture's shape, centred in the pane (the pane's black around it).
bool isCentredWithShape(QMediaElementWindow *w, double aspect)
{
    const QRect e = w->getVideoElementRect();
    const bool ok = e.height() > 0 && qAbs(double(e.width()) / e.height() - aspect) < 0.02 &&
                    qAbs(e.center().x() - w->rect().center().x()) <= 1 &&
                    qAbs(e.center().y() - w->rect().center().y()) <= 1;
    if (!ok)
        qWarning() << "the pane's picture lies at" << e << "in" << w->rect();
    return ok;
}

const QVector<Sample> kUpright = {
    {0.25, 0.25, Hue::Red}, {0.75, 0.25, Hue::Blue}, {0.25, 0.75, Hue::Green}, {0.75, 0.75, Hue::Yellow}};

struct PreviewRig
{
    ZTPlayerManager manager;
    QMediaForm form{&manager};

    bool open(int tab)
    {
        form.resize(820, 300);
        form.setOperationType(tab);
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return false;
        if (!manager.setPlayFile(quadrantClip(), 320, 180, 3))
            return false;
        manager.progressValueChange(0.5);
        return true;
    }

    // What the user sees of the form on the screen: panes, pictures and overlay boxes together. The X server
    // shows them in its own time: with `ready`, grabs again until it holds (or the bound passes).
    QImage screenShot(const std::function<bool(const QImage &)> &ready = nullptr)
    {
        const QStringList unreachable = rstest::unreachableControls(&form);
        if (!unreachable.isEmpty())
            QTest::qFail(qPrintable(unreachable.join(QStringLiteral("; "))), __FILE__, __LINE__);
        for (QMediaBorderFrame *o : {form.cropFrame(), form.watermarkFrame()})
            for (QMediaDashedFrame *box : o->findChildren<QMediaDashedFrame *>())
                if (box->isVisible())
                    (void)QTest::qWaitFor([box] { return box->paintCount() >= 2; }, rstest::kHangBoundMs);
        const auto grab = [this] {
            const QPoint g = form.mapToGlobal(QPoint(0, 0));
            return QGuiApplication::primaryScreen()
                ->grabWindow(0, g.x(), g.y(), form.width(), form.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        if (!ready) {
            QTest::qWait(100); // for the gallery only: lets the X server catch up; nothing is asserted on it
            return grab();
        }
        QImage image;
        (void)QTest::qWaitFor([&] { return ready(image = grab()); }, rstest::kHangBoundMs);
        return image;
    }
};

// A drag through the overlay's window, in four steps.
void drag(QWidget *w, const QPoint &from, const QPoint &to)
{
    rstest::pressAt(w, from);
    for (int i = 1; i <= 4; ++i)
        rstest::moveTo(w, from + (to - from) * i / 4);
    rstest::releaseAt(w, to);
}

} // namespace

class TestEditPreview : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + "/Contents");
        qRegisterMetaType<VECropSettings>("VECropSettings");
        qRegisterMetaType<VEWatermarkSettings>("VEWatermarkSettings");
    }

    void cropBoxFromFractions_data()
    {
        QTest::addColumn<QRect>("element");
        QTest::addColumn<VERect>("crop");
        QTest::addColumn<VERect>("panScan");
        QTest::addColumn<int>("panScanFlag");
        QTest::addColumn<int>("aspectMode");
        QTest::addColumn<QRect>("box");
        const VERect quarter{0.25, 0.25, 0.5, 0.5};
        const VERect left{0.0, 0.0, 0.5, 1.0};
        QTest::newRow("rounded to the nearest pixel")
            << QRect(0, 0, 400, 225) << quarter << left << 0 << 0 << QRect(100, 56, 200, 113);
        QTest::newRow("offset picture") << QRect(30, 10, 400, 225) << quarter << left << 0 << 0
                                        << QRect(130, 66, 200, 113);
        QTest::newRow("pan-scan box used")
            << QRect(0, 0, 400, 225) << quarter << left << 1 << 3 << QRect(0, 0, 200, 225);
        QTest::newRow("full screen ignores pan-scan")
            << QRect(0, 0, 400, 225) << quarter << left << 1 << 2 << QRect(100, 56, 200, 113);
    }
    void cropBoxFromFractions()
    {
        QFETCH(QRect, element);
        QFETCH(VERect, crop);
        QFETCH(VERect, panScan);
        VECropSettings c;
        c.cropRect = crop;
        c.panScanRect = panScan;
        QFETCH(int, panScanFlag);
        QFETCH(int, aspectMode);
        c.panScan = panScanFlag;
        c.aspectMode = aspectMode;
        QTEST(QMediaForm::cropBoxRect(element, c), "box");
    }

    void watermarkBoxPositionIsCutSizeRounded()
    {
        // 0.999 of 101 px is 100.899: the position is cut, the size rounded.
        QCOMPARE(QMediaForm::watermarkBoxRect(QRect(0, 0, 101, 101), 0.999, 0.5, 0.105, 0.1), QRect(100, 50, 11, 10));
    }

    // An unknown tab is refused whole: nothing is stored and no pane changes.
    void unknownTabIsRefused_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("seven") << 7;
        QTest::newRow("negative") << -1;
    }
    void unknownTabIsRefused()
    {
        QFETCH(int, type);
        QMediaForm form;
        form.resize(700, 270);
        form.setOperationType(0);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect preview = form.previewWindow()->geometry();
        form.setOperationType(type);
        QCOMPARE(form.operationType(), 0);
        form.resize(720, 270);
        // Still laid out for Trim: the edited pane alone, full width.
        QCOMPARE(form.previewWindow()->geometry(), QRect(6, 6, 708, 258));
        QVERIFY(form.previewWindow()->isVisible());
        QVERIFY(!form.sourceWindow()->isVisible());
        QVERIFY(preview.width() > 600);
    }

    // The editor owns both and may delete the controller before the preview.
    void controllerDeletedFirst()
    {
        auto *manager = new ZTPlayerManager;
        auto *form = new QMediaForm(manager);
        form->setOperationType(1);
        delete manager;
        form->setOperationType(3);
        form->resize(500, 200);
        delete form;
    }

    void tabsShowTheirPanes_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("source");
        QTest::addColumn<bool>("preview");
        QTest::addColumn<bool>("crop");
        QTest::addColumn<bool>("watermark");
        QTest::newRow("trim") << 0 << false << true << false << false;
        QTest::newRow("adjust") << 1 << true << true << true << false;
        QTest::newRow("effect") << 2 << true << true << false << false;
        QTest::newRow("watermark") << 3 << true << true << false << true;
        QTest::newRow("tag") << 6 << false << false << false << false;
    }
    void tabsShowTheirPanes()
    {
        QFETCH(int, tab);
        PreviewRig r;
        QVERIFY(r.open(1));
        r.form.setOperationType(tab);
        QTEST(r.form.sourceWindow()->isVisible(), "source");
        QTEST(r.form.previewWindow()->isVisible(), "preview");
        QTEST(r.form.cropFrame()->isVisible(), "crop");
        QTEST(r.form.watermarkFrame()->isVisible(), "watermark");
        if (tab == 1 || tab == 3) {
            // The overlay lies exactly over its pane on screen.
            QMediaElementWindow *pane = tab == 1 ? r.form.sourceWindow() : r.form.previewWindow();
            QMediaBorderFrame *overlay = tab == 1 ? r.form.cropFrame() : r.form.watermarkFrame();
            QCOMPARE(overlay->mapToGlobal(QPoint(0, 0)), pane->mapToGlobal(QPoint(0, 0)));
            QCOMPARE(overlay->size(), pane->size());
        }
        // The overlay goes when the editor is deactivated and comes back with it.
        r.form.setDlgActivate(false);
        QVERIFY(!r.form.cropFrame()->isVisible() && !r.form.watermarkFrame()->isVisible());
        r.form.setDlgActivate(true);
        QTEST(r.form.cropFrame()->isVisible(), "crop");
        QTEST(r.form.watermarkFrame()->isVisible(), "watermark");
    }

    void previewShowsRotation()
    {
        PreviewRig r;
        QVERIFY(r.open(1));
        QString seen;
        QVERIFY2(showsWithin(r.form.previewWindow(), kUpright, &seen), qPrintable(seen));
        VECropSettings c;
        c.rotation = 90;
        r.manager.setCropSettings(c);
        // Turned clockwise: green comes to the top left, red to the top right. The pane shows the picture at
        // its turned shape, centred, with the pane's black at both sides.
        const QVector<Sample> turned = {
            {0.25, 0.25, Hue::Green}, {0.75, 0.25, Hue::Red}, {0.25, 0.75, Hue::Yellow}, {0.75, 0.75, Hue::Blue}};
        QVERIFY2(showsWithin(r.form.previewWindow(), turned, &seen), qPrintable(seen));
        QVERIFY(isCentredWithShape(r.form.previewWindow(), 9.0 / 16.0));
        // The source pane keeps the untouched picture.
        QVERIFY2(showsWithin(r.form.sourceWindow(), kUpright, &seen), qPrintable(seen));
        editgallery::saveImage(r.screenShot(), QStringLiteral("QMediaForm-rotated"));
    }

    void previewShowsCropAndTheBoxFollows()
    {
        PreviewRig r;
        QVERIFY(r.open(1));
        QSignalSpy cropChanged(&r.manager, &ZTPlayerManager::emitCropAreaChange);
        VECropSettings c;
        c.cropRect = VERect{0.0, 0.0, 0.5, 1.0};
        r.manager.setCropSettings(c);
        QVERIFY(cropChanged.count() >= 1);
        // Only the left half is left: red over green, no blue or yellow anywhere, at the half's shape.
        QString seen;
        const QVector<Sample> cropped = {{0.5, 0.25, Hue::Red},    {0.5, 0.75, Hue::Green}, {0.05, 0.25, Hue::Red},
                                         {0.95, 0.75, Hue::Green}, {0.7, 0.25, Hue::Red},   {0.3, 0.75, Hue::Green}};
        QVERIFY2(showsWithin(r.form.previewWindow(), cropped, &seen), qPrintable(seen));
        QVERIFY(isCentredWithShape(r.form.previewWindow(), 8.0 / 9.0));
        QVERIFY2(showsWithin(r.form.sourceWindow(), kUpright, &seen), qPrintable(seen));
        // The crop box lies over the left half of the source picture.
        QMediaDashedFrame *box = r.form.cropFrame()->dashedFrame();
        QVERIFY(box);
        const QRect element = r.form.sourceWindow()->getVideoElementRect();
        QCOMPARE(box->geometry(), QMediaForm::cropBoxRect(element, c));
        QVERIFY(qAbs(box->width() - element.width() / 2) <= 1);
        editgallery::saveImage(r.screenShot(), QStringLiteral("QMediaForm-cropped"));
    }

    // The crop overlay lies over the source pane without hiding it: the picture shows through around and
    // inside the box, whether or not the desktop composites windows.
    void sourceShowsThroughTheCropOverlay()
    {
        PreviewRig r;
        QVERIFY(r.open(1));
        VECropSettings c;
        c.cropRect = VERect{0.1, 0.1, 0.6, 0.7};
        r.manager.setCropSettings(c);
        QString seen;
        QVERIFY2(showsWithin(r.form.sourceWindow(), kUpright, &seen), qPrintable(seen));
        const QRect e = r.form.sourceWindow()->getVideoElementRect().translated(r.form.sourceWindow()->pos());
        auto at = [&](const QImage &screen, double fx, double fy) {
            return hueOf(screen.pixel(e.x() + int(fx * e.width()), e.y() + int(fy * e.height())));
        };
        // The box's corner handle is drawn where the crop starts.
        const QRect box = r.form.cropFrame()->dashedFrame()->geometry().translated(r.form.cropFrame()->pos());
        const auto corner = [&](const QImage &screen) { return qGray(screen.pixel(box.topLeft() + QPoint(2, 2))); };
        const QImage screen = r.screenShot([&](const QImage &s) {
            return at(s, 0.25, 0.25) == Hue::Red && at(s, 0.9, 0.2) == Hue::Blue && at(s, 0.3, 0.85) == Hue::Green &&
                   at(s, 0.65, 0.75) == Hue::Yellow && corner(s) > 200;
        });
        QCOMPARE(at(screen, 0.25, 0.25), Hue::Red);  // inside the box
        QCOMPARE(at(screen, 0.9, 0.2), Hue::Blue);   // outside it
        QCOMPARE(at(screen, 0.3, 0.85), Hue::Green); // below it
        QCOMPARE(at(screen, 0.65, 0.75), Hue::Yellow);
        QVERIFY2(corner(screen) > 200, qPrintable(QString::number(corner(screen))));
    }

    void cropOverlayDragsTheBox()
    {
        PreviewRig r;
        QVERIFY(r.open(1));
        r.manager.setCropSettings(VECropSettings());
        QMediaBorderFrame *overlay = r.form.cropFrame();
        QMediaDashedFrame *box = overlay->dashedFrame();
        QVERIFY(box);
        const QRect before = box->geometry();
        QVERIFY(before.width() > 100);
        // Grab the right edge in its middle and pull it 60 pixels to the left.
        const QPoint edge(before.right(), before.center().y());
        drag(overlay, edge, edge - QPoint(60, 0));
        VECropSettings now;
        r.manager.getCropSettings(now);
        QVERIFY2(now.cropRect.width < 0.9, qPrintable(QString::number(now.cropRect.width)));
        QCOMPARE(box->geometry(), QMediaForm::cropBoxRect(r.form.sourceWindow()->getVideoElementRect(), now));
        QVERIFY(qAbs(box->width() - (before.width() - 60)) <= 2);
        QCOMPARE(box->x(), before.x());
        // The edited pane follows the new crop: the right quadrants lose width, blue moves to the edge.
        QString seen;
        QVERIFY2(showsWithin(r.form.previewWindow(), {{0.25, 0.25, Hue::Red}, {0.25, 0.75, Hue::Green}}, &seen),
                 qPrintable(seen));
        editgallery::saveImage(r.screenShot(), QStringLiteral("QMediaForm-cropdrag"));
    }

    void watermarkOverlayDragsThePicture()
    {
        PreviewRig r;
        QVERIFY(r.open(3));
        const QString logo = rstest::scratchDir(QStringLiteral("editpreview")) + QStringLiteral("/logo.png");
        QImage picture(64, 36, QImage::Format_ARGB32);
        picture.fill(Qt::white);
        QVERIFY(picture.save(logo));
        VEWatermarkSettings w;
        w.image.imagePath = logo.toUtf8();
        w.image.posX = 0.1;
        w.image.posY = 0.1;
        r.manager.setCurrentWatermarkSettings(w, 0, true);
        QMediaBorderFrame *overlay = r.form.watermarkFrame();
        QMediaDashedFrame *imageBox = overlay->item(1);
        QTRY_VERIFY(imageBox->isVisible() && imageBox->width() > 10);
        QVERIFY(!overlay->item(0)->isVisible()); // no text: its box is hidden
        const QRect element = r.form.previewWindow()->getVideoElementRect();
        const QRect before = imageBox->geometry();
        QCOMPARE(before.x(), element.x() + int(0.1 * element.width()));
        // The picture shows in the edited pane where the box is.
        QString seen;
        const double fx = (before.center().x() - element.x()) / double(element.width());
        const double fy = (before.center().y() - element.y()) / double(element.height());
        QImage pane;
        QTRY_VERIFY_WITH_TIMEOUT(!(pane = shown(r.form.previewWindow())).isNull() &&
                                     qGray(pane.pixel(int(fx * (pane.width() - 1)), int(fy * (pane.height() - 1)))) >
                                         230,
                                 8000);
        editgallery::saveImage(r.screenShot(), QStringLiteral("QMediaForm-watermark"));

        drag(overlay, before.center(), before.center() + QPoint(80, 40));
        VEWatermarkSettings now;
        int slot = -1;
        r.manager.getCurrentWatermarkSettings(now, slot);
        QCOMPARE(slot, 0);
        QVERIFY(now.image.posX > 0.2 && now.image.posY > 0.2);
        const QRect after = imageBox->geometry();
        QVERIFY(qAbs(after.x() - before.x() - 80) <= 2);
        QVERIFY(qAbs(after.y() - before.y() - 40) <= 2);
        QCOMPARE(after.size(), before.size());
    }

    void overlaysPlacedForAnAudioOnlyClip()
    {
        ZTPlayerManager manager;
        QMediaForm form(&manager);
        form.resize(820, 300);
        form.setOperationType(1);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(manager.setPlayFile(rstest::MediaFixtures::standard(QStringLiteral("audio.mp3")), 0, 0, 3));
        QTRY_VERIFY(!form.hasVideo());
        QVERIFY(!form.cropFrame()->isVisible());
        form.setDlgActivate(true);
        QVERIFY(!form.cropFrame()->isVisible()); // no picture, no crop box
        form.setOperationType(5);
        QVERIFY(form.audioView()->isVisible());
        QVERIFY(!form.previewWindow()->isVisible());
        // Playing, the player's level blocks reach the bars.
        manager.onPlay();
        auto sounding = [&form] {
            const std::vector<int> &l = form.audioView()->levels();
            return std::any_of(l.begin(), l.end(), [](int v) { return v > 0; });
        };
        // The bars are drawn by the paint that follows a block: take the picture right after one.
        bool saved = false;
        connect(&manager, &ZTPlayerManager::emitAudioData, &form, [&] {
            if (!saved && sounding()) {
                saved = true;
                editgallery::save(&form, QStringLiteral("QMediaForm-audio"));
            }
        });
        QTRY_VERIFY_WITH_TIMEOUT(saved, 8000);
        manager.onPause();
    }
};

RS_TEST_MAIN(TestEditPreview)
#include "tst_editpreview.moc"
