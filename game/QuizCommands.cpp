// The menu, the keyboard, pausing and closing.
#include "Quiz.h"

#include <QAction>

#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>

void TQuizScreen::FormKeyPress(QChar /*key*/) {}

void TQuizScreen::NewGame1Click() {}

void TQuizScreen::On2Click() {}

void TQuizScreen::FormActivate() {}

void TQuizScreen::FormDeactivate() {}

void TQuizScreen::Exit1Click() {}

void TQuizScreen::Instructions1Click() {}

void TQuizScreen::WebLink1Click() {}

void TQuizScreen::WebLink2Click() {}

bool TQuizScreen::SoundOn() const { return On2 && On2->isChecked(); }

bool TQuizScreen::eventFilter(QObject* watched, QEvent* event) {
    return QMainWindow::eventFilter(watched, event);
}

void TQuizScreen::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
}

void TQuizScreen::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
}
