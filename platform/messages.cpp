#include "messages.h"

// Marks the templates for Qt's lupdate, which reads this file; the core itself
// does not use Qt.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace platform {

std::string_view englishTemplate(MessageId id)
{
    switch (id) {
    case MessageId::Verbatim:
        return "%1";
    case MessageId::MoreNames:
        return QT_TRANSLATE_NOOP("Brindle", "\nand %1 more");
    case MessageId::NoTask:
        return QT_TRANSLATE_NOOP("Brindle", "Please select a task at left panel.");
    case MessageId::InvalidTarget:
        return QT_TRANSLATE_NOOP("Brindle", "You have not specified a valid target location!");
    case MessageId::CannotCreateTarget:
        return QT_TRANSLATE_NOOP("Brindle", "Can not create target location:%1");
    case MessageId::CannotCreateSubfolder:
        return QT_TRANSLATE_NOOP("Brindle", "Can not create subfolder: %1");
    case MessageId::Summary:
        return QT_TRANSLATE_NOOP(
            "Brindle", "%1 subfolders were created successfully!\nOpen the target location now?");
    case MessageId::OutsideTarget:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "The folder name '%1' would lead outside the target location, so "
                                 "it is not created, and neither is anything below it.");
    case MessageId::ControlCharacter:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "The folder name '%1' holds a control character, so it is not "
                                 "created, and neither is anything below it.");
    case MessageId::TargetControlCharacter:
        return QT_TRANSLATE_NOOP(
            "Brindle",
            "The target location '%1' holds a control character, so nothing is created.");
    case MessageId::LogBusy:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "Another run or undo is in progress. Nothing was changed: try "
                                 "again when it has finished.");
    case MessageId::UndoQuestion:
        return QT_TRANSLATE_NOOP("Brindle", "Do you want to UNDO the last operation ?");
    case MessageId::UndoDone:
        return QT_TRANSLATE_NOOP("Brindle", "Undo done.");
    case MessageId::UndoStopped:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "The undo was stopped. The folders not yet moved to the trash "
                                 "stay in the undo list: press Undo again to go on.");
    case MessageId::SkippedLines:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "These lines of the undo list do not name a folder a run could "
                                 "have made, so they were left alone:\n");
    case MessageId::NothingLeftToUndo:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "None of the folders the last run made is still there: the undo "
                                 "only empties the undo list.");
    case MessageId::OneFolderToTrash:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "%1 folder made by the last run will go to the trash, from %2.");
    case MessageId::FoldersToTrash:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "%1 folders made by the last run will go to the trash, from %2.");
    case MessageId::ForeignContents:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "\n\nThese folders now also hold files or folders the last run "
                                 "did not make, which will go to the trash with them:\n");
    case MessageId::OneLineSkipped:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "\n\n%1 line of the undo list names no folder a run could have "
                                 "made and will be left alone.");
    case MessageId::LinesSkipped:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "\n\n%1 lines of the undo list name no folder a run could have "
                                 "made and will be left alone.");
    case MessageId::KeptBack:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "These folders could not be moved to the trash and were left "
                                 "where they are:\n");
    case MessageId::TrashSaid:
        return QT_TRANSLATE_NOOP("Brindle", "\nThe trash said: %1");
    case MessageId::StayInUndoList:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "\nThey stay in the undo list: press Undo again to retry.");
    case MessageId::NoNewName:
        return QT_TRANSLATE_NOOP("Brindle", "No new name is inputted.");
    case MessageId::ProhibitedCharacters:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "You should remove one of following nine characters from input "
                                 "text, because they are prohibited in Windows filenames:  \\ / "
                                 ": * ? \" < > |");
    case MessageId::ReservedName:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "The new filename: '%1' can not be renamed, because some "
                                 "names(con, aux, com1, lpt1, prn, nul) are reserved by Windows, "
                                 "you should use another name.");
    case MessageId::NameTooLong:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "The new filename: '%1' can not be renamed, because the "
                                 "filename(plus path) is too long(>255 characters), you should "
                                 "shorten it.");
    case MessageId::LeftOutOfTreeFile:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "These folders were left out of the tree file, because a tree "
                                 "file cannot hold their names or their paths are too long:\n");
    case MessageId::LeftOutOfFolderTree:
        return QT_TRANSLATE_NOOP("Brindle",
                                 "These folders were left out of the folder tree, because a tree "
                                 "file cannot hold their names:\n");
    case MessageId::ListMissing:
        return QT_TRANSLATE_NOOP("Brindle", "'%1' is missing.");
    case MessageId::CannotOpenFile:
        return QT_TRANSLATE_NOOP("Brindle", "Cannot open file %1");
    case MessageId::CannotCreateFile:
        return QT_TRANSLATE_NOOP("Brindle", "Cannot create file %1");
    case MessageId::InvalidInstallDir:
        return QT_TRANSLATE_NOOP("Brindle", "Invalid data type for 'Installdir'");
    case MessageId::OutOfMemory:
        return QT_TRANSLATE_NOOP("Brindle", "Out of memory");
    case MessageId::UnknownFailure:
        return QT_TRANSLATE_NOOP("Brindle", "Unknown failure");
    }
    return "%1";
}

MessageText messageText(MessageId id, std::vector<std::string> arguments)
{
    return {MessagePart {id, std::move(arguments)}};
}

MessageText verbatim(std::string text)
{
    if (text.empty())
        return {};
    return messageText(MessageId::Verbatim, {std::move(text)});
}

void append(MessageText &text, const MessageText &more)
{
    text.insert(text.end(), more.begin(), more.end());
}

std::string fillTemplate(std::string_view pattern, const std::vector<std::string> &arguments)
{
    std::string filled;
    filled.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1'
            && pattern[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < arguments.size()) {
                filled += arguments[index];
                ++i;
                continue;
            }
        }
        filled += pattern[i];
    }
    return filled;
}

std::string english(const MessageText &text)
{
    std::string result;
    for (const MessagePart &part : text)
        result += fillTemplate(englishTemplate(part.id), part.arguments);
    return result;
}

} // namespace platform
