// Attract mode: the button cycle, the picture sequence and the logo flashes.
#include "Quiz.h"

#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>

void TQuizScreen::Timer1Timer() {}

void TQuizScreen::Timer2Timer() {}

void TQuizScreen::MindaroLogoTimerTimer() {}

void TQuizScreen::LogoFlashTimer() {}
