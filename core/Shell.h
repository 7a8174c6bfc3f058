#pragma once

#include <QString>

// The program's ways out to the desktop: the help viewer, the web browser, minimising.
class Shell {
public:
    virtual ~Shell() = default;
    // Shows the help topic of that context number beside the program; returns at once.
    virtual void showHelp(int context) = 0;
    // Minimises every window of the program.
    virtual void minimizeApp() = 0;
    // Asks the desktop to open the address; the outcome is not examined.
    virtual void openUrl(const QString& url) = 0;
};
