#include "GameFixture.h"

#include <filesystem>

namespace {
constexpr std::uint8_t TypingStatus = 0x9E;
} // namespace

using RevealTest = TGameFixture;

// A question of L letters: one tick draws, the next charges and types the first letter, one
// letter per 17 ms with L - 1 clicks, and the L-th letter shows the answers silently.
TEST_F(RevealTest, RevealTypesOneLetterPerTickAndChargesAtTheFirst) {
    Create();
    SoundOn();
    StartGame();
    ClearMidi();
    const QuizGame& s = Screen->game;
    ASSERT_TRUE(s.gameRunning);
    EXPECT_EQ(Meter(), QStringLiteral("    5"));
    Advance(17); // the draw
    ASSERT_FALSE(s.questionText.isEmpty());
    EXPECT_TRUE(Screen->QuestionBlock->Caption().isEmpty());
    EXPECT_EQ(s.credit, 5);
    EXPECT_TRUE(Sent().empty());
    const int length = static_cast<int>(s.questionText.size());
    for (int letter = 1; letter <= length; ++letter) {
        Advance(17);
        EXPECT_EQ(Screen->QuestionBlock->Caption(), s.questionText.left(letter));
        EXPECT_EQ(s.credit, 4);
        EXPECT_EQ(s.answersOpen, letter == length);
        EXPECT_EQ(Visible(Screen->Answer[0]), letter == length);
    }
    EXPECT_EQ(Meter(), QStringLiteral("    4"));
    EXPECT_EQ(Notes(TypingStatus).size(), static_cast<std::size_t>(length - 1));
    for (const auto& m : Sent())
        EXPECT_EQ(m, (TRecordingMidiPlatform::TShortMsg{0x9E, 60, 127}));
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Screen->Answer[i]->Caption(), s.answerSlots[i]);
        EXPECT_TRUE(Visible(Screen->Cap[i]));
        EXPECT_TRUE(Visible(Screen->Cover[i]));
        EXPECT_EQ(Screen->Answer[i]->accessibleName(),
                  QString(QChar(static_cast<char16_t>(u'A' + i))) + QStringLiteral(": ") +
                      s.answerSlots[i]);
    }
    // Nothing more happens while the answers wait.
    Advance(170);
    EXPECT_EQ(s.credit, 4);
    EXPECT_EQ(Notes(TypingStatus).size(), static_cast<std::size_t>(length - 1));
}

// Texts with ampersands, Windows-1252 characters and the full 75 characters are typed and
// shown exactly as stored; answers equal but for case stay distinct.
TEST_F(RevealTest, RecordTextsAreShownLiterally) {
    const std::string long75(75, 'Q');
    QstFixtures::WriteSet(
        StartupFile(),
        {QstFixtures::Question("Salt & Pepper: caf\xc3\xa9 \xe2\x82\xac 5?", "Fish & Chips",
                               "fish & chips", "\xe2\x80\x98Quoted\xe2\x80\x99", long75)});
    CreateScreen();
    StartGame();
    ASSERT_TRUE(WaitForAnswers());
    EXPECT_EQ(Screen->QuestionBlock->Caption(), QString::fromUtf8("Salt & Pepper: café € 5?"));
    QStringList shown;
    for (const TLabel* answer : Screen->Answer)
        shown << answer->Caption();
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"Fish & Chips", QString::fromStdString(long75), "fish & chips",
                                  QString::fromUtf8("‘Quoted’")}));
    // Labels show plain text: the ampersand marks no shortcut.
    for (const TLabel* answer : Screen->Answer)
        EXPECT_EQ(answer->textFormat(), Qt::PlainText);
}

// A record with an empty question is drawn and passed over: the next tick draws again, the
// empty record stays in the history and costs nothing.
TEST_F(RevealTest, EmptyQuestionIsDrawnAgainWithoutCharge) {
    QstFixtures::WriteSet(StartupFile(), {QstFixtures::Question("", "", "", "", "")});
    CreateScreen();
    StartGame();
    Advance(17 * 10);
    EXPECT_TRUE(Screen->game.questionText.isEmpty());
    EXPECT_EQ(Screen->game.drawHistory, QStringList{"1"});
    EXPECT_EQ(Screen->game.credit, 5);
    EXPECT_FALSE(Screen->game.answersOpen);

    QstFixtures::WriteSet(StartupFile(),
                          {QstFixtures::Question("", "", "", "", ""),
                           QstFixtures::Question("Real?", "Yes", "No", "Maybe", "")});
    ASSERT_TRUE(WaitForAnswers());
    EXPECT_EQ(Screen->QuestionBlock->Caption(), QStringLiteral("Real?"));
    EXPECT_EQ(Screen->game.credit, 4);
}

