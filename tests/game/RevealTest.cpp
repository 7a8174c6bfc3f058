#include "GameFixture.h"
#include "QuestionArea.h"
#include "FinalScoresPanel.h"
#include "VerdictPanel.h"
#include "GamePosition.h"

#include <filesystem>

namespace {
constexpr std::uint8_t TypingStatus = 0x9E;
} // namespace

using RevealTest = GameFixture;

// A question of L letters: drawn as the turn starts, the first tick charges and types the first
// letter, one letter per 17 ms with L - 1 clicks, and the L-th letter shows the answers silently.
TEST_F(RevealTest, RevealTypesOneLetterPerTickAndChargesAtTheFirst) {
    create();
    switchSoundOn();
    startGame();
    clearMidi();
    const QuizGame& s = screen->game;
    ASSERT_TRUE(s.gameRunning());
    EXPECT_EQ(meter(), QStringLiteral("    5"));
    ASSERT_FALSE(s.draw().question().isEmpty());
    EXPECT_TRUE(screen->questionArea->questionLabel->caption().isEmpty());
    EXPECT_EQ(s.players().credit(), 5);
    EXPECT_TRUE(sent().empty());
    const int length = static_cast<int>(s.draw().question().size());
    for (int letter = 1; letter <= length; ++letter) {
        advance(17);
        EXPECT_EQ(screen->questionArea->questionLabel->caption(), s.draw().question().left(letter));
        EXPECT_EQ(s.players().credit(), 4);
        EXPECT_EQ(s.answersOpen(), letter == length);
        EXPECT_EQ(visible(screen->questionArea->answerTexts[0]), letter == length);
    }
    EXPECT_EQ(meter(), QStringLiteral("    4"));
    EXPECT_EQ(notes(TypingStatus).size(), static_cast<std::size_t>(length - 1));
    for (const auto& m : sent())
        EXPECT_EQ(m, (RecordingMidiPlatform::ShortMsg{0x9E, 60, 127}));
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(screen->questionArea->answerTexts[i]->caption(), s.draw().answers()[i]);
        EXPECT_TRUE(visible(screen->questionArea->answerLetters[i]));
        EXPECT_TRUE(visible(screen->questionArea->answerRows[i]));
        EXPECT_EQ(screen->questionArea->answerTexts[i]->accessibleName(),
                  QString(QChar(static_cast<char16_t>(u'A' + i))) + QStringLiteral(": ") +
                      s.draw().answers()[i]);
    }
    // Nothing more happens while the answers wait.
    advance(170);
    EXPECT_EQ(s.players().credit(), 4);
    EXPECT_EQ(notes(TypingStatus).size(), static_cast<std::size_t>(length - 1));
}

// Texts with ampersands, Windows-1252 characters and the full 75 characters are typed and
// shown exactly as stored; answers equal but for case stay distinct.
TEST_F(RevealTest, RecordTextsAreShownLiterally) {
    const std::string long75(75, 'Q');
    QstFixtures::writeSet(
        startupFile(),
        {QstFixtures::question("Salt & Pepper: caf\xc3\xa9 \xe2\x82\xac 5?", "Fish & Chips",
                               "fish & chips", "\xe2\x80\x98Quoted\xe2\x80\x99", long75)});
    createScreen();
    startGame();
    ASSERT_TRUE(waitForAnswers());
    EXPECT_EQ(screen->questionArea->questionLabel->caption(), QString::fromUtf8("Salt & Pepper: café € 5?"));
    QStringList shown;
    for (const Label* answer : screen->questionArea->answerTexts)
        shown << answer->caption();
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"Fish & Chips", QString::fromStdString(long75), "fish & chips",
                                  QString::fromUtf8("‘Quoted’")}));
    // Labels show plain text: the ampersand marks no shortcut.
    for (const Label* answer : screen->questionArea->answerTexts)
        EXPECT_EQ(answer->textFormat(), Qt::PlainText);
}

