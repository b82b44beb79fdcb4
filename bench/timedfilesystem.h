#pragma once

// The POSIX file system with every call timed, for splitting a run's time
// between the kernel and the engine.

#include "posixfilesystem.h"

#include <string>

namespace bench {

class TimedFileSystem : public platform::PosixFileSystem
{
public:
    bool isDirectory(const std::string &path) override;
    bool isFile(const std::string &path) override;
    std::error_code makeDirectory(const std::string &path) override;
    std::unique_ptr<platform::DirectoryListing> openDirectory(const std::string &path) override;
    std::optional<std::string> readFile(const std::string &path) override;
    std::error_code writeFile(const std::string &path, std::string_view bytes) override;
    bool removeFile(const std::string &path) override;
    std::string currentDirectory() override;
    platform::FolderHandle openSubfolder(const platform::FolderHandle &parent,
                                         std::string_view name, const std::string &path,
                                         std::error_code &error) override;
    std::error_code makeSubfolder(const platform::FolderHandle &parent, std::string_view name,
                                  const std::string &path) override;

    struct Counter
    {
        const char *name;
        double seconds = 0;
        std::size_t calls = 0;
    };
    enum Kind { Stat, Mkdir, Opendir, Readdir, Read, Write, Remove, Getcwd, Openat, Kinds };
    Counter counters[Kinds] = {{"stat"},    {"mkdir"},    {"opendir+fstat"},
                               {"readdir"}, {"readFile"}, {"writeFile (with fdatasync)"},
                               {"unlink"},  {"getcwd"},   {"openat"}};

    double totalSeconds() const;
    // "mkdir 1.2 s (101,110 calls), ..." for the calls made.
    std::string summary() const;
};

} // namespace bench
