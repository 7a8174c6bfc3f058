#pragma once

#include "ImageView.h"
#include "Panel.h"

#include <QWidget>

#include <functional>

class Dialogs;
class Settings;

// What the splash window establishes as the program starts.
struct StartupValues {
    // The folder of the start-up question set: the current directory at start.
    QString programDir;
    // The stored wish for sound.
    bool soundWanted = true;
    // Bits per pixel of the display.
    int colourDepth = 24;
};

// The splash window: the program's main window. Borderless, always on top, centred; it shows
// the logo and the credits until the game screen takes over (after 7 s or at any key).
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    // Reads the colour depth, the program directory and the sound option; warns (with Help
    // on topic 75) when the display has fewer than 16 bits per pixel. colourDepth < 0: ask
    // the screen.
    SplashWindow(Dialogs& dialogs, Settings& settings, int colourDepth = -1);

    const StartupValues& values() const { return m_values; }
    // Runs at the first key press while the splash window has the focus.
    std::function<void()> onKey;

    static const QString colourWarning;

    Panel* backdrop = nullptr;
    ImageView* logo = nullptr;
    ImageView* credits = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    StartupValues m_values;
};