// A record with an empty question is drawn and passed over: the next tick draws again, the
// empty record stays in the history and costs nothing. (A set of nothing but empty questions
// ends the game instead: SafetyNetsTest.)
TEST_F(RevealTest, EmptyQuestionIsDrawnAgainWithoutCharge) {
    const QuestionRecord empty = QstFixtures::question("", "", "", "", "");
    QstFixtures::writeSet(startupFile(), {QstFixtures::question("Real?", "Yes", "No", "Maybe", ""),
                                          empty, empty, empty, empty, empty});
    createScreen();
    startGame();
    ASSERT_TRUE(waitForAnswers());
    EXPECT_EQ(screen->questionArea->questionLabel->caption(), QStringLiteral("Real?"));
    EXPECT_EQ(screen->game.draw().history().last(), QStringLiteral("1"));
    EXPECT_GE(screen->game.draw().history().size(), 2) << "an empty record was drawn first";
    EXPECT_EQ(screen->game.players().credit(), 4);
}

// Credit 0 when a question starts: the charge takes it to -1, the game-over picture replaces
// the question, the ticker stops and the final scores follow 4 s later.
TEST_F(RevealTest, ChargeAtZeroCreditEndsTheGame) {
    create();
    startGame();
    GamePosition::setCredit(screen->game, 0);
    screen->questionArea->showCredit(screen->game.players().credit());
    advance(17); // the first letter's charge
    const QuizGame& s = screen->game;
    EXPECT_EQ(s.players().credit(), -1);
    EXPECT_EQ(meter(), QStringLiteral("    0"));
    EXPECT_TRUE(screen->questionArea->questionLabel->caption().isEmpty());
    EXPECT_TRUE(visible(screen->banners->gameOverBanner));
    EXPECT_FALSE(visible(screen->questionArea->questionLabel));
    EXPECT_FALSE(visible(screen->questionArea->timeStrip));
    EXPECT_FALSE(screen->endGameAction->isVisible());
    EXPECT_FALSE(screen->game.timer(QuizGame::GameTimer::Reveal).enabled());
    advance(3999);
    EXPECT_FALSE(visible(screen->finalScorePanel));
    advance(1);
    EXPECT_TRUE(visible(screen->finalScorePanel));
    EXPECT_FALSE(visible(screen->banners->gameOverBanner));
}

// A set that breaks during a game (removed, cut to its header, or with a question cut short)
// is reported once with the message for its kind of set, dropped, and the game ends with
// its scores.
TEST_F(RevealTest, SetBrokenMidGameIsReportedOnceAndEndsTheGame) {
    struct Case {
        const char* name;
        bool chosen; // a set chosen by the player rather than the start-up set
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
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(startupFile());
        create(10);
        dialogs.clear();
        std::string set = startupFile();
        if (c.chosen) {
            set = (programDir() + QStringLiteral("/OTHER.QST")).toStdString();
            std::filesystem::remove_all(set);
            QstFixtures::writeNumberedSet(set, 10);
            GamePosition::setQuestionFile(screen->game, QString::fromStdString(set));
        }
        startGame({QStringLiteral("Ann")});
        advance(17 * 3);
        c.Break(set);
        // Finish this question by timing out, then the next draw meets the broken set.
        ASSERT_TRUE(waitForAnswers());
        ASSERT_TRUE(advanceUntil([this] { return visible(screen->timeOutPanel); }));
        screen->timeOutPanel->confirm();
        advance(17 * 20);
        const QString message =
            c.chosen ? QStringLiteral("Specified Question File Damaged - Please Re-Install")
                     : QStringLiteral("Default Question File Damaged - Please Re-Install");
        EXPECT_EQ(dialogs.texts(), QStringList{message});
        EXPECT_EQ(screen->game.draw().file(), QStringLiteral("N/A"));
        EXPECT_EQ(screen->game.players().credit(), 4); // the question never started, so it cost nothing
        EXPECT_TRUE(visible(screen->banners->gameOverBanner));
        advance(4000);
        EXPECT_TRUE(visible(screen->finalScorePanel));
        EXPECT_EQ(screen->finalScorePanel->names[0]->caption(), QStringLiteral("Ann"));
        EXPECT_EQ(screen->finalScorePanel->scores[0]->caption(), QStringLiteral("5"));
        advance(10000);
        EXPECT_EQ(dialogs.texts().size(), 1);
        std::filesystem::remove_all(set);
    }
}
