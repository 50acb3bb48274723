#pragma once
// Text overlays and subtitle styles rendered through libass: a text watermark becomes a one-line ASS script
// (libass draws every font style, outline, shadow, spacing, scale and angle the edit carries), a subtitle
// style becomes the force_style list of the subtitles filter.

#include "edit_config.h"
#include "filter_files.h"

#include <string>

namespace rsc::edit {

// "&HAABBGGRR" of an ARGB colour whose opacity is further scaled by alpha (0..255).
std::string assColor(uint32_t argb, unsigned alpha = 255);

// The ASS script that draws `text` in units of a picture of width x height (PlayResX/Y): font size, outline,
// shadow, spacing and the position are pixels of it, and libass scales them to the picture it draws on.
std::string assScriptForText(const TextItem &text, int width, int height);

// ":fontsdir=<folder>" for the ass and subtitles filters when a font file is given and names a family, so
// libass finds fonts that are not installed; empty otherwise. libass reads every file in that folder, so
// the folder is a private one of `resources` holding the font alone (the font's own folder may hold a
// named pipe, or gigabytes of other files).
std::string assFontsDirOption(const std::string &fontFile, FilterResources &resources);

// The force_style value of the subtitles filter for a style.
std::string assForceStyle(const SubtitleStyle &style);

} // namespace rsc::edit
