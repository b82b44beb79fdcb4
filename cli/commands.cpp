#include "commands.h"

#include "capture.h"
#include "creationrun.h"
#include "failure.h"
#include "locations.h"
#include "messagetext.h"
#include "paths.h"
#include "qtsettings.h"
#include "state.h"
#include "terminal.h"
#include "treefile.h"
#include "undo.h"
#include "undolog.h"

#include <cerrno>
#include <csignal>
#include <exception>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace cli {

namespace {

using platform::Answer;
using platform::Message;

constexpr std::string_view ShowUsage = "brindle-cli show FILE";
constexpr std::string_view CreateUsage = "brindle-cli create FILE TARGET [--on-error=abort|ignore]";
constexpr std::string_view CaptureUsage = "brindle-cli capture DIR FILE";
constexpr std::string_view UndoUsage = "brindle-cli undo [--yes]";
constexpr std::string_view NotUndoneMessage = "Nothing was undone.";
constexpr std::string_view CannotWriteOutputMessage = "Cannot write to standard output: ";

// The signal (SIGINT or SIGTERM) that asked the running create or undo to stop;
// 0 while none has. A signal handler may do no more than set a flag of this type,
// and it cannot reach the run's objects: so this is the program's one global
// variable, read by the run's progress report after each folder.
volatile std::sig_atomic_t stopSignal = 0;

extern "C" void noteStopSignal(int signal)
{
    stopSignal = signal;
}

// From here on, SIGINT and SIGTERM stop the run as Abort does instead of ending
// the program: the folders made so far stay in the undo log and the summary is
// printed. A signal the shell had set to be ignored (a background job) stays
// ignored. No SA_RESTART: a read of the answer to a question ends at once.
void catchStopSignals()
{
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction previous = {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = noteStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

// The progress report of a create or an undo: renews the progress line, and
// asks to stop once a stop signal has arrived.
platform::ProgressReport reportTo(Terminal &terminal)
{
    return [&terminal](std::size_t done, const std::string &) {
        if (stopSignal != 0) {
            terminal.interrupted();
            return false;
        }
        terminal.progress(done);
        return true;
    };
}

// The exit status after a command that caught the stop signals: 128 plus the
// signal's number once one has arrived, as a shell reports a program it ended.
int statusAfterSignals(int status)
{
    return stopSignal != 0 ? 128 + stopSignal : status;
}

struct CommandInfo
{
    std::string_view name;
    Command command;
    std::size_t operands;
    std::string_view usage;
};

constexpr CommandInfo Commands[] = {
    {"show", Command::Show, 1, ShowUsage},
    {"create", Command::Create, 2, CreateUsage},
    {"capture", Command::Capture, 2, CaptureUsage},
    {"undo", Command::Undo, 0, UndoUsage},
};

const CommandInfo *findCommand(std::string_view name)
{
    for (const CommandInfo &info : Commands) {
        if (info.name == name)
            return &info;
    }
    return nullptr;
}

std::string generalUsage()
{
    std::string usage = "brindle-cli {";
    for (const CommandInfo &info : Commands) {
        if (&info != &Commands[0])
            usage += " | ";
        usage += info.usage.substr(std::string_view("brindle-cli ").size());
    }
    return usage + "}";
}

// Gives every closed standard stream a descriptor, so that no file the program
// opens takes its place: a closed stdin reads as empty, a closed stdout refuses
// every write (reported at the end), a closed stderr takes what is written.
void openStandardStreams()
{
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
        if (fcntl(stream, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int descriptor = open("/dev/null", stream == STDERR_FILENO ? O_WRONLY : O_RDONLY);
        if (descriptor >= 0 && descriptor != stream) {
            dup2(descriptor, stream);
            close(descriptor);
        }
    }
}

// The folder tree of one command, with what loading it needs.
struct LoadedTree
{
    LoadedTree(platform::FileSystem &fileSystem, platform::Ui &ui)
        : context {.editor = tree, .state = state, .fileSystem = fileSystem, .ui = ui}
    { }

    foldertree::FolderTree tree;
    foldertree::FolderTreeState state;
    foldertree::StateWatch watch {tree, state};
    foldertree::TreeContext context;

    // The tree as a fresh window holds it after reading the file: a file of
    // fewer than two lines leaves the root alone.
    void load(Terminal &terminal, TerminalUi &ui, std::string_view targetText,
              const std::string &fileName)
    {
        foldertree::resetFolderTree(context, targetText);
        ui.count = [this] { return tree.size() - 1; };
        terminal.startProgress("reading " + fileName);
        foldertree::loadTreeFile(context, targetText, fileName);
        terminal.endProgress();
        ui.count = nullptr;
    }
};

// A target named relative to the current folder, made absolute: the run needs
// the folder that holds the target in the path.
std::string absoluteTarget(const std::string &target, platform::FileSystem &fileSystem)
{
    const std::string_view text = foldertree::trimmed(target);
    if (text.empty() || platform::isAbsolutePath(text))
        return target;
    return platform::absolutePath(text, fileSystem.currentDirectory());
}

int show(Terminal &terminal, const std::string &fileName)
{
    platform::PosixFileSystem fileSystem;
    TerminalUi ui(terminal);
    LoadedTree loaded(fileSystem, ui);
    loaded.load(terminal, ui, "", fileName);
    foldertree::LineBuffer lines;
    lines.append("<tree>");
    foldertree::writeTreeLines(loaded.tree, loaded.tree.root(), lines);
    terminal.write(lines.joined());
    return Success;
}

int create(Terminal &terminal, const Invocation &invocation)
{
    platform::PosixFileSystem fileSystem;
    platform::QtSettings settings;
    TerminalUi ui(terminal);
    TerminalMessages messages(terminal);
    NoShell shell;
    const creation::Locations locations = creation::findLocations(settings, fileSystem);
    std::string target = absoluteTarget(invocation.operands[1], fileSystem);

    LoadedTree loaded(fileSystem, ui);
    loaded.load(terminal, ui, target, invocation.operands[0]);

    messages.failureAnswer = invocation.onError;
    messages.onQuestion = [&terminal](const Message &message) {
        if (message.id() == platform::MessageId::Summary) {
            const std::string text = platform::english(message.text);
            terminal.result(std::string_view(text).substr(0, text.find('\n')));
        } else {
            terminal.note(message);
        }
        return Answer::No; // nothing is opened
    };
    creation::CreationContext context {.editor = loaded.tree,
                                       .messages = messages,
                                       .fileSystem = fileSystem,
                                       .ui = ui,
                                       .shell = shell,
                                       .logFolder = locations.logFolder,
                                       .progress = reportTo(terminal),
                                       .makeLogFolder = locations.makeLogFolder};
    terminal.startProgress("creating");
    catchStopSignals();
    const creation::CreationResult result = creation::createTickedFolders(context, target);
    terminal.endProgress();
    const bool failed = !result.started || messages.failures > 0 || messages.refusedAsBusy;
    return statusAfterSignals(failed ? Failed : Success);
}

int capture(Terminal &terminal, const std::string &folder, const std::string &fileName)
{
    platform::PosixFileSystem fileSystem;
    TerminalUi ui(terminal);
    if (!fileSystem.isDirectory(folder)) {
        terminal.note("'" + platform::boundedName(folder) + "' is not a folder.");
        return Failed;
    }
    LoadedTree loaded(fileSystem, ui);
    std::size_t captured = 0;
    ui.count = [&captured] { return captured; };
    terminal.startProgress("capturing");
    const std::vector<std::string> leftOut = foldertree::captureFolderToFile(
        loaded.context, folder, fileName, [&captured](std::size_t lines) { captured = lines; });
    terminal.endProgress();
    if (leftOut.empty())
        return Success;
    terminal.note(foldertree::leftOutMessage(foldertree::LeftOutOfTreeFile, leftOut));
    return Failed;
}

int undo(Terminal &terminal, const Invocation &invocation)
{
    platform::PosixFileSystem fileSystem;
    platform::QtSettings settings;
    TerminalUi ui(terminal);
    TerminalMessages messages(terminal);
    CountingTrash trash;
    const creation::Locations locations = creation::findLocations(settings, fileSystem);
    // The window offers Undo only while there is a log, or the record of a run
    // that was killed (it becomes the log); asking first would be pointless.
    const std::string logPath = creation::undoLogPath(locations.logFolder);
    if (!fileSystem.isFile(logPath)
        && !fileSystem.isFile(logPath + std::string(creation::RecordSuffix)))
        throw platform::cannotOpenFile(logPath);

    const bool yes = invocation.yes;
    messages.onQuestion = [&terminal, yes](const Message &message) {
        if (message.id() != platform::MessageId::UndoQuestion) {
            terminal.note(message);
            return Answer::No;
        }
        return yes
                || terminal.confirm(platform::english(message.text),
                                    platform::english(message.details))
            ? Answer::Yes
            : Answer::No;
    };
    messages.isResult
        = [](const Message &message) { return message.id() == platform::MessageId::UndoDone; };
    creation::UndoContext context {.messages = messages,
                                   .fileSystem = fileSystem,
                                   .ui = ui,
                                   .trash = trash,
                                   .logFolder = locations.logFolder,
                                   .progress = reportTo(terminal)};
    ui.count = [&trash] { return trash.moved; };
    terminal.startProgress("moving to the trash");
    catchStopSignals();
    const creation::UndoResult result = creation::undoLastRun(context);
    terminal.endProgress();
    if (messages.refusedAsBusy)
        return Failed;
    if (!result.confirmed) {
        terminal.note(NotUndoneMessage);
        return statusAfterSignals(Success);
    }
    return statusAfterSignals(result.keptBack.empty() ? Success : Failed);
}

} // namespace

std::variant<Invocation, UsageError> parseArguments(const std::vector<std::string> &arguments)
{
    Invocation invocation;
    for (const std::string &argument : arguments) {
        if (argument == "--")
            break;
        if (argument == "-h" || argument == "--help" || argument == "--version") {
            invocation.command = argument == "--version" ? Command::Version : Command::Help;
            return invocation;
        }
    }

    std::vector<std::string> words;
    std::optional<std::string> problem;
    bool onErrorGiven = false;
    bool optionsEnded = false;
    auto fail = [&problem](std::string text) {
        if (!problem)
            problem = std::move(text);
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument.front() != '-') {
            words.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-y" || argument == "--yes") {
            invocation.yes = true;
        } else if (argument == "--on-error" || argument.starts_with("--on-error=")) {
            std::string value;
            if (argument != "--on-error") {
                value = argument.substr(std::string_view("--on-error=").size());
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                fail("Option '--on-error' needs a value: abort or ignore.");
                continue;
            }
            onErrorGiven = true;
            if (value == "abort")
                invocation.onError = Answer::Abort;
            else if (value == "ignore")
                invocation.onError = Answer::Ignore;
            else
                fail("Option '--on-error' takes abort or ignore, not '"
                     + platform::boundedName(value) + "'.");
        } else {
            fail("Unknown option '" + platform::boundedName(argument) + "'.");
        }
    }

    const CommandInfo *info = words.empty() ? nullptr : findCommand(words.front());
    const std::string usage = info ? std::string(info->usage) : generalUsage();
    if (problem)
        return UsageError {*problem, usage};
    if (words.empty())
        return UsageError {"No command given.", usage};
    if (!info)
        return UsageError {"Unknown command '" + platform::boundedName(words.front()) + "'.",
                           usage};
    invocation.command = info->command;
    invocation.operands.assign(words.begin() + 1, words.end());
    if (invocation.operands.size() != info->operands)
        return UsageError {"Wrong number of arguments for '" + words.front() + "'.", usage};
    if (onErrorGiven && info->command != Command::Create)
        return UsageError {"Option '--on-error' is for 'create' only.", usage};
    if (invocation.yes && info->command != Command::Undo)
        return UsageError {"Option '--yes' is for 'undo' only.", usage};
    return invocation;
}

std::string helpText()
{
    return R"(Usage: brindle-cli COMMAND [ARGUMENTS]

The command-line companion of Brindle. It reads tree files, makes their folders
and undoes the last run with the same rules, install folder and undo log as the
Brindle window.

Commands:
  show FILE              Print the tree file FILE as Brindle reads it.
  create FILE TARGET     Make every folder of the tree file FILE below the
                         folder TARGET, and write the undo log.
  capture DIR FILE       Write the structure of the folder DIR to the tree
                         file FILE.
  undo                   Move the folders made by the last run that made any
                         to the trash.

Options:
  --on-error=abort|ignore
                         create: when a folder cannot be made, stop the run
                         (abort, the default) or go on with the rest (ignore).
  -y, --yes              undo: do not ask before undoing.
  -h, --help             Show this help and exit.
  --version              Show the version and exit.

Results go to stdout, messages to stderr. Exit status: 0 on success, 1 after
a failure that was reported, 2 on bad usage, 130 or 143 when SIGINT or SIGTERM
stopped create or undo (the folders made so far stay in the undo log).
)";
}

namespace {

// Runs the command, reporting a failure that ends it; returns the exit status.
int runCommand(Terminal &terminal, const Invocation &invocation)
{
    try {
        switch (invocation.command) {
        case Command::Help:
            terminal.write(helpText());
            return Success;
        case Command::Version:
            terminal.result("brindle-cli " BRINDLE_VERSION);
            return Success;
        case Command::Show:
            return show(terminal, invocation.operands[0]);
        case Command::Create:
            return create(terminal, invocation);
        case Command::Capture:
            return capture(terminal, invocation.operands[0], invocation.operands[1]);
        case Command::Undo:
            return undo(terminal, invocation);
        }
    } catch (const std::exception &failure) {
        terminal.endProgress();
        // A failure's text is one line: a line break in it belongs to a name.
        terminal.note(platform::escapeControl(failure.what()));
        return statusAfterSignals(Failed);
    }
    return Failed;
}

} // namespace

int run(const Invocation &invocation)
{
    Terminal terminal;
    int status = runCommand(terminal, invocation);
    if (!terminal.flushOutput()) {
        terminal.note(std::string(CannotWriteOutputMessage) + terminal.outputError());
        if (status == Success)
            status = Failed;
    }
    return status;
}

int runMain(int argc, char **argv)
{
    openStandardStreams();
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::variant<Invocation, UsageError> parsed = parseArguments(arguments);
    if (const UsageError *error = std::get_if<UsageError>(&parsed)) {
        Terminal terminal;
        terminal.note(error->problem);
        terminal.note("Usage: " + error->usage);
        terminal.note("Try 'brindle-cli --help' for more information.");
        return BadUsage;
    }
    return run(std::get<Invocation>(parsed));
}

} // namespace cli
