#include "ScreenAccessibility.h"

#include "QuizScreen.h"

void describeForAssistiveTechnology(QuizScreen& screen) {
    for (ImageView* button :
         {screen.answerButtonA, screen.answerButtonB, screen.answerButtonC, screen.answerButtonD,
          screen.startButton, screen.stopButton, screen.wrongPanelOk, screen.timeOutPanelOk,
          screen.playerPanelOk, screen.finalScoreOk})
        button->setPressable(true);
    for (Panel* clear : screen.clearButtons)
        clear->setPressable(true);

    // The Ready panel shows one of two headings: the player out, or the next player's turn.
    QObject::connect(&screen.game, &QuizGame::phaseChanged, &screen, [&screen](QuizGame::Phase p) {
        if (p == QuizGame::Phase::GetReady)
            screen.readyPanel->setAccessibleName(screen.readyHeading->accessibleName());
        else if (p == QuizGame::Phase::PlayerOut)
            screen.readyPanel->setAccessibleName(screen.playerOutHeading->accessibleName());
    });
}
