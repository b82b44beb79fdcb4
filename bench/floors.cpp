#include "floors.h"

#include "benchsupport.h"
#include "linebuffer.h"
#include "treefile.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <gio/gio.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {

std::size_t statMkdirFloor(const std::vector<std::string> &paths)
{
    std::size_t made = 0;
    struct stat st;
    for (const std::string &path : paths)
        if (stat(path.c_str(), &st) != 0 && mkdir(path.c_str(), 0777) == 0)
            ++made;
    return made;
}

std::size_t readdirWalkFloor(const std::string &root, const std::string &outFile)
{
    std::string out;
    std::size_t listed = 0;
    std::vector<DIR *> stack;
    if (DIR *top = opendir(root.c_str()))
        stack.push_back(top);
    while (!stack.empty()) {
        DIR *dir = stack.back();
        const dirent *entry = readdir(dir);
        if (!entry) {
            closedir(dir);
            stack.pop_back();
            continue;
        }
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            isDirectory = fstatat(dirfd(dir), name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (!isDirectory)
            continue;
        ++listed;
        out.append(2 * stack.size(), ' ');
        out += name;
        out += '\n';
        const int fd = openat(dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (DIR *child = fdopendir(fd))
            stack.push_back(child);
        else
            close(fd);
    }
    const int fd = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throw std::runtime_error("cannot write " + outFile);
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t written = write(fd, out.data() + done, out.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        done += static_cast<std::size_t>(written);
    }
    close(fd);
    return listed;
}

std::size_t bareParseFloor(const std::string &treeFile, foldertree::LineBuffer &lines,
                           double *phases)
{
    const Clock::time_point start = Clock::now();
    const int fd = open(treeFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot read " + treeFile);
    struct stat st;
    fstat(fd, &st);
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    close(fd);
    bytes.resize(done);
    const Clock::time_point read = Clock::now();
    lines.assign(bytes);
    const Clock::time_point split = Clock::now();
    const std::size_t placed = foldertree::parseTreeLines(lines).entries.size();
    if (phases) {
        phases[0] = std::chrono::duration<double>(read - start).count();
        phases[1] = std::chrono::duration<double>(split - read).count();
        phases[2] = secondsSince(split);
    }
    return placed;
}

std::size_t gioTrashFloor(const std::vector<std::string> &paths)
{
    std::size_t trashed = 0;
    for (const std::string &path : paths) {
        GFile *file = g_file_new_for_path(path.c_str());
        GError *error = nullptr;
        if (g_file_trash(file, nullptr, &error))
            ++trashed;
        if (error)
            g_error_free(error);
        g_object_unref(file);
    }
    return trashed;
}

} // namespace bench
