#pragma once

// The services through which Brindle talks to the desktop. Every service has a
// real implementation (widgetservices.h, posixfilesystem.h, trash.h,
// qtsettings.h) and a scripted one (tests/support/scripted.h) that tests use to answer
// questions and to read back what was shown.

#include "messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace platform {

enum class Buttons { Ok, YesNo, AbortRetryIgnore };
enum class Icon { Information, Question, Stop };
enum class Answer { Ok, Yes, No, Abort, Retry, Ignore };

// One message box: program-modal, without an owner window.
struct Message
{
    MessageText text;
    std::string caption;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::Information;
    Answer defaultAnswer = Answer::Ok;
    // The full text behind a shortened message (every name of a long list), shown
    // on request below it; empty when the text says everything.
    MessageText details = {};

    // Which message this is: the id of its first part.
    MessageId id() const { return text.empty() ? MessageId::Verbatim : text.front().id; }

    bool operator==(const Message &) const = default;
};

// The common notice: caption "Information", information icon, one OK button.
Message information(MessageText text);

class MessageService
{
public:
    virtual ~MessageService() = default;
    // Shows the message and returns the button the person pressed.
    virtual Answer ask(const Message &message) = 0;
};

class FolderBrowser
{
public:
    virtual ~FolderBrowser() = default;
    // Lets the person pick an existing folder. Returns its path, or "" when
    // cancelled. The file-system root keeps its separator; other folders come
    // back without a trailing one.
    virtual std::string browse(const std::string &title) = 0;
};

struct FileDialogOptions
{
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string defaultSuffix; // added when the typed name has none
    std::vector<std::pair<std::string, std::string>> filters; // description, pattern
    bool confirmOverwrite = false;
    bool fileMustExist = false;
};

class FileDialogService
{
public:
    virtual ~FileDialogService() = default;
    // Returns the chosen file name, or "" when cancelled.
    virtual std::string run(const FileDialogOptions &options, const std::string &initialName) = 0;
};

class Shell
{
public:
    virtual ~Shell() = default;
    // Opens a document with its associated program. The outcome is not reported.
    virtual void openDocument(const std::string &path) = 0;
    // Opens a folder in the file manager, or an address in the browser.
    virtual void openLocation(const std::string &pathOrAddress) = 0;
};

// What the trash did with one path.
struct TrashOutcome
{
    bool moved = false;
    std::string reason; // why the trash refused, in its own words; may be ""
};

class Trash
{
public:
    virtual ~Trash() = default;
    // Moves a file or a folder with everything inside to the trash; a link goes
    // as the link. Never deletes permanently: when the trash cannot take it, it
    // stays, and the outcome says so and why.
    virtual TrashOutcome moveToTrash(const std::string &path) = 0;
};

// What the event loop offers to long operations.
class Ui
{
public:
    virtual ~Ui() = default;
    // Lets pending window events run (repaint, input).
    virtual void processEvents() = 0;
    // The application-wide busy pointer. Calls nest.
    virtual void setBusy(bool busy) = 0;
    virtual bool isBusy() const = 0;
};

// Shows the busy pointer for the life of the object.
class BusyPointer
{
public:
    explicit BusyPointer(Ui &ui) : m_ui(ui) { m_ui.setBusy(true); }
    ~BusyPointer() { m_ui.setBusy(false); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    Ui &m_ui;
};

struct DirectoryEntry
{
    std::string name;
    bool isDirectory = false; // links to directories count as directories
};

// Told of each folder a long run or undo has done: how many so far and the one
// at hand. Returns false when the person or a signal asked to stop; the run then
// stops as after Abort.
using ProgressReport = std::function<bool(std::size_t done, const std::string &current)>;

// A directory held open, through which a creation run makes and enters folders
// without following links. Closes on destruction.
class FolderHandle
{
public:
    FolderHandle() = default;
    explicit FolderHandle(int descriptor) : m_descriptor(descriptor) { }
    ~FolderHandle();
    FolderHandle(FolderHandle &&other) noexcept : m_descriptor(other.release()) { }
    FolderHandle &operator=(FolderHandle &&other) noexcept;
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    bool isOpen() const { return m_descriptor >= 0; }
    int descriptor() const { return m_descriptor; }
    int release()
    {
        const int descriptor = m_descriptor;
        m_descriptor = -1;
        return descriptor;
    }

private:
    int m_descriptor = -1;
};

// Identity of a directory on disk, for finding loops through links.
struct DirectoryId
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const DirectoryId &) const = default;
};

// An open directory listing; entries "." and ".." are never returned.
class DirectoryListing
{
public:
    virtual ~DirectoryListing() = default;
    virtual DirectoryId id() const = 0;
    // The next entry, or nullopt at the end.
    virtual std::optional<DirectoryEntry> next() = 0;
};

// File system calls on byte paths. Errors come back as values.
class FileSystem
{
public:
    virtual ~FileSystem() = default;
    // True when a directory (or a link to one) exists at the path; "" never is.
    virtual bool isDirectory(const std::string &path) = 0;
    // True when something that is not a directory exists at the path.
    virtual bool isFile(const std::string &path) = 0;
    // Creates one directory level.
    virtual std::error_code makeDirectory(const std::string &path) = 0;
    // nullptr when the directory cannot be listed.
    virtual std::unique_ptr<DirectoryListing> openDirectory(const std::string &path) = 0;
    virtual std::optional<std::string> readFile(const std::string &path) = 0;
    // Replaces the file atomically: on failure the earlier file stays as it was.
    virtual std::error_code writeFile(const std::string &path, std::string_view bytes) = 0;
    virtual bool removeFile(const std::string &path) = 0;
    virtual std::string currentDirectory() = 0;

    // Opens the directory at `path`, following links: the target a person chose.
    virtual FolderHandle openFolder(const std::string &path, std::error_code &error) = 0;
    // Opens the directory `name` (one component) inside `parent`. A link is never
    // followed: it fails like a file in the way. `path` is the full path, for
    // scripts and messages.
    virtual FolderHandle openSubfolder(const FolderHandle &parent, std::string_view name,
                                       const std::string &path, std::error_code &error)
        = 0;
    // Creates the directory `name` (one component) inside `parent`.
    virtual std::error_code makeSubfolder(const FolderHandle &parent, std::string_view name,
                                          const std::string &path)
        = 0;
    // True when `name` inside `parent` is a directory itself, not a link to one.
    virtual bool isSubfolder(const FolderHandle &parent, std::string_view name) = 0;
    // Opens the folder that holds `folder` (its "..").
    virtual FolderHandle openParent(const FolderHandle &folder, std::error_code &error) = 0;
    virtual DirectoryId folderId(const FolderHandle &folder) = 0;
};

// The settings value that names the install folder.
struct InstallDirSetting
{
    enum class State { Absent, Text, WrongType };
    State state = State::Absent;
    std::string text;
};

class Settings
{
public:
    virtual ~Settings() = default;
    virtual InstallDirSetting installDir() = 0;
};

// Every service, handed to the windows and to the engine.
struct Services
{
    MessageService &messages;
    FolderBrowser &folderBrowser;
    FileDialogService &fileDialogs;
    Shell &shell;
    Trash &trash;
    FileSystem &fileSystem;
    Settings &settings;
    Ui &ui;
};

// The platform's path separator: '\\' on Windows, '/' elsewhere.
#ifdef _WIN32
inline constexpr char Separator = '\\';
#else
inline constexpr char Separator = '/';
#endif

} // namespace platform
