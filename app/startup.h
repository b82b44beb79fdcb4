#pragma once

#include "services.h"

#include <string>

// The text of the error box: a full stop is added after a character above it
// (a letter or a digit), not after ")" or ".".
std::string errorBoxText(const std::string &message);

// Shows a failure that ended a command or start-up: stop icon, OK, and the
// executable's name as caption.
void showErrorBox(platform::MessageService &messages, const std::string &message);
