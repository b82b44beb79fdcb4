#include "posixfilesystem.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The largest file readFile takes: far more than any tree file, category list
// or undo log, and little enough to hold in memory.
constexpr std::size_t ReadFileLimit = std::size_t(1) << 30;

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

class PosixListing : public DirectoryListing
{
public:
    PosixListing(DIR *dir, DirectoryId id) : m_dir(dir), m_id(id) { }
    ~PosixListing() override { closedir(m_dir); }

    DirectoryId id() const override { return m_id; }

    std::optional<DirectoryEntry> next() override
    {
        while (dirent *entry = readdir(m_dir)) {
            const char *name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            DirectoryEntry result;
            result.name = name;
            if (entry->d_type == DT_DIR) {
                result.isDirectory = true;
            } else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
                // A link counts as what it leads to, as the desktop shows it.
                struct stat st;
                result.isDirectory
                    = fstatat(dirfd(m_dir), name, &st, 0) == 0 && S_ISDIR(st.st_mode);
            }
            return result;
        }
        return std::nullopt;
    }

private:
    DIR *m_dir;
    DirectoryId m_id;
};

} // namespace

bool PosixFileSystem::isDirectory(const std::string &path)
{
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::isFile(const std::string &path)
{
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::error_code PosixFileSystem::makeDirectory(const std::string &path)
{
    if (mkdir(path.c_str(), 0777) != 0)
        return lastError();
    return {};
}

std::unique_ptr<DirectoryListing> PosixFileSystem::openDirectory(const std::string &path)
{
    DIR *dir = opendir(path.c_str());
    if (!dir)
        return nullptr;
    struct stat st;
    DirectoryId id;
    if (fstat(dirfd(dir), &st) == 0)
        id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return std::make_unique<PosixListing>(dir, id);
}

std::optional<std::string> PosixFileSystem::readFile(const std::string &path)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer; the type is known
    // only once it is open.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || static_cast<std::uint64_t>(st.st_size) > ReadFileLimit) {
        close(fd);
        return std::nullopt;
    }
    std::string bytes;
    if (st.st_size > 0)
        bytes.reserve(static_cast<size_t>(st.st_size));
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        // The size fstat gave may be wrong (files of /proc, a file still growing).
        if (bytes.size() + static_cast<size_t>(got) > ReadFileLimit) {
            close(fd);
            return std::nullopt;
        }
        bytes.append(chunk, static_cast<size_t>(got));
    }
    close(fd);
    return bytes;
}

std::error_code PosixFileSystem::writeFile(const std::string &path, std::string_view bytes)
{
    // Write beside the file, then rename over it: a failure at any point leaves
    // the earlier file untouched.
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return lastError();
    std::error_code error;
    const char *data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = lastError();
            break;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    if (!error && fdatasync(fd) != 0)
        error = lastError();
    // mkstemp creates the file for its owner alone; give it the usual rights.
    const mode_t mask = umask(0);
    umask(mask);
    if (!error && fchmod(fd, 0666 & ~mask) != 0)
        error = lastError();
    if (close(fd) != 0 && !error)
        error = lastError();
    if (!error && rename(temporary.c_str(), path.c_str()) != 0)
        error = lastError();
    if (error)
        unlink(temporary.c_str());
    return error;
}

bool PosixFileSystem::removeFile(const std::string &path)
{
    return unlink(path.c_str()) == 0;
}

std::string PosixFileSystem::currentDirectory()
{
    std::string buffer(PATH_MAX, '\0');
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

} // namespace platform
