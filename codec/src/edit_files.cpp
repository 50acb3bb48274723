#include "edit_files.h"

namespace rsc::edit {

std::vector<std::string> namedFiles(const EditConfig &cfg)
{
    std::vector<std::string> files;
    auto add = [&files](const std::string &path) {
        if (!path.empty())
            files.push_back(path);
    };
    add(cfg.subtitleFile);
    add(cfg.subtitle.fontFile);
    for (const Overlay &o : cfg.overlays) {
        add(o.picture.file);
        add(o.picture.mask);
        add(o.text.fontFile);
    }
    for (const BackgroundAudio &b : cfg.background)
        add(b.file);
    return files;
}

} // namespace rsc::edit
