#include "scripted.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

EnglishMessage inEnglish(const Message &message)
{
    return {english(message.text), message.caption,       message.buttons,
            message.icon,          message.defaultAnswer, english(message.details)};
}

EnglishMessage englishInformation(std::string text)
{
    return {std::move(text), "Information", Buttons::Ok, Icon::Information, Answer::Ok};
}

Answer ScriptedMessages::ask(const Message &message)
{
    shown.push_back(message);
    if (onShow)
        onShow(message);
    if (m_answers.empty())
        return message.defaultAnswer;
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::vector<std::string> ScriptedMessages::texts() const
{
    std::vector<std::string> result;
    for (const Message &message : shown)
        result.push_back(platform::english(message.text));
    return result;
}

std::vector<EnglishMessage> ScriptedMessages::english() const
{
    std::vector<EnglishMessage> result;
    for (const Message &message : shown)
        result.push_back(inEnglish(message));
    return result;
}

std::string ScriptedFolderBrowser::browse(const std::string &title)
{
    titles.push_back(title);
    if (m_answers.empty())
        return {};
    std::string answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

std::string ScriptedFileDialogs::run(const FileDialogOptions &options,
                                     const std::string &initialName)
{
    calls.push_back({options, initialName});
    if (m_answers.empty())
        return {};
    std::string answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

TrashOutcome ScriptedTrash::moveToTrash(const std::string &path)
{
    if (refuse.count(path) || m_folder.empty())
        return {false, refusal};
    const std::string target = m_folder + "/" + std::to_string(trashed.size());
    if (std::rename(path.c_str(), target.c_str()) != 0)
        return {false, std::strerror(errno)};
    trashed.push_back(path);
    return {true, {}};
}

void ScriptedUi::processEvents()
{
    ++processed;
    if (onProcessEvents)
        onProcessEvents();
}

std::error_code ScriptedFileSystem::makeDirectory(const std::string &path)
{
    auto failing = failMakeDirectory.find(path);
    if (failing != failMakeDirectory.end() && failing->second > 0) {
        --failing->second;
        return std::make_error_code(std::errc::permission_denied);
    }
    std::error_code error = PosixFileSystem::makeDirectory(path);
    if (!error)
        madeDirectories.push_back(path);
    return error;
}

std::error_code ScriptedFileSystem::makeSubfolder(const FolderHandle &parent, std::string_view name,
                                                  const std::string &path)
{
    auto failing = failMakeDirectory.find(path);
    if (failing != failMakeDirectory.end() && failing->second > 0) {
        --failing->second;
        return std::make_error_code(std::errc::permission_denied);
    }
    std::error_code error = PosixFileSystem::makeSubfolder(parent, name, path);
    if (!error)
        madeDirectories.push_back(path);
    return error;
}

std::error_code ScriptedFileSystem::writeFile(const std::string &path, std::string_view bytes)
{
    if (failWrite.count(path))
        return std::make_error_code(std::errc::no_space_on_device);
    return PosixFileSystem::writeFile(path, bytes);
}

} // namespace platform
