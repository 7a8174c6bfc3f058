#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of the program.
struct ProgramOptions {
    // "--fullscreen": the game screen fills the screen from the start.
    bool fullScreen = false;
    // "--kiosk": full screen, no menu bar, no way out but Ctrl+Alt+Shift+Q.
    bool kiosk = false;
    // "--scores-database URL": the venue's scores server for this run, in place of
    // [Scores] Database= in Trivora.conf; an empty URL keeps the scores on this machine.
    std::optional<QString> scoresDatabase;
    // "--phones[=PORT]": phones can join as buzzers from the start (and stay on next time);
    // phonesPort 0: the port stored last, else the usual one.
    bool phones = false;
    int phonesPort = 0;

    // The outcome of reading a command line.
    struct Parsed;
    // Reads the arguments (the program's name first, Qt's own options already taken out).
    static Parsed parse(const QStringList& arguments);
    // The arguments ask for the help text, which is given without a display.
    static bool asksForHelp(const QStringList& arguments);
};

struct ProgramOptions::Parsed {
    ProgramOptions options;
    // The program should end at once with this exit status (after --help, or a wrong
    // argument) and print text: to the standard output when the status is 0, else to the
    // error output.
    bool exitNow = false;
    int exitStatus = 0;
    QString text;
};
