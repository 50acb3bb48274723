#include "SkinManifest.h"

#include "SkinGlyphsMedia.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool kindFromText(const QString &text, SkinKind *kind)
{
    static const struct
    {
        const char *name;
        SkinKind kind;
    } kinds[] = {{"strip", SkinKind::Strip},   {"ninegrid", SkinKind::NineGrid}, {"field", SkinKind::Field},
                 {"check", SkinKind::Check},   {"icon", SkinKind::Icon},         {"track", SkinKind::Track},
                 {"thumb", SkinKind::Thumb},   {"handles", SkinKind::Handles},   {"tile", SkinKind::Tile},
                 {"handle", SkinKind::Handle}, {"playhead", SkinKind::Playhead}, {"tab", SkinKind::Tab},
                 {"row", SkinKind::Row}};
    for (const auto &k : kinds) {
        if (text == QLatin1String(k.name)) {
            *kind = k.kind;
            return true;
        }
    }
    return false;
}

bool readColor(const QJsonValue &value, QColor *color)
{
    if (value.isUndefined())
        return true;
    const QString text = value.toString();
    // QColor reads "#aarrggbb" with the alpha first, which is what the manifest documents.
    const QColor parsed(text);
    if (!text.startsWith(QLatin1Char('#')) || !parsed.isValid())
        return false;
    *color = parsed;
    return true;
}

} // namespace

bool isKnownSkinGlyph(const QString &glyph)
{
    static const QStringList names = {QString(),
                                      QStringLiteral("none"),
                                      QStringLiteral("rotate_left"),
                                      QStringLiteral("rotate_right"),
                                      QStringLiteral("flip_h"),
                                      QStringLiteral("flip_v"),
                                      QStringLiteral("folder"),
                                      QStringLiteral("font"),
                                      QStringLiteral("image"),
                                      QStringLiteral("delete"),
                                      QStringLiteral("close"),
                                      QStringLiteral("minimise"),
                                      QStringLiteral("maximise"),
                                      QStringLiteral("play"),
                                      QStringLiteral("pause"),
                                      QStringLiteral("stop"),
                                      QStringLiteral("camera"),
                                      QStringLiteral("up"),
                                      QStringLiteral("down"),
                                      QStringLiteral("left"),
                                      QStringLiteral("right"),
                                      QStringLiteral("check"),
                                      QStringLiteral("warning"),
                                      QStringLiteral("success"),
                                      QStringLiteral("error"),
                                      QStringLiteral("settings"),
                                      QStringLiteral("plus"),
                                      QStringLiteral("minus"),
                                      QStringLiteral("previous"),
                                      QStringLiteral("next"),
                                      QStringLiteral("reset"),
                                      QStringLiteral("pencil"),
                                      QStringLiteral("filmstrip"),
                                      QStringLiteral("trash"),
                                      QStringLiteral("sliders"),
                                      QStringLiteral("menu"),
                                      QStringLiteral("restore"),
                                      QStringLiteral("logo")};
    return names.contains(glyph) || isMediaGlyph(glyph);
}

