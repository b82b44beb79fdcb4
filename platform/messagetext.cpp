#include "messagetext.h"

#include <algorithm>

namespace platform {

namespace {

bool isControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

} // namespace

bool hasControlCharacter(std::string_view text)
{
    for (const char c : text) {
        if (isControl(static_cast<unsigned char>(c)))
            return true;
    }
    return false;
}

std::string escapeControl(std::string_view text)
{
    constexpr char Hex[] = "0123456789abcdef";
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!isControl(byte)) {
            escaped += c;
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\t') {
            escaped += "\\t";
        } else {
            escaped += "\\x";
            escaped += Hex[byte >> 4];
            escaped += Hex[byte & 0xF];
        }
    }
    return escaped;
}

std::string boundedName(std::string_view name)
{
    std::string text = escapeControl(name.substr(0, MessageNameLimit + 1));
    if (text.size() <= MessageNameLimit && name.size() <= MessageNameLimit)
        return text;
    std::size_t cut = MessageNameLimit;
    // Step back over UTF-8 continuation bytes so no character is split.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
    return text + "...";
}

BoundedList boundedList(const std::vector<std::string> &names)
{
    BoundedList list;
    const std::size_t shown = std::min(names.size(), MessageListLimit);
    std::string lines;
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0)
            lines += '\n';
        lines += boundedName(names[i]);
    }
    list.text = verbatim(std::move(lines));
    bool cut = names.size() > shown;
    for (std::size_t i = 0; i < shown && !cut; ++i)
        cut = names[i].size() > MessageNameLimit;
    if (names.size() > shown)
        append(list.text,
               messageText(MessageId::MoreNames, {std::to_string(names.size() - shown)}));
    if (cut) {
        for (const std::string &name : names) {
            list.details += escapeControl(name);
            list.details += '\n';
        }
    }
    return list;
}

} // namespace platform
