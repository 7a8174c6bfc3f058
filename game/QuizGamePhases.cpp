// The phase table: for each phase, the timers it runs and the commands it accepts. Entering a
// phase stops every game timer and starts the phase's own, so no timer of an old phase can run
// on and no resume can bring one back.
#include "QuizGame.h"

#include <initializer_list>

namespace {
using Phase = QuizGame::Phase;
using Command = QuizGame::Command;
using GameTimer = QuizGame::GameTimer;

template <typename E>
constexpr unsigned bitsOf(std::initializer_list<E> items) {
    unsigned bits = 0;
    for (E item : items)
        bits |= 1u << static_cast<unsigned>(item);
    return bits;
}

struct PhaseRule {
    Phase phase;
    unsigned timers;   // bits of GameTimer
    unsigned commands; // bits of Command
};

using C = Command;
using T = GameTimer;
// Every phase after the first turn's start may be ended from the menu, up to game over.
constexpr unsigned duringTurns = bitsOf({C::EndGame});

constexpr PhaseRule phaseTable[QuizGame::phaseCount] = {
    {Phase::Attract, 0, bitsOf({C::Start, C::Enter})},
    {Phase::PlayerEntry, 0, bitsOf({C::Start, C::ConfirmPlayers, C::Enter})},
    {Phase::GetReady, bitsOf({T::Ready}), duringTurns},
    {Phase::Typing, bitsOf({T::Reveal}), duringTurns},
    {Phase::AnswersOpen, bitsOf({T::TimeGauge}), duringTurns | bitsOf({C::ChooseAnswer})},
    {Phase::Judging, bitsOf({T::Judgement}), duringTurns},
    {Phase::Correct, bitsOf({T::QuestionEnd, T::CorrectFlash}), duringTurns},
    {Phase::Wrong, bitsOf({T::FallRun}), duringTurns | bitsOf({C::ConfirmPanel, C::Enter})},
    {Phase::TimeOut, bitsOf({T::FallRun}), duringTurns | bitsOf({C::ConfirmPanel, C::Enter})},
    {Phase::Ladder, bitsOf({T::LadderLight, T::LadderTimeLimit}),
     duringTurns | bitsOf({C::Stop, C::Enter})},
    {Phase::Prize, bitsOf({T::PrizeDisplay, T::PrizeFlash}), duringTurns},
    {Phase::PlayerOut, bitsOf({T::PlayerOut}), duringTurns},
    {Phase::GameOver, bitsOf({T::GameOver}), 0},
    {Phase::FinalScores, 0, bitsOf({C::ConfirmPanel, C::Enter})},
    {Phase::NameEntry, 0, bitsOf({C::FinishNameEntry})},
};

constexpr bool tableInPhaseOrder() {
    for (int i = 0; i < QuizGame::phaseCount; ++i)
        if (static_cast<int>(phaseTable[i].phase) != i) return false;
    return true;
}
static_assert(tableInPhaseOrder(), "one row per phase, in the order of QuizGame::Phase");

const PhaseRule& ruleOf(Phase phase) {
    return phaseTable[static_cast<int>(phase)];
}

// The falling run's first note, and the lowest it plays.
constexpr std::uint8_t fallStartNote = 75;
} // namespace

bool QuizGame::accepts(Command command) const {
    if (!(ruleOf(m_phase).commands & (1u << static_cast<unsigned>(command)))) return false;
    // The first Get Ready comes before any turn: there is no game to end yet.
    return command != Command::EndGame || m_gameRunning;
}

void QuizGame::forgetTimers() {
    for (Timer* t : m_timers) {
        t->stop();
        t->tag = 0;
    }
}

void QuizGame::setPhase(Phase phase) {
    forgetTimers();
    m_phase = phase;
    // The phase's own state starts afresh.
    switch (phase) {
    case Phase::Typing:
        m_chosenAnswer = -1;
        m_typedLength = 0;
        break;
    case Phase::AnswersOpen:
    case Phase::Attract:
        m_timeLimitHeld = false;
        break;
    case Phase::Correct:
        m_correctFlashPhase = 0;
        break;
    case Phase::Wrong:
    case Phase::TimeOut:
        m_fallNote = fallStartNote;
        break;
    case Phase::Ladder:
        m_ladder.start();
        break;
    case Phase::Prize:
        m_prizeLampLit = true;
        break;
    case Phase::FinalScores:
        m_standings = m_players.standings();
        break;
    default:
        break;
    }
    const unsigned timers = ruleOf(phase).timers;
    for (int i = 0; i < timerCount; ++i)
        if (timers & (1u << static_cast<unsigned>(i))) m_timers[static_cast<std::size_t>(i)]->start();
    emit phaseChanged(phase);
    emit offersChanged();
}
