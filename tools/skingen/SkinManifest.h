#pragma once
// One image entry of a skin manifest (format described at the top of main.cpp) and the reader.

#include <QColor>
#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QVector>

enum class SkinKind { Strip, NineGrid, Field, Check, Icon, Track, Thumb, Handles, Tile, Handle, Playhead, Tab, Row };

struct SkinImageSpec
{
    QString path;
    SkinKind kind = SkinKind::Strip;
    QSize size;         // logical size of one frame
    bool light = false; // light grey family instead of the dark one
    int radius = 4;     // logical
    int margin = 0;     // transparent margin, logical
    QColor color;       // accent or glyph colour; invalid = the kind's default
    QString glyph;      // centred glyph, "none" or empty for none
    int frames = 1;     // check and icon kinds
    bool flat = false;  // strip: no fill, only the glyph changes
    bool checked = false;
    bool radio = false;
    bool fill = false; // track: accent fill
    int bar = 0;       // track: bar height, logical
    int title = 0;     // nine-grid: title band height
    int footer = 0;    // nine-grid: button band height
    QString label;     // icon: a short caption under the glyph; strip: a text on the face (after the glyph)
    bool tab = false;  // strip: the pressed (selected) frame stays dark with an accent underline
    int drop = 0;      // thumb: how far the knob sits below the frame's centre, logical
    int rows = 1;      // strip and icon: 2 repeats the frames in a second row (upper row: selected look)
};

// Reads one manifest file; false with a message for a file that does not parse or an entry that is
// incomplete (no partial list is returned then).
bool readSkinManifest(const QString &file, QVector<SkinImageSpec> *specs, QString *error);

// The glyph names the painter knows (an empty name and "none" draw nothing).
bool isKnownSkinGlyph(const QString &glyph);

// Parses one entry; exposed for the tool's tests.
bool parseSkinImageSpec(const QJsonObject &object, SkinImageSpec *spec, QString *error);
