#pragma once
// Every file an edit configuration names, used by its edits or not: a job must never write over any of them.

#include "edit_config.h"

#include <string>
#include <vector>

namespace rsc::edit {

// The subtitle file, the overlays' pictures and masks (watermark, effect and frame), the fonts and the
// background sound; empty names left out.
std::vector<std::string> namedFiles(const EditConfig &cfg);

} // namespace rsc::edit
