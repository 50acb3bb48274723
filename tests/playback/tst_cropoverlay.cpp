// Crop overlay views: the frame image in nine slices, the item's handles, the mouse callbacks, and
// dragging the crop box's edges, corners and inside with the mouse into fractions of the picture.

#include "CropBoxTracker.h"
#include "CropDragGeometry.h"
#include "NSImgBorderView.h"
#include "NSImgItemView.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QPainter>
#include <QSignalSpy>

#include <cmath>
#include <limits>

using namespace CropDragGeometry;

Q_DECLARE_METATYPE(QRectF)

class TestCropOverlay : public QObject
{
    Q_OBJECT

private slots:
    void hitZones_data();
    void hitZones();
    void itemZones_data();
    void itemZones();
    void clampFractions_data();
    void clampFractions();
    void dragStaysSaneOnEmptyPictures();
    void dragWithMouse_data();
    void dragWithMouse();
    void dragFollowsThePictureOffset();
    void hoverShowsZoneCursor();
    void emptyBoxesAndPicturesCannotBeGrabbed();
    void nineSliceFrame();
    void cornerSlicesAreThirds();
    void callbacksGetWindowPositionAndOwner();
    void itemImageFixedAtCreation();
    void itemHandlesAndOutline();

private:
    static QImage gridImage();
};

void TestCropOverlay::hitZones_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<unsigned>("zone");
    // Box from (100, 75) to (300, 225).
    QTest::newRow("top-left corner") << QPoint(100, 75) << unsigned(TopLeft);
    QTest::newRow("4 px from the corner") << QPoint(104, 71) << unsigned(TopLeft);
    QTest::newRow("5 px left of the corner") << QPoint(95, 75) << unsigned(NoZone);
    QTest::newRow("bottom-left") << QPoint(98, 227) << unsigned(BottomLeft);
    QTest::newRow("left edge") << QPoint(102, 150) << unsigned(Left);
    QTest::newRow("left of the box, beside it") << QPoint(102, 300) << unsigned(NoZone);
    QTest::newRow("top-right") << QPoint(303, 72) << unsigned(TopRight);
    QTest::newRow("bottom-right") << QPoint(300, 225) << unsigned(BottomRight);
    QTest::newRow("right edge") << QPoint(299, 100) << unsigned(Right);
    QTest::newRow("top edge") << QPoint(200, 78) << unsigned(Top);
    QTest::newRow("bottom edge") << QPoint(200, 222) << unsigned(Bottom);
    QTest::newRow("inside") << QPoint(200, 150) << unsigned(Inside);
    QTest::newRow("outside") << QPoint(350, 150) << unsigned(NoZone);
}

void TestCropOverlay::hitZones()
{
    QFETCH(QPoint, point);
    const QRect box = pixelBox(QRectF(0.25, 0.25, 0.5, 0.5), QRect(0, 0, 400, 300));
    QCOMPARE(box, QRect(QPoint(100, 75), QPoint(300, 225)));
    QTEST(hitZone(box, point), "zone");
}

