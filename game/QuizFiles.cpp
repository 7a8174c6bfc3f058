// Choosing the game's question set and opening the question editor.
#include "Quiz.h"

#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>

void TQuizScreen::LoadQuestions1Click() {}

void TQuizScreen::EditCreateQuestions1Click() {}
