#pragma once

#include <string>
#include <string_view>

namespace testsupport {

// A fresh folder for one test, removed with everything in it at the end. It
// also points HOME, XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_STATE_HOME into itself, so that no
// test touches the real home, settings or trash.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return m_path; }
    // path() + "/" + relative
    std::string operator/(std::string_view relative) const;

    // Helpers for arranging the disk.
    void makeDirs(std::string_view relative) const;
    void writeFile(std::string_view relative, std::string_view bytes) const;
    std::string readFile(std::string_view relative) const;
    bool isDirectory(std::string_view relative) const;
    bool exists(std::string_view relative) const;

private:
    std::string m_path;
};

// Runs a shell command; returns its exit status.
int run(const std::string &command);

} // namespace testsupport