bool parseSkinImageSpec(const QJsonObject &object, SkinImageSpec *spec, QString *error)
{
    SkinImageSpec s;
    s.path = object.value(QStringLiteral("path")).toString();
    if (!s.path.startsWith(QLatin1Char('/')) || !s.path.endsWith(QLatin1String(".png")) ||
        s.path.contains(QLatin1String(".."))) {
        *error = QStringLiteral("entry without a valid \"path\" (must begin with / and end in .png): %1").arg(s.path);
        return false;
    }
    if (!kindFromText(object.value(QStringLiteral("kind")).toString(), &s.kind)) {
        *error = QStringLiteral("%1: unknown \"kind\"").arg(s.path);
        return false;
    }
    const QJsonArray size = object.value(QStringLiteral("size")).toArray();
    const int w = size.size() == 2 ? size.at(0).toInt() : 0;
    const int h = size.size() == 2 ? size.at(1).toInt() : 0;
    // Limits keep a typing slip from allocating a huge image.
    if (w < 1 || h < 1 || w > 4096 || h > 4096) {
        *error = QStringLiteral("%1: \"size\" must be [width, height] between 1 and 4096").arg(s.path);
        return false;
    }
    s.size = QSize(w, h);
    const QString skin = object.value(QStringLiteral("skin")).toString(QStringLiteral("dark"));
    if (skin != QLatin1String("dark") && skin != QLatin1String("light")) {
        *error = QStringLiteral("%1: \"skin\" must be dark or light").arg(s.path);
        return false;
    }
    s.light = skin == QLatin1String("light");
    s.radius = object.value(QStringLiteral("radius")).toInt(s.kind == SkinKind::NineGrid ? 8 : 4);
    s.margin = object.value(QStringLiteral("margin")).toInt(0);
    if (s.radius < 0 || s.margin < 0 || 2 * s.margin >= qMin(w, h)) {
        *error = QStringLiteral("%1: \"radius\"/\"margin\" out of range").arg(s.path);
        return false;
    }
    if (!readColor(object.value(QStringLiteral("color")), &s.color)) {
        *error = QStringLiteral("%1: \"color\" must be #rrggbb or #aarrggbb").arg(s.path);
        return false;
    }
    s.glyph = object.value(QStringLiteral("glyph")).toString();
    if (!isKnownSkinGlyph(s.glyph)) {
        *error = QStringLiteral("%1: unknown \"glyph\" %2").arg(s.path, s.glyph);
        return false;
    }
    s.frames = object.value(QStringLiteral("frames")).toInt(1);
    if (s.frames != 1 && s.frames != 2 && s.frames != 4) {
        *error = QStringLiteral("%1: \"frames\" must be 1, 2 or 4").arg(s.path);
        return false;
    }
    if (s.kind == SkinKind::Strip || s.kind == SkinKind::Thumb || s.kind == SkinKind::Tile ||
        s.kind == SkinKind::Handle || s.kind == SkinKind::Tab || s.kind == SkinKind::Row)
        s.frames = 4;
    else if (s.kind == SkinKind::Playhead)
        s.frames = 1;
    s.rows = object.value(QStringLiteral("rows")).toInt(1);
    if (s.rows != 1 && s.rows != 2) {
        *error = QStringLiteral("%1: \"rows\" must be 1 or 2").arg(s.path);
        return false;
    }
    s.flat = object.value(QStringLiteral("flat")).toBool(false);
    s.checked = object.value(QStringLiteral("checked")).toBool(false);
    s.radio = object.value(QStringLiteral("radio")).toBool(false);
    s.fill = object.value(QStringLiteral("fill")).toBool(false);
    s.bar = object.value(QStringLiteral("bar")).toInt(0);
    s.title = object.value(QStringLiteral("title")).toInt(0);
    s.footer = object.value(QStringLiteral("footer")).toInt(0);
    s.label = object.value(QStringLiteral("label")).toString();
    s.tab = object.value(QStringLiteral("tab")).toBool(false);
    s.drop = object.value(QStringLiteral("drop")).toInt(0);
    if (s.drop < 0 || 2 * s.drop >= s.size.height()) {
        *error = QStringLiteral("%1: \"drop\" must leave the knob inside its frame").arg(s.path);
        return false;
    }
    *spec = s;
    return true;
}

bool readSkinManifest(const QString &file, QVector<SkinImageSpec> *specs, QString *error)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open");
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = parseError.errorString() + QStringLiteral(" at offset %1").arg(parseError.offset);
        return false;
    }
    if (!doc.isObject() || !doc.object().value(QStringLiteral("images")).isArray()) {
        *error = QStringLiteral("the top level must be an object with an \"images\" array");
        return false;
    }
    QVector<SkinImageSpec> result;
    const QJsonArray images = doc.object().value(QStringLiteral("images")).toArray();
    for (const QJsonValue &value : images) {
        SkinImageSpec spec;
        if (!value.isObject()) {
            *error = QStringLiteral("every entry of \"images\" must be an object");
            return false;
        }
        if (!parseSkinImageSpec(value.toObject(), &spec, error))
            return false;
        result.append(spec);
    }
    *specs = result;
    return true;
}
