#include "undo.h"

#include "creationrun.h"
#include "failure.h"
#include "linebuffer.h"

namespace creation {

std::string keptBackMessage(const std::vector<std::string> &paths)
{
    std::string text = "These folders could not be moved to the trash and were left where they "
                       "are:\n";
    for (const std::string &path : paths)
        text += path + "\n";
    text += "They stay in the undo list: press Undo again to retry.";
    return text;
}

UndoResult undoLastRun(UndoContext &context)
{
    UndoResult result;
    const platform::Message question {std::string(UndoQuestion), std::string(UndoCaption),
                                      platform::Buttons::YesNo, platform::Icon::Question,
                                      platform::Answer::Yes};
    if (context.messages.ask(question) != platform::Answer::Yes)
        return result;
    result.confirmed = true;

    const std::string logPath = undoLogPath(context.installFolder);
    const std::optional<std::string> log = context.fileSystem.readFile(logPath);
    if (!log)
        throw platform::cannotOpenFile(logPath);
    foldertree::LineBuffer lines;
    lines.assign(*log);
    context.createdFolders.clear();
    for (std::size_t i = 0; i < lines.size(); ++i)
        context.createdFolders.emplace_back(lines[i]);

    {
        platform::BusyPointer busy(context.ui);
        context.ui.processEvents();
        std::string_view gone; // the last folder that went, with everything inside
        for (const std::string &folder : context.createdFolders) {
            // The log lists a folder before those inside it: once it has gone,
            // its subfolders need no look at the disk.
            if (!gone.empty() && folder.size() > gone.size() && folder.starts_with(gone)
                && folder[gone.size()] == platform::Separator)
                continue;
            if (!context.fileSystem.isDirectory(folder))
                continue;
            context.ui.processEvents();
            if (context.trash.moveToTrash(folder)) {
                result.trashed.push_back(folder);
                gone = folder;
            } else
                result.keptBack.push_back(folder);
        }
    }

    context.createdFolders.clear();
    if (result.keptBack.empty()) {
        context.fileSystem.removeFile(logPath);
        if (context.setUndoEnabled)
            context.setUndoEnabled(false);
        context.messages.ask({std::string(UndoDoneMessage), "Information", platform::Buttons::Ok,
                              platform::Icon::Question, platform::Answer::Ok});
        return result;
    }
    // What could not go stays listed, so the undo can be tried again.
    foldertree::LineBuffer rest;
    for (const std::string &folder : result.keptBack)
        rest.append(folder);
    if (context.fileSystem.writeFile(logPath, rest.joined()))
        throw platform::cannotCreateFile(logPath);
    if (context.setUndoEnabled)
        context.setUndoEnabled(true);
    context.messages.ask(platform::information(keptBackMessage(result.keptBack)));
    return result;
}

} // namespace creation
