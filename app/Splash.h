#pragma once

#include "Image.h"
#include "Panel.h"

#include <QWidget>

#include <functional>

class TDialogs;
class TSettings;

// What the splash window establishes as the program starts.
struct TStartupValues {
    // The folder of the start-up question set: the current directory at start.
    QString ProgramDir;
    // The stored wish for sound.
    bool SoundWanted = true;
    // Bits per pixel of the display.
    int ColourDepth = 24;
};

// The splash window: the program's main window. Borderless, always on top, centred; it shows
// the logo and the credits until the game screen takes over (after 7 s or at any key).
class TMM : public QWidget {
    Q_OBJECT
public:
    // Reads the colour depth, the program directory and the sound option; warns (with Help
    // on topic 75) when the display has fewer than 16 bits per pixel. colourDepth < 0: ask
    // the screen.
    TMM(TDialogs& dialogs, TSettings& settings, int colourDepth = -1);

    const TStartupValues& Values() const { return FValues; }
    // Runs at the first key press while the splash window has the focus.
    std::function<void()> OnKey;

    static const QString ColourWarning;

    TPanel* Panel1 = nullptr;
    TImage* LogoOut = nullptr;
    TImage* Credits = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TStartupValues FValues;
};
