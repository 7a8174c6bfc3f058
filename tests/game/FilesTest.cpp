#include "QuizScreenFixture.h"

#include "Label.h"
#include "QuestionEditor.h"
#include "QuestionFindDialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>

namespace {
// Lets the editor's closing finish, as the event loop does.
void finishClosing() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Makes a folder the current directory for the life of this object.
class CurrentDir {
public:
    explicit CurrentDir(const QString& dir) : old(QDir::currentPath()) { QDir::setCurrent(dir); }
    ~CurrentDir() { QDir::setCurrent(old); }

private:
    QString old;
};
} // namespace

using FilesTest = QuizScreenFixture;

// Change Question File shows the load dialog in the current folder and takes the chosen set
// only when it holds a question; cancelling changes nothing.
TEST_F(FilesTest, ChangeQuestionFileValidatesTheChoice) {
    create(5);
    TempDir other;
    CurrentDir cwd(other.path());
    QstFixtures::writeNumberedSet(other.file("good.QST"), 2);
    QstFixtures::writeNumberedSet(other.file("empty.QST"), 0);
    const QString startup = programDir() + QStringLiteral("/REGD.QST");

    screen->changeQuestionFile();
    ASSERT_EQ(dialogs.fileDialogs().size(), 1u);
    const FileDialogSpec& spec = dialogs.fileDialogs()[0];
    EXPECT_EQ(spec.title, QStringLiteral("Mindaro : Load Questions"));
    EXPECT_EQ(spec.filter, QStringLiteral("Mindaro Questions|*.QST"));
    EXPECT_EQ(spec.defaultSuffix, QStringLiteral("QST"));
    EXPECT_EQ(spec.initialDir, other.path());
    EXPECT_EQ(screen->game.draw().file(), startup);

    struct Row {
        const char* file;
        QStringList boxes;
        bool taken;
    };
    const Row rows[] = {
        {"good.QST", {}, true},
        {"empty.QST",
         {QStringLiteral("Specified Question File Damaged - Please Re-Install")},
         false},
        {"none.QST", {QStringLiteral("Unable to find Specified Question File")}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        dialogs.clear();
        const QString path = QString::fromStdString(other.file(row.file));
        dialogs.chooseFile(path);
        screen->changeQuestionFile();
        EXPECT_EQ(dialogs.texts(), row.boxes);
        EXPECT_EQ(screen->game.draw().file(), row.taken ? path : QStringLiteral("N/A"));
    }
}

// Opening the editor silences and hides the game; closing it destroys the editor, shows the
// game, restores the sound and resets the game onto REGD.QST of the program directory.
TEST_F(FilesTest, EditorOpensInPlaceOfTheGameAndHandsBack) {
    create(5);
    QstFixtures::writeNumberedSet(startupFile() + ".other.QST", 3);
    const QString other = QString::fromStdString(startupFile() + ".other.QST");
    for (const bool soundOn : {true, false}) {
        SCOPED_TRACE(soundOn ? "sound on" : "sound off");
        // The player's switch, which the screen also remembers as the wish for sound.
        if (screen->sound().wanted() != soundOn) screen->toggleSound();
        screen->show();
        dialogs.chooseFile(other);
        screen->changeQuestionFile();
        ASSERT_EQ(screen->game.draw().file(), other);

        screen->openEditor();
        QuestionEditor* editor = screen->editor();
        ASSERT_NE(editor, nullptr);
        EXPECT_FALSE(screen->sound().on()) << "silent behind the editor";
        EXPECT_EQ(screen->soundOnAction->isChecked(), soundOn) << "the menu keeps the wish";
        EXPECT_FALSE(screen->isVisible());
        EXPECT_TRUE(editor->isVisible());
        EXPECT_TRUE(editor->isWindow());
        EXPECT_EQ(editor->parent(), screen.get());
        EXPECT_TRUE(editor->property("trivoraPausesGame").toBool());
        EXPECT_EQ(editor->model().recordNumber(), 3) << "the editor opens the game's set";

        editor->closeAction->trigger();
        finishClosing();
        EXPECT_EQ(screen->editor(), nullptr);
        EXPECT_TRUE(screen->isVisible());
        EXPECT_EQ(screen->sound().on(), soundOn);
        EXPECT_EQ(screen->game.draw().file(), programDir() + QStringLiteral("/REGD.QST"));
    }
}

// With no set in the game, the editor opens REGD.QST of the current directory, while the
// game's reset afterwards still uses the program directory.
TEST_F(FilesTest, EditorWithoutAGameSetLooksInTheCurrentFolder) {
    create(0);
    ASSERT_EQ(screen->game.draw().file(), QStringLiteral("N/A"));
    TempDir elsewhere;
    CurrentDir cwd(elsewhere.path());
    QstFixtures::writeNumberedSet(elsewhere.file("REGD.QST"), 4);
    dialogs.clear();
    screen->openEditor();
    ASSERT_NE(screen->editor(), nullptr);
    EXPECT_EQ(screen->editor()->model().recordNumber(), 4);
    EXPECT_TRUE(dialogs.texts().isEmpty());
    screen->editor()->close();
    finishClosing();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Unable to find Default Question File")});
    EXPECT_EQ(screen->game.draw().file(), QStringLiteral("N/A"));
}
