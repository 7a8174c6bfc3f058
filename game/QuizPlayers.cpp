// Players, turns and the final scores.
#include "Quiz.h"

#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>

void TQuizScreen::StartPress() {}

void TQuizScreen::Player1Change(int /*slot*/) {}

void TQuizScreen::Clear1MouseDown(int /*slot*/) {}

void TQuizScreen::Clear1MouseMove(int /*slot*/) {}

void TQuizScreen::PlayerPanelMouseMove(int /*slot*/) {}

void TQuizScreen::OKDispMouseDown() {}

void TQuizScreen::OKDispMouseMove() {}

void TQuizScreen::SelectPlayer() {}

void TQuizScreen::NewGameTimer() {}

void TQuizScreen::PLAYERGAMEOVERTimer() {}

void TQuizScreen::GameOverStep() {}

void TQuizScreen::Timer7Timer() {}

void TQuizScreen::Image36MouseDown() {}

void TQuizScreen::Image36MouseMove() {}

void TQuizScreen::FinalScorePanelMouseMove() {}
