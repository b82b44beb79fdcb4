#include "paths.h"

#include "services.h"

namespace platform {

namespace {

// Where the last part of a name or a target begins, after its last separator
// (and on Windows after a drive colon); npos when there is none.
std::size_t lastCut(std::string_view text)
{
#ifdef _WIN32
    return text.find_last_of("\\:");
#else
    return text.find_last_of(Separator);
#endif
}

} // namespace

std::vector<std::string_view> pathParts(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(Separator, start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (!part.empty() && part != ".")
            parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

void appendParts(std::string &path, std::string_view relative)
{
    for (const std::string_view part : pathParts(relative)) {
        if (path.empty() || path.back() != Separator)
            path += Separator;
        path += part;
    }
}

std::string normalisedPath(std::string_view path)
{
    std::string plain;
    appendParts(plain, path);
    return plain;
}

bool isInside(std::string_view folder, std::string_view path)
{
    return !folder.empty() && path.size() > folder.size() && path.starts_with(folder)
        && path[folder.size()] == Separator;
}

bool isSameOrInside(std::string_view folder, std::string_view path)
{
    return !folder.empty() && (path == folder || isInside(folder, path));
}

std::string_view parentFolder(std::string_view path)
{
    return path.substr(0, path.rfind(Separator));
}

std::string parentPart(std::string_view target)
{
    const std::size_t cut = lastCut(target);
    return cut == std::string_view::npos ? std::string() : std::string(target.substr(0, cut + 1));
}

std::string_view finalPart(std::string_view name)
{
    const std::size_t cut = lastCut(name);
    return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

bool isAbsolutePath(std::string_view path)
{
#ifdef _WIN32
    return path.size() >= 2 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'));
#else
    return !path.empty() && path.front() == Separator;
#endif
}

std::string absolutePath(std::string_view path, std::string_view currentFolder)
{
    if (isAbsolutePath(path))
        return std::string(path);
    std::string full(currentFolder);
    if (full.empty() || full.back() != Separator)
        full += Separator;
    full += path;
    return full;
}

} // namespace platform
