#pragma once

// Scripted services for tests: each answers from a queue that the test fills
// with what a person would do, and records what the program showed or asked.

#include "posixfilesystem.h"
#include "services.h"

#include <deque>
#include <functional>
#include <map>
#include <set>

namespace platform {

// A message as brindle-cli shows it, every text in English: what tests compare.
struct EnglishMessage
{
    std::string text;
    std::string caption;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::Information;
    Answer defaultAnswer = Answer::Ok;
    std::string details = {};

    bool operator==(const EnglishMessage &) const = default;
};

EnglishMessage inEnglish(const Message &message);

// The common notice (see information()), written in English.
EnglishMessage englishInformation(std::string text);

class ScriptedMessages : public MessageService
{
public:
    // Answers are used in order; with none left, the default button is pressed.
    void queue(Answer answer) { m_answers.push_back(answer); }
    Answer ask(const Message &message) override;

    std::vector<Message> shown;
    // Texts of every message shown, in order, in English.
    std::vector<std::string> texts() const;
    // Every message shown, in order, in English.
    std::vector<EnglishMessage> english() const;
    // Runs while a message is on screen, before it is answered.
    std::function<void(const Message &)> onShow;

private:
    std::deque<Answer> m_answers;
};

class ScriptedFolderBrowser : public FolderBrowser
{
public:
    void queue(std::string path) { m_answers.push_back(std::move(path)); }
    std::string browse(const std::string &title) override;

    std::vector<std::string> titles;

private:
    std::deque<std::string> m_answers;
};

class ScriptedFileDialogs : public FileDialogService
{
public:
    void queue(std::string fileName) { m_answers.push_back(std::move(fileName)); }
    std::string run(const FileDialogOptions &options, const std::string &initialName) override;

    struct Call
    {
        FileDialogOptions options;
        std::string initialName;
    };
    std::vector<Call> calls;

private:
    std::deque<std::string> m_answers;
};

class ScriptedShell : public Shell
{
public:
    void openDocument(const std::string &path) override { documents.push_back(path); }
    void openLocation(const std::string &path) override { locations.push_back(path); }

    std::vector<std::string> documents;
    std::vector<std::string> locations;
};

// Moves folders into a trash folder of the test's own, or refuses the paths in
// `refuse`, giving `refusal` as the reason. Everything it took is listed in
// `trashed`.
class ScriptedTrash : public Trash
{
public:
    explicit ScriptedTrash(std::string trashFolder = {}) : m_folder(std::move(trashFolder)) { }
    TrashOutcome moveToTrash(const std::string &path) override;

    std::set<std::string> refuse;
    std::string refusal = "Permission denied";
    std::vector<std::string> trashed;

private:
    std::string m_folder;
};

class ScriptedSettings : public Settings
{
public:
    InstallDirSetting value;
    InstallDirSetting installDir() override { return value; }
};

class ScriptedUi : public Ui
{
public:
    void processEvents() override;
    void setBusy(bool busy) override { m_busy += busy ? 1 : -1; }
    bool isBusy() const override { return m_busy > 0; }

    int processed = 0;
    // Runs at every processEvents, as input arriving during a long operation.
    std::function<void()> onProcessEvents;

private:
    int m_busy = 0;
};

// The real file system with failures injected for chosen paths.
class ScriptedFileSystem : public PosixFileSystem
{
public:
    std::error_code makeDirectory(const std::string &path) override;
    std::error_code makeSubfolder(const FolderHandle &parent, std::string_view name,
                                  const std::string &path) override;
    std::error_code writeFile(const std::string &path, std::string_view bytes) override;

    // Each attempt to make a folder at a path in the map fails while its count
    // is above zero.
    std::map<std::string, int> failMakeDirectory;
    std::set<std::string> failWrite;
    std::vector<std::string> madeDirectories;
};

// All scripted services in one place, with the real file system.
struct ScriptedServices
{
    ScriptedMessages messages;
    ScriptedFolderBrowser folderBrowser;
    ScriptedFileDialogs fileDialogs;
    ScriptedShell shell;
    ScriptedTrash trash;
    ScriptedFileSystem fileSystem;
    ScriptedSettings settings;
    ScriptedUi ui;

    Services services()
    {
        return {messages, folderBrowser, fileDialogs, shell, trash, fileSystem, settings, ui};
    }
};

} // namespace platform
