// brindle-bench WORK-FOLDER CASE: runs one benchmark case and prints its rows.
// bench/run runs every case, each in its own process.

#include "benchcases.h"
#include "benchsupport.h"

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s WORK-FOLDER header|creation|capture|load|undo|memory\n"
                     "       %s WORK-FOLDER once-creation|once-capture|once-load SHAPE\n"
                     "       %s WORK-FOLDER once-undo\n"
                     "(SHAPE: fan-outs such as 10x10x100, or chain for once-creation)\n",
                     argv[0], argv[0], argv[0]);
        return 2;
    }
    bench::workFolder() = argv[1];
    const char *which = argv[2];
    const char *argument = argc > 3 ? argv[3] : "";
    try {
        if (!std::strcmp(which, "header"))
            bench::printHeader();
        else if (!std::strcmp(which, "creation"))
            bench::runCreationBench();
        else if (!std::strcmp(which, "capture"))
            bench::runCaptureBench();
        else if (!std::strcmp(which, "load"))
            bench::runLoadBench();
        else if (!std::strcmp(which, "undo"))
            bench::runUndoBench();
        else if (!std::strcmp(which, "memory"))
            bench::runMemoryBench();
        else if (!std::strcmp(which, "once-creation"))
            bench::runCreationOnce(argument);
        else if (!std::strcmp(which, "once-capture"))
            bench::runCaptureOnce(argument);
        else if (!std::strcmp(which, "once-load"))
            bench::runLoadOnce(argument);
        else if (!std::strcmp(which, "once-undo"))
            bench::runUndoOnce();
        else if (!std::strcmp(which, "memory-child"))
            bench::runMemoryChild(argument);
        else if (!std::strcmp(which, "load-child") && argc > 5)
            bench::runLoadChild(argv[3], argv[4], argv[5]);
        else if (!std::strcmp(which, "load-memory-child"))
            bench::runLoadMemoryChild(argument);
        else {
            std::fprintf(stderr, "unknown case %s\n", which);
            return 2;
        }
    } catch (const std::exception &error) {
        std::fflush(stdout);
        std::fprintf(stderr, "brindle-bench %s: %s\n", which, error.what());
        return 1;
    }
    return 0;
}
