#pragma once

// The program's messages as data: which message it is and the names, paths and
// counts that go into it. The English wording of every message lives in one
// catalogue (messages.cpp); brindle-cli shows it as it is, the window
// translates each template before it fills in the arguments, so nothing inside
// a name or a path is ever translated.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class MessageId {
    Verbatim, // "%1": names, lists and other text that is never translated
    MoreNames, // the end of a list cut short: "\nand %1 more"
    // A run
    NoTask,
    InvalidTarget,
    CannotCreateTarget,
    CannotCreateSubfolder,
    Summary,
    OutsideTarget,
    ControlCharacter,
    TargetControlCharacter,
    LogBusy,
    // The undo
    UndoQuestion,
    UndoDone,
    UndoStopped,
    SkippedLines,
    NothingLeftToUndo,
    OneFolderToTrash,
    FoldersToTrash,
    ForeignContents,
    OneLineSkipped,
    LinesSkipped,
    KeptBack,
    TrashSaid,
    StayInUndoList,
    // Folder names
    NoNewName,
    ProhibitedCharacters,
    ReservedName,
    NameTooLong,
    // Tree files, lists and settings
    LeftOutOfTreeFile,
    LeftOutOfFolderTree,
    ListMissing,
    CannotOpenFile,
    CannotCreateFile,
    InvalidInstallDir,
    // Failures
    OutOfMemory,
    UnknownFailure,
};

// The English template of a message: its text with %1, %2 where the arguments
// go. Templates that continue another part carry their own line breaks.
std::string_view englishTemplate(MessageId id);

// One message template and what fills its placeholders (%1 is arguments[0]).
struct MessagePart
{
    MessageId id = MessageId::Verbatim;
    std::vector<std::string> arguments;

    bool operator==(const MessagePart &) const = default;
};

// A message's text: its parts one after the other.
using MessageText = std::vector<MessagePart>;

// The text of one message template with its arguments.
MessageText messageText(MessageId id, std::vector<std::string> arguments = {});

// Text that is shown as it is; no part at all for "".
MessageText verbatim(std::string text);

// Appends the parts of `more` to `text`.
void append(MessageText &text, const MessageText &more);

// The template with each %1..%9 replaced by its argument, in one pass: what an
// argument holds is never replaced again. A placeholder without an argument
// stays as it is. O(template + arguments).
std::string fillTemplate(std::string_view pattern, const std::vector<std::string> &arguments);

// The text in English, as brindle-cli shows it.
std::string english(const MessageText &text);

} // namespace platform
