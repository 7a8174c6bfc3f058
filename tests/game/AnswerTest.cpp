#include "GameFixture.h"

#include <QTest>

namespace {
constexpr std::uint8_t AnswerStatus = 0x92;
constexpr std::uint8_t TickStatus = 0x93;
constexpr std::uint8_t FallStatus = 0x95;
constexpr std::uint8_t CorrectStatus = 0x97;
const QColor Navy(0x00, 0x00, 0x80);
const QColor Blue(0x00, 0x00, 0xFF);
} // namespace

using AnswerTest = TGameFixture;

// DrawButtons gives each of the five buttons its lit or unlit picture and flag.
TEST_F(AnswerTest, DrawButtonsSetsPicturesAndFlags) {
    Create();
    TQuizScreen& q = *Screen;
    const std::array<std::array<bool, 5>, 3> rows = {
        {{true, false, true, false, true}, {false, true, false, true, false}, {}}};
    for (const auto& row : rows) {
        q.DrawButtons(row[0], row[1], row[2], row[3], row[4]);
        const TImage* lit[5] = {q.AIn, q.Bin, q.CIn, q.Din, q.StartIn};
        const TImage* unlit[5] = {q.AOut, q.Bout, q.Cout, q.Dout, q.StartOut};
        const TImage* buttons[5] = {q.RedT, q.GreenT, q.BlueT, q.YellowT, q.StartT};
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_TRUE(Shows(buttons[i], row[i] ? lit[i] : unlit[i])) << i;
            const int flag = i < 4 ? q.display.buttonLit[i] : q.display.startLit;
            EXPECT_EQ(flag, row[i] ? 1 : 0) << i;
        }
    }
}

// Each of the sixteen answer controls chooses its answer: the button lights, the cover turns
// blue, the answers close and the press sounds its note.
TEST_F(AnswerTest, EveryAnswerControlChoosesItsAnswer) {
    Create();
    const int notes[4] = {55, 60, 65, 70};
    for (int answer = 0; answer < 4; ++answer) {
        const auto k = static_cast<std::size_t>(answer);
        for (int which = 0; which < 4; ++which) {
            CreateScreen();
            SoundOn();
            StartGame();
            ASSERT_TRUE(WaitForAnswers());
            ClearMidi();
            QObject* controls[4] = {Button(answer), Screen->Answer[k], Screen->Cap[k],
                                    Screen->Cover[k]};
            SCOPED_TRACE(controls[which]->objectName().toStdString());
            Screen->RedTMouseDown(controls[which]);
            for (std::size_t i = 0; i < 4; ++i) {
                EXPECT_EQ(Screen->display.buttonLit[i], i == k ? 1 : 0);
                EXPECT_EQ(Screen->Cover[i]->BrushColor(), i == k ? Blue : Navy);
            }
            EXPECT_FALSE(Screen->game.answersOpen);
            EXPECT_TRUE(Screen->Timer5->Enabled());
            EXPECT_EQ(Sent(), (std::vector<TRecordingMidiPlatform::TShortMsg>{
                                  {AnswerStatus, static_cast<std::uint8_t>(notes[answer]), 120}}));
        }
    }
}

