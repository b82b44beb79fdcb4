#pragma once

// A creation run on the scripted desktop: its messages, disk, event loop and
// shell are the scripted services'. Callers set the callbacks they watch.

#include "creationrun.h"
#include "scripted.h"

#include <string>

namespace testsupport {

inline creation::CreationContext scriptedRun(foldertree::TreeEditor &editor,
                                             platform::ScriptedServices &services,
                                             std::string logFolder)
{
    return {.editor = editor,
            .messages = services.messages,
            .fileSystem = services.fileSystem,
            .ui = services.ui,
            .shell = services.shell,
            .logFolder = std::move(logFolder)};
}

} // namespace testsupport
