#include "timedfilesystem.h"

#include "benchsupport.h"

namespace bench {

namespace {

class TimedListing : public platform::DirectoryListing
{
public:
    TimedListing(std::unique_ptr<platform::DirectoryListing> listing,
                 TimedFileSystem::Counter &counter)
        : m_listing(std::move(listing)), m_counter(counter)
    { }
    platform::DirectoryId id() const override { return m_listing->id(); }
    std::optional<platform::DirectoryEntry> next() override
    {
        const Clock::time_point start = Clock::now();
        std::optional<platform::DirectoryEntry> entry = m_listing->next();
        m_counter.seconds += secondsSince(start);
        ++m_counter.calls;
        return entry;
    }

private:
    std::unique_ptr<platform::DirectoryListing> m_listing;
    TimedFileSystem::Counter &m_counter;
};

// Times the call into `counter`.
template<typename Call> auto count(TimedFileSystem::Counter &counter, Call call)
{
    const Clock::time_point start = Clock::now();
    auto result = call();
    counter.seconds += secondsSince(start);
    ++counter.calls;
    return result;
}

} // namespace

bool TimedFileSystem::isDirectory(const std::string &path)
{
    return count(counters[Stat], [&] { return PosixFileSystem::isDirectory(path); });
}

bool TimedFileSystem::isFile(const std::string &path)
{
    return count(counters[Stat], [&] { return PosixFileSystem::isFile(path); });
}

platform::FolderHandle TimedFileSystem::openSubfolder(const platform::FolderHandle &parent,
                                                      std::string_view name,
                                                      const std::string &path,
                                                      std::error_code &error)
{
    return count(counters[Openat],
                 [&] { return PosixFileSystem::openSubfolder(parent, name, path, error); });
}

std::error_code TimedFileSystem::makeSubfolder(const platform::FolderHandle &parent,
                                               std::string_view name, const std::string &path)
{
    return count(counters[Mkdir],
                 [&] { return PosixFileSystem::makeSubfolder(parent, name, path); });
}

std::error_code TimedFileSystem::makeDirectory(const std::string &path)
{
    return count(counters[Mkdir], [&] { return PosixFileSystem::makeDirectory(path); });
}

std::unique_ptr<platform::DirectoryListing> TimedFileSystem::openDirectory(const std::string &path)
{
    std::unique_ptr<platform::DirectoryListing> listing
        = count(counters[Opendir], [&] { return PosixFileSystem::openDirectory(path); });
    if (!listing)
        return nullptr;
    return std::make_unique<TimedListing>(std::move(listing), counters[Readdir]);
}

std::optional<std::string> TimedFileSystem::readFile(const std::string &path)
{
    return count(counters[Read], [&] { return PosixFileSystem::readFile(path); });
}

std::error_code TimedFileSystem::writeFile(const std::string &path, std::string_view bytes)
{
    return count(counters[Write], [&] { return PosixFileSystem::writeFile(path, bytes); });
}

bool TimedFileSystem::removeFile(const std::string &path)
{
    return count(counters[Remove], [&] { return PosixFileSystem::removeFile(path); });
}

std::string TimedFileSystem::currentDirectory()
{
    return count(counters[Getcwd], [&] { return PosixFileSystem::currentDirectory(); });
}

double TimedFileSystem::totalSeconds() const
{
    double total = 0;
    for (const Counter &counter : counters)
        total += counter.seconds;
    return total;
}

std::string TimedFileSystem::summary() const
{
    std::string text;
    for (const Counter &counter : counters) {
        if (counter.calls == 0)
            continue;
        if (!text.empty())
            text += ", ";
        text += std::string(counter.name) + " " + seconds(counter.seconds) + " ("
            + withCommas(counter.calls) + (counter.calls == 1 ? " call)" : " calls)");
    }
    return text;
}

} // namespace bench
