#pragma once
// The file a job writes its output into until the output is complete. Where the filesystem allows it has no
// name at all (O_TMPFILE) and is linked into place when complete, so a process killed at any instant leaves
// nothing behind. Elsewhere it has a hidden name beside the output, ".<output's name>.<128-bit token>.part",
// marked as ours by an extended attribute that holds the token, and locked while its writer lives: later jobs
// in that folder remove such files once their lock is free. Where the filesystem keeps no marks at all (FAT
// and exFAT have no extended attributes) the exact name, our ownership and the free lock decide, and only for
// the output a later job writes itself; elsewhere a file without the mark is never taken for ours.
// A file that replaces an old output keeps the old file's access (mux_access.h); a named file made for a new
// output is open to this user alone until it is complete, and then gets the access a new file gets there.
// Only what was at the output path when the job began is replaced, known by the file itself: held open from then,
// its inode number goes to no other file, nor does FUSE give it a new one, and it is a regular file or a link,
// never a folder. A file saved there meanwhile is someone's work, and the output then stays unplaced.

#include "mux_access.h"

#include <atomic>
#include <functional>
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
    // Where a save at the output path would be worst timed: between the open's look at the path and its hold of
    // what is there, while the data is synced, right after the path was last looked at, and right after the two
    // files changed places. Tests only, set while no job runs: `hook` is called at each.
    enum class Step { Opening, Syncing, Looked, Exchanged };
    static void whilePlacing(std::function<void(Step)> hook);

    // Holds (O_PATH, a link itself) what the output `path` holds when a job opens it, in `*held` (-1: nothing):
    // only that may be replaced. False when the path holds something other than a regular file.
    static bool holdOld(const std::string &path, int *held);

    // Creates the file for the output `path` in its folder; false (errno set) when none could be made. Only the
    // file open as `replaces` (what the path held when the job began, any kind of descriptor; -1: nothing) may
    // be replaced: a duplicate of it is held until the file is closed.
    bool create(const std::string &path, int replaces);
    bool isOpen() const { return m_fd >= 0; }
    // A descriptor of the file for writing, for the caller to close.
    int duplicate() const;
    // True when `st` describes this file.
    bool is(const struct stat &st) const;
    // Puts the complete file at the output path in one step, replacing what is there when that is still the
    // file create() was told of: its data is synced first, then the path looked at, and where the filesystem
    // can, the two files change places and what came out is looked at. An old file deleted or renamed
    // meanwhile leaves the path free, which is then taken. False (errno set) when it could not, EEXIST when
    // anything else holds the path. The file is closed either way.
    bool commit();
    // Where two files were saved at the output path at once while commit() put the first one back, the second
    // is kept under a name of its own beside it ("out (2).mp4"), else (every such name taken) under the hidden
    // name, less its ".part" where that name alone would make it pass for a partial file: its path, else empty.
    const std::string &setAside() const { return m_setAside; }
    // Removes the file (its hidden name, where it has one, in the folder it was made in, wherever that folder
    // went) and closes it. Where the folder takes no removal its data goes at least; a later job there removes
    // the empty file.
    void discard();

    // Removes the hidden files that writers which have ended left beside the output `path`: files owned by
    // this user whose writer's lock is free, and either marked as ours (for any output in that folder) or,
    // where the filesystem keeps no marks, named for `path` itself. A file whose mark does not match its name
    // stays, and so does one without a mark where marks are kept. An old output that a read-only folder kept
    // from going is marked and goes too.
    static void removeAbandoned(const std::string &path);

private:
    bool place();
    bool syncData() const;
    bool replaceHeld();
    void dropOld();
    void putBack();
    bool holds(const struct stat &st) const;
    bool nameHidden();
    bool linkTo(int dir, const std::string &name) const;
    bool moveToFreePath();
    void closeFile();

    static std::atomic<bool> s_allowUnnamed;

    int m_fd = -1;
    int m_dir = -1;     // the output's folder, held from the start (O_PATH)
    int m_held = -1;    // what the output path held when the job began, which alone may be replaced; -1: nothing
    std::string m_path; // the output
    std::string m_name; // the hidden name in m_dir while the file has one
    bool m_locked = false;
    bool m_marked = false;  // carries the token of its hidden name as our mark
    bool m_private = false; // named, and created private for want of an old file: made a new file's when placed
    OldFileAccess m_old;    // of the held file, as the output path showed it when the file was created
    std::string m_setAside; // see setAside()
};

} // namespace rsc::job
