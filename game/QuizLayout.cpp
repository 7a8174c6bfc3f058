// Placement of the play area's contents.
#include "Quiz.h"

#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>

void TQuizScreen::FormResize() {}

void TQuizScreen::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
}
