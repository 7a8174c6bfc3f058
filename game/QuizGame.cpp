// The game's commands and turns: what each command does in the phases that accept it, and what
// each timer moves on to.
#include "QuizGame.h"

#include "SoundCues.h"

#include <QDateTime>

namespace {
// Intervals of the game timers, in milliseconds.
constexpr int letterMs = 17;
constexpr int judgementMs = 2500;
constexpr int questionEndMs = 4000;
constexpr int gameOverMs = 4000;
constexpr int ladderStepMs = 100;
constexpr int prizeDisplayMs = 2000;
constexpr int fallNoteMs = 24;
constexpr int prizeFlashMs = 75;
constexpr int correctFlashMs = 120;
constexpr int ladderLimitMs = 10000;
constexpr int readyMs = 2500;
constexpr int playerOutMs = 2500;
// The gauge's fastest step and how much faster each question makes it.
constexpr int fastestGaugeStepMs = 40;
constexpr int gaugeSpeedUpMs = 10;
// The lowest note of the falling run under Wrong and TimeOut.
constexpr std::uint8_t fallLowestNote = 30;
// Velocity of the answer-press cue.
constexpr std::uint8_t answerPressVelocity = 120;
} // namespace

QuizGame::QuizGame(Clock& clock, const QString& programDir, SeedSource seed, QObject* parent)
    : QObject(parent), m_seedSource(std::move(seed)),
      m_draw(programDir + QStringLiteral("/REGD.QST")),
      m_revealTimer(clock, "revealTimer", letterMs, false, 0, [this] { revealNextLetter(); }),
      m_timeGaugeTimer(clock, "timeGaugeTimer", slowestGaugeStepMs, false, 0,
                       [this] { tickTimeGauge(); }),
      m_judgementTimer(clock, "judgementTimer", judgementMs, false, 0, [this] { judgeAnswer(); }),
      m_questionEndTimer(clock, "questionEndTimer", questionEndMs, false, 0,
                         [this] { endQuestion(); }),
      m_gameOverTimer(clock, "gameOverTimer", gameOverMs, false, 0, [this] { showFinalScores(); }),
      m_ladderLightTimer(clock, "ladderLightTimer", ladderStepMs, false, 0,
                         [this] { stepLadderLight(); }),
      m_prizeDisplayTimer(clock, "prizeDisplayTimer", prizeDisplayMs, false, 0,
                          [this] { endPrizeDisplay(); }),
      m_fallRunTimer(clock, "fallRunTimer", fallNoteMs, false, 0, [this] { playFallNote(); }),
      m_prizeFlashTimer(clock, "prizeFlashTimer", prizeFlashMs, false, 0,
                        [this] { flashPrizeLamp(); }),
      m_correctFlashTimer(clock, "correctFlashTimer", correctFlashMs, false, 0,
                          [this] { flashCorrectBanner(); }),
      m_ladderTimeLimit(clock, "ladderTimeLimit", ladderLimitMs, false, 0,
                        [this] { stopLadderAtTimeLimit(); }),
      m_readyTimer(clock, "readyTimer", readyMs, false, 0, [this] { startTurn(); }),
      m_playerOutTimer(clock, "playerOutTimer", playerOutMs, false, 0,
                       [this] { selectNextPlayer(); }),
      m_timers{&m_revealTimer,     &m_timeGaugeTimer,    &m_judgementTimer,    &m_questionEndTimer,
               &m_gameOverTimer,   &m_ladderLightTimer,  &m_prizeDisplayTimer, &m_fallRunTimer,
               &m_prizeFlashTimer, &m_correctFlashTimer, &m_ladderTimeLimit,   &m_readyTimer,
               &m_playerOutTimer} {}

QuizGame::~QuizGame() = default;

std::array<const Timer*, QuizGame::timerCount> QuizGame::timers() const {
    std::array<const Timer*, timerCount> all{};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = m_timers[i];
    return all;
}

int QuizGame::gaugeStepMs() const {
    return m_timeGaugeTimer.interval();
}

int QuizGame::fasterGaugeStep(int stepMs) {
    return stepMs >= fastestGaugeStepMs + gaugeSpeedUpMs ? stepMs - gaugeSpeedUpMs : stepMs;
}

Lamp QuizGame::litLamp() const {
    if (m_phase == Phase::Ladder) return m_ladder.lit();
    if (m_phase == Phase::Prize && m_prizeLampLit) return m_ladder.prize();
    return Lamp::None;
}

void QuizGame::setGameRunning(bool running) {
    m_gameRunning = running;
    // A turn's start closes the question editor for the game; the reset opens it again.
    m_editingReopened = false;
}

