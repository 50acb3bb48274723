// The Watermark page's text as a user leaves it on the editor preview: styled in the text style dialog, moved to
// the middle of the picture, then the clip trimmed, turned and given packages across page switches, or the
// watermark applied to another clip; and the caption as typed, at its default size, moved and resized. What the
// screen shows inside the text's dashed box is checked, and that the box is drawn where the pointer grabs it.
#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "QAdjustOperationForm.h"
#include "QCommonButtonForm.h"
#include "QEffectOperationForm.h"
#include "QHorizontalListFrom.h"
#include "QHorizontalListItem.h"
#include "QIAnyUtil.h"
#include "QMediaBorderFrame.h"
#include "QMediaDashedFrame.h"
#include "QMediaElementWindow.h"
#include "QMediaForm.h"
#include "QPlayerOperationForm.h"
#include "QTextStyleDlg.h"
#include "QTrimOperationForm.h"
#include "QVEDualSlider.h"
#include "QVideoEditTag.h"
#include "QVideoEditingDlg.h"
#include "QWatermarkOperationForm.h"
#include "QWatermartTextSettingDlg.h"
#include "QZTSpinBox.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include "CropDragGeometry.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>

namespace {

using etk::recordOf;

const QColor kTextColor(255, 214, 0);

bool isTextColor(QRgb p, const QColor &text)
{
    return qAbs(qRed(p) - text.red()) + qAbs(qGreen(p) - text.green()) + qAbs(qBlue(p) - text.blue()) < 60;
}

void openPage(QVideoEditingDlg &dlg, int tab)
{
    rstest::clickAt(dlg.editTag()->button(tab));
}

// The trim window's start handle dragged to a quarter of the clip, then Trim.
void trimFromAQuarter(QVideoEditingDlg &dlg)
{
    openPage(dlg, QVideoEditingDlg::Trim);
    QTrimOperationForm *trim = dlg.trimPage();
    QVEDualSlider *slider = trim->m_TrimDSlider;
    const QPoint grab(3, slider->startButton()->height() / 2);
    rstest::pressAt(slider->startButton(), grab);
    const QPoint to(slider->width() / 4 + grab.x(), slider->startButton()->y() + grab.y());
    rstest::moveTo(slider, to);
    rstest::releaseAt(slider, to);
    rstest::clickAt(trim->m_btnTrim);
}

void typeText(QVideoEditingDlg &dlg, const QString &text)
{
    openPage(dlg, QVideoEditingDlg::Watermark);
    QTextEdit *edit = dlg.watermarkPage()->m_leAddWKText->textEdit();
    rstest::clickAt(edit);
    rstest::typeText(edit, text);
}

// The text styled in the text style dialog: a bold serif that fits across the turned picture, a colour and an
// outline thick enough that the box's handles, drawn inside it, clear the letters on the narrow turned picture.
void styleText(QVideoEditingDlg &dlg)
{
    QWatermarkOperationForm *page = dlg.watermarkPage();
    QFont serif(QStringLiteral("DejaVu Serif"));
    serif.setPointSize(26);
    serif.setBold(true);
    QTextStyleDlg::setFontPickerForTesting([serif](const QFont &, QWidget *, QFont *chosen) {
        *chosen = serif;
        return true;
    });
    QTextStyleDlg::setColorPickerForTesting([](const QColor &, QWidget *) { return kTextColor; });
    bool styled = false;
    // The dialog runs its own loop: it is worked from inside that loop, as it comes up.
    QTimer::singleShot(0, [&] {
        QWatermartTextSettingDlg *style = nullptr;
        if (!QTest::qWaitFor(
                [&] {
                    style = qobject_cast<QWatermartTextSettingDlg *>(QApplication::activeModalWidget());
                    return style && style->isVisible();
                },
                rstest::kHangBoundMs))
            return;
        rstest::clickAt(style->m_btnFont);
        rstest::clickAt(style->m_btnTextColor);
        etk::typeInto(style->m_dspOutlineSize, QStringLiteral("6"));
        rstest::keyClick(style->m_dspOutlineSize, Qt::Key_Enter);
        styled = true;
        rstest::clickAt(style->m_btnOK);
    });
    rstest::clickAt(page->m_btnSetWKTFont);
    QTextStyleDlg::setFontPickerForTesting(nullptr);
    QTextStyleDlg::setColorPickerForTesting(nullptr);
    QVERIFY(styled);
    const VEWatermarkTextSettings t = recordOf(dlg).watermark.text;
    QCOMPARE(t.fontName, QByteArray("DejaVu Serif"));
    QCOMPARE(t.outlineSize, 6.0);
}

// The text's box dragged by its middle to the middle of the picture.
void moveTextToTheMiddle(QVideoEditingDlg &dlg)
{
    openPage(dlg, QVideoEditingDlg::Watermark);
    QMediaBorderFrame *overlay = dlg.mediaForm()->watermarkFrame();
    const QRect element = dlg.mediaForm()->previewWindow()->getVideoElementRect();
    QVERIFY(
        QTest::qWaitFor([&] { return overlay->isVisible() && overlay->item(0)->isVisible(); }, rstest::kHangBoundMs));
    const QRect box = overlay->item(0)->geometry();
    rstest::dragTo(overlay, box.center(), overlay, element.center());
    const VEWatermarkTextSettings t = recordOf(dlg).watermark.text;
    QVERIFY2(t.posY > 0.3, qPrintable(QString::number(t.posY)));
}

// The Watermark page's preview: the styled text drawn inside its dashed box, clear of the box's edges and
// handles: `pane` is the edited picture alone, `screen` what the screen shows there, overlays included, both
// in device pixels (twice the logical ones at QT_SCALE_FACTOR=2).
struct PaneLook
{
    QImage pane, screen;
    QRect box;            // the text's dashed box, in the pane's device pixels
    QList<QRect> handles; // the squares inside its corners and edge middles
    QRect text;           // the text's letters, outline included
    int letters = 0, covered = 0, underHandles = 0;
    int changed = 0; // pixels around the letters that the screen shows otherwise than the picture
};

PaneLook lookAt(QVideoEditingDlg &dlg, const QColor &textColor)
{
    PaneLook look;
    QWidget *view = etk::videoViewOf(dlg.mediaForm()->previewWindow());
    const QMediaDashedFrame *item = dlg.mediaForm()->watermarkFrame()->item(0);
    if (!view || !item->isVisible())
        return look;
    look.pane = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = view->mapToGlobal(QPoint(0, 0));
    look.screen = QGuiApplication::primaryScreen()
                      ->grabWindow(0, origin.x(), origin.y(), view->width(), view->height())
                      .toImage()
                      .convertToFormat(QImage::Format_RGB32);
    const int scale = qRound(view->devicePixelRatioF());
    look.box = QRect((item->mapToGlobal(QPoint(0, 0)) - origin) * scale, item->size() * scale);
    const int n = QMediaDashedFrame::kHandleSize * scale;
    const QRect &b = look.box;
    for (int x : {b.left(), b.left() + (b.width() - n) / 2, b.right() - n + 1})
        for (int y : {b.top(), b.top() + (b.height() - n) / 2, b.bottom() - n + 1})
            if (x != b.left() + (b.width() - n) / 2 || y != b.top() + (b.height() - n) / 2)
                look.handles << QRect(x, y, n, n);
    for (int y = 0; y < look.pane.height(); ++y)
        for (int x = 0; x < look.pane.width(); ++x) {
            if (!isTextColor(look.pane.pixel(x, y), textColor))
                continue;
            ++look.letters;
            look.text |= QRect(x, y, 1, 1);
            look.covered += look.screen.size() == look.pane.size() && !isTextColor(look.screen.pixel(x, y), textColor);
            look.underHandles += std::any_of(look.handles.begin(), look.handles.end(),
                                             [x, y](const QRect &r) { return r.contains(x, y); });
        }
    // The outline lies around the letters' colour: its width on screen, and a pixel for the scaling.
    const VEEditConfig c = recordOf(dlg);
    const QRect element = dlg.mediaForm()->previewWindow()->getVideoElementRect();
    const int outline =
        int(std::ceil(c.watermark.text.outlineSize * element.width() * scale / c.resolutionWidth)) + scale;
    look.text.adjust(-outline, -outline, outline, outline);
    look.text &= look.pane.rect(); // a text wider than the picture ends at its edge
    for (int y = look.text.top(); y <= look.text.bottom(); ++y)
        for (int x = look.text.left(); x <= look.text.right(); ++x)
            look.changed += look.screen.size() == look.pane.size() &&
                            !isTextColor(look.screen.pixel(x, y), QColor(look.pane.pixel(x, y)));
    return look;
}

// The pointer on the drawn text box's outer pixels, at its corners and edge middles, shows the cursor for
// resizing from there, and in its middle the cursor for moving it.
void checkCursorsOnTheBox(QVideoEditingDlg &dlg)
{
    using namespace CropDragGeometry;
    QMediaBorderFrame *overlay = dlg.mediaForm()->watermarkFrame();
    const QRect b = overlay->item(0)->geometry();
    QString where;
    QDebug(&where) << "drawn" << b;
    const QPoint c = b.center();
    const std::pair<QPoint, unsigned> spots[] = {
        {b.topLeft(), TopLeft},       {{c.x(), b.top()}, Top},        {b.topRight(), TopRight},
        {{b.right(), c.y()}, Right},  {b.bottomRight(), BottomRight}, {{c.x(), b.bottom()}, Bottom},
        {b.bottomLeft(), BottomLeft}, {{b.left(), c.y()}, Left},      {c, Inside}};
    for (const auto &[spot, zone] : spots) {
        rstest::moveTo(overlay, spot);
        QDebug(&where) << "; at" << spot << "cursor" << overlay->cursor().shape();
        QVERIFY2(overlay->cursor().shape() == cursorForZone(zone), qPrintable(where));
    }
}

// The drawn box is the measured one: its near edges where the preview controller grabs them, its far edges
// within a pixel (the grab box truncates its size, the drawn one rounds it); and the pointer finds its zones
// where it is drawn.
void checkBoxIsWhereItIsGrabbed(QVideoEditingDlg &dlg)
{
    QMediaBorderFrame *overlay = dlg.mediaForm()->watermarkFrame();
    QMediaElementWindow *pane = dlg.mediaForm()->previewWindow();
    const QRect b = overlay->item(0)->geometry();
    const VEWatermarkTextSettings t = recordOf(dlg).watermark.text;
    const QRect grab = CropDragGeometry::pixelBox(QRectF(t.posX, t.posY, t.measuredWidth, t.measuredHeight),
                                                  pane->getVideoElementRect())
                           .translated(pane->mapToGlobal(QPoint(0, 0)) - overlay->mapToGlobal(QPoint(0, 0)));
    QString where;
    QDebug(&where) << "drawn" << b << "grabbed" << grab;
    QVERIFY2(b.topLeft() == grab.topLeft() && qAbs(b.right() - grab.right()) <= 1 &&
                 qAbs(b.bottom() - grab.bottom()) <= 1,
             qPrintable(where));
    checkCursorsOnTheBox(dlg);
}

// The caption a new user types on the Watermark page, at the default size and style, once the clip is loaded;
// true once its box shows, measured by the player.
bool typedDefaultCaption(etk::EditorWindow &editor)
{
    if (!editor.waitLoaded())
        return false;
    typeText(editor.dlg, QStringLiteral("Hello Text"));
    QMediaDashedFrame *box = editor.dlg.mediaForm()->watermarkFrame()->item(0);
    return QTest::qWaitFor([&] { return box->isVisible() && recordOf(editor.dlg).watermark.text.measuredHeight > 0; },
                           rstest::kHangBoundMs);
}

// A picture of one colour chosen on the Watermark page; true once its box shows, measured by the player.
bool addedPicture(QVideoEditingDlg &dlg, const QSize &size, const QColor &colour)
{
    const QString logo = rstest::scratchDir(QStringLiteral("logo")) +
                         QStringLiteral("/logo_%1x%2.png").arg(size.width()).arg(size.height());
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(colour);
    if (!picture.save(logo))
        return false;
    openPage(dlg, QVideoEditingDlg::Watermark);
    EditorFileDialog::setOpenFileForTesting(
        [logo](QWidget *, const QString &, const QString &, const QString &) { return logo; });
    rstest::clickAt(dlg.watermarkPage()->m_btnAddWKImg);
    EditorFileDialog::setOpenFileForTesting(nullptr);
    QMediaDashedFrame *box = dlg.mediaForm()->watermarkFrame()->item(1);
    return QTest::qWaitFor([&] { return box->isVisible() && recordOf(dlg).watermark.image.measuredHeight > 0; },
                           rstest::kHangBoundMs);
}

// An item's box (0 the text, 1 the picture) dragged by its middle to the middle of the picture with X input, which
// leaves it room all round; true once the record has it there.
bool xMovedToTheMiddle(QVideoEditingDlg &dlg, int item)
{
    QMediaBorderFrame *overlay = dlg.mediaForm()->watermarkFrame();
    const auto posY = [&] {
        const VEWatermarkSettings w = recordOf(dlg).watermark;
        return item == 0 ? w.text.posY : w.image.posY;
    };
    const double before = posY();
    rstest::xDragTo(overlay, overlay->item(item)->geometry().center(),
                    dlg.mediaForm()->previewWindow()->getVideoElementRect().center());
    return QTest::qWaitFor([&] { return posY() != before; }, rstest::kHangBoundMs);
}

// `minLetters` pixels of the text's colour at least tell a picture with the text from one without.
void checkTextInItsBox(QVideoEditingDlg &dlg, const QString &shot, const QColor &textColor, int minLetters,
                       PaneLook &look)
{
    // Stopped, the preview rests on the clip's first frame: the text shows from the clip's start.
    rstest::clickAt(dlg.playBar()->m_btnStop);
    // Frames come from the player's thread and the boxes draw late on purpose: wait for the picture with
    // its text and the box, bounded.
    const bool shown = QTest::qWaitFor(
        [&] {
            look = lookAt(dlg, textColor);
            return look.letters >= minLetters && dlg.mediaForm()->watermarkFrame()->item(0)->paintCount() >= 2;
        },
        rstest::kHangBoundMs);
    const int scale = qRound(dlg.devicePixelRatioF());
    etk::saveGallery(&dlg, scale > 1 ? shot + QStringLiteral("-scale%1").arg(scale) : shot);
    QVERIFY2(shown, qPrintable(QStringLiteral("%1 pixels of the text's colour in the preview").arg(look.letters)));
    QString where;
    QDebug(&where) << "letters" << look.text << "box" << look.box << look.covered << "of" << look.letters
                   << "letter pixels drawn over on screen," << look.underHandles << "under a handle";
    QCOMPARE(look.screen.size(), look.pane.size());
    QVERIFY2(look.box.contains(look.text), qPrintable(where));
    QVERIFY2(look.underHandles == 0 && look.covered == 0, qPrintable(where));
}

// The corner of a drawn box that a zone holds.
QPoint cornerOf(const QRect &r, unsigned zone)
{
    using namespace CropDragGeometry;
    return QPoint(holdsLeft(zone) ? r.left() : r.right(), holdsTop(zone) ? r.top() : r.bottom());
}

// What the screen shows over the edited pane, overlays included, into the gallery (named for Qt's scaling when it
// scales).
void saveScreenOfPane(QVideoEditingDlg &dlg, QString name)
{
    if (qRound(dlg.devicePixelRatioF()) > 1)
        name += QStringLiteral("-scale2");
    QWidget *pane = dlg.mediaForm()->previewWindow();
    const QPoint origin = pane->mapToGlobal(QPoint(0, 0));
    const QImage shot = QGuiApplication::primaryScreen()
                            ->grabWindow(0, origin.x(), origin.y(), pane->width(), pane->height())
                            .toImage();
    QVERIFY(shot.save(rstest::galleryPath(name)));
}

} // namespace

