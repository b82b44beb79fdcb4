#pragma once

// The commands of brindle-cli and the reading of its command line.

#include "services.h"

#include <string>
#include <variant>
#include <vector>

namespace cli {

// Exit statuses.
inline constexpr int Success = 0;
inline constexpr int Failed = 1;
inline constexpr int BadUsage = 2;

enum class Command { Help, Version, Show, Create, Capture, Undo };

struct Invocation
{
    Command command = Command::Help;
    std::vector<std::string> operands;
    // The answer to "Can not create ..." questions during create.
    platform::Answer onError = platform::Answer::Abort;
    // Undo without asking.
    bool yes = false;
};

struct UsageError
{
    std::string problem;
    // The synopsis of the command concerned, or of every command.
    std::string usage;
};

// Reads the arguments after the program name.
std::variant<Invocation, UsageError> parseArguments(const std::vector<std::string> &arguments);

// The text of --help.
std::string helpText();

// Runs the command; returns the exit status.
int run(const Invocation &invocation);

// Reads the command line, runs the command, returns the exit status.
int runMain(int argc, char **argv);

} // namespace cli
