#pragma once

// The real services, through Qt's dialogs and the desktop.

#include "services.h"

namespace platform {

class QtMessages : public MessageService
{
public:
    Answer ask(const Message &message) override;
};

class QtFolderBrowser : public FolderBrowser
{
public:
    std::string browse(const std::string &title) override;
};

class QtFileDialogs : public FileDialogService
{
public:
    std::string run(const FileDialogOptions &options, const std::string &initialName) override;
};

class DesktopShell : public Shell
{
public:
    void openDocument(const std::string &path) override;
    void openLocation(const std::string &pathOrAddress) override;
};

class QtUi : public Ui
{
public:
    void processEvents() override;
    void setBusy(bool busy) override;
    bool isBusy() const override;
};

} // namespace platform
