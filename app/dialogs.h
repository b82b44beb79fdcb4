#pragma once

// The About dialog and the three companion dialogs of the task panel.

#include "services.h"

#include <QDialog>

// Name, version and maker of Brindle, with a link to its home page.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(platform::Shell &shell, QWidget *parent = nullptr);
};

// A companion tool of Brindle's maker: what it does, and buttons that open its
// web page and its download.
class CompanionDialog : public QDialog
{
    Q_OBJECT

public:
    CompanionDialog(platform::Shell &shell, const QString &name, const QString &description,
                    const std::string &page, const std::string &download,
                    QWidget *parent = nullptr);
};

// Sorting files into folders by their type ("Auto-Classify files").
class SorterDialog : public CompanionDialog
{
    Q_OBJECT

public:
    explicit SorterDialog(platform::Shell &shell, QWidget *parent = nullptr);
};

// Renaming many files at once ("Rename files").
class RenamerDialog : public CompanionDialog
{
    Q_OBJECT

public:
    explicit RenamerDialog(platform::Shell &shell, QWidget *parent = nullptr);
};

// Making numbered folders in bulk ("Create bulk folders").
class FoldermillDialog : public CompanionDialog
{
    Q_OBJECT

public:
    explicit FoldermillDialog(platform::Shell &shell, QWidget *parent = nullptr);
};

inline constexpr const char *HomePage = "https://quillmere.example/brindle/";