void TestCropOverlay::itemZones_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<unsigned>("zone");
    // Boxes at (128, 64) on a 512 x 256 picture, `w` x `h` pixels: the fractions land on whole pixels. A box
    // lower or narrower than 18 px is drawn 8 px outside itself; a press inside it moves it, its drawn edges
    // resize it.
    const auto box = [](double w, double h) { return QRectF(0.25, 0.25, w / 512, h / 256); };
    const struct
    {
        const char *name;
        QRectF box;
        QPoint point;
        Zone zone;
    } rows[] = {
        {"8 px tall: middle", box(40, 8), {148, 68}, Inside},
        {"8 px tall: 1 px below its top", box(40, 8), {148, 65}, Inside},
        {"8 px tall: 1 px inside its left end", box(40, 8), {129, 68}, Inside},
        {"8 px tall: drawn top edge", box(40, 8), {148, 56}, Top},
        {"8 px tall: 3 px below its drawn bottom", box(40, 8), {148, 83}, Bottom},
        {"8 px tall: drawn top-left corner", box(40, 8), {120, 56}, TopLeft},
        {"8 px tall: 5 px right of its drawn right", box(40, 8), {181, 68}, NoZone},
        {"26 x 6: middle", box(26, 6), {141, 67}, Inside},
        {"26 x 6: on its top", box(26, 6), {141, 64}, Inside},
        {"26 x 6: drawn right edge", box(26, 6), {162, 67}, Right},
        {"26 x 6: drawn bottom-left", box(26, 6), {118, 80}, BottomLeft},
        {"0 px: on it", box(0.5, 0.5), {128, 64}, Inside},
        {"0 px: drawn bottom-right", box(0.5, 0.5), {136, 72}, BottomRight},
        {"too thin to grab", box(0.02, 20), {128, 70}, NoZone},
        // Large enough boxes are grabbed on themselves, as the crop box is.
        {"large: 4 px inside its top", box(200, 100), {228, 68}, Top},
        {"large: 4 px left of its left", box(200, 100), {124, 114}, Left},
        {"large: 8 px above its top", box(200, 100), {228, 56}, NoZone},
        {"large: middle", box(200, 100), {228, 114}, Inside},
        {"18 x 18: 4 px inside its top", box(18, 18), {137, 68}, Top},
        {"18 x 18: middle", box(18, 18), {137, 73}, Inside},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << r.box << r.point << unsigned(r.zone);
}

void TestCropOverlay::itemZones()
{
    QFETCH(QRectF, box);
    QFETCH(QPoint, point);
    const QRect element(0, 0, 512, 256);
    QTEST(itemZone(box, element, point, needsFrame(box, element)), "zone");
}

void TestCropOverlay::clampFractions_data()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<QRectF>("input");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("inside") << QRectF(0.1, 0.2, 0.3, 0.4) << QRectF(0.1, 0.2, 0.3, 0.4);
    QTest::newRow("past the right edge") << QRectF(0.6, 0.0, 0.7, 1.0) << QRectF(0.6, 0.0, 0.4, 1.0);
    QTest::newRow("negative origin") << QRectF(-0.2, -1.0, 0.5, 0.5) << QRectF(0.0, 0.0, 0.5, 0.5);
    QTest::newRow("beyond the frame") << QRectF(3.0, 2.0, 1.0, 1.0) << QRectF(1.0, 1.0, 0.0, 0.0);
    QTest::newRow("negative size") << QRectF(0.5, 0.5, -0.1, -0.2) << QRectF(0.5, 0.5, 0.0, 0.0);
    QTest::newRow("not a number") << QRectF(nan, 0.5, nan, inf) << QRectF(0.0, 0.5, 0.0, 0.0);
}

void TestCropOverlay::clampFractions()
{
    QFETCH(QRectF, input);
    QTEST(clampFraction(input), "expected");
}

void TestCropOverlay::dragStaysSaneOnEmptyPictures()
{
    const QRectF start(0.25, 0.25, 0.5, 0.5);
    // No picture: the box stays as it was instead of dividing by zero.
    QCOMPARE(dragBox(Right, start, QPoint(10, 10), QPoint(90, 10), QRect()), start);
    QCOMPARE(dragBox(Inside, start, QPoint(10, 10), QPoint(90, 10), QRect(0, 0, 0, 300)), start);
    QCOMPARE(dragBox(NoZone, start, QPoint(10, 10), QPoint(90, 10), QRect(0, 0, 400, 300)), start);
    // A minimum bigger than the picture still ends inside the frame.
    const QRectF tiny = dragBox(Left, start, QPoint(100, 150), QPoint(390, 150), QRect(0, 0, 10, 10));
    QVERIFY(tiny.x() >= 0.0 && tiny.right() <= 1.0 + 1e-12);
}

