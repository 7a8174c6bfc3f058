#include "GameFixture.h"
#include "QuestionArea.h"
#include "PrizeLadderView.h"
#include "FinalScoresPanel.h"
#include "VerdictPanel.h"
#include "GamePosition.h"

#include <QTest>

namespace {
constexpr std::uint8_t AnswerStatus = 0x92;
constexpr std::uint8_t TickStatus = 0x93;
constexpr std::uint8_t FallStatus = 0x95;
constexpr std::uint8_t CorrectStatus = 0x97;
const QColor Navy(0x00, 0x00, 0x80);
const QColor Blue(0x00, 0x00, 0xFF);
} // namespace

using AnswerTest = GameFixture;

// lightButtons gives each of the five buttons its lit or unlit picture and flag.
TEST_F(AnswerTest, DrawButtonsSetsPicturesAndFlags) {
    create();
    QuizScreen& q = *screen;
    const std::array<std::array<bool, 5>, 3> rows = {
        {{true, false, true, false, true}, {false, true, false, true, false}, {}}};
    for (const auto& row : rows) {
        q.buttons->light(row[0], row[1], row[2], row[3], row[4]);
        const ImageView* lit[5] = {q.buttons->answerALitPicture, q.buttons->answerBLitPicture, q.buttons->answerCLitPicture,
                                   q.buttons->answerDLitPicture, q.buttons->startLitPicture};
        const ImageView* unlit[5] = {q.buttons->answerAPicture, q.buttons->answerBPicture, q.buttons->answerCPicture,
                                     q.buttons->answerDPicture, q.buttons->startPicture};
        const ImageView* buttons[5] = {q.buttons->answerButtonA, q.buttons->answerButtonB, q.buttons->answerButtonC,
                                       q.buttons->answerButtonD, q.buttons->startButton};
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_TRUE(shows(buttons[i], row[i] ? lit[i] : unlit[i])) << i;
            const int flag = i < 4 ? q.display.buttonLit[i] : q.display.startLit;
            EXPECT_EQ(flag, row[i] ? 1 : 0) << i;
        }
    }
}

// Each of the sixteen answer controls chooses its answer: the button lights, the cover turns
// blue, the answers close and the press sounds its note.
TEST_F(AnswerTest, EveryAnswerControlChoosesItsAnswer) {
    create();
    const int notes[4] = {55, 60, 65, 70};
    for (int answer = 0; answer < 4; ++answer) {
        const auto k = static_cast<std::size_t>(answer);
        for (int which = 0; which < 4; ++which) {
            createScreen();
            switchSoundOn();
            startGame();
            ASSERT_TRUE(waitForAnswers());
            clearMidi();
            QObject* controls[4] = {button(answer), screen->questionArea->answerTexts[k],
                                    screen->questionArea->answerLetters[k], screen->questionArea->answerRows[k]};
            SCOPED_TRACE(controls[which]->objectName().toStdString());
            screen->pressControl(controls[which]);
            for (std::size_t i = 0; i < 4; ++i) {
                EXPECT_EQ(screen->display.buttonLit[i], i == k ? 1 : 0);
                EXPECT_EQ(screen->questionArea->answerRows[i]->brushColor(), i == k ? Blue : Navy);
            }
            EXPECT_FALSE(screen->game.answersOpen());
            EXPECT_TRUE(screen->game.timer(QuizGame::GameTimer::Judgement).enabled());
            EXPECT_EQ(sent(), (std::vector<RecordingMidiPlatform::ShortMsg>{
                                  {AnswerStatus, static_cast<std::uint8_t>(notes[answer]), 120}}));
        }
    }
}

// Any mouse button on an answer chooses it; a second choice, START, or a press before the
// answers are out changes nothing.
TEST_F(AnswerTest, OnlyTheFirstChoiceWhileAnswersAreOpenCounts) {
    create();
    startGame();
    advance(17 * 3);
    choose(0); // still typing
    EXPECT_EQ(screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    ASSERT_TRUE(waitForAnswers());
    screen->pressControl(screen->buttons->startButton);
    EXPECT_FALSE(visible(screen->playerPanel));
    EXPECT_TRUE(screen->game.answersOpen());
    QTest::mousePress(screen->questionArea->answerTexts[2], Qt::RightButton);
    QTest::mouseRelease(screen->questionArea->answerTexts[2], Qt::RightButton);
    EXPECT_EQ(screen->display.buttonLit, (std::array<int, 4>{0, 0, 1, 0}));
    advance(1000);
    choose(1); // a second answer within the 2.5 s
    screen->pressControl(screen->questionArea->answerRows[3]);
    EXPECT_EQ(screen->display.buttonLit, (std::array<int, 4>{0, 0, 1, 0}));
    // The answers stay closed while the choice is judged.
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Judging);
    advance(1499);
    EXPECT_TRUE(screen->game.timer(QuizGame::GameTimer::Judgement).enabled());
    advance(1);
    EXPECT_FALSE(screen->game.timer(QuizGame::GameTimer::Judgement).enabled());
    EXPECT_FALSE(visible(screen->questionArea->questionLabel));
}

