#pragma once

// The undo log's guard and its record of a run in progress. One run or undo at a
// time holds the folder of the log (an advisory lock, so a second window or
// brindle-cli is refused at once). A run writes each folder it has made to a
// record beside the log as it goes; when the run ends, the record replaces the
// log. A record left by a run that was killed is made the log by the next run,
// undo or start of either program.

#include "services.h"

#include <optional>
#include <string>
#include <string_view>

namespace creation {

inline constexpr std::string_view RecordSuffix = ".running";

// Holds the undo log of one log folder (Locations::logFolder) for one run or
// undo. Released on
// destruction; a killed process releases it too.
class UndoLogLock
{
public:
    // Takes the lock without waiting; nullopt while another process holds it. A
    // folder that cannot be opened (missing) gives a lock that holds nothing: the
    // log cannot be written there either, and the run says so.
    static std::optional<UndoLogLock> acquire(const std::string &logFolder);

    UndoLogLock(UndoLogLock &&) noexcept = default;
    UndoLogLock &operator=(UndoLogLock &&) noexcept = default;

private:
    explicit UndoLogLock(platform::FolderHandle folder) : m_folder(std::move(folder)) { }
    platform::FolderHandle m_folder;
};

// Makes a record left by an interrupted run the undo log, or removes an empty
// one. Call while holding the lock. True when a record became the log.
bool recoverInterruptedRun(const std::string &logFolder);

// Takes the lock for a run or an undo and recovers a killed run's record. While
// another process holds the log, shows the LogBusy message and returns nullopt.
std::optional<UndoLogLock> holdUndoLog(const std::string &logFolder,
                                       platform::MessageService &messages);

// At start-up: recovers an interrupted run's record unless another process holds
// the log (then it is that process's record, in use).
void recoverAtStartup(const std::string &logFolder);

// Makes the log folder and any missing folder above it, each private to the
// user (mode 0700), as a run does before it writes its record. False when the
// folder still is not there.
bool makeLogFolder(const std::string &logFolder);

// The record of a run in progress: each line reaches the file (one write) as
// soon as its folder is made, so a kill loses at most the folder being made.
class RunRecord
{
public:
    RunRecord() = default;
    ~RunRecord();
    RunRecord(const RunRecord &) = delete;
    RunRecord &operator=(const RunRecord &) = delete;

    // Creates an empty record for the log at `logPath`. False when it cannot.
    bool open(const std::string &logPath);
    // Appends one folder's line; false when the write failed.
    bool append(std::string_view folder);
    // Syncs the record and makes it the log (atomic rename). False on failure;
    // the record then stays for the next start to recover.
    bool commit();
    // Removes the record: the run made nothing, the previous log stays.
    void discard();
    bool isOpen() const { return m_descriptor >= 0; }

private:
    int m_descriptor = -1;
    std::string m_logPath;
    std::string m_recordPath;
    std::string m_pending;
};

} // namespace creation
