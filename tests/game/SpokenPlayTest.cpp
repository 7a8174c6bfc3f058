#include "SpokenPlay.h"
#include "FinalScoresPanel.h"
#include "GamePosition.h"
#include "GameFixture.h"
#include "SpokenTexts.h"

#include <QMenu>

namespace {

// A game played with the keys and spoken play: what the speaker is told, in order.
class SpokenPlayTest : public RealInputFixture {
protected:
    void createSpeaking() {
        createShown();
        speakAction()->setChecked(true);
    }
    QAction* speakAction() const { return screen->spokenPlay->speakAction(); }

    // The key of an answer, A to D.
    void answerKey(int slot) { key(Qt::Key_A + slot); }

    // Waits until the answers show and have been spoken; notes the question and the answers
    // as what should have been said.
    void waitForSpokenAnswers() {
        ASSERT_TRUE(waitForAnswers());
        expected << SpokenTexts::question(screen->game.draw().question());
        const auto& shown = screen->game.draw().answers();
        expected << SpokenTexts::answers(QStringList(shown.begin(), shown.end()));
        EXPECT_TRUE(screen->game.timeLimitHeld());
        ASSERT_TRUE(advanceUntil([this] { return !screen->game.timeLimitHeld(); }));
    }
    // A wrong answer by its key, the verdict and its OK.
    void loseByKey() {
        waitForSpokenAnswers();
        answerKey(wrongSlot());
        advance(2500);
        ASSERT_TRUE(visible(screen->wrongPanel));
        expected << SpokenTexts::wrong(screen->game.draw().correctAnswer());
        key(Qt::Key_Return);
    }

    QStringList expected;
};

// One player with the keys alone: each phase says its line, in order, from the player entry
// to the final score, and attract mode is silent.
TEST_F(SpokenPlayTest, OnePlayerRightThenWrong) {
    createSpeaking();
    key(Qt::Key_Return); // START
    expected << SpokenTexts::playerEntry();
    key(Qt::Key_Return); // no names: one player
    waitForSpokenAnswers();
    answerKey(correctSlot());
    advance(2500);
    expected << QStringLiteral("Correct");
    ASSERT_TRUE(advanceUntil([this] { return screen->ladder->isShowing(); }));
    expected << QStringLiteral("Press Stop");
    advance(730);
    key(Qt::Key_Return); // STOP
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::Prize);
    expected << SpokenTexts::prize(dollarsOf(screen->game.ladder().prize()));
    advance(2000);
    GamePosition::setCredit(screen->game, 1); // the next question is the last
    loseByKey();
    ASSERT_TRUE(visible(screen->banners->gameOverBanner));
    expected << QStringLiteral("Game over");
    advance(4000);
    ASSERT_TRUE(visible(screen->finalScorePanel));
    expected << QStringLiteral("Final score: ") + screen->finalScorePanel->scores[0]->caption();
    EXPECT_EQ(speaker.texts(), expected);

    key(Qt::Key_Return);
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Attract);
    EXPECT_FALSE(speaker.isSpeaking());
    advance(10000);
    EXPECT_EQ(speaker.texts(), expected);
}

// A question that runs out of time says so with the correct answer; its time limit started
// only once the answers had been spoken. The same with the MIDI sound off and on.
TEST_F(SpokenPlayTest, TimeOutAfterTheAnswersWereSpoken) {
    for (const bool sound : {false, true}) {
        SCOPED_TRACE(sound ? "sound on" : "sound off");
        createSpeaking();
        if (sound)
            switchSoundOn();
        else
            switchSoundOff();
        clearMidi();
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        ASSERT_TRUE(waitForAnswers());
        const std::int64_t opened = clock.now();
        ASSERT_TRUE(advanceUntil([this] { return !screen->game.timeLimitHeld(); }));
        const std::int64_t spoken = clock.now();
        const auto& answers = speaker.utterances().back();
        EXPECT_TRUE(answers.text.startsWith(QStringLiteral("A: ")));
        EXPECT_EQ(answers.endedAt, spoken);
        EXPECT_TRUE(answers.finished);
        EXPECT_GT(spoken - opened, RecordingSpeaker::durationOf(answers.text) - 1);
        EXPECT_EQ(screen->game.timeLeft(), QuizGame::fullTime);

        ASSERT_TRUE(advanceUntil([this] { return visible(screen->timeOutPanel); }));
        const int interval = screen->game.gaugeStepMs();
        EXPECT_GE(clock.now() - spoken, 99 * interval);
        EXPECT_LE(clock.now() - spoken, 100 * interval);
        EXPECT_EQ(speaker.texts().back(),
                  QStringLiteral("Time out — the answer was ") + screen->game.draw().correctAnswer());
        EXPECT_EQ(sent().empty(), !sound);
    }
}