// The judgement compares the chosen caption with the correct answer exactly: a duplicate of
// the correct text in another slot is right, a case variant is wrong.
TEST_F(AnswerTest, JudgementComparesTheWholeTextExactly) {
    QstFixtures::writeSet(startupFile(),
                          {QstFixtures::question("Capital?", "Paris", "Paris", "paris", "PARIS ")});
    createScreen();
    struct Case {
        QString text;
        bool correct;
    };
    const Case cases[] = {{"Paris", true}, {"paris", false}, {"PARIS ", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        for (int slot = 0; slot < 4; ++slot) {
            createScreen();
            startGame();
            ASSERT_TRUE(waitForAnswers());
            if (screen->questionArea->answerTexts[static_cast<std::size_t>(slot)]->caption() != c.text) continue;
            choose(slot);
            advance(2500);
            EXPECT_EQ(visible(screen->banners->correctBanner), c.correct);
            EXPECT_EQ(visible(screen->wrongPanel), !c.correct);
            if (!c.correct) {
                EXPECT_EQ(screen->wrongPanel->question->caption(), QStringLiteral("Capital?"));
                EXPECT_EQ(screen->wrongPanel->chosen->caption(), c.text);
                EXPECT_EQ(screen->wrongPanel->correct->caption(), QStringLiteral("Paris"));
            }
            break;
        }
    }
}

// Right: the flashing picture with its notes for 4 s, then the ladder. The covers turn navy.
TEST_F(AnswerTest, CorrectAnswerFlashesThenStartsTheLadder) {
    create();
    switchSoundOn();
    startGame();
    ASSERT_TRUE(waitForAnswers());
    choose(correctSlot());
    clearMidi();
    advance(2500);
    EXPECT_TRUE(visible(screen->banners->correctBanner));
    EXPECT_TRUE(shows(screen->banners->correctBanner, screen->banners->correctLitPicture));
    EXPECT_FALSE(visible(screen->questionArea->questionLabel));
    EXPECT_FALSE(visible(screen->questionArea->answerTexts[0]));
    for (const Shape* cover : screen->questionArea->answerRows)
        EXPECT_EQ(cover->brushColor(), Navy);
    advance(120);
    EXPECT_TRUE(shows(screen->banners->correctBanner, screen->banners->correctLitPicture));
    advance(120);
    EXPECT_TRUE(shows(screen->banners->correctBanner, screen->banners->correctDimPicture));
    advance(120);
    EXPECT_TRUE(shows(screen->banners->correctBanner, screen->banners->correctLitPicture));
    EXPECT_EQ(notes(CorrectStatus), (std::vector<int>{75, 45, 75}));
    advance(4000 - 360 - 1);
    EXPECT_FALSE(screen->ladder->isShowing());
    advance(1);
    EXPECT_TRUE(screen->ladder->isShowing());
    EXPECT_FALSE(visible(screen->banners->correctBanner));
    EXPECT_FALSE(screen->game.timer(QuizGame::GameTimer::CorrectFlash).enabled());
    EXPECT_EQ(screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(visible(screen->ladder->pressStopPrompt));
}

// Wrong: the panel, the 46 falling notes and silence; OK before the end stops the tone, and
// the next question comes with a fresh, faster gauge.
TEST_F(AnswerTest, WrongPanelPlaysTheFallRunAndOkMovesOn) {
    create();
    switchSoundOn();
    startGame();
    answerWrong();
    ASSERT_TRUE(visible(screen->wrongPanel));
    EXPECT_EQ(screen->wrongPanel->okFrame->bevelOuter(), Bevel::None);
    clearMidi();
    advance(24 * 60);
    std::vector<int> expected;
    for (int note = 74; note >= 29; --note)
        expected.push_back(note);
    EXPECT_EQ(notes(FallStatus), expected);
    EXPECT_EQ(sent().size(), expected.size());

    // The buttons do nothing while the panel is open.
    const std::array<int, 4> lit = screen->display.buttonLit;
    for (int answer = 0; answer < 4; ++answer)
        choose(answer);
    EXPECT_EQ(screen->display.buttonLit, lit);

    screen->wrongPanel->raiseOk();
    EXPECT_EQ(screen->wrongPanel->okFrame->bevelOuter(), Bevel::Raised);
    screen->wrongPanel->flattenOk();
    EXPECT_EQ(screen->wrongPanel->okFrame->bevelOuter(), Bevel::None);

    screen->wrongPanel->confirm();
    EXPECT_FALSE(visible(screen->wrongPanel));
    EXPECT_EQ(screen->game.gaugeStepMs(), 140);
    EXPECT_EQ(screen->questionArea->timeGauge->progress(), 100);
    EXPECT_TRUE(screen->questionArea->questionLabel->caption().isEmpty());
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Typing); // the next question, drawn
    EXPECT_EQ(screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    ASSERT_TRUE(waitForAnswers());
    EXPECT_EQ(screen->game.players().credit(), 3);

    // A panel closed early cuts the run short.
    answerWrong();
    clearMidi();
    advance(24 * 5);
    screen->wrongPanel->confirm();
    advance(24 * 50);
    EXPECT_EQ(notes(FallStatus), (std::vector<int>{74, 73, 72, 71, 70}));
}

// Switching sound off while a panel is open freezes the fall run; on again resumes it from
// the same note. With sound off nothing at all is sent.
TEST_F(AnswerTest, FallRunFreezesWithTheSoundSwitch) {
    create();
    switchSoundOn();
    startGame();
    answerWrong();
    clearMidi();
    advance(24 * 3);
    switchSoundOff();
    advance(24 * 10);
    EXPECT_EQ(GamePosition::fallNote(screen->game), 72);
    switchSoundOn();
    advance(24 * 2);
    EXPECT_EQ(notes(FallStatus), (std::vector<int>{74, 73, 72, 71, 70}));

    switchSoundOff();
    screen->wrongPanel->confirm();
    clearMidi();
    loseQuestion();
    answerRight();
    advance(20000);
    EXPECT_TRUE(sent().empty());
}

// Time up: 100 gauge steps at 150 ms with falling ticks, then the TimeOut panel with the
// question and the correct answer; the buttons do nothing while it is open.
TEST_F(AnswerTest, GaugeRunsOutIntoTheTimeOutPanel) {
    create();
    switchSoundOn();
    startGame();
    ASSERT_TRUE(waitForAnswers());
    const QString question = screen->questionArea->questionLabel->caption();
    clearMidi();
    // The gauge ticks on its own 150 ms grid; find its first step after the answers opened.
    ASSERT_TRUE(advanceUntil([this] { return screen->questionArea->timeGauge->progress() == 99; }, 200));
    advance(150 * 98);
    EXPECT_EQ(screen->questionArea->timeGauge->progress(), 1);
    EXPECT_FALSE(visible(screen->timeOutPanel));
    advance(150);
    EXPECT_TRUE(visible(screen->timeOutPanel));
    EXPECT_EQ(screen->questionArea->timeGauge->progress(), 100);
    EXPECT_FALSE(screen->game.answersOpen());
    EXPECT_FALSE(visible(screen->questionArea->timeGauge));
    EXPECT_EQ(screen->timeOutPanel->question->caption(), question);
    EXPECT_EQ(screen->timeOutPanel->correct->caption(), screen->game.draw().correctAnswer());
    EXPECT_EQ(screen->timeOutPanel->okFrame->bevelOuter(), Bevel::None);
    const std::vector<int> ticks = notes(TickStatus);
    ASSERT_EQ(ticks.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        const int p = 99 - i;
        EXPECT_EQ(ticks[static_cast<std::size_t>(i)], 95 - (100 - p) / 4) << "P " << p;
    }
    EXPECT_EQ(ticks.front(), 95);
    EXPECT_EQ(ticks.back(), 70);

    for (int answer = 0; answer < 4; ++answer)
        choose(answer);
    EXPECT_EQ(screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    advance(3000);
    EXPECT_EQ(notes(TickStatus).size(), 100u); // the hidden gauge stays silent
    screen->timeOutPanel->raiseOk();
    EXPECT_EQ(screen->timeOutPanel->okFrame->bevelOuter(), Bevel::Raised);
    screen->timeOutPanel->flattenOk();
    EXPECT_EQ(screen->timeOutPanel->okFrame->bevelOuter(), Bevel::None);
    screen->timeOutPanel->confirm();
    EXPECT_FALSE(visible(screen->timeOutPanel));
    ASSERT_TRUE(waitForAnswers());
}

// A chosen answer stops the gauge where it stands.
TEST_F(AnswerTest, ChoiceStopsTheGauge) {
    create();
    startGame();
    ASSERT_TRUE(waitForAnswers());
    advance(150 * 10);
    const int left = screen->questionArea->timeGauge->progress();
    EXPECT_LT(left, 100);
    choose(0);
    advance(2000);
    EXPECT_EQ(screen->questionArea->timeGauge->progress(), left);
}

// OK at credit 0 in a one-player game: the game-over picture, the final scores 4 s later.
TEST_F(AnswerTest, OkWithNoCreditLeftEndsTheGame) {
    create();
    startGame();
    GamePosition::setCredit(screen->game, 1);
    answerWrong();
    EXPECT_EQ(screen->game.players().credit(), 0);
    screen->wrongPanel->confirm();
    EXPECT_FALSE(visible(screen->wrongPanel));
    EXPECT_TRUE(visible(screen->banners->gameOverBanner));
    EXPECT_FALSE(screen->game.timer(QuizGame::GameTimer::Reveal).enabled());
    EXPECT_FALSE(screen->endGameAction->isVisible());
    advance(4000);
    EXPECT_TRUE(visible(screen->finalScorePanel));
    EXPECT_EQ(screen->finalScorePanel->names[0]->caption(), QStringLiteral("Player One"));
    EXPECT_EQ(screen->finalScorePanel->scores[0]->caption(), QStringLiteral("5"));
}
