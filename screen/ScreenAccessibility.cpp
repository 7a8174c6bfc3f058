#include "ScreenAccessibility.h"

#include "QuizScreen.h"
#include "FinalScoresPanel.h"
#include "PlayerEntryPanel.h"
#include "VerdictPanel.h"

void describeForAssistiveTechnology(QuizScreen& screen) {
    for (ImageView* button :
         {screen.answerButtonA, screen.answerButtonB, screen.answerButtonC, screen.answerButtonD,
          screen.startButton, screen.stopButton, screen.wrongPanel->okButton, screen.timeOutPanel->okButton,
          screen.playerPanel->okButton, screen.finalScorePanel->okButton})
        button->setPressable(true);
    for (Panel* clear : screen.playerPanel->clearButtons)
        clear->setPressable(true);

}
