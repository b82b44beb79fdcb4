#pragma once

#include "services.h"

namespace platform {

// The file system through POSIX calls on byte paths, so that names which are
// not valid UTF-8 are listed, created and removed like any other.
class PosixFileSystem : public FileSystem
{
public:
    bool isDirectory(const std::string &path) override;
    bool isFile(const std::string &path) override;
    std::error_code makeDirectory(const std::string &path) override;
    std::unique_ptr<DirectoryListing> openDirectory(const std::string &path) override;
    std::optional<std::string> readFile(const std::string &path) override;
    std::error_code writeFile(const std::string &path, std::string_view bytes) override;
    bool removeFile(const std::string &path) override;
    std::string currentDirectory() override;

    FolderHandle openFolder(const std::string &path, std::error_code &error) override;
    FolderHandle openSubfolder(const FolderHandle &parent, std::string_view name,
                               const std::string &path, std::error_code &error) override;
    std::error_code makeSubfolder(const FolderHandle &parent, std::string_view name,
                                  const std::string &path) override;
    bool isSubfolder(const FolderHandle &parent, std::string_view name) override;
    FolderHandle openParent(const FolderHandle &folder, std::error_code &error) override;
    DirectoryId folderId(const FolderHandle &folder) override;
};

} // namespace platform