// ---- Resetting and the question set

void QuizGame::enterAttractMode() {
    forgetTimers();
    setGameRunning(false);
    m_draw.seed(m_seedSource ? m_seedSource()
                             : static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));
    m_draw.clear();
    m_players.resetForAttractMode();
    m_timeLeft = fullTime;
    m_timeGaugeTimer.setInterval(slowestGaugeStepMs);
    showCredit();
    showTime();
    m_phase = Phase::Attract;
    useQuestionFile(m_draw.startupFile(), ReaderRules::GameStartup);
    setPhase(Phase::Attract);
}

bool QuizGame::useQuestionFile(const QString& path, const ReaderRuleSet& rules) {
    const QString warning = m_draw.select(path, rules);
    if (warning.isEmpty()) return true;
    emit warningRaised(warning);
    return false;
}

bool QuizGame::drawQuestion() {
    // Without a set, or with one that went bad since it was checked, the warning shows once
    // and the game ends so the scores still show.
    const QString warning = m_draw.drawNext();
    if (warning.isEmpty()) return true;
    emit warningRaised(warning);
    setPhase(Phase::GameOver);
    return false;
}

// ---- Players and turns

void QuizGame::pressStart() {
    if (!accepts(Command::Start)) return;
    if (!m_draw.hasFile()) {
        emit warningRaised(QuestionDraw::selectQuestionFileMessage);
        return;
    }
    setPhase(Phase::PlayerEntry);
}

void QuizGame::setPlayerName(int slot, const QString& name) {
    m_players.setName(slot, name);
}

void QuizGame::confirmPlayers() {
    if (!accepts(Command::ConfirmPlayers)) return;
    // A set changed for a bad one while the names were typed: no game without questions.
    // The entry stays open so that another set can be chosen.
    if (!m_draw.hasFile()) {
        emit warningRaised(QuestionDraw::selectQuestionFileMessage);
        return;
    }
    m_players.giveStartingCredits();
    showCredit();
    selectNextPlayer();
}

void QuizGame::selectNextPlayer() {
    if (!m_players.multiplayer()) {
        startTurn();
        return;
    }
    // Nobody has credit left to play: the game is over.
    if (!m_players.anyoneHasCredit()) {
        setPhase(Phase::GameOver);
        return;
    }
    // The player at the controls is out: say so before the next player's turn.
    if (m_players.credit() == 0 && m_phase != Phase::PlayerOut) {
        setPhase(Phase::PlayerOut);
        return;
    }
    m_players.passTurn();
    showCredit();
    setPhase(Phase::GetReady);
}

void QuizGame::startTurn() {
    setGameRunning(true);
    if (drawQuestion()) setPhase(Phase::Typing);
}

// ---- The question

void QuizGame::revealNextLetter() {
    if (m_phase != Phase::Typing) return;
    // A record without a question is passed over: the next one is drawn, at no charge.
    if (m_draw.question().isEmpty()) {
        drawQuestion();
        return;
    }
    // The question is charged at its first letter; a player without credit is out.
    if (m_typedLength == 0) {
        m_players.chargeQuestion();
        showCredit();
        if (m_players.credit() == Players::exhausted) {
            setPhase(Phase::GameOver);
            return;
        }
    }
    const int length = static_cast<int>(m_draw.question().size());
    if (m_typedLength < length) ++m_typedLength;
    emit letterTyped(typedQuestion());
    if (m_typedLength >= length) {
        setPhase(Phase::AnswersOpen);
        return;
    }
    if (m_cues) m_cues->typingClick();
}

void QuizGame::tickTimeGauge() {
    if (m_phase != Phase::AnswersOpen || m_timeLimitHeld) return;
    if (m_timeLeft > 0) {
        --m_timeLeft;
        showTime();
        if (m_cues) m_cues->timeTick(m_timeLeft);
    }
    if (m_timeLeft == 0) {
        m_chosenAnswer = -1;
        m_timeLeft = fullTime;
        showTime();
        judge(Phase::TimeOut);
    }
}

void QuizGame::chooseAnswer(int answer) {
    if (!accepts(Command::ChooseAnswer) || answer < 0 || answer > 3) return;
    m_chosenAnswer = answer;
    if (m_cues) m_cues->answerPress(answer, answerPressVelocity);
    setPhase(Phase::Judging);
}

void QuizGame::judgeAnswer() {
    if (m_phase != Phase::Judging) return;
    const bool right =
        m_draw.answers()[static_cast<std::size_t>(m_chosenAnswer)] == m_draw.correctAnswer();
    // A right answer moves on to the prize ladder by itself; a wrong one waits for OK.
    judge(right ? Phase::Correct : Phase::Wrong);
}

