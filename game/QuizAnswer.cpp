// Answer input, the time limit and the judgement.
#include "Quiz.h"

#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>

void TQuizScreen::DrawButtons(bool /*a*/, bool /*b*/, bool /*c*/, bool /*d*/, bool /*start*/) {}

void TQuizScreen::RedTMouseDown(QObject* /*sender*/) {}

void TQuizScreen::Timer4Timer() {}

void TQuizScreen::Timer5Timer() {}

void TQuizScreen::Timer6Timer() {}

void TQuizScreen::Timer10Timer() {}

void TQuizScreen::Timer12Timer() {}

void TQuizScreen::Image34MouseDown() {}

void TQuizScreen::Image49MouseDown() {}

void TQuizScreen::Image34MouseMove() {}

void TQuizScreen::WrongMouseMove() {}

void TQuizScreen::Image49MouseMove() {}

void TQuizScreen::TimeOutMouseMove() {}

void TQuizScreen::ShowQuestionArea(bool /*visible*/) {}

void TQuizScreen::ShowAnswerControls(bool /*visible*/) {}
