#pragma once
// Two desktop helpers of the clip editor: keep a window above the others (the preview overlays) and show
// a file or folder selected in the file manager (the snapshot menu's "Open Folder").

#include <QString>

class VECommonClass
{
public:
    VECommonClass() {}

    // A widget whose native window does not exist yet is left as it is.
    static void setWindowTopHint(void *widget);
    // "//" becomes "/" (one pass), then "\" becomes "/"; the result is revealed by the host's file manager.
    static void setOpenFinder(QString path);
};
