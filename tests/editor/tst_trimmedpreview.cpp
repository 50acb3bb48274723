// The clip editor's edited preview of a trimmed clip while nothing plays. The trim start is dragged with the
// pointer to a place between two frames and trimmed, then one overlay is added on its page: an effect or a frame
// package, a still or an animated picture, a text or a subtitle file. The edited preview must show it paused at
// the trim start, after a frame step, after a seek and once play has reached the end. All input is the X
// server's own; each frame of the clip is a grey of its own, so the preview tells which frame it shows.
#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "MediaFixtures.h"
#include "QEffectOperationForm.h"
#include "QHorizontalListFrom.h"
#include "QHorizontalListItem.h"
#include "QIAnyUtil.h"
#include "QMediaBorderFrame.h"
#include "QMediaDashedFrame.h"
#include "QMediaElementWindow.h"
#include "QMediaForm.h"
#include "QPlayerOperationForm.h"
#include "QSubtitleOperationForm.h"
#include "QTrimOperationForm.h"
#include "QVEDualSlider.h"
#include "QVideoEditTag.h"
#include "QVideoEditingDlg.h"
#include "QWatermarkOperationForm.h"
#include "QZTTextEdit.h"
#include "TestSupport.h"
#include "WindowInput.h"
#include "ZTPlayerClass.h"
#include "ZTPlayerManager.h"
#include "ZtVideoConvertItem.h"

#include <QFile>
#include <QTextEdit>

#include <functional>

namespace {

using etk::recordOf;

constexpr quint64 kFrameUs = 40000; // 25 frames a second
constexpr int kLumaStep = 3;        // frame N is luma 16 + 3N

enum Kind { EffectPackage, FramePackage, StillPicture, AnimatedPicture, Text, Subtitles };

QString rampClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("editor_ramp_1280x720.mp4"),
         QStringLiteral("-f lavfi -i color=c=black:s=1280x720:r=25:d=3 -f lavfi -i sine=frequency=440:duration=3 "
                        "-vf format=yuv420p,geq=lum=16+3*N:cb=128:cr=128 -c:v libx264 -preset ultrafast -qp 2 -g 25 "
                        "-c:a aac -shortest")
             .split(QLatin1Char(' '))});
}

// Magenta, or (the animation) magenta and cyan in turns.
QString pictureFile(bool animated)
{
    return rstest::MediaFixtures::make(
        {animated ? QStringLiteral("editor_blink_96.gif") : QStringLiteral("editor_magenta_96.png"),
         animated ? QStringList{"-f", "lavfi", "-i", "color=c=0xFF00FF:s=96x96:r=5:d=2", "-vf",
                                "drawbox=c=0x00FFFF:t=fill:enable=mod(n\\,2)"}
                  : QStringList{"-f", "lavfi", "-i", "color=c=0xFF00FF:s=96x96", "-frames:v", "1"}});
}

QString subtitleFile()
{
    const QString path = rstest::scratchDir(QStringLiteral("trimmed")) + QStringLiteral("/all.srt");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("1\n00:00:00,000 --> 00:00:10,000\nWWWW MMMM WWWW\n\n");
    return path;
}

bool isPictureColour(QRgb p, bool animated)
{
    const bool magenta = qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) > 200;
    const bool cyan = qRed(p) < 60 && qGreen(p) > 200 && qBlue(p) > 200;
    return magenta || (animated && cyan);
}

int greyOf(const QImage &image, const QRect &r)
{
    return qGray(etk::meanColor(image, r).rgb());
}

// The clip's record as adding it to the list seeds it (its subtitle choices among others).
VEEditConfig probedRecord(const QString &clip)
{
    ZtVideoConvertItem item;
    return item.setVideoPath(clip, 0) ? item.m_editConfig : VEEditConfig();
}

void openPage(QVideoEditingDlg &dlg, int tab)
{
    rstest::xClickAt(dlg.editTag()->button(tab));
}

int pageOf(Kind kind)
{
    switch (kind) {
    case EffectPackage:
    case FramePackage:
        return QVideoEditingDlg::Effect;
    case Subtitles:
        return QVideoEditingDlg::Subtitle;
    default:
        return QVideoEditingDlg::Watermark;
    }
}

ZTPlayerClass *playerOf(QVideoEditingDlg &dlg)
{
    return dlg.playerManager()->getPlayerClass();
}