// Credit 0 when a question starts: the charge takes it to -1, the game-over picture replaces
// the question, the ticker stops and the final scores follow 4 s later.
TEST_F(RevealTest, ChargeAtZeroCreditEndsTheGame) {
    Create();
    StartGame();
    Screen->game.credit = 0;
    Screen->DisplayCreditClick();
    Advance(17); // draw
    Advance(17); // charge
    const QuizGame& s = Screen->game;
    EXPECT_EQ(s.credit, -1);
    EXPECT_EQ(Meter(), QStringLiteral("    0"));
    EXPECT_TRUE(Screen->QuestionBlock->Caption().isEmpty());
    EXPECT_TRUE(Visible(Screen->GameOver));
    EXPECT_FALSE(Visible(Screen->QuestionBlock));
    EXPECT_FALSE(Visible(Screen->TimeLine));
    EXPECT_FALSE(Screen->NewGame1->isVisible());
    EXPECT_FALSE(Screen->Timer3->Enabled());
    Advance(3999);
    EXPECT_FALSE(Visible(Screen->FinalScorePanel));
    Advance(1);
    EXPECT_TRUE(Visible(Screen->FinalScorePanel));
    EXPECT_FALSE(Visible(Screen->GameOver));
}

// A set that breaks during a game (removed, cut to its header, or with a question cut short)
// is reported once with the message for its kind of set, dropped, and the game ends with
// its scores.
TEST_F(RevealTest, SetBrokenMidGameIsReportedOnceAndEndsTheGame) {
    struct Case {
        const char* Name;
        bool Chosen; // a set chosen by the player rather than the start-up set
        std::function<void(const std::string&)> Break;
    };
    const Case cases[] = {
        {"removed", false, [](const std::string& p) { std::filesystem::remove(p); }},
        {"cut to the header", false,
         [](const std::string& p) { std::filesystem::resize_file(p, 380); }},
        {"chosen set removed", true, [](const std::string& p) { std::filesystem::remove(p); }},
        {"made unreadable", true,
         [](const std::string& p) {
             std::filesystem::remove(p);
             std::filesystem::create_directory(p);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::filesystem::remove_all(StartupFile());
        Create(10);
        Dialogs.Clear();
        std::string set = StartupFile();
        if (c.Chosen) {
            set = (ProgramDir() + QStringLiteral("/OTHER.QST")).toStdString();
            std::filesystem::remove_all(set);
            QstFixtures::WriteNumberedSet(set, 10);
            Screen->game.questionFile = QString::fromStdString(set);
        }
        StartGame({QStringLiteral("Ann")});
        Advance(17 * 3);
        c.Break(set);
        // Finish this question by timing out, then the next draw meets the broken set.
        ASSERT_TRUE(WaitForAnswers());
        ASSERT_TRUE(AdvanceUntil([this] { return Visible(Screen->TimeOut); }));
        Screen->Image49MouseDown();
        Advance(17 * 20);
        const QString message =
            c.Chosen ? QStringLiteral("Specified Question File Damaged - Please Re-Install")
                     : QStringLiteral("Default Question File Damaged - Please Re-Install");
        EXPECT_EQ(Dialogs.Texts(), QStringList{message});
        EXPECT_EQ(Screen->game.questionFile, QStringLiteral("N/A"));
        EXPECT_EQ(Screen->game.credit, 4); // the question never started, so it cost nothing
        EXPECT_TRUE(Visible(Screen->GameOver));
        Advance(4000);
        EXPECT_TRUE(Visible(Screen->FinalScorePanel));
        EXPECT_EQ(Screen->NAME[0]->Caption(), QStringLiteral("Ann"));
        EXPECT_EQ(Screen->SCORE[0]->Caption(), QStringLiteral("5"));
        Advance(10000);
        EXPECT_EQ(Dialogs.Texts().size(), 1);
        std::filesystem::remove_all(set);
    }
}
