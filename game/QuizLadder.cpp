// The prize ladder.
#include "Quiz.h"

#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>

void TQuizScreen::StartLadder() {}

void TQuizScreen::Timer8Timer() {}

void TQuizScreen::RTM() {}

void TQuizScreen::RoundTMouseDown() {}

void TQuizScreen::TOStopWinTimer() {}

void TQuizScreen::Timer11Timer() {}

void TQuizScreen::Timer9Timer() {}

bool TQuizScreen::LadderShowing() const { return !FiftyDollars->isHidden(); }
