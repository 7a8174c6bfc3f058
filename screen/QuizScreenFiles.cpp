// Choosing the game's question set and opening the question editor.
#include "QuizScreen.h"

#include "Dialogs.h"
#include "QstFile.h"
#include "QuestionEditor.h"
#include "ScoreKeeper.h"

#include <QAction>
#include <QDir>

void QuizScreen::changeQuestionFile() {
    const FileDialogSpec spec = QuestionSetDialogs::load(QDir::currentPath());
    const QString path = services.dialogs.openFile(this, spec);
    if (path.isEmpty()) return;
    // Credits, players and the draw history stay as they are; the next game draws from here.
    game.useQuestionFile(path, ReaderRules::GameChange);
}

void QuizScreen::openEditor() {
    if (editorWindow) {
        editorWindow->raise();
        editorWindow->activateWindow();
        return;
    }
    // The game stays silent and still while the editor is open, whether or not the window
    // manager moves the focus to it.
    soundSwitch.setMuted(true);
    if (!pausedByOtherWindow) {
        pausedByOtherWindow = true;
        pauseGame();
    }
    editorWindow = new QuestionEditor(
        QuestionEditorServices{services.dialogs, services.shell, services.settings,
                               services.scores ? services.scores->reader() : nullptr},
        editorState, game.draw().file(), this);
    // Handled once the editor's closing has finished, so the window can go first.
    connect(
        editorWindow.data(), &QuestionEditor::closed, this, [this] { editorClosed(); },
        Qt::QueuedConnection);
    hide();
    editorWindow->show();
}

void QuizScreen::editorClosed() {
    // 1. The editor is gone.
    delete editorWindow.data();
    // 2. The game screen returns; whatever being shown resumes ends at once in step 4.
    show();
    // 3. Sound as it was before the editor.
    soundSwitch.setMuted(false);
    // 4. Attract mode, on REGD.QST of the program directory again. A game or a game start
    // left for the editor does not survive: nothing of it stays on screen or resumes.
    abandonGame();
}

QuestionEditor* QuizScreen::editor() const {
    return editorWindow.data();
}
