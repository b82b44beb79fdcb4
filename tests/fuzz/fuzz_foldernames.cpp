// Any bytes as a folder name: the name rules answer without failing, and show
// exactly one message whenever they refuse.

#include "foldernames.h"

#include <cstdint>
#include <cstdlib>

namespace {

class CountingMessages : public platform::MessageService
{
public:
    platform::Answer ask(const platform::Message &) override
    {
        ++shown;
        return platform::Answer::Ok;
    }
    int shown = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view name(reinterpret_cast<const char *>(data), size);
    CountingMessages messages;
    const bool clean = foldertree::checkProhibitedCharacters(name, messages);
    if (clean != (messages.shown == 0))
        std::abort();
    messages.shown = 0;
    const bool allowed = foldertree::checkFolderName(name, messages);
    if (allowed != (messages.shown == 0))
        std::abort();
    return 0;
}
