#pragma once

#include "services.h"

#include <string>

// The install folder: the settings value "Installdir" as stored, else the
// current folder; a separator is appended unless it ends with one (an empty
// value becomes a lone separator). Throws "Invalid data type for 'Installdir'"
// when the value is not text.
std::string determineInstallFolder(platform::Settings &settings, platform::FileSystem &fileSystem);

// The text of the error box: a full stop is added after a character above it
// (a letter or a digit), not after ")" or ".".
std::string errorBoxText(const std::string &message);

// Shows a failure that ended a handler or start-up: stop icon, OK, and the
// executable's name as caption.
void showErrorBox(platform::MessageService &messages, const std::string &message);
