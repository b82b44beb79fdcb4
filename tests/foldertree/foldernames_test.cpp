#include "foldernames.h"
#include "scripted.h"

#include <gtest/gtest.h>

namespace foldertree {
namespace {

std::string reservedMessage(const std::string &component)
{
    return "The new filename: '" + component
        + "' can not be renamed, because some names(con, aux, com1, lpt1, prn, nul) are "
          "reserved by Windows, you should use another name.";
}

std::string longMessage(const std::string &text)
{
    return "The new filename: '" + text
        + "' can not be renamed, because the filename(plus path) is too long(>255 "
          "characters), you should shorten it.";
}

void expectOneNotice(const platform::ScriptedMessages &messages, const std::string &text)
{
    ASSERT_EQ(messages.shown.size(), 1u);
    const platform::Message &shown = messages.shown[0];
    EXPECT_EQ(platform::english(shown.text), text);
    EXPECT_EQ(shown.caption, "Information");
    EXPECT_EQ(shown.icon, platform::Icon::Information);
    EXPECT_EQ(shown.buttons, platform::Buttons::Ok);
}

TEST(FolderNames, ReservedAndOverLongNamesAreRefused)
{
    const std::string name255(255, 'n');
    const std::string name256(256, 'n');
    std::string longPathOfShortNames;
    while (longPathOfShortNames.size() < 300)
        longPathOfShortNames += "/folder";
    struct Row
    {
        const char *name;
        std::string text;
        std::string message; // empty: accepted without a message
    };
    const Row rows[] = {
        {"con", "con", reservedMessage("con")},
        {"nul", "nul", reservedMessage("nul")},
        {"each reserved name", "aux", reservedMessage("aux")},
        {"com1", "com1", reservedMessage("com1")},
        {"lpt1", "lpt1", reservedMessage("lpt1")},
        {"prn", "prn", reservedMessage("prn")},
        {"last component", "a/b/aux", reservedMessage("aux")},
        {"reserved before length", name256 + "/con", reservedMessage("con")},
        {"other case", "Con", ""},
        {"upper case", "NUL", ""},
        {"com2", "com2", ""},
        {"with extension", "con.txt", ""},
        {"reserved in the middle", "a/con/b", ""},
        {"255 bytes", name255, ""},
        {"256 bytes", name256, longMessage(name256)},
        {"256 bytes after a path", "/music/" + name256, longMessage("/music/" + name256)},
        {"long path of short names", longPathOfShortNames, ""},
        {"plain", "Rock & Roll", ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        platform::ScriptedMessages messages;
        EXPECT_EQ(checkFolderName(row.text, messages), row.message.empty());
        if (row.message.empty())
            EXPECT_TRUE(messages.shown.empty());
        else
            expectOneNotice(messages, row.message);
    }
}

TEST(FolderNames, ProhibitedCharactersAreRefusedOnce)
{
    const std::string message = "You should remove one of following nine characters from input "
                                "text, because they are prohibited in Windows filenames:  "
                                "\\ / : * ? \" < > |";
    for (char c : std::string_view("\\/:*?\"<>|")) {
        SCOPED_TRACE(std::string(1, c));
        platform::ScriptedMessages messages;
        EXPECT_FALSE(checkProhibitedCharacters(std::string("a") + c + "b" + c, messages));
        expectOneNotice(messages, message);
    }
    for (const char *clean : {"Rock & Roll (70s)", "caf\xc3\xa9", "\xff\xfe", ""}) {
        SCOPED_TRACE(clean);
        platform::ScriptedMessages messages;
        EXPECT_TRUE(checkProhibitedCharacters(clean, messages));
        EXPECT_TRUE(messages.shown.empty());
    }
}

} // namespace
} // namespace foldertree
