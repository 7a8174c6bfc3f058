// The cabinet's buttons on game controllers, joysticks and encoder boards: they play through
// the same commands as the keys and the buttons on screen.
#include "QuizScreen.h"

#include "CabinetButton.h"
#include "HallOfFame.h"

void QuizScreen::pressCabinetButton(CabinetButton button) {
    // A controller is read whatever window is in front; the game takes its presses only while
    // the screen plays (not hidden, minimised or paused by another window of the program).
    if (!isVisible() || isMinimized() || pausedByWindow()) return;
    // The hall of fame's name entry picks letters with the buttons.
    if (hallOfFame && hallOfFame->pressButton(button)) return;
    switch (button) {
    case CabinetButton::A:
        keyTyped(QLatin1Char('A'));
        return;
    case CabinetButton::B:
        keyTyped(QLatin1Char('B'));
        return;
    case CabinetButton::C:
        keyTyped(QLatin1Char('C'));
        return;
    case CabinetButton::D:
        keyTyped(QLatin1Char('D'));
        return;
    case CabinetButton::Start:
        // As Enter.
        keyTyped(QChar(13));
        return;
    case CabinetButton::Stop:
        pressStop();
        return;
    }
}
