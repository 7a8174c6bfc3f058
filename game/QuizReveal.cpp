// The question tick: draws a question and types it out letter by letter.
#include "Quiz.h"

#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>

void TQuizScreen::Timer3Timer() {}

bool TQuizScreen::DrawQuestion() {
    return false;
}
