// skingen: draws every skin image of the interface from the manifests in resources/skin/.
//
// Usage: skingen --out <resource folder> <manifest.json | folder of manifests>...
// A folder argument stands for every *.json file in it (sorted by name). Every image is written below the
// resource folder at its manifest path; missing folders are created. The exit code is 0 only when every
// manifest parsed and every image was written.
//
// Manifest format (one JSON object per file):
//
//   {
//     "images": [
//       { "path": "/pic/btn_common.png", "kind": "strip", "size": [80, 28], ... },
//       ...
//     ]
//   }
//
// Common keys of an image entry:
//   path     text, required: begins with "/", names the file below the resource folder, ends in ".png".
//   kind     text, required: one of the kinds below.
//   size     [width, height], required: the LOGICAL size of one frame (the size the control shows it at).
//            Every image is a 2x asset: its pixels are twice the logical size (times the frame count).
//   skin     "dark" (default) or "light": the grey family of the fills and borders.
//   radius   corner radius in logical pixels (default 4; nine-grid backgrounds usually 8).
//   margin   transparent margin in logical pixels around the visible shape (default 0); nine-grid
//            backgrounds cast a soft shadow into it.
//   color    "#rrggbb" or "#aarrggbb": the accent or glyph colour where the kind uses one.
//   glyph    text: the glyph drawn centred (kinds strip, icon; field: at its right end): none, close, minimise,
//   maximise, play,
//            pause, stop, camera, up, down, left, right, check, warning, success, error, settings, plus, minus,
//            rotate_left, rotate_right, flip_h, flip_v, folder, font, image, delete, previous (|<), next (>|), reset (a
//            circling arrow); and the larger media glyphs phone, tablet, tv, console, player, disc, film,
//            video, globe, note, audio, bell, layers; pencil, trash, sliders, menu, restore, filmstrip, logo (an accent
//            badge with two joined clips).
//   label    text: on kind icon a short caption under the glyph; on kind strip a text centred on the face,
//            after the glyph when there is one.
//   rows     1 or 2 (kinds strip and icon): 2 repeats the frames in a second row below the first; the
//            upper row is the look on a selected (accent) ground, the lower one the ordinary look.
//   frames   1, 2 or 4 (kinds check, icon and field): 4 = normal/hover/pressed/disabled strip, 2 = enabled
//            (left) and disabled (right) halves, 1 = one picture. A field that a combo box shows in its
//            button mode needs the 4 frames.
//
// Kinds:
//   strip     a 4-frame button strip side by side: normal, hover (one step lighter), pressed (accent),
//             disabled (40% opacity). With a glyph and no fill ("flat": true) only the glyph changes.
//             Light strips carry white text too, so their face is the accent (pressed: darker accent)
//             and only the disabled frame is light grey.
//             "tab": true keeps the pressed (selected) frame dark with an accent underline, for tabs whose
//             selected text is drawn in the accent colour. Icons take "label": a short caption under the glyph.
//   ninegrid  a panel background for nine-grid stretching: rounded dark panel with a 1-pixel lighter
//             border, a faint vertical gradient and a shadow in the transparent margin. "title" (logical
//             height of a slightly lighter title band, default 0; on a light panel a charcoal band, for
//             the white title) and "footer" (height of a darker button band, default 0) mark the bands.
//   field     an edit-field background (nine-grid): a darker rounded field with a 1-pixel border; a "glyph"
//             is drawn in its last 13 logical pixels (a combo box's drop-down cue).
//   check     a check box image ("checked": true/false) or, with "radio": true, a radio image.
//   icon      a glyph on a transparent ground, 1 or 4 frames.
//   track     a slider or progress track: a rounded bar of height "bar" (logical, default half the height)
//             centred in the image; "fill": true paints it in the accent colour.
//   thumb     a 4-frame round slider thumb strip; "drop" (logical) lowers the knob below the frame's centre,
//             for a slider that places its thumb that much above its track.
//   handles   grab handles of a selection box on a transparent ground: 3x3 squares at the corners and
//             edge middles, a centre cross in a ring (used at its pixel size by the preview's boxes).
//   tile      a 4-frame outline of a list tile, transparent inside: grey, lighter on hover, accent when
//             selected ("color" overrides the accent), faint when disabled.
//   tab       a 4-frame tab of a tab row: no face, a bar along the bottom edge (grey, lighter on hover,
//             a thicker accent bar when current, faint when disabled); the text sits above the bar.
//   handle    a 4-frame trim handle strip: a rounded bar in "color" (default a pale yellow) with a grip of
//             two short dark lines; hover lighter, pressed the accent, disabled grey at 40%.
//   playhead  a play cursor drawn stretched over the cursor's line: a downward head of logical height
//             "bar" (default 10) in "color" (default the accent) and a 1-pixel line below it to the bottom.
//   row       a 4-frame list-row background: normal, hover (lighter), selected (dark accent with an accent
//             bar at the left), disabled; a darker separator line at the bottom.
//
// Later manifests may not redraw a path an earlier one already drew: the first wins and a warning is
// printed, so that two subsystems never fight over one file.

#include "SkinManifest.h"
#include "SkinPainter.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QTextStream>

#include <cstdio>

static QStringList expandManifestArguments(const QStringList &args)
{
    QStringList files;
    for (const QString &arg : args) {
        const QFileInfo info(arg);
        if (info.isDir()) {
            QDir dir(arg);
            const QStringList names = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
            for (const QString &name : names)
                files << dir.filePath(name);
        } else {
            files << arg;
        }
    }
    return files;
}

int main(int argc, char *argv[])
{
    // Drawing text and gradients needs a font database but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QStringList args = app.arguments().mid(1);
    QString outDir;
    const int outIndex = args.indexOf(QStringLiteral("--out"));
    if (outIndex >= 0 && outIndex + 1 < args.size()) {
        outDir = args.at(outIndex + 1);
        args.removeAt(outIndex + 1);
        args.removeAt(outIndex);
    }
    if (outDir.isEmpty() || args.isEmpty()) {
        std::fprintf(stderr, "usage: skingen --out <resource folder> <manifest.json | folder>...\n");
        return 2;
    }

    const QStringList files = expandManifestArguments(args);
    if (files.isEmpty()) {
        std::fprintf(stderr, "skingen: no manifest found\n");
        return 2;
    }

    bool ok = true;
    int written = 0;
    QSet<QString> drawn;
    for (const QString &file : files) {
        QString error;
        QVector<SkinImageSpec> specs;
        if (!readSkinManifest(file, &specs, &error)) {
            std::fprintf(stderr, "skingen: %s: %s\n", qPrintable(file), qPrintable(error));
            ok = false;
            continue;
        }
        for (const SkinImageSpec &spec : specs) {
            if (drawn.contains(spec.path)) {
                std::fprintf(stderr, "skingen: warning: %s: %s is already drawn by an earlier manifest\n",
                             qPrintable(file), qPrintable(spec.path));
                continue;
            }
            drawn.insert(spec.path);
            const QImage image = paintSkinImage(spec);
            const QString target = outDir + spec.path;
            QDir().mkpath(QFileInfo(target).absolutePath());
            if (image.isNull() || !saveImageAtomically(image, target)) {
                std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(target));
                ok = false;
                continue;
            }
            ++written;
        }
    }
    std::printf("skingen: %d images written to %s\n", written, qPrintable(outDir));
    return ok ? 0 : 1;
}