class TestWatermarkPreview : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }

    void styledTextStaysInItsBox_data()
    {
        QTest::addColumn<bool>("appliedToAll");
        QTest::newRow("turned clip with packages, pages switched") << false;
        QTest::newRow("clip reached by Apply to all") << true;
    }

    void styledTextStaysInItsBox()
    {
        QFETCH(bool, appliedToAll);
        etk::EditorWindow first(etk::greyClip());
        QVideoEditingDlg &dlg = first.dlg;
        QVERIFY(first.waitLoaded());
        // Trimmed first: the text is added to a clip that starts a second in.
        trimFromAQuarter(dlg);
        QVERIFY(recordOf(dlg).trimStart > 500000);
        typeText(dlg, QStringLiteral("HOLIDAY 2026"));
        styleText(dlg);
        if (QTest::currentTestFailed())
            return;
        openPage(dlg, QVideoEditingDlg::Adjust);
        if (!appliedToAll) {
            rstest::clickAt(dlg.adjustPage()->m_btnRotate_R_90);
            QCOMPARE(recordOf(dlg).crop.rotation, 90);
            openPage(dlg, QVideoEditingDlg::Effect);
            QEffectOperationForm *effects = dlg.effectPage();
            rstest::clickAt(effects->m_effectsList->item(1));
            rstest::clickAt(effects->m_effectTag->button(1));
            rstest::clickAt(effects->m_frameList->item(1));
            const VEEditConfig c = recordOf(dlg);
            QVERIFY(!c.effectOverlay.image.imagePath.isEmpty() && !c.frameOverlay.image.imagePath.isEmpty());
        }
        moveTextToTheMiddle(dlg);
        if (QTest::currentTestFailed())
            return;
        if (!appliedToAll) {
            // The whole clip again, from the Trim page.
            openPage(dlg, QVideoEditingDlg::Trim);
            rstest::clickAt(dlg.trimPage()->m_btnReset);
            QCOMPARE(recordOf(dlg).trimStart, quint64(0));
            openPage(dlg, QVideoEditingDlg::Watermark);
            PaneLook look;
            checkTextInItsBox(dlg, QStringLiteral("QVideoEditingDlg-watermark-styled-turned"), kTextColor, 100, look);
            checkBoxIsWhereItIsGrabbed(dlg);
            return;
        }
        rstest::clickAt(dlg.watermarkPage()->m_buttonFrom->m_btnApplyToAll);
        rstest::clickAt(dlg.m_btnOK);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        // As the media list does for every other clip.
        dlg.hideMediaForm();
        VEEditConfig other;
        dlg.getApplyConfig(other);
        QCOMPARE(other.watermark.text.fontName, QByteArray("DejaVu Serif"));
        etk::EditorWindow second(etk::darkClip(), other);
        QVERIFY(second.waitLoaded());
        openPage(second.dlg, QVideoEditingDlg::Watermark);
        PaneLook look;
        checkTextInItsBox(second.dlg, QStringLiteral("QVideoEditingDlg-watermark-styled-applied"), kTextColor, 100,
                          look);
        checkBoxIsWhereItIsGrabbed(second.dlg);
    }

    void defaultCaptionMovesAndReads_data()
    {
        QTest::addColumn<QSize>("clip");
        QTest::newRow("720p") << QSize(1280, 720);
        QTest::newRow("1080p") << QSize(1920, 1080);
    }

    // The caption as typed, at the default size and style, is a few pixels high on the preview: lower than
    // its box's handles and than the reach of its top and bottom edges together. A drag from its middle moves
    // it, one from an edge of its drawn box resizes it, and its box leaves the letters readable.
    void defaultCaptionMovesAndReads()
    {
        QFETCH(QSize, clip);
        etk::EditorWindow editor(etk::greyClip(clip));
        QVideoEditingDlg &dlg = editor.dlg;
        QVERIFY(typedDefaultCaption(editor));
        QMediaBorderFrame *overlay = dlg.mediaForm()->watermarkFrame();
        QMediaDashedFrame *box = overlay->item(0);
        const QRect element = dlg.mediaForm()->previewWindow()->getVideoElementRect();
        const VEWatermarkTextSettings start = recordOf(dlg).watermark.text;
        QCOMPARE(start.fontSize, 28u);
        QVERIFY2(start.measuredHeight * element.height() < 2 * CropDragGeometry::kGrabDistance,
                 qPrintable(QString::number(start.measuredHeight * element.height())));

        const QPoint middle = box->geometry().center();
        rstest::xDragTo(overlay, middle, middle + QPoint(120, 80));
        VEWatermarkTextSettings moved;
        QTRY_VERIFY_WITH_TIMEOUT((moved = recordOf(dlg).watermark.text) != start, rstest::kHangBoundMs);
        QString where;
        QDebug(&where) << "from" << start.posX << start.posY << start.measuredWidth << start.measuredHeight << "to"
                       << moved.posX << moved.posY << moved.measuredWidth << moved.measuredHeight << "scale"
                       << moved.scaleX << moved.scaleY << "on" << element;
        const double px = 1.0 / element.width(), py = 1.0 / element.height();
        QVERIFY2(qAbs(moved.posX - start.posX - 120 * px) <= px && qAbs(moved.posY - start.posY - 80 * py) <= py,
                 qPrintable(where));
        QVERIFY2(moved.scaleX == start.scaleX && moved.scaleY == start.scaleY, qPrintable(where));
        // Read back from the player at the new place: the same size, within a pixel of the clip.
        QVERIFY2(qAbs(moved.measuredWidth - start.measuredWidth) <= 1.0 / clip.width() &&
                     qAbs(moved.measuredHeight - start.measuredHeight) <= 1.0 / clip.height(),
                 qPrintable(where));

        PaneLook look;
        checkTextInItsBox(dlg,
                          QStringLiteral("QVideoEditingDlg-watermark-default-caption-%1").arg(QTest::currentDataTag()),
                          Qt::white, 5, look);
        if (QTest::currentTestFailed())
            return;
        // Nothing of the box is drawn over the letters and their outline, nor between them.
        QDebug(&where) << "; letters" << look.text << "box" << look.box << look.changed << "pixels drawn over";
        QVERIFY2(look.changed == 0, qPrintable(where));
        checkCursorsOnTheBox(dlg);
        if (QTest::currentTestFailed())
            return;

        // The right edge of the drawn box, dragged out: the text is stretched across, not up.
        const QRect drawn = box->geometry();
        const QPoint edge(drawn.right(), drawn.center().y());
        rstest::xDragTo(overlay, edge, edge + QPoint(40, 0));
        VEWatermarkTextSettings wider;
        QTRY_VERIFY_WITH_TIMEOUT((wider = recordOf(dlg).watermark.text) != moved, rstest::kHangBoundMs);
        QDebug(&where) << "; stretched to" << wider.posX << wider.posY << wider.measuredWidth << "scale" << wider.scaleX
                       << wider.scaleY;
        QVERIFY2(wider.scaleX > moved.scaleX && wider.scaleY == moved.scaleY, qPrintable(where));
        QVERIFY2(wider.posX == moved.posX && wider.posY == moved.posY, qPrintable(where));
        QVERIFY2(wider.measuredWidth > moved.measuredWidth, qPrintable(where));
    }

    // A picture added beside the default caption lands at the same corner, under the caption's frame: a drag from
    // the picture's middle moves the picture and leaves the caption as it was.
    void pictureUnderTheCaptionsFrameMoves_data() { defaultCaptionMovesAndReads_data(); }
    void pictureUnderTheCaptionsFrameMoves()
    {
        QFETCH(QSize, clip);
        etk::EditorWindow editor(etk::greyClip(clip));
        QVideoEditingDlg &dlg = editor.dlg;
        QVERIFY(typedDefaultCaption(editor));
        QVERIFY(addedPicture(dlg, QSize(160, 90), QColor(230, 30, 200)));
        QMediaBorderFrame *overlay = dlg.mediaForm()->watermarkFrame();
        QVERIFY(overlay->item(0)->isVisible());
        const VEWatermarkSettings start = recordOf(dlg).watermark;
        const QPoint middle = overlay->item(1)->geometry().center();
        QVERIFY2(overlay->item(0)->geometry().contains(middle), "the caption's frame reaches the picture's middle");

        rstest::xDragTo(overlay, middle, middle + QPoint(100, 60));
        VEWatermarkSettings moved;
        QTRY_VERIFY_WITH_TIMEOUT((moved = recordOf(dlg).watermark).image.posX != start.image.posX ||
                                     moved.text != start.text,
                                 rstest::kHangBoundMs);
        const QRect element = dlg.mediaForm()->previewWindow()->getVideoElementRect();
        const double px = 1.0 / element.width(), py = 1.0 / element.height();
        QString where;
        QDebug(&where) << "picture from" << start.image.posX << start.image.posY << "to" << moved.image.posX
                       << moved.image.posY << "scale" << moved.image.scaleX << moved.image.scaleY << "; text at"
                       << moved.text.posX << moved.text.posY << "scale" << moved.text.scaleX << moved.text.scaleY;
        QVERIFY2(qAbs(moved.image.posX - start.image.posX - 100 * px) <= px &&
                     qAbs(moved.image.posY - start.image.posY - 60 * py) <= py,
                 qPrintable(where));
        QVERIFY2(moved.image.scaleX == start.image.scaleX && moved.image.scaleY == start.image.scaleY,
                 qPrintable(where));
        QVERIFY2(moved.text.posX == start.text.posX && moved.text.posY == start.text.posY &&
                     moved.text.scaleX == start.text.scaleX && moved.text.scaleY == start.text.scaleY,
                 qPrintable(where));
    }
    // A corner of the caption's drawn box dragged across 18 px, where a box gets or loses the frame around it: the
    // default caption on a 720p clip starts framed and is dragged out, the one on a small clip starts drawn on
    // itself and is dragged in. All the way and once let go, the dragged corner stays under the pointer and the
    // opposite one where it was.
    void cornerDragFollowsThePointer_data()
    {
        using namespace CropDragGeometry;
        QTest::addColumn<QSize>("clip");
        QTest::addColumn<unsigned>("zone");
        const std::pair<const char *, Zone> corners[] = {
            {"top-left", TopLeft}, {"top-right", TopRight}, {"bottom-left", BottomLeft}, {"bottom-right", BottomRight}};
        for (const auto &[name, zone] : corners) {
            QTest::addRow("framed-out-%s", name) << QSize(1280, 720) << unsigned(zone);
            QTest::addRow("unframed-in-%s", name) << QSize(320, 240) << unsigned(zone);
        }
    }

    void cornerDragFollowsThePointer()
    {
        using namespace CropDragGeometry;
        QFETCH(QSize, clip);
        QFETCH(unsigned, zone);
        etk::EditorWindow editor(etk::greyClip(clip));
        QVideoEditingDlg &dlg = editor.dlg;
        QVERIFY(typedDefaultCaption(editor));
        QVERIFY(xMovedToTheMiddle(dlg, 0));
        QMediaBorderFrame *overlay = dlg.mediaForm()->watermarkFrame();
        QMediaDashedFrame *box = overlay->item(0);
        const QRect element = dlg.mediaForm()->previewWindow()->getVideoElementRect();

        const bool framed = clip.height() > 240;
        const double startHeight = recordOf(dlg).watermark.text.measuredHeight * element.height();
        QVERIFY2(framed == (startHeight < 18), qPrintable(QString::number(startHeight)));
        const QRect start = box->geometry();
        const QPoint from = cornerOf(start, zone);
        const unsigned across =
            holdsLeft(zone) ? (holdsTop(zone) ? BottomRight : TopRight) : (holdsTop(zone) ? BottomLeft : TopLeft);
        const QPoint opposite = cornerOf(start, across);
        // Out by 24 px down, or in to 10 px high; as far across.
        const int dy = framed ? 24 : -int(startHeight - 10);
        const QPoint out(holdsLeft(zone) ? -1 : 1, holdsTop(zone) ? -1 : 1);
        const QPoint to = from + QPoint(out.x() * (dy + dy / 2), out.y() * dy);
        QString where;
        QDebug(&where) << "start" << start << "from" << from;
        int worst = 0;
        const auto offBy = [&](const QPoint &at) {
            const QRect drawn = box->geometry();
            // Taken at the corner itself: the corner goes where the pointer goes.
            const QPoint dragged = cornerOf(drawn, zone) - at;
            const QPoint still = cornerOf(drawn, across) - opposite;
            return std::max({qAbs(dragged.x()), qAbs(dragged.y()), qAbs(still.x()), qAbs(still.y())});
        };
        rstest::xDragTo(overlay, from, to, 8, [&](const QPoint &at) {
            worst = std::max(worst, offBy(at));
            QDebug(&where) << "; at" << at << "drawn" << box->geometry();
        });
        const bool settled = QTest::qWaitFor([&] { return offBy(to) <= 2; }, rstest::kHangBoundMs);
        saveScreenOfPane(dlg, QStringLiteral("QVideoEditingDlg-watermark-corner-%1").arg(QTest::currentDataTag()));
        const double endHeight = recordOf(dlg).watermark.text.measuredHeight * element.height();
        QDebug(&where) << "; let go" << box->geometry() << "heights" << startHeight << endHeight;
        QVERIFY2(framed ? endHeight >= 18 : endHeight < 18, qPrintable(where));
        QVERIFY2(worst <= 2 && settled, qPrintable(where));
        // Once the pointer has left it, its size decides its framing again.
        rstest::moveTo(overlay, QPoint(1, 1));
        QTRY_VERIFY2_WITH_TIMEOUT((box->height() > qRound(endHeight) + 8) == (endHeight < 18), qPrintable(where),
                                  rstest::kHangBoundMs);
    }

    // A small square logo on a full-HD clip, its frame's corner dragged inward past the smallest box: it stops at
    // its smallest, still square, in the record, in the box drawn around it and in the join. One already narrower
    // than the smallest box is not grown by the drag.
    void smallPictureShrinksInItsShape_data()
    {
        using namespace CropDragGeometry;
        QTest::addColumn<int>("side");
        QTest::addColumn<unsigned>("zone");
        QTest::addColumn<quint32>("smallestScale");
        QTest::addColumn<bool>("joined");
        // The smallest box is 2% of the frame a side: 38.4 px of the 1920 px wide clip, 60% of a 64 px logo.
        QTest::newRow("64px-top-left") << 64 << unsigned(TopLeft) << 60u << false;
        QTest::newRow("64px-bottom-right") << 64 << unsigned(BottomRight) << 60u << true;
        QTest::newRow("24px-top-right") << 24 << unsigned(TopRight) << 100u << false;
        QTest::newRow("24px-bottom-left") << 24 << unsigned(BottomLeft) << 100u << false;
    }

    void smallPictureShrinksInItsShape()
    {
        using namespace CropDragGeometry;
        QFETCH(int, side);
        QFETCH(unsigned, zone);
        QFETCH(quint32, smallestScale);
        QFETCH(bool, joined);
        const QSize size(1920, 1080);
        const QString clip = etk::greyClip(size);
        etk::EditorWindow editor(clip);
        QVideoEditingDlg &dlg = editor.dlg;
        QVERIFY(editor.waitLoaded());
        QVERIFY(addedPicture(dlg, QSize(side, side), Qt::white));
        QVERIFY(xMovedToTheMiddle(dlg, 1));
        QMediaBorderFrame *overlay = dlg.mediaForm()->watermarkFrame();
        QMediaDashedFrame *box = overlay->item(1);
        const QRect element = dlg.mediaForm()->previewWindow()->getVideoElementRect();
        const VEWatermarkImageSettings added = recordOf(dlg).watermark.image;
        QVERIFY(needsFrame(QRectF(0, 0, added.measuredWidth, added.measuredHeight), element));

        // Inward from the corner, well past the opposite one.
        const QRect start = box->geometry();
        const QPoint from = cornerOf(start, zone);
        const QPoint in(holdsLeft(zone) ? 1 : -1, holdsTop(zone) ? 1 : -1);
        rstest::xDragTo(overlay, from, from + in * (start.width() + 20));
        // Let go, the box is drawn around what the player measures.
        VEWatermarkImageSettings im;
        QTRY_VERIFY_WITH_TIMEOUT(
            (im = recordOf(dlg).watermark.image).measuredWidth > 0 &&
                box->geometry() ==
                    itemFrame(QRectF(im.posX, im.posY, im.measuredWidth, im.measuredHeight), element, true),
            rstest::kHangBoundMs);
        QString where;
        const QSizeF pixels(im.measuredWidth * size.width(), im.measuredHeight * size.height());
        QDebug(&where) << "scale" << im.scaleX << im.scaleY << "measured" << pixels << "drawn" << start << "->"
                       << box->geometry();
        QVERIFY2(im.scaleX == smallestScale && im.scaleY == smallestScale, qPrintable(where));
        QVERIFY2(qAbs(pixels.width() - pixels.height()) <= 1.0, qPrintable(where));
        QVERIFY2(qAbs(box->width() - box->height()) <= 1, qPrintable(where));
        saveScreenOfPane(dlg, QStringLiteral("QVideoEditingDlg-watermark-smallest-%1").arg(QTest::currentDataTag()));
        // The record is the same at any scale of the screen: it is joined once.
        if (!joined || qRound(dlg.devicePixelRatioF()) > 1)
            return;
        const QString output = etk::encodeWithEdits(clip, recordOf(dlg), QStringLiteral("smallest_logo"), size);
        QVERIFY(!output.isEmpty());
        const QRect logo = etk::litBox(etk::frameAt(output, 1.0), 192);
        QDebug(&where) << "; joined" << logo;
        QVERIFY2(qAbs(logo.width() - int(side * smallestScale / 100)) <= 1 && qAbs(logo.width() - logo.height()) <= 1,
                 qPrintable(where));
    }
};

RS_TEST_MAIN(TestWatermarkPreview)
#include "tst_watermarkpreview.moc"