// Two players: whose turn it is, who is out, and both final scores are said.
TEST_F(SpokenPlayTest, TwoPlayersTurnsAndScores) {
    createSpeaking();
    key(Qt::Key_Return);
    expected << SpokenTexts::playerEntry();
    setNames({QStringLiteral("Ann"), QStringLiteral("Bob")});
    key(Qt::Key_Return);
    GamePosition::setPlayerCredits(screen->game, {1, 2, 0, 0});
    expected << QStringLiteral("Ann's turn");
    advance(2500);
    loseByKey(); // Ann: 0
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::PlayerOut);
    expected << QStringLiteral("Ann is out");
    advance(2500);
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::GetReady);
    expected << QStringLiteral("Bob's turn");
    advance(2500);
    loseByKey(); // Bob: 1
    expected << QStringLiteral("Bob's turn");
    advance(2500);
    loseByKey(); // Bob: 0, nobody left
    expected << QStringLiteral("Game over");
    advance(4000);
    ASSERT_TRUE(visible(screen->finalScorePanel));
    expected << QStringLiteral("Final scores. Ann: %1. Bob: %2")
                    .arg(screen->finalScorePanel->scores[0]->caption(), screen->finalScorePanel->scores[1]->caption());
    EXPECT_EQ(speaker.texts(), expected);
}

// The answers follow the question instead of cutting it off; a key press never waits for
// them: it answers at once and cuts them short.
TEST_F(SpokenPlayTest, AnswersFollowTheQuestionAndKeysDoNotWait) {
    createSpeaking();
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    ASSERT_TRUE(waitForAnswers());
    // "Question 1" takes longer to say than to type: it is still being said.
    ASSERT_TRUE(speaker.isSpeaking());
    EXPECT_EQ(speaker.texts().back(), SpokenTexts::question(screen->game.draw().question()));
    ASSERT_TRUE(advanceUntil([this] { return speaker.texts().back().startsWith("A: "); }));
    EXPECT_TRUE(speaker.utterances()[speaker.utterances().size() - 2].finished);
    advance(100);
    answerKey(correctSlot());
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Judging);
    EXPECT_FALSE(speaker.isSpeaking());
    EXPECT_FALSE(speaker.utterances().back().finished);
    EXPECT_EQ(speaker.utterances().back().endedAt, clock.now());
}

// The game never waits on speech that fails or is switched off: a failed answers line, or
// Speak switched off while the answers are said, starts the time limit at once.
TEST_F(SpokenPlayTest, TimeLimitReleasedWhenSpeechFailsOrStops) {
    for (const bool switchOff : {false, true}) {
        SCOPED_TRACE(switchOff ? "Speak switched off" : "the engine failed");
        createSpeaking();
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        ASSERT_TRUE(waitForAnswers());
        speaker.failCurrentLine(); // the question: the answers are said all the same
        ASSERT_TRUE(speaker.texts().back().startsWith(QStringLiteral("A: ")));
        EXPECT_TRUE(screen->game.timeLimitHeld());
        advance(300);
        EXPECT_EQ(screen->game.timeLeft(), QuizGame::fullTime);
        if (switchOff)
            speakAction()->trigger();
        else
            speaker.failCurrentLine();
        EXPECT_FALSE(screen->game.timeLimitHeld());
        EXPECT_FALSE(speaker.isSpeaking());
        advance(screen->game.gaugeStepMs());
        EXPECT_EQ(screen->game.timeLeft(), QuizGame::fullTime - 1);
        EXPECT_EQ(settings.speak(), switchOff ? QStringLiteral("NO") : QStringLiteral("YES"));
    }
}

// With Speak off (the default) a game says nothing and its time limit never waits.
TEST_F(SpokenPlayTest, SpeakOffSaysNothing) {
    createShown();
    EXPECT_FALSE(speakAction()->isChecked());
    EXPECT_TRUE(speakAction()->isEnabled());
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    ASSERT_TRUE(waitForAnswers());
    EXPECT_FALSE(screen->game.timeLimitHeld());
    ASSERT_TRUE(advanceUntil([this] { return visible(screen->timeOutPanel); }));
    key(Qt::Key_Return);
    advance(5000);
    EXPECT_TRUE(speaker.texts().isEmpty());
}

// The stored "Speak" option is the entry's check mark at start, and the entry stores it.
TEST_F(SpokenPlayTest, SpeakOptionIsStored) {
    settings.setSpeak(QStringLiteral("YES"));
    createShown();
    EXPECT_TRUE(speakAction()->isChecked());
    speakAction()->trigger();
    EXPECT_EQ(settings.speak(), QStringLiteral("NO"));
    speakAction()->trigger();
    EXPECT_EQ(settings.speak(), QStringLiteral("YES"));
}

// Without any speech engine the entry is disabled, its tip says why, and a game stored with
// Speak on plays silently without waiting for speech.
TEST_F(SpokenPlayTest, NoEngineDisablesTheEntry) {
    settings.setSpeak(QStringLiteral("YES"));
    speaker.makeUnavailable(QStringLiteral("No sound output for speech"));
    createShown();
    EXPECT_FALSE(speakAction()->isEnabled());
    EXPECT_EQ(speakAction()->toolTip(), QStringLiteral("No sound output for speech"));
    EXPECT_TRUE(screen->soundMenu->toolTipsVisible());
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    ASSERT_TRUE(waitForAnswers());
    EXPECT_FALSE(screen->game.timeLimitHeld());
    advance(screen->game.gaugeStepMs());
    EXPECT_EQ(screen->game.timeLeft(), QuizGame::fullTime - 1);
    EXPECT_TRUE(speaker.texts().isEmpty());

    // No speaker at all: the same, with the reason that nothing is installed.
    QuizGame game(clock, programDir(), {});
    QMenu menu;
    SpokenPlay none(game, nullptr, settings, &menu);
    EXPECT_FALSE(none.speakAction()->isEnabled());
    EXPECT_EQ(none.speakAction()->toolTip(), QStringLiteral("No speech engine is installed"));
    emit game.phaseChanged(QuizGame::Phase::AnswersOpen);
    EXPECT_FALSE(game.timeLimitHeld());
}