// Any mouse button on an answer chooses it; a second choice, START, or a press before the
// answers are out changes nothing.
TEST_F(AnswerTest, OnlyTheFirstChoiceWhileAnswersAreOpenCounts) {
    Create();
    StartGame();
    Advance(17 * 3);
    Choose(0); // still typing
    EXPECT_EQ(Screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    ASSERT_TRUE(WaitForAnswers());
    Screen->RedTMouseDown(Screen->StartT);
    EXPECT_FALSE(Visible(Screen->PlayerPanel));
    EXPECT_TRUE(Screen->game.answersOpen);
    QTest::mousePress(Screen->Answer[2], Qt::RightButton);
    QTest::mouseRelease(Screen->Answer[2], Qt::RightButton);
    EXPECT_EQ(Screen->display.buttonLit, (std::array<int, 4>{0, 0, 1, 0}));
    Advance(1000);
    Choose(1); // a second answer within the 2.5 s
    Screen->RedTMouseDown(Screen->Cover[3]);
    EXPECT_EQ(Screen->display.buttonLit, (std::array<int, 4>{0, 0, 1, 0}));
    // The question tick reopens AnswersOpen, but the lit button still refuses a choice.
    EXPECT_TRUE(Screen->game.answersOpen);
    Advance(1499);
    EXPECT_TRUE(Screen->Timer5->Enabled());
    Advance(1);
    EXPECT_FALSE(Screen->Timer5->Enabled());
    EXPECT_FALSE(Visible(Screen->QuestionBlock));
}

// The judgement compares the chosen caption with the correct answer exactly: a duplicate of
// the correct text in another slot is right, a case variant is wrong.
TEST_F(AnswerTest, JudgementComparesTheWholeTextExactly) {
    QstFixtures::WriteSet(StartupFile(),
                          {QstFixtures::Question("Capital?", "Paris", "Paris", "paris", "PARIS ")});
    CreateScreen();
    struct Case {
        QString Text;
        bool Correct;
    };
    const Case cases[] = {{"Paris", true}, {"paris", false}, {"PARIS ", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        for (int slot = 0; slot < 4; ++slot) {
            CreateScreen();
            StartGame();
            ASSERT_TRUE(WaitForAnswers());
            if (Screen->Answer[static_cast<std::size_t>(slot)]->Caption() != c.Text) continue;
            Choose(slot);
            Advance(2500);
            EXPECT_EQ(Visible(Screen->MARK4), c.Correct);
            EXPECT_EQ(Visible(Screen->Wrong), !c.Correct);
            if (!c.Correct) {
                EXPECT_EQ(Screen->Q1->Caption(), QStringLiteral("Capital?"));
                EXPECT_EQ(Screen->Q2->Caption(), c.Text);
                EXPECT_EQ(Screen->Q3->Caption(), QStringLiteral("Paris"));
            }
            break;
        }
    }
}

// Right: the flashing picture with its notes for 4 s, then the ladder. The covers turn navy.
TEST_F(AnswerTest, CorrectAnswerFlashesThenStartsTheLadder) {
    Create();
    SoundOn();
    StartGame();
    ASSERT_TRUE(WaitForAnswers());
    Choose(CorrectSlot());
    ClearMidi();
    Advance(2500);
    EXPECT_TRUE(Visible(Screen->MARK4));
    EXPECT_TRUE(Shows(Screen->MARK4, Screen->CorrectIn));
    EXPECT_FALSE(Visible(Screen->QuestionBlock));
    EXPECT_FALSE(Visible(Screen->Answer[0]));
    for (const TShape* cover : Screen->Cover)
        EXPECT_EQ(cover->BrushColor(), Navy);
    Advance(120);
    EXPECT_TRUE(Shows(Screen->MARK4, Screen->CorrectIn));
    Advance(120);
    EXPECT_TRUE(Shows(Screen->MARK4, Screen->CorrectOut));
    Advance(120);
    EXPECT_TRUE(Shows(Screen->MARK4, Screen->CorrectIn));
    EXPECT_EQ(Notes(CorrectStatus), (std::vector<int>{75, 45, 75}));
    Advance(4000 - 360 - 1);
    EXPECT_FALSE(Screen->LadderShowing());
    Advance(1);
    EXPECT_TRUE(Screen->LadderShowing());
    EXPECT_FALSE(Visible(Screen->MARK4));
    EXPECT_FALSE(Screen->Timer12->Enabled());
    EXPECT_EQ(Screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(Visible(Screen->HitStop));
}

// Wrong: the panel, the 46 falling notes and silence; OK before the end stops the tone, and
// the next question comes with a fresh, faster gauge.
TEST_F(AnswerTest, WrongPanelPlaysTheFallRunAndOkMovesOn) {
    Create();
    SoundOn();
    StartGame();
    AnswerWrong();
    ASSERT_TRUE(Visible(Screen->Wrong));
    EXPECT_EQ(Screen->OK->BevelOuter(), TBevel::None);
    ClearMidi();
    Advance(24 * 60);
    std::vector<int> expected;
    for (int note = 74; note >= 29; --note)
        expected.push_back(note);
    EXPECT_EQ(Notes(FallStatus), expected);
    EXPECT_EQ(Sent().size(), expected.size());

    // The buttons do nothing while the panel is open.
    const std::array<int, 4> lit = Screen->display.buttonLit;
    for (int answer = 0; answer < 4; ++answer)
        Choose(answer);
    EXPECT_EQ(Screen->display.buttonLit, lit);

    Screen->Image34MouseMove();
    EXPECT_EQ(Screen->OK->BevelOuter(), TBevel::Raised);
    Screen->WrongMouseMove();
    EXPECT_EQ(Screen->OK->BevelOuter(), TBevel::None);

    Screen->Image34MouseDown();
    EXPECT_FALSE(Visible(Screen->Wrong));
    EXPECT_EQ(Screen->Timer4->Interval(), 140);
    EXPECT_EQ(Screen->T2->Progress(), 100);
    EXPECT_TRUE(Screen->QuestionBlock->Caption().isEmpty());
    EXPECT_TRUE(Screen->game.questionText.isEmpty());
    EXPECT_EQ(Screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    ASSERT_TRUE(WaitForAnswers());
    EXPECT_EQ(Screen->game.credit, 3);

    // A panel closed early cuts the run short.
    AnswerWrong();
    ClearMidi();
    Advance(24 * 5);
    Screen->Image34MouseDown();
    Advance(24 * 50);
    EXPECT_EQ(Notes(FallStatus), (std::vector<int>{74, 73, 72, 71, 70}));
}

// Switching sound off while a panel is open freezes the fall run; on again resumes it from
// the same note. With sound off nothing at all is sent.
TEST_F(AnswerTest, FallRunFreezesWithTheSoundSwitch) {
    Create();
    SoundOn();
    StartGame();
    AnswerWrong();
    ClearMidi();
    Advance(24 * 3);
    SoundOff();
    Advance(24 * 10);
    EXPECT_EQ(Screen->display.fallNote, 72);
    SoundOn();
    Advance(24 * 2);
    EXPECT_EQ(Notes(FallStatus), (std::vector<int>{74, 73, 72, 71, 70}));

    SoundOff();
    Screen->Image34MouseDown();
    ClearMidi();
    LoseQuestion();
    AnswerRight();
    Advance(20000);
    EXPECT_TRUE(Sent().empty());
}

// Time up: 100 gauge steps at 150 ms with falling ticks, then the TimeOut panel with the
// question and the correct answer; the buttons do nothing while it is open.
TEST_F(AnswerTest, GaugeRunsOutIntoTheTimeOutPanel) {
    Create();
    SoundOn();
    StartGame();
    ASSERT_TRUE(WaitForAnswers());
    const QString question = Screen->QuestionBlock->Caption();
    ClearMidi();
    // The gauge ticks on its own 150 ms grid; find its first step after the answers opened.
    ASSERT_TRUE(AdvanceUntil([this] { return Screen->T2->Progress() == 99; }, 200));
    Advance(150 * 98);
    EXPECT_EQ(Screen->T2->Progress(), 1);
    EXPECT_FALSE(Visible(Screen->TimeOut));
    Advance(150);
    EXPECT_TRUE(Visible(Screen->TimeOut));
    EXPECT_EQ(Screen->T2->Progress(), 100);
    EXPECT_FALSE(Screen->game.answersOpen);
    EXPECT_FALSE(Visible(Screen->T2));
    EXPECT_EQ(Screen->Q1B->Caption(), question);
    EXPECT_EQ(Screen->Q3B->Caption(), Screen->game.correctAnswer);
    EXPECT_EQ(Screen->OK2->BevelOuter(), TBevel::None);
    const std::vector<int> ticks = Notes(TickStatus);
    ASSERT_EQ(ticks.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        const int p = 99 - i;
        EXPECT_EQ(ticks[static_cast<std::size_t>(i)], 95 - (100 - p) / 4) << "P " << p;
    }
    EXPECT_EQ(ticks.front(), 95);
    EXPECT_EQ(ticks.back(), 70);

    for (int answer = 0; answer < 4; ++answer)
        Choose(answer);
    EXPECT_EQ(Screen->display.buttonLit, (std::array<int, 4>{0, 0, 0, 0}));
    Advance(3000);
    EXPECT_EQ(Notes(TickStatus).size(), 100u); // the hidden gauge stays silent
    Screen->Image49MouseMove();
    EXPECT_EQ(Screen->OK2->BevelOuter(), TBevel::Raised);
    Screen->TimeOutMouseMove();
    EXPECT_EQ(Screen->OK2->BevelOuter(), TBevel::None);
    Screen->Image49MouseDown();
    EXPECT_FALSE(Visible(Screen->TimeOut));
    ASSERT_TRUE(WaitForAnswers());
}

// A chosen answer stops the gauge where it stands.
TEST_F(AnswerTest, ChoiceStopsTheGauge) {
    Create();
    StartGame();
    ASSERT_TRUE(WaitForAnswers());
    Advance(150 * 10);
    const int left = Screen->T2->Progress();
    EXPECT_LT(left, 100);
    Choose(0);
    Advance(2000);
    EXPECT_EQ(Screen->T2->Progress(), left);
}

// OK at credit 0 in a one-player game: the game-over picture, the final scores 4 s later.
TEST_F(AnswerTest, OkWithNoCreditLeftEndsTheGame) {
    Create();
    StartGame();
    Screen->game.credit = 1;
    AnswerWrong();
    EXPECT_EQ(Screen->game.credit, 0);
    Screen->Image34MouseDown();
    EXPECT_FALSE(Visible(Screen->Wrong));
    EXPECT_TRUE(Visible(Screen->GameOver));
    EXPECT_FALSE(Screen->Timer3->Enabled());
    EXPECT_FALSE(Screen->NewGame1->isVisible());
    Advance(4000);
    EXPECT_TRUE(Visible(Screen->FinalScorePanel));
    EXPECT_EQ(Screen->NAME[0]->Caption(), QStringLiteral("Player One"));
    EXPECT_EQ(Screen->SCORE[0]->Caption(), QStringLiteral("5"));
}
