#include "foldernames.h"

#include "messagetext.h"
#include "paths.h"

#include <array>

namespace foldertree {

namespace {

constexpr std::string_view ProhibitedCharacters = "\\/:*?\"<>|";
constexpr std::array<std::string_view, 6> ReservedNames
    = {"con", "aux", "com1", "lpt1", "prn", "nul"};
constexpr std::size_t LongestName = 255;

} // namespace

bool checkProhibitedCharacters(std::string_view name, platform::MessageService &messages)
{
    // UTF-8 never uses these bytes inside a longer character, so a byte search
    // finds characters only.
    if (name.find_first_of(ProhibitedCharacters) == std::string_view::npos)
        return true;
    messages.ask(
        platform::information(platform::messageText(platform::MessageId::ProhibitedCharacters)));
    return false;
}

bool checkFolderName(std::string_view name, platform::MessageService &messages)
{
    const std::string_view component = platform::finalPart(name);
    for (std::string_view reserved : ReservedNames) {
        if (component == reserved) {
            messages.ask(platform::information(platform::messageText(
                platform::MessageId::ReservedName, {platform::boundedName(component)})));
            return false;
        }
    }
    if (component.size() > LongestName) {
        messages.ask(platform::information(platform::messageText(platform::MessageId::NameTooLong,
                                                                 {platform::boundedName(name)})));
        return false;
    }
    return true;
}

} // namespace foldertree
