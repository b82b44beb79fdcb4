// Folders held open by descriptor: a creation run works relative to them, so a
// link below its target is never followed and no path grows beyond PATH_MAX.

#include "posixfilesystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

FolderHandle openAt(int directory, const std::string &name, int flags, std::error_code &error)
{
    int descriptor;
    do
        descriptor = openat(directory, name.c_str(), flags);
    while (descriptor < 0 && errno == EINTR);
    error = descriptor < 0 ? std::error_code(errno, std::generic_category()) : std::error_code();
    return FolderHandle(descriptor);
}

} // namespace

FolderHandle::~FolderHandle()
{
    if (m_descriptor >= 0)
        close(m_descriptor);
}

FolderHandle &FolderHandle::operator=(FolderHandle &&other) noexcept
{
    if (this != &other) {
        if (m_descriptor >= 0)
            close(m_descriptor);
        m_descriptor = other.release();
    }
    return *this;
}

FolderHandle PosixFileSystem::openFolder(const std::string &path, std::error_code &error)
{
    if (path.empty()) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
        return {};
    }
    return openAt(AT_FDCWD, path, FolderFlags, error);
}

FolderHandle PosixFileSystem::openSubfolder(const FolderHandle &parent, std::string_view name,
                                            const std::string &, std::error_code &error)
{
    return openAt(parent.descriptor(), std::string(name), FolderFlags | O_NOFOLLOW, error);
}

std::error_code PosixFileSystem::makeSubfolder(const FolderHandle &parent, std::string_view name,
                                               const std::string &)
{
    if (mkdirat(parent.descriptor(), std::string(name).c_str(), 0777) != 0)
        return {errno, std::generic_category()};
    return {};
}

bool PosixFileSystem::isSubfolder(const FolderHandle &parent, std::string_view name)
{
    struct stat st;
    return fstatat(parent.descriptor(), std::string(name).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISDIR(st.st_mode);
}

FolderHandle PosixFileSystem::openParent(const FolderHandle &folder, std::error_code &error)
{
    return openAt(folder.descriptor(), "..", FolderFlags, error);
}

DirectoryId PosixFileSystem::folderId(const FolderHandle &folder)
{
    struct stat st;
    if (fstat(folder.descriptor(), &st) != 0)
        return {};
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

} // namespace platform