// The trim start handle dragged to about a third of the clip, onto a place between two frames, then Trim.
void trimBetweenTwoFrames(QVideoEditingDlg &dlg)
{
    openPage(dlg, QVideoEditingDlg::Trim);
    QTrimOperationForm *trim = dlg.trimPage();
    QVEDualSlider *slider = trim->m_TrimDSlider;
    const quint64 length = playerOf(dlg)->GetDuration_Player();
    QVERIFY(length > 0);
    const auto startUs = [&] { return quint64(slider->getStartValue() * length); };
    // A pixel further where the handle lands on a frame's start.
    int x = slider->width() / 3;
    do {
        QWidget *handle = slider->startButton();
        const QPoint from = handle->geometry().topLeft() + QPoint(3, handle->height() / 2);
        rstest::xDragTo(slider, from, QPoint(3 + x++, from.y()));
    } while (startUs() % kFrameUs == 0 && x < slider->width() / 3 + 4);
    QVERIFY2(startUs() % kFrameUs != 0, qPrintable(QString::number(startUs())));
    rstest::xClickAt(trim->m_btnTrim);
    QTRY_VERIFY_WITH_TIMEOUT(recordOf(dlg).trimStart > 0, rstest::kHangBoundMs);
    QVERIFY2(recordOf(dlg).trimStart % kFrameUs != 0, qPrintable(QString::number(recordOf(dlg).trimStart)));
}

void addOverlay(QVideoEditingDlg &dlg, Kind kind)
{
    openPage(dlg, pageOf(kind));
    switch (kind) {
    case EffectPackage:
    case FramePackage: {
        QEffectOperationForm *page = dlg.effectPage();
        rstest::xClickAt(page->m_effectTag->button(kind == EffectPackage ? 0 : 1));
        QHorizontalListFrom *list = kind == EffectPackage ? page->m_effectsList : page->m_frameList;
        QTRY_VERIFY_WITH_TIMEOUT(list->isVisible() && list->count() > 0, rstest::kHangBoundMs);
        rstest::xClickAt(list->item(0)); // Vignette, Thin White
        break;
    }
    case StillPicture:
    case AnimatedPicture: {
        const QString picture = pictureFile(kind == AnimatedPicture);
        EditorFileDialog::setOpenFileForTesting(
            [picture](QWidget *, const QString &, const QString &, const QString &) { return picture; });
        rstest::xClickAt(dlg.watermarkPage()->m_btnAddWKImg);
        QCOMPARE(QString::fromUtf8(recordOf(dlg).watermark.image.imagePath), picture);
        break;
    }
    case Text:
        rstest::xTypeInto(dlg.watermarkPage()->m_leAddWKText->textEdit(), QStringLiteral("WMWMWM"));
        QTRY_COMPARE_WITH_TIMEOUT(recordOf(dlg).watermark.text.text, QByteArray("WMWMWM"), rstest::kHangBoundMs);
        break;
    case Subtitles: {
        const QString srt = subtitleFile();
        EditorFileDialog::setOpenFileForTesting(
            [srt](QWidget *, const QString &, const QString &, const QString &) { return srt; });
        rstest::xClickAt(dlg.subtitlePage()->m_btnSetFamily);
        break;
    }
    }
}

// What the edited preview shows: the frame (by its grey in the middle, where no overlay lies) and whether the
// overlay is on it, with what was measured.
struct Look
{
    int frame = -1;
    bool overlay = false;
    QString measured;
};

Look lookAt(QVideoEditingDlg &dlg, Kind kind)
{
    Look look;
    QWidget *view = etk::videoViewOf(dlg.mediaForm()->previewWindow());
    if (!view || !view->isVisible())
        return look;
    const QImage image = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const QRect middle(w * 9 / 20, h * 9 / 20, w / 10, h / 10);
    // The view turns video luma (16-235) into full-range grey.
    look.frame = qRound(greyOf(image, middle) * 219.0 / 255.0 / kLumaStep);
    switch (kind) {
    case EffectPackage: { // the vignette darkens the corners
        const int corner = greyOf(image, QRect(0, 0, w / 12, h / 12)), centre = greyOf(image, middle);
        look.overlay = corner < centre - 30;
        look.measured = QStringLiteral("corner %1, middle %2").arg(corner).arg(centre);
        break;
    }
    case FramePackage: { // a thin white border
        const int top = greyOf(image, QRect(w / 4, 0, w / 2, qMax(1, h / 100)));
        look.overlay = top > 220;
        look.measured = QStringLiteral("top edge %1").arg(top);
        break;
    }
    case StillPicture:
    case AnimatedPicture: { // the picture's colour inside its box
        QMediaBorderFrame *marks = dlg.mediaForm()->watermarkFrame();
        QRect box;
        for (int i = 0; marks->item(i); ++i)
            if (marks->item(i)->isVisible())
                box = QRect(marks->item(i)->mapToGlobal(QPoint(0, 0)) - view->mapToGlobal(QPoint(0, 0)),
                            marks->item(i)->size());
        const qreal scale = view->devicePixelRatioF();
        box = QRect((QPointF(box.topLeft()) * scale).toPoint(), (QSizeF(box.size()) * scale).toSize())
                  .adjusted(6, 6, -6, -6) &
              image.rect();
        int coloured = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                coloured += isPictureColour(image.pixel(x, y), kind == AnimatedPicture);
        const int area = box.width() * box.height();
        look.overlay = area > 64 && coloured > area * 8 / 10;
        look.measured = QStringLiteral("%1 of %2 pixels of the box in the picture's colour").arg(coloured).arg(area);
        break;
    }
    case Text:
    case Subtitles: { // white letters
        int white = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb p = image.pixel(x, y);
                white += qRed(p) > 220 && qGreen(p) > 220 && qBlue(p) > 220;
            }
        look.overlay = white > 40;
        look.measured = QStringLiteral("%1 white pixels").arg(white);
        break;
    }
    }
    return look;
}

