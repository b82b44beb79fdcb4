#include "tempdir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>

namespace testsupport {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "brindle-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_path = pattern;
    makeDirs("home/.local/share");
    makeDirs("home/.config");
    setenv("HOME", (*this / "home").c_str(), 1);
    setenv("XDG_DATA_HOME", (*this / "home/.local/share").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (*this / "home/.config").c_str(), 1);
    setenv("XDG_STATE_HOME", (*this / "home/.local/state").c_str(), 1);
}

TempDir::~TempDir()
{
    // Give back rights a test may have taken away, then remove everything; the
    // tools walk by descriptor, so trees deeper than the path limit go too.
    run("chmod -R u+rwX '" + m_path + "' 2>/dev/null; rm -rf '" + m_path + "'");
}

std::string TempDir::operator/(std::string_view relative) const
{
    return m_path + "/" + std::string(relative);
}

void TempDir::makeDirs(std::string_view relative) const
{
    std::filesystem::create_directories(*this / relative);
}

void TempDir::writeFile(std::string_view relative, std::string_view bytes) const
{
    std::ofstream out(*this / relative, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::readFile(std::string_view relative) const
{
    std::ifstream in(*this / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempDir::isDirectory(std::string_view relative) const
{
    struct stat st;
    return stat((*this / relative).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool TempDir::exists(std::string_view relative) const
{
    struct stat st;
    return lstat((*this / relative).c_str(), &st) == 0;
}

int run(const std::string &command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace testsupport
