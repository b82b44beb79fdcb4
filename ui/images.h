#pragma once

#include <QIcon>
#include <vector>

namespace ui {

QIcon programIcon();
// A toolbar glyph by name: "create", "undo", "about", "help", "exit", "sort",
// "browse". The undo glyph carries its disabled image.
QIcon glyph(const char *name);
// A task panel icon by what it shows ("book", "globe", "save-structure", ...),
// drawn at 24 by 24.
QIcon taskIcon(const char *name);
// The folder tree's images by index: plain folder, new folder, existing
// folder; 16 by 16.
std::vector<QIcon> folderIcons();

} // namespace ui
