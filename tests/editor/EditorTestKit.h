#pragma once
// Shared by the editor page tests: the gallery, generated clips, a preview controller with its windows bound
// to an edit model, and frame grabs of the edited preview.

#include "VEEditConfig.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTest>

#include <functional>
#include <memory>

class QMediaElementWindow;
class QVideoEditingDlg;
class QVideoEditingSettings;
class QWidget;
class ZTPlayerManager;

namespace etk {

// <build>/gallery/<name>.png; fails the test when the picture is empty, or when a control of the window cannot
// be clicked.
void saveGallery(QWidget *w, const QString &name);

// Replaces a field's text as a user does, through its window: a click into it, Ctrl+A, then the keys.
void typeInto(QWidget *field, const QString &text);

// A 4 s 320x240 clip with a colour test pattern and a 440 Hz tone.
QString patternClip();

// A 4 s 320x240 black clip with a tone: subtitles and overlays stand out on it.
QString darkClip();

// A 4 s 320x240 clip of one flat colour with a tone.
QString colourClip(const QColor &colour);

// A 4 s flat mid-grey clip (320x240 unless asked) with a tone: every overlay changes it somewhere.
QString greyClip(const QSize &size = QSize(320, 240));

// The editor's preview on one clip: a controller, its two windows and an edit model bound to it, the clip's
// record handed over as the editor's loading step does.
struct Preview
{
    Preview();
    ~Preview();
    bool open(const QString &clip, const VEEditConfig &config = VEEditConfig());
    // The edited frame shown at the given position (fraction of the clip), as the snapshot takes it.
    QImage grab(double position = 0.5);

    std::unique_ptr<ZTPlayerManager> player;
    std::unique_ptr<QMediaElementWindow> original;
    std::unique_ptr<QMediaElementWindow> preview;
    std::unique_ptr<QVideoEditingSettings> model;
};

// The clip editor as the media list opens it on a clip with its record, shown.
struct EditorWindow
{
    explicit EditorWindow(const QString &clip, const VEEditConfig &config = VEEditConfig());
    ~EditorWindow();
    // Waits, bounded, until the clip is loaded and the editor can be used.
    bool waitLoaded(int ms = 30000);

    std::unique_ptr<QVideoEditingDlg> owned;
    QVideoEditingDlg &dlg;
};

// The editor's edit record as it stands.
VEEditConfig recordOf(QVideoEditingDlg &dlg);

// Runs `act`, then waits (bounded) for a modal box to come up over `window` (a message of the editor) and closes
// it as its close button does; false when none came.
bool closeBoxAfter(QWidget *window, const std::function<void()> &act);

// The widget a preview pane draws its picture in (the overlays are not in it); null before there is one.
QWidget *videoViewOf(QMediaElementWindow *pane);

// One section of an edit model as it stands, read with the model's getter for it, e.g.
// sectionOf(model, &QVideoEditingSettings::getCropSettings).
template <class Record, class Model> Record sectionOf(const Model *model, void (Model::*get)(Record &) const)
{
    Record r;
    (model->*get)(r);
    return r;
}

// An editor page on a clip's preview: the page bound to the preview's edit model and shown at `size`.
template <class Form> struct PageRig
{
    PageRig(const QString &clip, const VEEditConfig &config, const QSize &size)
    {
        if (!preview.open(clip, config))
            return;
        page.setEditSettings(preview.model.get());
        page.resize(size);
        page.show();
        exposed = QTest::qWaitForWindowExposed(&page);
    }
    // One section of the page's edit model as it stands.
    template <class Record, class Model> Record record(void (Model::*get)(Record &) const) const
    {
        return sectionOf(preview.model.get(), get);
    }

    Preview preview;
    Form page;
    bool exposed = false; // the clip opened and the page is on screen
};

// Joins the one clip with its edit record through the merge driver in the encoding mode (H.264/AAC MP4 of the
// given size, the catalogue's "HD Video" profile); answers the output path, empty when the join failed.
QString encodeWithEdits(const QString &clip, const VEEditConfig &config, const QString &name,
                        const QSize &size = QSize(320, 240));
// One decoded frame of a file at the given time, as RGB.
QImage frameAt(const QString &path, double seconds);

// Mean absolute difference of two images' pixels (0..255 per channel), over the same size.
double meanDifference(const QImage &a, const QImage &b);
// Mean colour over a rectangle.
QColor meanColor(const QImage &image, const QRect &rect);
// The bounding box of the pixels brighter than `threshold` (grey level): a bright picture padded with black
// shows its shape by it. Empty when nothing is that bright.
QRect litBox(const QImage &image, int threshold = 48);

} // namespace etk
