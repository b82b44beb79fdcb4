#include "undolog.h"

#include "creationrun.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace creation {

namespace {

std::string recordPath(const std::string &logPath)
{
    return logPath + std::string(RecordSuffix);
}

bool writeAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::optional<UndoLogLock> UndoLogLock::acquire(const std::string &logFolder)
{
    const int descriptor = open(logFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return UndoLogLock(platform::FolderHandle());
    platform::FolderHandle folder(descriptor);
    int result;
    do
        result = flock(descriptor, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0 && errno == EWOULDBLOCK)
        return std::nullopt;
    return UndoLogLock(std::move(folder));
}

bool recoverInterruptedRun(const std::string &logFolder)
{
    const std::string logPath = undoLogPath(logFolder);
    const std::string record = recordPath(logPath);
    const int descriptor = open(record.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    platform::FolderHandle file(descriptor); // closes it
    struct stat st;
    if (fstat(descriptor, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // A line cut short by the end of the process could name a folder above the
    // one made: keep whole lines only.
    off_t keep = st.st_size;
    char last = 0;
    while (keep > 0 && pread(descriptor, &last, 1, keep - 1) == 1 && last != '\n')
        --keep;
    if (keep == 0) {
        unlink(record.c_str());
        return false;
    }
    if (keep != st.st_size && ftruncate(descriptor, keep) != 0)
        return false;
    return rename(record.c_str(), logPath.c_str()) == 0;
}

std::optional<UndoLogLock> holdUndoLog(const std::string &logFolder,
                                       platform::MessageService &messages)
{
    std::optional<UndoLogLock> lock = UndoLogLock::acquire(logFolder);
    if (!lock) {
        messages.ask(platform::information(platform::messageText(platform::MessageId::LogBusy)));
        return lock;
    }
    recoverInterruptedRun(logFolder);
    return lock;
}

void recoverAtStartup(const std::string &logFolder)
{
    if (std::optional<UndoLogLock> lock = UndoLogLock::acquire(logFolder))
        recoverInterruptedRun(logFolder);
}

bool makeLogFolder(const std::string &logFolder)
{
    // From the top down; a level that exists is left as it is.
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = logFolder.find('/', end + 1);
        const std::string level = logFolder.substr(0, end);
        if (!level.empty() && mkdir(level.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st;
    return stat(logFolder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

RunRecord::~RunRecord()
{
    if (m_descriptor >= 0)
        close(m_descriptor);
}

bool RunRecord::open(const std::string &logPath)
{
    m_logPath = logPath;
    m_recordPath = recordPath(logPath);
    m_descriptor = ::open(m_recordPath.c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0666);
    return m_descriptor >= 0;
}

bool RunRecord::append(std::string_view folder)
{
    m_pending.assign(folder);
    m_pending += "\r\n";
    return writeAll(m_descriptor, m_pending);
}

bool RunRecord::commit()
{
    const bool synced = fdatasync(m_descriptor) == 0;
    const bool closed = close(m_descriptor) == 0;
    m_descriptor = -1;
    return synced && closed && rename(m_recordPath.c_str(), m_logPath.c_str()) == 0;
}

void RunRecord::discard()
{
    if (m_descriptor >= 0)
        close(m_descriptor);
    m_descriptor = -1;
    unlink(m_recordPath.c_str());
}

} // namespace creation
