#include "filter_ass.h"

#include "filter_escape.h"
#include "filter_font.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rsc::edit {

std::string assColor(uint32_t argb, unsigned alpha)
{
    const unsigned a = ((argb >> 24) & 0xFFu) * std::min(alpha, 255u) / 255u;
    char buf[16];
    std::snprintf(buf, sizeof buf, "&H%02X%02X%02X%02X", 255u - a, argb & 0xFFu, (argb >> 8) & 0xFFu,
                  (argb >> 16) & 0xFFu);
    return buf;
}

namespace {

// The font name for a Style line field and a force_style item: one a file names for its font, else the
// user's, made field-safe (a line break would end the Style line and start lines of its own, events past the
// checks of the subtitles; a comma would end the field or the item).
std::string fontOf(const std::string &name, const std::string &file = std::string())
{
    if (!file.empty()) {
        const std::string family = assFontNameOfFile(file);
        if (!family.empty())
            return family;
    }
    const std::string f = fieldSafeFontName(name);
    return f.empty() ? std::string("Sans") : f;
}

std::string assTime(uint64_t us)
{
    const uint64_t cs = us / 10000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%u:%02u:%02u.%02u", unsigned(cs / 360000), unsigned(cs / 6000 % 60),
                  unsigned(cs / 100 % 60), unsigned(cs % 100));
    return buf;
}

// Plain text as ASS dialogue text: braces and backslashes must not start override codes.
std::string assText(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\N";
        else if (c == '\r')
            continue;
        else if (c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (c == '\\')
            out += "\\\xE2\x81\xA0"; // a word joiner keeps "\N" and friends literal
        else
            out += c;
    }
    return out;
}

} // namespace

std::string assScriptForText(const TextItem &t, int width, int height)
{
    const double shadow = std::max(0.0, t.shadowOffset) * 2.0;
    std::string s;
    s += "[Script Info]\nScriptType: v4.00+\nPlayResX: " + std::to_string(width) +
         "\nPlayResY: " + std::to_string(height) + "\nWrapStyle: 2\nScaledBorderAndShadow: yes\n\n";
    s += "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, "
         "Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, "
         "Alignment, MarginL, MarginR, MarginV, Encoding\n";
    s += "Style: W," + fontOf(t.fontName, t.fontFile) + "," + std::to_string(t.fontSize) + "," +
         assColor(t.color, t.alpha) + "," + assColor(t.color, t.alpha) + "," + assColor(t.outlineColor, t.alpha) + "," +
         assColor(t.shadowColor, t.alpha) + "," + (t.bold ? "-1" : "0") + "," + (t.italic ? "-1" : "0") + "," +
         (t.underline ? "-1" : "0") + "," + (t.strikeout ? "-1" : "0") + "," + std::to_string(t.scaleX) + "," +
         std::to_string(t.scaleY) + "," + num(t.spacingH) + "," + std::to_string(-t.angle) + ",1," +
         num(std::max(0.0, t.outlineSize)) + "," + num(shadow) + ",7,0,0,0,1\n\n";
    // The outline reaches outside the glyphs' box by its size: the text is set in by it, so that all it
    // draws lies right of and below the position (the preview's box for the text starts there).
    const double inset = std::ceil(std::max(0.0, t.outlineSize));
    const double x = t.posX * width, y = t.posY * height;
    s += "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";
    s += "Dialogue: 0," + assTime(t.showTimeUs) + ",99:59:59.99,W,,0,0,0,,{\\pos(" + num(std::round(x) + inset) + "," +
         num(std::round(y) + inset) + ")\\org(" + num(std::round(x)) + "," + num(std::round(y)) + ")}" +
         assText(t.text) + "\n";
    return s;
}

std::string assFontsDirOption(const std::string &fontFile, FilterResources &resources)
{
    if (fontFile.empty() || fontFamilyOfFile(fontFile).empty())
        return {};
    const std::string folder = resources.addFolderWith(fontFile);
    return folder.empty() ? std::string() : ":fontsdir=" + filterValue(folder);
}

std::string assForceStyle(const SubtitleStyle &st)
{
    // Subtitle scripts converted from text formats use a 384x288 canvas; margins are fractions of it.
    const int marginL = static_cast<int>(std::lround(st.marginH * 384));
    const int marginV = static_cast<int>(std::lround(st.marginV * 288));
    // A keypad code, or the editor's own Top (16) and Middle (32); anything else stands at the bottom.
    const unsigned keypad = (st.align >= 1 && st.align <= 9) ? st.align : st.align == 16 ? 8 : st.align == 32 ? 5 : 2;
    // force_style overrides the style's stored field, which libass keeps in the legacy SSA code: 1..3 bottom,
    // 5..7 top, 9..11 middle.
    const unsigned align = keypad <= 3 ? keypad : keypad <= 6 ? keypad + 5 : keypad - 2;
    std::string s =
        "FontName=" + fontOf(st.fontName, st.fontFile) + ",FontSize=" + std::to_string(st.fontSize) +
        ",PrimaryColour=" + assColor(st.color, st.alpha) + ",OutlineColour=" + assColor(st.outlineColor, st.alpha) +
        ",BackColour=" + assColor(st.shadowColor, st.alpha) + ",Bold=" + (st.bold ? "-1" : "0") +
        ",Italic=" + (st.italic ? "-1" : "0") + ",Underline=" + (st.underline ? "-1" : "0") +
        ",StrikeOut=" + (st.strikeout ? "-1" : "0") +
        // force_style takes the scales as factors (a script's style line takes percent)
        ",ScaleX=" + num(st.scaleX / 100.0) + ",ScaleY=" + num(st.scaleY / 100.0) + ",Spacing=" + num(st.spacingH) +
        ",Angle=" + std::to_string(-st.angle) + ",BorderStyle=1,Outline=" + num(std::max(0.0, st.outlineSize)) +
        ",Shadow=" + num(std::max(0.0, st.shadowOffset) * 2.0) + ",Alignment=" + std::to_string(align) +
        ",MarginL=" + std::to_string(marginL) + ",MarginR=" + std::to_string(marginL) +
        ",MarginV=" + std::to_string(marginV);
    return s;
}

} // namespace rsc::edit
