#include "ScreenAccessibility.h"

#include "QuizScreen.h"
#include "FinalScoresPanel.h"
#include "VerdictPanel.h"

void describeForAssistiveTechnology(QuizScreen& screen) {
    for (ImageView* button :
         {screen.answerButtonA, screen.answerButtonB, screen.answerButtonC, screen.answerButtonD,
          screen.startButton, screen.stopButton, screen.wrongPanel->okButton, screen.timeOutPanel->okButton,
          screen.playerPanelOk, screen.finalScorePanel->okButton})
        button->setPressable(true);
    for (Panel* clear : screen.clearButtons)
        clear->setPressable(true);

}
