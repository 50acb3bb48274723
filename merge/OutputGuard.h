#pragma once
// The one rule that keeps a job from writing over its own sources: an output path is refused when it names
// one of the job's input files, compared by canonical path and by device and inode (links, other spellings).

#include <QString>
#include <QStringList>

namespace OutputGuard {

bool sameFile(const QString &a, const QString &b);
// The first of `sources` that `output` names, or an empty string.
QString sourceAtOutput(const QString &output, const QStringList &sources);

} // namespace OutputGuard
