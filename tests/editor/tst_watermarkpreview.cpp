// The Watermark page's text as a user leaves it on the editor preview: styled in the text style dialog, moved to
// the middle of the picture, then the clip trimmed, turned and given packages across page switches, or the
// watermark applied to another clip. What the screen shows inside the text's dashed box is checked.
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

#include <QApplication>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

namespace {

const QColor kTextColor(255, 214, 0);

bool isTextColor(QRgb p)
{
    return qAbs(qRed(p) - kTextColor.red()) + qAbs(qGreen(p) - kTextColor.green()) +
               qAbs(qBlue(p) - kTextColor.blue()) <
           60;
}

VEEditConfig recordOf(QVideoEditingDlg &dlg)
{
    VEEditConfig c;
    dlg.getEditConfig(c);
    return c;
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

void typeText(QVideoEditingDlg &dlg)
{
    openPage(dlg, QVideoEditingDlg::Watermark);
    QTextEdit *edit = dlg.watermarkPage()->m_leAddWKText->textEdit();
    rstest::clickAt(edit);
    rstest::typeText(edit, QStringLiteral("HOLIDAY 2026"));
}

// The text styled in the text style dialog: a larger bold serif, a colour and a thick outline.
void styleText(QVideoEditingDlg &dlg)
{
    QWatermarkOperationForm *page = dlg.watermarkPage();
    QFont serif(QStringLiteral("DejaVu Serif"));
    serif.setPointSize(40);
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
        etk::typeInto(style->m_dspOutlineSize, QStringLiteral("3"));
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
    QCOMPARE(t.outlineSize, 3.0);
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
// handles: `pane` is the edited picture alone, `screen` what the screen shows there, overlays included.
struct PaneLook
{
    QImage pane, screen;
    QRect box;   // the text's dashed box, in the pane's pixels
    QRect inner; // the part of the box no edge line or handle reaches
    QRect text;  // the text's letters, outline included
    int letters = 0, covered = 0;
};

PaneLook lookAt(QVideoEditingDlg &dlg)
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
    look.box = QRect(item->mapToGlobal(QPoint(0, 0)) - origin, item->size());
    const int h = QMediaDashedFrame::kHandleSize;
    look.inner = look.box.adjusted(h, h, -h, -h);
    for (int y = 0; y < look.pane.height(); ++y)
        for (int x = 0; x < look.pane.width(); ++x) {
            if (!isTextColor(look.pane.pixel(x, y)))
                continue;
            ++look.letters;
            look.text |= QRect(x, y, 1, 1);
            look.covered += look.screen.size() == look.pane.size() && !isTextColor(look.screen.pixel(x, y));
        }
    // The outline lies around the letters' colour: its width on screen, and a pixel for the scaling.
    const VEEditConfig c = recordOf(dlg);
    const QRect element = dlg.mediaForm()->previewWindow()->getVideoElementRect();
    const int outline = int(std::ceil(c.watermark.text.outlineSize * element.width() / c.resolutionWidth)) + 1;
    look.text.adjust(-outline, -outline, outline, outline);
    return look;
}

void checkTextInItsBox(QVideoEditingDlg &dlg, const QString &shot)
{
    // Stopped, the preview rests on the clip's first frame: the text shows from the clip's start.
    rstest::clickAt(dlg.playBar()->m_btnStop);
    PaneLook look;
    // Frames come from the player's thread and the boxes draw late on purpose: wait for the picture with
    // its text and the box, bounded.
    const bool shown = QTest::qWaitFor(
        [&] {
            look = lookAt(dlg);
            return look.letters > 200 && dlg.mediaForm()->watermarkFrame()->item(0)->paintCount() >= 2;
        },
        rstest::kHangBoundMs);
    etk::saveGallery(&dlg, shot);
    QVERIFY2(shown, qPrintable(QStringLiteral("%1 pixels of the text's colour in the preview").arg(look.letters)));
    QString where;
    QDebug(&where) << "letters" << look.text << "box" << look.box << look.covered << "of" << look.letters
                   << "letter pixels drawn over on screen";
    QVERIFY2(look.inner.contains(look.text), qPrintable(where));
    QVERIFY2(look.covered == 0, qPrintable(where));
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
        typeText(dlg);
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
            checkTextInItsBox(dlg, QStringLiteral("QVideoEditingDlg-watermark-styled-turned"));
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
        checkTextInItsBox(second.dlg, QStringLiteral("QVideoEditingDlg-watermark-styled-applied"));
    }
};

RS_TEST_MAIN(TestWatermarkPreview)
#include "tst_watermarkpreview.moc"
