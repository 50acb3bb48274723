#pragma once
// What a job leaves in its output's folder, for the tests of where its output goes: the files there, the hidden
// partial files, their digests, and a wait for the job's end with something done meanwhile.

#include "FileAccess.h"
#include "rscodec.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <functional>
#include <sys/stat.h>

namespace outputtest {

inline QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Md5);
}

inline QStringList hiddenParts(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden);
}

// The files of `dir`, hidden ones too, by name.
inline QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

inline rsc_job *newJob(bool lossless)
{
    return lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
}

// The size of the file a process holds open in `dir` without a name ("<dir>/#<inode> (deleted)"); -1 when it
// holds none.
inline qint64 unnamedFileSize(pid_t pid, const QString &dir)
{
    for (const rstest::OpenFile &f : rstest::openFiles(pid)) {
        struct stat st;
        if (f.target.startsWith(dir + QStringLiteral("/#")) && f.target.endsWith(QLatin1String(" (deleted)")) &&
            ::stat(f.link.toUtf8().constData(), &st) == 0)
            return st.st_size;
    }
    return -1;
}

// Calls `meanwhile`, where given, about every millisecond while the job runs.
inline bool waitFinished(rsc_job *job, const std::function<void()> &meanwhile = nullptr)
{
    QElapsedTimer t;
    t.start();
    while (!rsc_job_is_finished(job) && t.elapsed() < 240000) {
        if (meanwhile)
            meanwhile();
        rsc_job_wait(job, meanwhile ? 1 : 50);
    }
    return rsc_job_is_finished(job) == 1;
}

} // namespace outputtest
