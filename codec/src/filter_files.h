#pragma once
// Files that filter graphs read and we write: text scripts, prepared overlay pictures, copies of streams handed
// over in memory. Where /proc is mounted they have no name on disk, so that a program killed at any instant
// (SIGKILL, or ended by a second signal) leaves none of them behind.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace rsc::edit {

// A file written once and then read by filter graphs. With /proc it is an unnamed file of the temporary
// folder (O_TMPFILE, or a file removed as soon as it is made where that filesystem has none), which a graph
// opens as /proc/self/fd/<n>, each open reading it from its start. The descriptor is held as long as the
// object, which must outlive every graph that opens the path: once it is closed that number names whatever
// is opened next. Without /proc it is a named file of the temporary folder, removed with the object.
class GraphFile
{
public:
    // A new empty file; `suffix` ends the name where it has one. Null when none could be made.
    static std::shared_ptr<GraphFile> create(const std::string &suffix);
    GraphFile(const GraphFile &) = delete;
    GraphFile &operator=(const GraphFile &) = delete;
    ~GraphFile();

    // Appends `size` bytes; false when they could not all be written.
    bool write(const void *data, size_t size);
    // The path a graph opens.
    const std::string &path() const { return m_path; }

    // True for a /proc/self/fd/<n> path whose descriptor is not one of a file alive now: an edit that still
    // names a file that has gone would otherwise open whatever that descriptor is now (a pipe, a socket).
    static bool isStalePath(const std::string &path);

private:
    GraphFile() = default;

    int m_fd = -1;
    bool m_named = false; // no /proc: m_path is the file's name
    std::string m_path;
};

// What one filter graph reads of ours, kept as long as the owner (which outlives the graph): files it wrote,
// pictures prepared for it, private font folders.
class FilterResources
{
public:
    FilterResources() = default;
    FilterResources(const FilterResources &) = delete;
    FilterResources &operator=(const FilterResources &) = delete;
    ~FilterResources();

    // Writes `content` to a new GraphFile; answers the path a graph opens, empty on failure.
    std::string addFile(const std::string &suffix, const std::string &content);
    // A new temporary folder holding only a link to `file`; answers the folder, empty on failure. Unlike the
    // files it has a name (libass lists a font folder) and is removed when the owner goes.
    std::string addFolderWith(const std::string &file);
    // Keeps something shared (a prepared picture's file) alive as long as the graph; null is ignored.
    void keep(std::shared_ptr<const void> shared);

private:
    std::vector<std::shared_ptr<const void>> m_kept;
    std::vector<std::string> m_links;
    std::vector<std::string> m_folders; // removed after the links in them
};

} // namespace rsc::edit
