#include "QuizFixture.h"

#include "EditorFindDialog.h"
#include "Label.h"
#include "Setques.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>

namespace {
// Lets the editor's closing finish, as the event loop does.
void FinishClosing() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Makes a folder the current directory for the life of this object.
class TCurrentDir {
public:
    explicit TCurrentDir(const QString& dir) : FOld(QDir::currentPath()) { QDir::setCurrent(dir); }
    ~TCurrentDir() { QDir::setCurrent(FOld); }

private:
    QString FOld;
};
} // namespace

using FilesTest = TQuizFixture;

// Change Question File shows the load dialog in the current folder and takes the chosen set
// only when it holds a question; cancelling changes nothing.
TEST_F(FilesTest, ChangeQuestionFileValidatesTheChoice) {
    Create(5);
    TTempDir other;
    TCurrentDir cwd(other.path());
    QstFixtures::WriteNumberedSet(other.File("good.QST"), 2);
    QstFixtures::WriteNumberedSet(other.File("empty.QST"), 0);
    const QString startup = ProgramDir() + QStringLiteral("/REGD.QST");

    Screen->LoadQuestions1Click();
    ASSERT_EQ(Dialogs.FileDialogs().size(), 1u);
    const TFileDialogSpec& spec = Dialogs.FileDialogs()[0];
    EXPECT_EQ(spec.Title, QStringLiteral("Mindaro : Load Questions"));
    EXPECT_EQ(spec.Filter, QStringLiteral("Mindaro Questions|*.QST"));
    EXPECT_EQ(spec.DefaultSuffix, QStringLiteral("QST"));
    EXPECT_EQ(spec.InitialDir, other.path());
    EXPECT_EQ(Screen->game.questionFile, startup);

    struct Row {
        const char* File;
        QStringList Boxes;
        bool Taken;
    };
    const Row rows[] = {
        {"good.QST", {}, true},
        {"empty.QST",
         {QStringLiteral("Specified Question File Damaged - Please Re-Install")},
         false},
        {"none.QST", {QStringLiteral("Unable to find Specified Question File")}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.File);
        Dialogs.Clear();
        const QString path = QString::fromStdString(other.File(row.File));
        Dialogs.ChooseFile(path);
        Screen->LoadQuestions1Click();
        EXPECT_EQ(Dialogs.Texts(), row.Boxes);
        EXPECT_EQ(Screen->game.questionFile, row.Taken ? path : QStringLiteral("N/A"));
    }
}

// Opening the editor silences and hides the game; closing it destroys the editor, shows the
// game, restores the sound and resets the game onto REGD.QST of the program directory.
TEST_F(FilesTest, EditorOpensInPlaceOfTheGameAndHandsBack) {
    Create(5);
    QstFixtures::WriteNumberedSet(StartupFile() + ".other.QST", 3);
    const QString other = QString::fromStdString(StartupFile() + ".other.QST");
    for (const bool soundOn : {true, false}) {
        SCOPED_TRACE(soundOn ? "sound on" : "sound off");
        // The player's switch, which the screen also remembers as the wish for sound.
        if (Screen->On2->isChecked() != soundOn) Screen->On2Click();
        Screen->show();
        Dialogs.ChooseFile(other);
        Screen->LoadQuestions1Click();
        ASSERT_EQ(Screen->game.questionFile, other);

        Screen->EditCreateQuestions1Click();
        TSetQuestions* editor = Screen->Editor();
        ASSERT_NE(editor, nullptr);
        EXPECT_FALSE(Screen->On2->isChecked());
        EXPECT_EQ(Screen->Off2->isChecked(), !soundOn);
        EXPECT_FALSE(Screen->isVisible());
        EXPECT_TRUE(editor->isVisible());
        EXPECT_TRUE(editor->isWindow());
        EXPECT_EQ(editor->parent(), Screen.get());
        EXPECT_TRUE(editor->property("trivoraPausesGame").toBool());
        EXPECT_EQ(editor->RecordNumber(), 3) << "the editor opens the game's set";

        editor->QuittoGame1Click();
        FinishClosing();
        EXPECT_EQ(Screen->Editor(), nullptr);
        EXPECT_TRUE(Screen->isVisible());
        EXPECT_EQ(Screen->On2->isChecked(), soundOn);
        EXPECT_EQ(Screen->game.questionFile, ProgramDir() + QStringLiteral("/REGD.QST"));
    }
}

// With no set in the game, the editor opens REGD.QST of the current directory, while the
// game's reset afterwards still uses the program directory.
TEST_F(FilesTest, EditorWithoutAGameSetLooksInTheCurrentFolder) {
    Create(0);
    ASSERT_EQ(Screen->game.questionFile, QStringLiteral("N/A"));
    TTempDir elsewhere;
    TCurrentDir cwd(elsewhere.path());
    QstFixtures::WriteNumberedSet(elsewhere.File("REGD.QST"), 4);
    Dialogs.Clear();
    Screen->EditCreateQuestions1Click();
    ASSERT_NE(Screen->Editor(), nullptr);
    EXPECT_EQ(Screen->game.questionFile, elsewhere.path() + QStringLiteral("/REGD.QST"));
    EXPECT_EQ(Screen->Editor()->RecordNumber(), 4);
    EXPECT_TRUE(Dialogs.Texts().isEmpty());
    Screen->Editor()->close();
    FinishClosing();
    EXPECT_EQ(Dialogs.Texts(), QStringList{QStringLiteral("Unable to find Default Question File")});
    EXPECT_EQ(Screen->game.questionFile, QStringLiteral("N/A"));
}
