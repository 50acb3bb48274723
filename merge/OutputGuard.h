#pragma once
// The one rule that keeps a job from writing over its own sources: an output path is refused when it names
// one of the job's input files (the clips and every file their edit records name), compared by canonical
// path and by device and inode (links, other spellings).

#include "VEEditConfig.h"

#include <QString>
#include <QStringList>

namespace OutputGuard {

bool sameFile(const QString &a, const QString &b);
// The first of `sources` that `output` names, or an empty string.
QString sourceAtOutput(const QString &output, const QStringList &sources);
// Every file an edit record names, used by its edits or not: the subtitle file and the subtitle files listed,
// the pictures and masks of the watermark, effect and frame overlays, and the background sound.
QStringList namedFiles(const VEEditConfig &config);

} // namespace OutputGuard
