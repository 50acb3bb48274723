#include "filter_files.h"

#include "fd_paths.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <set>
#include <unistd.h>

namespace rsc::edit {

namespace {

constexpr char kSelfFd[] = "/proc/self/fd/";
constexpr size_t kSelfFdChars = sizeof kSelfFd - 1;

// The descriptors of the GraphFiles alive now.
std::mutex s_liveMutex;
std::set<int> s_live;

std::string temporaryFolder()
{
    std::error_code ec;
    const std::string folder = std::filesystem::temp_directory_path(ec).string();
    return ec || folder.empty() ? std::string("/tmp") : folder;
}

} // namespace

std::shared_ptr<GraphFile> GraphFile::create(const std::string &suffix)
{
    std::shared_ptr<GraphFile> file(new GraphFile);
    const std::string folder = temporaryFolder();
    std::string name = folder + "/rsc-filter-XXXXXX";
    if (descriptorPathsWork()) {
        file->m_fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (file->m_fd < 0 && noUnnamedFiles(errno)) {
            file->m_fd = ::mkostemp(name.data(), O_CLOEXEC);
            if (file->m_fd >= 0)
                ::unlink(name.c_str());
        }
        if (file->m_fd < 0)
            return nullptr;
        file->m_path = descriptorPath(file->m_fd);
    } else {
        name += suffix;
        file->m_fd = ::mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
        if (file->m_fd < 0)
            return nullptr;
        file->m_named = true;
        file->m_path = name;
    }
    std::lock_guard<std::mutex> lock(s_liveMutex);
    s_live.insert(file->m_fd);
    return file;
}

GraphFile::~GraphFile()
{
    if (m_fd < 0)
        return;
    std::lock_guard<std::mutex> lock(s_liveMutex);
    s_live.erase(m_fd);
    if (m_named)
        ::unlink(m_path.c_str());
    ::close(m_fd);
}

bool GraphFile::write(const void *data, size_t size)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

bool GraphFile::isStalePath(const std::string &path)
{
    if (path.compare(0, kSelfFdChars, kSelfFd) != 0)
        return false;
    const std::string number = path.substr(kSelfFdChars);
    if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos)
        return true;
    std::lock_guard<std::mutex> lock(s_liveMutex);
    return s_live.count(std::atoi(number.c_str())) == 0;
}

FilterResources::~FilterResources()
{
    for (const std::string &link : m_links)
        ::unlink(link.c_str());
    for (const std::string &folder : m_folders)
        ::rmdir(folder.c_str());
}

void FilterResources::keep(std::shared_ptr<const void> shared)
{
    if (shared)
        m_kept.push_back(std::move(shared));
}

std::string FilterResources::addFile(const std::string &suffix, const std::string &content)
{
    std::shared_ptr<GraphFile> file = GraphFile::create(suffix);
    if (!file || !file->write(content.data(), content.size()))
        return {};
    const std::string path = file->path();
    m_kept.push_back(std::move(file));
    return path;
}

std::string FilterResources::addFolderWith(const std::string &file)
{
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::absolute(file, ec);
    if (ec)
        return {};
    std::string folder = temporaryFolder() + "/rsc-filter-XXXXXX";
    if (!::mkdtemp(folder.data()))
        return {};
    m_folders.push_back(folder);
    const std::string link = folder + "/" + target.filename().string();
    if (::symlink(target.c_str(), link.c_str()) != 0)
        return {};
    m_links.push_back(link);
    return folder;
}

} // namespace rsc::edit
