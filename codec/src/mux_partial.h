#pragma once
// The file a job writes its output into until the output is complete. Where the filesystem allows it has no
// name at all (O_TMPFILE) and is linked into place when complete, so a process killed at any instant leaves
// nothing behind. Elsewhere it has a hidden name beside the output, ".<output's name>.<128-bit token>.part",
// marked as ours by an extended attribute that holds the token, and locked while its writer lives: later jobs
// in that folder remove such files once their lock is free. Where no mark could be written (FAT and exFAT
// have no extended attributes; a writer killed before it marked its file) the exact name, our ownership and
// the free lock decide, and only for the output a later job writes itself.
// A file that replaces an old output keeps the old file's access (mux_access.h); a named file made for a new
// output is open to this user alone until it is complete, and then gets the access a new file gets there.
// Only what was at the output path when the job began is replaced: a file saved there meanwhile is
// someone's work, and the output then stays unplaced.

#include "mux_access.h"

#include <atomic>
#include <string>
#include <sys/stat.h>

namespace rsc::job {

class PartialFile
{
public:
    PartialFile() = default;
    PartialFile(const PartialFile &) = delete;
    PartialFile &operator=(const PartialFile &) = delete;
    ~PartialFile();

    // Whether the file may be unnamed (on by default): tests force the named way.
    static void allowUnnamed(bool allow) { s_allowUnnamed.store(allow); }

    // Creates the file for the output `path` in its folder; false (errno set) when none could be made. Only the
    // file `replaces` describes (what the path held when the job began; null: nothing) may be replaced.
    bool create(const std::string &path, const struct stat *replaces);
    bool isOpen() const { return m_fd >= 0; }
    // A descriptor of the file for writing, for the caller to close.
    int duplicate() const;
    // True when `st` describes this file.
    bool is(const struct stat &st) const;
    // Puts the complete file at the output path in one step, replacing what is there (its data is synced
    // first) when that is still the file create() was told of; false (errno set) when it could not, EEXIST
    // when anything else holds the path. The file is closed either way.
    bool commit();
    // Removes the file (its hidden name, where it has one) and closes it.
    void discard();

    // Removes the hidden files that writers which have ended left beside the output `path`: files owned by
    // this user whose writer's lock is free, and either marked as ours (for any output in that folder) or
    // without a mark and named for `path` itself. A file whose mark does not match its name stays.
    static void removeAbandoned(const std::string &path);

private:
    bool place();
    bool nameHidden();
    bool linkTo(const std::string &name) const;
    bool moveToFreePath();

    static std::atomic<bool> s_allowUnnamed;

    int m_fd = -1;
    std::string m_path; // the output
    std::string m_name; // the hidden name while the file has one
    bool m_locked = false;
    bool m_marked = false;  // carries the token of its hidden name as our mark
    bool m_private = false; // named, and created private for want of an old file: made a new file's when placed
    bool m_taken = false;   // the output path held something when the job began: that alone may be replaced
    struct stat m_replaces
    {
    };
    OldFileAccess m_old; // of the file at the output path when the file was created
};

} // namespace rsc::job
