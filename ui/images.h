#pragma once

#include <QIcon>
#include <vector>

namespace ui {

// The program icon.
QIcon programIcon();
// A toolbar glyph by name: "create", "undo", "about", "help", "exit", "sort",
// "browse". The undo glyph carries its disabled image.
QIcon glyph(const char *name);
// ImageList1: the 22 icons of the task panel, 24 by 24.
std::vector<QIcon> taskImages();
// ImageList2: plain folder, new folder, existing folder; 16 by 16.
std::vector<QIcon> folderImages();

} // namespace ui
