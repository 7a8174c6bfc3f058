#pragma once

#include <QString>

// The program's ways out to the desktop: the help viewer, the web browser, minimising.
class TShell {
public:
    virtual ~TShell() = default;
    // Shows the help topic of that context number beside the program; returns at once.
    virtual void ShowHelp(int context) = 0;
    // Minimises every window of the program.
    virtual void MinimizeApp() = 0;
    // Asks the desktop to open the address; the outcome is not examined.
    virtual void OpenUrl(const QString& url) = 0;
};