struct Drag
{
    QPoint press;
    QPoint to;
};
Q_DECLARE_METATYPE(Drag)

void TestCropOverlay::dragWithMouse_data()
{
    QTest::addColumn<Drag>("drag");
    QTest::addColumn<unsigned>("zone");
    QTest::addColumn<QRectF>("expected");
    // Picture 400 x 300 at the view's origin, box (0.25, 0.25, 0.5, 0.5) = pixels (100, 75)-(300, 225).
    QTest::newRow("right edge out") << Drag{{300, 150}, {340, 150}} << unsigned(Right) << QRectF(0.25, 0.25, 0.6, 0.5);
    QTest::newRow("right edge past the frame")
        << Drag{{300, 150}, {500, 150}} << unsigned(Right) << QRectF(0.25, 0.25, 0.75, 0.5);
    QTest::newRow("left edge past the right edge: 20 px minimum")
        << Drag{{100, 150}, {390, 150}} << unsigned(Left) << QRectF(0.70, 0.25, 0.05, 0.5);
    QTest::newRow("top-left corner out") << Drag{{100, 75}, {60, 45}} << unsigned(TopLeft)
                                         << QRectF(0.15, 0.15, 0.6, 0.6);
    QTest::newRow("bottom-right past the frame")
        << Drag{{300, 225}, {500, 400}} << unsigned(BottomRight) << QRectF(0.25, 0.25, 0.75, 0.75);
    QTest::newRow("top edge past the frame")
        << Drag{{200, 75}, {200, -50}} << unsigned(Top) << QRectF(0.25, 0.0, 0.5, 0.75);
    QTest::newRow("bottom edge up past the top: margin")
        << Drag{{200, 225}, {200, 0}} << unsigned(Bottom) << QRectF(0.25, 0.25, 0.5, 20.0 / 300.0);
    QTest::newRow("move past the top-left")
        << Drag{{200, 150}, {0, 0}} << unsigned(Inside) << QRectF(0.0, 0.0, 0.5, 0.5);
    QTest::newRow("move past the bottom-right")
        << Drag{{200, 150}, {450, 330}} << unsigned(Inside) << QRectF(0.5, 0.5, 0.5, 0.5);
}

// The overlay shown in a window, away from the window's corner, as the editor places it.
struct OverlayWindow
{
    QWidget window;
    NSImgBorderView *view = new NSImgBorderView(&window);
    explicit OverlayWindow(const QSize &size)
    {
        window.resize(size + QSize(40, 40));
        view->setGeometry(QRect(QPoint(20, 20), size));
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("the overlay's window was not shown");
    }
};

static bool fuzzyEqual(const QRectF &a, const QRectF &b)
{
    const auto near = [](double x, double y) { return std::abs(x - y) < 1e-9; };
    return near(a.x(), b.x()) && near(a.y(), b.y()) && near(a.width(), b.width()) && near(a.height(), b.height());
}

