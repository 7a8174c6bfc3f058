#include "GameFixture.h"

#include <QSet>

#include <filesystem>

namespace {
constexpr std::uint8_t TypingStatus = 0x9E;

std::vector<int> History(const TQuizState& s) {
    std::vector<int> numbers;
    for (const QString& entry : s.DrawHistory)
        numbers.push_back(entry.toInt());
    return numbers;
}
} // namespace

using RevealTest = TGameFixture;

// The draw's history rule: small sets rotate as far as they can, the history never holds more
// than min(Q div 2 + 1, 50) entries, and above 2 questions no draw repeats one in the history.
TEST_F(RevealTest, DrawHistoryRuleBySetSize) {
    struct Case {
        int Questions;
        int MaxHistory;
    };
    const Case cases[] = {{1, 1}, {2, 2}, {3, 2}, {4, 3}, {9, 5}, {1000, 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Questions);
        Create(c.Questions);
        QSet<int> seen;
        bool repeated = false;
        for (int draw = 0; draw < 400; ++draw) {
            const std::vector<int> before = History(Screen->State);
            ASSERT_TRUE(Screen->DrawQuestion());
            const int n = Screen->State.DrawnRecord;
            ASSERT_GE(n, 1);
            ASSERT_LE(n, c.Questions);
            seen.insert(n);
            if (!before.empty() && before.back() == n) repeated = true;
            if (c.Questions >= 3) {
                EXPECT_EQ(std::count(before.begin(), before.end(), n), 0) << "draw " << draw;
            }
            EXPECT_EQ(Screen->State.QuestionText, QStringLiteral("Question %1").arg(n));
            EXPECT_EQ(Screen->State.CorrectAnswer, QStringLiteral("Right %1").arg(n));
            EXPECT_LE(Screen->State.DrawHistory.size(), c.MaxHistory);
            EXPECT_EQ(Screen->State.DrawHistory.back(), QString::number(n));
        }
        EXPECT_EQ(Screen->State.DrawHistory.size(), c.MaxHistory);
        if (c.Questions < 10) {
            EXPECT_EQ(seen.size(), c.Questions);
        }
        // With two questions the history is not consulted, so a question can come twice.
        if (c.Questions == 2) {
            EXPECT_TRUE(repeated);
        }
        if (c.Questions == 3) {
            // The rotation: each draw is the one question not among the last two.
            EXPECT_FALSE(repeated);
        }
    }
}

