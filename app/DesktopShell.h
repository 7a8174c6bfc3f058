#pragma once

#include "Shell.h"

#include <memory>

class THelpViewer;

// The desktop behind the program: the help viewer, the default browser, minimising.
class TDesktopShell final : public TShell {
public:
    explicit TDesktopShell(QString helpFile);
    ~TDesktopShell() override;

    void ShowHelp(int context) override;
    void MinimizeApp() override;
    void OpenUrl(const QString& url) override;

    // Where the help file is: beside the program, or in the installed data folder.
    static QString FindHelpFile();

private:
    QString FHelpFile;
    std::unique_ptr<THelpViewer> FViewer;
};