// Where the game moves on by itself, the next line waits instead of cutting one off: the
// question waits for the prize, the answers for the question; a key (here the answer that
// starts the judgement) still cuts everything short.
TEST(SpokenPlayRulesTest, PrizeAndQuestionAreHeardWhole) {
    ManualClock clock;
    TestSettingsFolder folder;
    Settings settings;
    settings.setSpeak(QStringLiteral("YES"));
    RecordingSpeaker speaker(clock);
    QuizGame game(clock, QString(), {});
    QMenu menu;
    SpokenPlay spoken(game, &speaker, settings, &menu);
    ASSERT_TRUE(spoken.speaking());

    GamePosition::setPrize(game, Lamp::FifteenDollars);
    emit game.phaseChanged(QuizGame::Phase::Prize);
    GamePosition::setQuestion(game, QStringLiteral("Which planet is known as the red planet?"),
                              {QStringLiteral("Venus"), QStringLiteral("Mars"),
                               QStringLiteral("Jupiter"), QStringLiteral("Saturn")},
                              QStringLiteral("Mars"));
    emit game.phaseChanged(QuizGame::Phase::Typing);
    emit game.phaseChanged(QuizGame::Phase::AnswersOpen);
    EXPECT_EQ(speaker.texts(), QStringList{QStringLiteral("You win 15 dollars")});
    EXPECT_TRUE(game.timeLimitHeld());

    clock.advance(RecordingSpeaker::durationOf(QStringLiteral("You win 15 dollars")));
    EXPECT_EQ(speaker.texts().size(), 2);
    clock.advance(RecordingSpeaker::durationOf(game.draw().question()));
    EXPECT_EQ(speaker.texts(),
              (QStringList{QStringLiteral("You win 15 dollars"), game.draw().question(),
                           QStringLiteral("A: Venus, B: Mars, C: Jupiter, D: Saturn")}));
    EXPECT_TRUE(speaker.utterances()[0].finished);
    EXPECT_TRUE(speaker.utterances()[1].finished);
    EXPECT_TRUE(game.timeLimitHeld());

    // After the last prize a question may be drawn that is never played: "Game over" follows
    // the prize, and the question is not said.
    emit game.phaseChanged(QuizGame::Phase::Prize);
    emit game.phaseChanged(QuizGame::Phase::Typing);
    emit game.phaseChanged(QuizGame::Phase::GameOver);
    clock.advance(10000);
    EXPECT_EQ(speaker.texts().mid(3),
              (QStringList{QStringLiteral("You win 15 dollars"), QStringLiteral("Game over")}));
    EXPECT_TRUE(speaker.utterances()[3].finished);
    emit game.phaseChanged(QuizGame::Phase::Typing);
    emit game.phaseChanged(QuizGame::Phase::GameOver);
    EXPECT_EQ(speaker.texts().mid(5),
              (QStringList{game.draw().question(), QStringLiteral("Game over")}));
    EXPECT_FALSE(speaker.utterances()[5].finished);

    // The next question waits behind another prize, and the answer cuts both short.
    emit game.phaseChanged(QuizGame::Phase::Judging);
    EXPECT_FALSE(game.timeLimitHeld());
    emit game.phaseChanged(QuizGame::Phase::Prize);
    emit game.phaseChanged(QuizGame::Phase::Typing);
    emit game.phaseChanged(QuizGame::Phase::AnswersOpen);
    emit game.phaseChanged(QuizGame::Phase::Judging);
    clock.advance(10000);
    EXPECT_EQ(speaker.texts().size(), 8);
    EXPECT_FALSE(speaker.isSpeaking());
    EXPECT_FALSE(game.timeLimitHeld());
}

} // namespace

// A score that ranks in the hall of fame: the name entry says whose place it is and what to do.
TEST_F(SpokenPlayTest, NameEntryIsAnnounced) {
    openScores();
    createSpeaking();
    key(Qt::Key_Return);
    setNames({QStringLiteral("Anna")});
    key(Qt::Key_Return);
    ASSERT_TRUE(waitForAnswers());
    dialogs.answer(MsgButton::Yes);
    screen->endGameAction->trigger();
    key(Qt::Key_Return);
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::NameEntry);
    EXPECT_EQ(
        speaker.texts().back(),
        QStringLiteral("Anna, 1st place in the hall of fame: type your name, then press Enter"));
    EXPECT_TRUE(speaker.isSpeaking());
}