// After a switch to a smaller set whose every question is in the history, the draw forgets
// the oldest entries until one is free, and does not search for ever.
TEST_F(RevealTest, DrawForgetsOldHistoryWhenEveryQuestionIsTaken) {
    Create(4);
    struct Case {
        QStringList History;
        int Drawn;
        QStringList After;
    };
    const Case cases[] = {
        {{"1", "2", "3", "4"}, 1, {"3", "4", "1"}},
        {{"4", "3", "2", "1"}, 4, {"2", "1", "4"}},
        // Left over from a big set: numbers this set does not have count for nothing.
        {{"900", "2", "1", "3", "4", "77"}, 2, {"3", "4", "77", "2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.History.join(',').toStdString());
        Screen->State.DrawHistory = c.History;
        ASSERT_TRUE(Screen->DrawQuestion());
        EXPECT_EQ(Screen->State.DrawnRecord, c.Drawn);
        EXPECT_EQ(Screen->State.DrawHistory, c.After);
    }
}

// The ten-pass shuffle keeps the four answers and puts the correct one in every slot over
// many draws; the correct answer is taken before the shuffle.
TEST_F(RevealTest, ShuffleKeepsTheAnswersAndMovesTheCorrectOne) {
    Create(1);
    std::array<int, 4> correctIn{};
    for (int draw = 0; draw < 400; ++draw) {
        ASSERT_TRUE(Screen->DrawQuestion());
        const auto& shuffled = Screen->State.AnswerSlot;
        QStringList sorted(shuffled.begin(), shuffled.end());
        sorted.sort();
        EXPECT_EQ(sorted, (QStringList{"Right 1", "Wrong 1.1", "Wrong 1.2", "Wrong 1.3"}));
        EXPECT_EQ(Screen->State.CorrectAnswer, QStringLiteral("Right 1"));
        for (std::size_t i = 0; i < 4; ++i)
            if (shuffled[i] == QStringLiteral("Right 1")) ++correctIn[i];
    }
    for (int count : correctIn)
        EXPECT_GT(count, 40);
}

// A question of L letters: one tick draws, the next charges and types the first letter, one
// letter per 17 ms with L - 1 clicks, and the L-th letter shows the answers silently.
TEST_F(RevealTest, RevealTypesOneLetterPerTickAndChargesAtTheFirst) {
    Create();
    SoundOn();
    StartGame();
    ClearMidi();
    const TQuizState& s = Screen->State;
    ASSERT_TRUE(s.GameRunning);
    EXPECT_EQ(Meter(), QStringLiteral("    5"));
    Advance(17); // the draw
    ASSERT_FALSE(s.QuestionText.isEmpty());
    EXPECT_TRUE(Screen->QuestionBlock->Caption().isEmpty());
    EXPECT_EQ(s.Credit, 5);
    EXPECT_TRUE(Sent().empty());
    const int length = static_cast<int>(s.QuestionText.size());
    for (int letter = 1; letter <= length; ++letter) {
        Advance(17);
        EXPECT_EQ(Screen->QuestionBlock->Caption(), s.QuestionText.left(letter));
        EXPECT_EQ(s.Credit, 4);
        EXPECT_EQ(s.AnswersOpen, letter == length);
        EXPECT_EQ(Visible(Screen->Answer[0]), letter == length);
    }
    EXPECT_EQ(Meter(), QStringLiteral("    4"));
    EXPECT_EQ(Notes(TypingStatus).size(), static_cast<std::size_t>(length - 1));
    for (const auto& m : Sent())
        EXPECT_EQ(m, (TRecordingMidiPlatform::TShortMsg{0x9E, 60, 127}));
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Screen->Answer[i]->Caption(), s.AnswerSlot[i]);
        EXPECT_TRUE(Visible(Screen->Cap[i]));
        EXPECT_TRUE(Visible(Screen->Cover[i]));
        EXPECT_EQ(Screen->Answer[i]->accessibleName(),
                  QString(QChar(static_cast<char16_t>(u'A' + i))) + QStringLiteral(": ") +
                      s.AnswerSlot[i]);
    }
    // Nothing more happens while the answers wait.
    Advance(170);
    EXPECT_EQ(s.Credit, 4);
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
    EXPECT_TRUE(Screen->State.QuestionText.isEmpty());
    EXPECT_EQ(Screen->State.DrawHistory, QStringList{"1"});
    EXPECT_EQ(Screen->State.Credit, 5);
    EXPECT_FALSE(Screen->State.AnswersOpen);

    QstFixtures::WriteSet(StartupFile(),
                          {QstFixtures::Question("", "", "", "", ""),
                           QstFixtures::Question("Real?", "Yes", "No", "Maybe", "")});
    ASSERT_TRUE(WaitForAnswers());
    EXPECT_EQ(Screen->QuestionBlock->Caption(), QStringLiteral("Real?"));
    EXPECT_EQ(Screen->State.Credit, 4);
}

// Credit 0 when a question starts: the charge takes it to -1, the game-over picture replaces
// the question, the ticker stops and the final scores follow 4 s later.
TEST_F(RevealTest, ChargeAtZeroCreditEndsTheGame) {
    Create();
    StartGame();
    Screen->State.Credit = 0;
    Screen->DisplayCreditClick();
    Advance(17); // draw
    Advance(17); // charge
    const TQuizState& s = Screen->State;
    EXPECT_EQ(s.Credit, -1);
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
            Screen->State.QuestionFileName = QString::fromStdString(set);
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
        EXPECT_EQ(Screen->State.QuestionFileName, QStringLiteral("N/A"));
        EXPECT_EQ(Screen->State.Credit, 4); // the question never started, so it cost nothing
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