void QuizGame::judge(Phase verdict) {
    emit questionJudged(m_draw.file(), m_draw.question(), verdict == Phase::Correct);
    setPhase(verdict);
}

void QuizGame::flashCorrectBanner() {
    // The banner is lit by the flash that leaves phase 0.
    const bool lit = m_correctFlashPhase == 0;
    m_correctFlashPhase = lit ? 1 : 0;
    emit correctBannerFlashed(lit);
    if (m_cues) m_cues->correctFlash(m_correctFlashPhase);
}

void QuizGame::playFallNote() {
    if (!m_cues || !m_cues->soundOn() || m_fallNote < fallLowestNote) return;
    --m_fallNote;
    m_cues->fallRun(m_fallNote);
}

void QuizGame::confirmPanel() {
    if (!accepts(Command::ConfirmPanel)) return;
    if (m_phase == Phase::FinalScores) {
        // Results that rank in the hall of fame are named first; attract mode follows.
        if (m_nameEntryWanted && m_nameEntryWanted())
            setPhase(Phase::NameEntry);
        else
            enterAttractMode();
        return;
    }
    // Wrong or TimeOut: the next turn while anyone has credit to play.
    if (m_players.goesOn())
        endQuestion();
    else
        setPhase(Phase::GameOver);
}

void QuizGame::endQuestion() {
    if (m_phase == Phase::Correct) {
        setPhase(Phase::Ladder);
        return;
    }
    if (m_players.credit() == Players::exhausted) return;
    // The question is over: a fresh gauge, a little faster, and the next turn.
    // The gauge's new speed first, so that the time shown for the full gauge is the next
    // question's.
    m_timeGaugeTimer.setInterval(fasterGaugeStep(m_timeGaugeTimer.interval()));
    m_timeLeft = fullTime;
    showTime();
    m_draw.clear();
    m_typedLength = 0;
    selectNextPlayer();
}

// ---- The prize ladder

void QuizGame::stepLadderLight() {
    if (m_cues) m_cues->spinStep(placeOf(m_ladder.lastPrizeLamp()));
    emit lampsChanged(m_ladder.step());
}

void QuizGame::pressStop() {
    if (!accepts(Command::Stop)) return;
    const int won = m_players.credit() + dollarsOf(m_ladder.stop());
    // The meter counts the prize up one dollar at a time.
    while (m_players.credit() < won) {
        m_players.addDollar();
        showCredit();
    }
    m_players.recordScore(won);
    setPhase(Phase::Prize);
    emit lampsChanged(litLamp());
}

void QuizGame::stopLadderAtTimeLimit() {
    if (m_phase != Phase::Ladder) return;
    m_ladder.timeOut();
    emit lampsChanged(m_ladder.lit());
    pressStop();
}

void QuizGame::flashPrizeLamp() {
    if (m_ladder.prize() == Lamp::None) return;
    m_prizeLampLit = !m_prizeLampLit;
    emit lampsChanged(litLamp());
    if (m_prizeLampLit && m_cues) m_cues->prizeFlash(placeOf(m_ladder.prize()));
}

void QuizGame::endPrizeDisplay() {
    // The flash ends before the next turn.
    forgetTimers();
    m_prizeLampLit = false;
    endQuestion();
}

// ---- Commands of the menus and keys

void QuizGame::pressEnter() {
    if (!accepts(Command::Enter)) return;
    switch (m_phase) {
    case Phase::PlayerEntry:
        confirmPlayers();
        break;
    case Phase::Ladder:
        pressStop();
        break;
    case Phase::Wrong:
    case Phase::TimeOut:
    case Phase::FinalScores:
        confirmPanel();
        break;
    default:
        pressStart();
        break;
    }
}

void QuizGame::showFinalScores() {
    setPhase(Phase::FinalScores);
}

void QuizGame::finishNameEntry() {
    if (accepts(Command::FinishNameEntry)) enterAttractMode();
}

void QuizGame::endGame() {
    if (!canEndGame()) return;
    setPhase(Phase::FinalScores);
    // The final scores show the ended game; its players leave.
    m_players.forget();
}

void QuizGame::abandonGame() {
    m_players.forget();
    enterAttractMode();
}

void QuizGame::pause() {
    for (Timer* t : m_timers) {
        t->tag = t->enabled() ? 1 : 0;
        t->stop();
    }
}

void QuizGame::resume() {
    for (Timer* t : m_timers) {
        if (t->tag == 1) t->start();
        t->tag = 0;
    }
    m_editingReopened = true;
    emit offersChanged();
}