static QString describe(const QRectF &r)
{
    return QStringLiteral("(%1, %2, %3, %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

void TestCropOverlay::dragWithMouse()
{
    QFETCH(Drag, drag);
    QFETCH(unsigned, zone);
    QFETCH(QRectF, expected);
    OverlayWindow shown(QSize(400, 300));
    NSImgBorderView &view = *shown.view;
    CropBoxTracker tracker(&view);
    tracker.setElementRect(QRect(0, 0, 400, 300));
    tracker.setCropRect(QRectF(0.25, 0.25, 0.5, 0.5));
    QSignalSpy changes(&tracker, &CropBoxTracker::emitCropRectChange);

    rstest::pressAt(&view, drag.press);
    QCOMPARE(tracker.dragZone(), zone);
    QCOMPARE(view.cursor().shape(), cursorForZone(zone));
    // Through a point on the way, as a real drag does: each step starts from the box at the press.
    rstest::moveTo(&view, (drag.press + drag.to) / 2);
    rstest::moveTo(&view, drag.to);
    rstest::releaseAt(&view, drag.to);
    QCOMPARE(tracker.dragZone(), 0u);

    const QRectF crop = tracker.cropRect();
    QVERIFY2(fuzzyEqual(crop, expected), qPrintable(describe(crop) + " != " + describe(expected)));
    QVERIFY(crop.x() >= 0.0 && crop.y() >= 0.0 && crop.right() <= 1.0 + 1e-12 && crop.bottom() <= 1.0 + 1e-12);
    QVERIFY(!changes.isEmpty());
    QCOMPARE(changes.last().at(0).toRectF(), crop);
    QVERIFY(view.itemView());
    QCOMPARE(view.itemView()->geometry(), pixelBox(crop, QRect(0, 0, 400, 300)));

    // Moves after the release only hover.
    const int emitted = changes.count();
    rstest::moveTo(&view, QPoint(10, 10));
    QCOMPARE(changes.count(), emitted);
}

void TestCropOverlay::dragFollowsThePictureOffset()
{
    // The picture is letterboxed inside the overlay; the overlay itself sits inside a window, and its
    // callbacks report window coordinates.
    QWidget window;
    window.resize(500, 400);
    auto *view = new NSImgBorderView(&window);
    view->setGeometry(30, 20, 400, 300);
    CropBoxTracker tracker(view);
    tracker.setElementRect(QRect(0, 50, 400, 200));
    tracker.setCropRect(QRectF(0.0, 0.0, 1.0, 1.0));
    QCOMPARE(view->itemView()->geometry(), QRect(QPoint(0, 50), QPoint(400, 250)));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    rstest::pressAt(view, QPoint(398, 150));
    QCOMPARE(tracker.dragZone(), unsigned(Right));
    rstest::moveTo(view, QPoint(198, 150));
    rstest::releaseAt(view, QPoint(198, 150));
    QVERIFY(fuzzyEqual(tracker.cropRect(), QRectF(0.0, 0.0, 0.5, 1.0)));
}

void TestCropOverlay::hoverShowsZoneCursor()
{
    OverlayWindow shown(QSize(400, 300));
    NSImgBorderView &view = *shown.view;
    CropBoxTracker tracker(&view);
    tracker.setElementRect(QRect(0, 0, 400, 300));
    tracker.setCropRect(QRectF(0.25, 0.25, 0.5, 0.5));
    QSignalSpy changes(&tracker, &CropBoxTracker::emitCropRectChange);
    rstest::moveTo(&view, QPoint(300, 225));
    QCOMPARE(view.cursor().shape(), Qt::SizeFDiagCursor);
    rstest::moveTo(&view, QPoint(200, 78));
    QCOMPARE(view.cursor().shape(), Qt::SizeVerCursor);
    rstest::moveTo(&view, QPoint(10, 10));
    QCOMPARE(view.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(tracker.cropRect(), QRectF(0.25, 0.25, 0.5, 0.5));
}

void TestCropOverlay::emptyBoxesAndPicturesCannotBeGrabbed()
{
    OverlayWindow shown(QSize(400, 300));
    NSImgBorderView &view = *shown.view;
    CropBoxTracker tracker(&view);
    QSignalSpy changes(&tracker, &CropBoxTracker::emitCropRectChange);

    // No picture yet.
    tracker.setCropRect(QRectF(0.25, 0.25, 0.5, 0.5));
    rstest::pressAt(&view, QPoint(200, 150));
    rstest::moveTo(&view, QPoint(250, 150));
    rstest::releaseAt(&view, QPoint(250, 150));
    QCOMPARE(tracker.dragZone(), 0u);

    // A box without area.
    tracker.setElementRect(QRect(0, 0, 400, 300));
    tracker.setCropRect(QRectF(0.5, 0.5, 0.0, 0.0));
    rstest::pressAt(&view, QPoint(200, 150));
    QCOMPARE(tracker.dragZone(), 0u);
    rstest::moveTo(&view, QPoint(250, 150));
    rstest::releaseAt(&view, QPoint(250, 150));

    // The picture shrinks to nothing in the middle of a drag.
    tracker.setCropRect(QRectF(0.25, 0.25, 0.5, 0.5));
    rstest::pressAt(&view, QPoint(200, 150));
    QCOMPARE(tracker.dragZone(), unsigned(Inside));
    tracker.setElementRect(QRect());
    rstest::moveTo(&view, QPoint(250, 150));
    rstest::releaseAt(&view, QPoint(250, 150));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(tracker.cropRect(), QRectF(0.25, 0.25, 0.5, 0.5));

    // A box given out of range is clamped into the frame.
    tracker.setCropRect(QRectF(-0.5, 0.5, 2.0, 0.9));
    QCOMPARE(tracker.cropRect(), QRectF(0.0, 0.5, 1.0, 0.5));
}

QImage TestCropOverlay::gridImage()
{
    // 30 x 30 in nine 10 x 10 blocks of distinct colours.
    QImage image(30, 30, QImage::Format_ARGB32);
    QPainter painter(&image);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            painter.fillRect(col * 10, row * 10, 10, 10, QColor(40 + col * 100, 40 + row * 100, 200));
    return image;
}

void TestCropOverlay::nineSliceFrame()
{
    NSImgBorderView view;
    view.resize(100, 60);
    view.setImage(gridImage());
    QImage out(view.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    view.render(&out, QPoint(), QRegion(), QWidget::DrawChildren);
    const auto block = [](int col, int row) { return QColor(40 + col * 100, 40 + row * 100, 200); };
    struct Probe
    {
        QPoint at;
        int col, row;
    };
    const Probe probes[] = {
        {{2, 2}, 0, 0},   {{50, 2}, 1, 0}, {{97, 2}, 2, 0},  {{2, 30}, 0, 1},  {{50, 30}, 1, 1},
        {{97, 30}, 2, 1}, {{2, 57}, 0, 2}, {{50, 57}, 1, 2}, {{97, 57}, 2, 2},
    };
    for (const Probe &p : probes)
        QCOMPARE(out.pixelColor(p.at), block(p.col, p.row));
}

void TestCropOverlay::cornerSlicesAreThirds()
{
    NSImgBorderView view;
    view.setImage(QImage(31, 44, QImage::Format_ARGB32));
    QCOMPARE(view.upLeft(), QSizeF(10, 15));
    QCOMPARE(view.downRight(), QSizeF(10, 15));
    view.setImage(QImage(30, 30, QImage::Format_ARGB32));
    QCOMPARE(view.upRight(), QSizeF(10, 10));
    QVERIFY(view.hasMouseTracking());
    // An image that fails to load leaves no frame and no crash on painting.
    view.setBackgroundImage(QStringLiteral("/nonexistent/frame.png"));
    QVERIFY(view.image().isNull());
    QCOMPARE(view.upLeft(), QSizeF(0, 0));
    view.resize(50, 50);
    QImage out(view.size(), QImage::Format_ARGB32);
    view.render(&out);
}

struct CallbackLog
{
    int calls = 0;
    QPointF location;
    void *owner = nullptr;
};

static CallbackLog s_log;

static void recordCallback(QPointF location, void *owner)
{
    ++s_log.calls;
    s_log.location = location;
    s_log.owner = owner;
}

void TestCropOverlay::callbacksGetWindowPositionAndOwner()
{
    QWidget window;
    window.resize(300, 300);
    auto *view = new NSImgBorderView(&window);
    view->setGeometry(30, 40, 100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    s_log = CallbackLog();

    // Without callbacks, events are ignored.
    rstest::clickAt(view, QPoint(10, 20));
    QCOMPARE(s_log.calls, 0);

    int owner = 0;
    view->setCallBackObject(&owner);
    view->setDownCallback(&recordCallback);
    rstest::pressAt(view, QPoint(10, 20));
    QCOMPARE(s_log.calls, 1);
    QCOMPARE(s_log.location, QPointF(40, 60));
    QCOMPARE(s_log.owner, static_cast<void *>(&owner));
    rstest::releaseAt(view, QPoint(10, 20));
    QCOMPARE(s_log.calls, 1);
    view->setUpCallback(&recordCallback);
    view->setMoveCallback(&recordCallback);
    rstest::pressAt(view, QPoint(10, 20));
    rstest::moveTo(view, QPoint(6, 7)); // a drag; hovering is reported once an image is set
    QCOMPARE(s_log.calls, 3);
    rstest::releaseAt(view, QPoint(6, 7));
    QCOMPARE(s_log.calls, 4);
    QCOMPARE(s_log.location, QPointF(36, 47));
}

void TestCropOverlay::itemImageFixedAtCreation()
{
    const QString dir = rstest::scratchDir(QStringLiteral("cropoverlay"));
    QImage red(20, 20, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QImage blue(20, 20, QImage::Format_ARGB32);
    blue.fill(Qt::blue);
    QVERIFY(red.save(dir + QStringLiteral("/red.png")));
    QVERIFY(blue.save(dir + QStringLiteral("/blue.png")));

    NSImgBorderView view;
    view.resize(200, 200);
    view.setItemImage(dir + QStringLiteral("/red.png"));
    QVERIFY(!view.itemView());
    view.setItemRect(QRect(10, 10, 50, 40));
    QVERIFY(view.itemView());
    QCOMPARE(view.itemView()->geometry(), QRect(10, 10, 50, 40));
    QCOMPARE(view.itemView()->image().pixelColor(5, 5), QColor(Qt::red));
    view.setItemImage(dir + QStringLiteral("/blue.png"));
    view.setItemRect(QRect(20, 20, 60, 60));
    QCOMPARE(view.itemView()->image().pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(view.itemView()->geometry(), QRect(20, 20, 60, 60));
    // The item lets the mouse through to the overlay, which does the dragging.
    QVERIFY(view.itemView()->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestCropOverlay::itemHandlesAndOutline()
{
    NSImgItemView item;
    item.resize(60, 40);
    QImage handles(40, 40, QImage::Format_ARGB32);
    handles.fill(Qt::red);
    item.setImage(handles);
    const auto render = [&item] {
        QImage out(item.size(), QImage::Format_ARGB32);
        out.fill(Qt::black);
        item.render(&out, QPoint(), QRegion(), QWidget::DrawChildren);
        return out;
    };
    QImage out = render();
    QCOMPARE(out.pixelColor(3, 3), QColor(Qt::red));   // corner handle
    QCOMPARE(out.pixelColor(30, 3), QColor(Qt::red));  // top-middle handle
    QCOMPARE(out.pixelColor(30, 20), QColor(Qt::red)); // centre piece
    QCOMPARE(out.pixelColor(56, 20), QColor(Qt::red)); // right-middle handle
    int white = 0, dark = 0;
    for (int x = 8; x < 24; ++x)
        (out.pixelColor(x, 0) == QColor(Qt::white) ? white : dark) += 1;
    QVERIFY2(white > 0 && dark > 0, "the outline is dashed white");

    item.showMidImg(false);
    out = render();
    QCOMPARE(out.pixelColor(30, 20), QColor(Qt::black));
    item.showBorderImg(false);
    out = render();
    QCOMPARE(out.pixelColor(3, 3), QColor(Qt::black));
    QCOMPARE(out.pixelColor(15, 0), QColor(Qt::black));
}

RS_TEST_MAIN(TestCropOverlay)
#include "tst_cropoverlay.moc"