// Waits until the player rests on a frame and the edited preview shows that frame with the overlay.
void checkShown(QVideoEditingDlg &dlg, Kind kind, const char *state)
{
    Look look;
    int playing = -1;
    const auto shown = [&] {
        ZTPlayerClass *p = playerOf(dlg);
        if (p->IsRunning_Player() && !p->IsPause_Player())
            return false;
        playing = int(p->GetVideoTime_Player() / kFrameUs);
        look = lookAt(dlg, kind);
        return look.frame == playing && look.overlay;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(shown(),
                              qPrintable(QStringLiteral("%1: the player shows frame %2, the preview frame %3; %4")
                                             .arg(QLatin1String(state))
                                             .arg(playing)
                                             .arg(look.frame)
                                             .arg(look.measured)),
                              rstest::kHangBoundMs);
}

quint64 videoTime(QVideoEditingDlg &dlg)
{
    return playerOf(dlg)->GetVideoTime_Player();
}

} // namespace

class TestTrimmedPreview : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }
    void cleanup() { EditorFileDialog::setOpenFileForTesting(nullptr); }

    void pausedPreviewShowsTheOverlay_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("effect package") << int(EffectPackage) << "effect";
        QTest::newRow("frame package") << int(FramePackage) << "frame";
        QTest::newRow("still picture") << int(StillPicture) << "picture";
        QTest::newRow("animated picture") << int(AnimatedPicture) << "animation";
        QTest::newRow("text") << int(Text) << "text";
        QTest::newRow("subtitles") << int(Subtitles) << "subtitles";
    }

    void pausedPreviewShowsTheOverlay()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        const Kind k = Kind(kind);
        const QString clip = rampClip();
        etk::EditorWindow w(clip, probedRecord(clip));
        QVERIFY(w.waitLoaded());
        QVideoEditingDlg &dlg = w.dlg;

        trimBetweenTwoFrames(dlg);
        if (QTest::currentTestFailed())
            return;
        const quint64 trimStart = recordOf(dlg).trimStart;
        // Paused at the trim start: the frame on screen then began before it.
        QTRY_COMPARE_WITH_TIMEOUT(videoTime(dlg), trimStart / kFrameUs * kFrameUs, rstest::kHangBoundMs);
        addOverlay(dlg, k);
        if (QTest::currentTestFailed())
            return;
        checkShown(dlg, k, "paused at the trim start");
        etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-trimmed-") + name);

        // One frame on, with the Trim page's Next Frame, then back on the overlay's page.
        openPage(dlg, QVideoEditingDlg::Trim);
        const quint64 before = videoTime(dlg);
        rstest::xClickAt(dlg.trimPage()->m_btnNext);
        QTRY_COMPARE_WITH_TIMEOUT(videoTime(dlg), before + kFrameUs, rstest::kHangBoundMs);
        openPage(dlg, pageOf(k));
        checkShown(dlg, k, "after a frame step");

        // A seek: a click on the play bar's position slider, past the middle.
        QWidget *slider = dlg.playBar()->m_playProgress;
        rstest::xClickAt(slider, QPoint(slider->width() * 2 / 3, slider->height() / 2));
        QTRY_VERIFY_WITH_TIMEOUT(videoTime(dlg) > before + 10 * kFrameUs, rstest::kHangBoundMs);
        checkShown(dlg, k, "after a seek");

        // Play to the end: the preview stops at the trim start again.
        rstest::xClickAt(dlg.playBar()->m_btnPlay);
        QTRY_VERIFY_WITH_TIMEOUT(dlg.playBar()->m_btnPause->isVisible(), rstest::kHangBoundMs);
        QTRY_VERIFY_WITH_TIMEOUT(dlg.playBar()->m_btnPlay->isVisible(), 6 * rstest::kHangBoundMs);
        QTRY_COMPARE_WITH_TIMEOUT(videoTime(dlg), trimStart / kFrameUs * kFrameUs, rstest::kHangBoundMs);
        checkShown(dlg, k, "after play has ended");
    }
};

QTEST_MAIN(TestTrimmedPreview)
#include "tst_trimmedpreview.moc"
