// Choosing the game's question set and opening the question editor.
#include "Quiz.h"

#include "Dialogs.h"
#include "QstFile.h"
#include "Setques.h"

#include <QAction>
#include <QDir>

void TQuizScreen::LoadQuestions1Click() {
    const TFileDialogSpec spec{QStringLiteral("Mindaro : Load Questions"),
                               QStringLiteral("Mindaro Questions|*.QST"), QStringLiteral("QST"),
                               QDir::currentPath()};
    const QString path = FServices.Dialogs.OpenFile(this, spec);
    if (path.isEmpty()) return;
    // Credits, players and the draw history stay as they are; the next game draws from here.
    ValidateQuestionFile(path, ReaderRules::GameChange);
}

void TQuizScreen::EditCreateQuestions1Click() {
    if (FEditor) {
        FEditor->raise();
        FEditor->activateWindow();
        return;
    }
    // The game stays silent and still while the editor is open, whether or not the window
    // manager moves the focus to it.
    On2->setChecked(false);
    if (!FPausedByWindow) {
        FPausedByWindow = true;
        FormDeactivate();
    }
    FEditor = new TSetQuestions(
        TEditorServices{FServices.Clock, FServices.Dialogs, FServices.Shell, FServices.Settings},
        EditorState, game.questionFile, this);
    // Handled once the editor's closing has finished, so the window can go first.
    connect(
        FEditor.data(), &TSetQuestions::Closed, this, [this] { EditorClosed(); },
        Qt::QueuedConnection);
    hide();
    FEditor->show();
}

void TQuizScreen::EditorClosed() {
    // 1. The editor is gone.
    delete FEditor.data();
    // 2. The game screen returns; being shown resumes nothing of a game left for the editor.
    ForgetGameTimers();
    show();
    // 3. Sound as it was before the editor.
    if (!Off2->isChecked()) On2->setChecked(true);
    // 4. Attract mode, on REGD.QST of the program directory again. A game or a game start
    // left for the editor does not survive: nothing of it stays on screen or resumes.
    AbandonGame();
}

TSetQuestions* TQuizScreen::Editor() const {
    return FEditor.data();
}
