#pragma once

#include "Shell.h"

#include <memory>

class HelpViewer;

// The desktop behind the program: the help viewer, the default browser, minimising.
class DesktopShell final : public Shell {
public:
    explicit DesktopShell(QString helpFile);
    ~DesktopShell() override;

    void showHelp(int context) override;
    void minimizeApp() override;
    void openUrl(const QString& url) override;

    // Where the help file is: beside the program, or in the installed data folder.
    static QString findHelpFile();

private:
    QString m_helpFile;
    std::unique_ptr<HelpViewer> m_viewer;
};
