// The game's phases: what entering each one sets up, the timers each one owns, and the
// commands that move the game from one to the next.
#include "QuizGame.h"

#include "SoundCues.h"

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
} // namespace

QuizGame::QuizGame(Clock& clock, QString programDir, SeedSource seed, QObject* parent)
    : QObject(parent),
      revealTimer(clock, "revealTimer", letterMs, false, 0, [this] { revealNextLetter(); }),
      timeGaugeTimer(clock, "timeGaugeTimer", slowestGaugeStepMs, false, 0,
                     [this] { tickTimeGauge(); }),
      judgementTimer(clock, "judgementTimer", judgementMs, false, 0, [this] { judgeAnswer(); }),
      questionEndTimer(clock, "questionEndTimer", questionEndMs, false, 0,
                       [this] { endQuestion(); }),
      gameOverTimer(clock, "gameOverTimer", gameOverMs, false, 0, [this] { showFinalScores(); }),
      ladderLightTimer(clock, "ladderLightTimer", ladderStepMs, false, 0,
                       [this] { stepLadderLight(); }),
      prizeDisplayTimer(clock, "prizeDisplayTimer", prizeDisplayMs, false, 0,
                        [this] { endPrizeDisplay(); }),
      fallRunTimer(clock, "fallRunTimer", fallNoteMs, false, 0, [this] { playFallNote(); }),
      prizeFlashTimer(clock, "prizeFlashTimer", prizeFlashMs, false, 0,
                      [this] { flashPrizeLamp(); }),
      correctFlashTimer(clock, "correctFlashTimer", correctFlashMs, false, 0,
                        [this] { flashCorrectBanner(); }),
      ladderTimeLimit(clock, "ladderTimeLimit", ladderLimitMs, false, 0,
                      [this] { stopLadderAtTimeLimit(); }),
      readyTimer(clock, "readyTimer", readyMs, false, 0, [this] { startTurn(); }),
      playerOutTimer(clock, "playerOutTimer", playerOutMs, false, 0,
                     [this] { endPlayerOutNotice(); }),
      programDir(std::move(programDir)), seedSource(std::move(seed)) {}

QuizGame::~QuizGame() = default;

std::array<Timer*, 13> QuizGame::timers() {
    return {&revealTimer,     &timeGaugeTimer,    &judgementTimer,    &questionEndTimer,
            &gameOverTimer,   &ladderLightTimer,  &prizeDisplayTimer, &fallRunTimer,
            &prizeFlashTimer, &correctFlashTimer, &ladderTimeLimit,   &readyTimer,
            &playerOutTimer};
}

void QuizGame::forgetTimers() {
    for (Timer* t : timers()) {
        t->stop();
        t->tag = 0;
    }
}

// ---- Entering a phase

void QuizGame::setPhase(Phase phase) {
    // What the phase left behind ends with it: no timer of another phase runs on.
    forgetTimers();
    m_phase = phase;
    switch (phase) {
    case Phase::Attract:
    case Phase::PlayerEntry:
    case Phase::NameEntry:
        break;
    case Phase::GetReady:
        readyTimer.start();
        break;
    case Phase::PlayerOut:
        playerOutTimer.start();
        break;
    case Phase::Typing:
        chosenAnswer = -1;
        typedLength = 0;
        revealTimer.start();
        break;
    case Phase::AnswersOpen:
        m_timeLimitHeld = false;
        timeGaugeTimer.start();
        break;
    case Phase::Judging:
        judgementTimer.start();
        break;
    case Phase::Correct:
        correctBannerLit = true;
        correctFlashPhase = 0;
        correctFlashTimer.start();
        questionEndTimer.start();
        break;
    case Phase::Wrong:
    case Phase::TimeOut:
        fallNote = fallStartNote;
        fallRunTimer.start();
        break;
    case Phase::Ladder:
        startLadder();
        ladderLightTimer.start();
        ladderTimeLimit.start();
        break;
    case Phase::Prize:
        prizeLampLit = true;
        prizeDisplayTimer.start();
        prizeFlashTimer.start();
        break;
    case Phase::GameOver:
        gameOverTimer.start();
        break;
    case Phase::FinalScores:
        takeStandings();
        break;
    }
    if (phase == Phase::Attract) m_timeLimitHeld = false;
    emit phaseChanged(phase);
}

void QuizGame::enterAttractMode() {
    forgetTimers();
    resetForAttractMode();
    timeGaugeTimer.setInterval(slowestGaugeStepMs);
    currentPlayer = 0;
    showCreditOfPlayerAtControls();
    emit timeChanged();
    m_phase = Phase::Attract;
    useQuestionFile(startupQuestionFile(), ReaderRules::GameStartup);
    setPhase(Phase::Attract);
}

bool QuizGame::useQuestionFile(const QString& path, const ReaderRuleSet& rules) {
    const QString warning = selectQuestionFile(path, rules);
    if (warning.isEmpty()) return true;
    emit warningRaised(warning);
    return false;
}

// ---- Players and turns

void QuizGame::pressStart() {
    if (m_phase != Phase::Attract && m_phase != Phase::PlayerEntry) return;
    if (!hasQuestionFile()) {
        emit warningRaised(selectQuestionFileMessage);
        return;
    }
    currentPlayer = 0;
    setPhase(Phase::PlayerEntry);
}

void QuizGame::confirmPlayers() {
    if (m_phase != Phase::PlayerEntry) return;
    // A set changed for a bad one while the names were typed: no game without questions.
    // The entry stays open so that another set can be chosen.
    if (!hasQuestionFile()) {
        emit warningRaised(selectQuestionFileMessage);
        return;
    }
    giveStartingCredits();
    showCreditOfPlayerAtControls();
    selectNextPlayer();
}

void QuizGame::selectNextPlayer() {
    if (!multiplayer()) {
        startTurn();
        return;
    }
    // Nobody has credit left to play: the game is over.
    if (!anyoneHasCredit()) {
        showGameOver();
        return;
    }
    // The player at the controls is out: say so before the next player's turn.
    if (credit == 0 && m_phase != Phase::PlayerOut) {
        setPhase(Phase::PlayerOut);
        return;
    }
    passTurn();
    credit = playerCredits[static_cast<std::size_t>(currentPlayer - 1)];
    emit creditChanged();
    setPhase(Phase::GetReady);
}

void QuizGame::endPlayerOutNotice() {
    selectNextPlayer();
}

void QuizGame::startTurn() {
    gameRunning = true;
    // Without a set, or with one that went bad since it was checked, the warning shows once
    // and the game ends so the scores still show.
    const QString warning = drawNextQuestion();
    if (!warning.isEmpty()) {
        emit warningRaised(warning);
        showGameOver();
        return;
    }
    setPhase(Phase::Typing);
}

void QuizGame::showCreditOfPlayerAtControls() {
    takeCreditOfPlayerAtControls();
    emit creditChanged();
}

void QuizGame::chargeQuestionAtControls() {
    chargeQuestion();
    showCreditOfPlayerAtControls();
}

void QuizGame::addDollarAtControls() {
    addDollar();
    showCreditOfPlayerAtControls();
}

void QuizGame::showGameOver() {
    setPhase(Phase::GameOver);
}

// ---- The question

void QuizGame::revealNextLetter() {
    if (m_phase != Phase::Typing) return;
    // A record without a question is passed over: the next one is drawn, at no charge.
    if (questionText.isEmpty()) {
        const QString warning = drawNextQuestion();
        if (!warning.isEmpty()) {
            emit warningRaised(warning);
            showGameOver();
        }
        return;
    }
    // The question is charged at its first letter; a player without credit is out.
    if (typedLength == 0) {
        chargeQuestionAtControls();
        if (credit == -1) {
            showGameOver();
            return;
        }
    }
    if (typedLength < questionText.size()) ++typedLength;
    emit letterTyped();
    if (typedLength >= questionText.size()) {
        setPhase(Phase::AnswersOpen);
        return;
    }
    if (m_cues) m_cues->typingClick();
}

void QuizGame::tickTimeGauge() {
    if (m_phase != Phase::AnswersOpen || m_timeLimitHeld) return;
    if (timeLeft > 0) {
        tickTime();
        emit timeChanged();
        if (m_cues) m_cues->timeTick(timeLeft);
    }
    if (timeUp()) {
        chosenAnswer = -1;
        restartTime();
        emit timeChanged();
        setPhase(Phase::TimeOut);
    }
}

void QuizGame::chooseAnswer(int answer) {
    if (m_phase != Phase::AnswersOpen || answer < 0 || answer > 3) return;
    chosenAnswer = answer;
    if (m_cues) m_cues->answerPress(answer, answerPressVelocity);
    setPhase(Phase::Judging);
}

void QuizGame::judgeAnswer() {
    if (m_phase != Phase::Judging) return;
    const bool right = answerSlots[static_cast<std::size_t>(chosenAnswer)] == correctAnswer;
    // A right answer moves on to the prize ladder by itself; a wrong one waits for OK.
    setPhase(right ? Phase::Correct : Phase::Wrong);
}

void QuizGame::flashCorrectBanner() {
    correctBannerLit = correctFlashPhase == 0;
    correctFlashPhase = correctFlashPhase == 0 ? 1 : 0;
    emit correctBannerFlashed();
    if (m_cues) m_cues->correctFlash(correctFlashPhase);
}

void QuizGame::playFallNote() {
    if (!m_cues || !m_cues->soundOn() || fallNote < fallLowestNote) return;
    --fallNote;
    m_cues->fallRun(fallNote);
}

void QuizGame::confirmPanel() {
    switch (m_phase) {
    case Phase::Wrong:
    case Phase::TimeOut:
        confirmVerdict();
        break;
    case Phase::FinalScores:
        confirmFinalScores();
        break;
    default:
        break;
    }
}

void QuizGame::confirmVerdict() {
    if (goesOn())
        endQuestion();
    else
        showGameOver();
}

void QuizGame::endQuestion() {
    if (m_phase == Phase::Correct) {
        setPhase(Phase::Ladder);
        return;
    }
    if (credit == -1) return;
    // The question is over: a fresh gauge, a little faster, and the next turn.
    // The gauge's new speed first, so that the time shown for the full gauge is the next
    // question's.
    timeGaugeTimer.setInterval(fasterGaugeStep(timeGaugeTimer.interval()));
    restartTime();
    emit timeChanged();
    questionText.clear();
    typedLength = 0;
    selectNextPlayer();
}

// ---- The prize ladder

void QuizGame::stepLadderLight() {
    if (m_cues) m_cues->spinStep(ladderStep);
    stepLadder();
    emit lampsChanged();
}

void QuizGame::pressStop() {
    if (m_phase != Phase::Ladder) return;
    const int won = stopLadder();
    // The meter counts the prize up one dollar at a time.
    for (int dollars = won - credit; dollars > 0; --dollars)
        addDollarAtControls();
    credit = won;
    recordScore(won);
    setPhase(Phase::Prize);
    emit lampsChanged();
}

void QuizGame::stopLadderAtTimeLimit() {
    if (m_phase != Phase::Ladder) return;
    ladderTimedOut();
    emit lampsChanged();
    pressStop();
}

void QuizGame::flashPrizeLamp() {
    if (prizeIndex < 1 || prizeIndex > loseIndex) return;
    prizeLampLit = !prizeLampLit;
    emit lampsChanged();
    if (prizeLampLit && m_cues) m_cues->prizeFlash(prizeIndex);
}

void QuizGame::endPrizeDisplay() {
    // The flash ends before the next turn.
    forgetTimers();
    prizeLampLit = false;
    endQuestion();
}

bool QuizGame::lampLit(int prize) const {
    if (m_phase == Phase::Ladder) return prize == litLamp;
    if (m_phase == Phase::Prize) return prize == prizeIndex && prizeLampLit;
    return false;
}

// ---- The end of a game

void QuizGame::pressEnter() {
    switch (m_phase) {
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

void QuizGame::confirmFinalScores() {
    // Results that rank in the hall of fame are named first; attract mode follows.
    if (nameEntryWanted && nameEntryWanted()) {
        setPhase(Phase::NameEntry);
        return;
    }
    enterAttractMode();
}

void QuizGame::takeStandings() {
    bool anyNamed = false;
    for (const QString& name : playerNames)
        anyNamed = anyNamed || !name.isEmpty();
    for (std::size_t k = 0; k < 4; ++k) {
        const int slot = static_cast<int>(k) + 1;
        Standing& standing = m_standings[k];
        standing.slot = slot;
        standing.name = finalName(slot);
        standing.typedName = playerNames[k];
        standing.score = finalScore(slot);
        standing.questionsPlayed = questionsPlayed[k];
        standing.played = anyNamed ? !playerNames[k].isEmpty() : k == 0;
    }
}

void QuizGame::finishNameEntry() {
    if (m_phase == Phase::NameEntry) enterAttractMode();
}

void QuizGame::endGame() {
    if (!inGame() || m_phase == Phase::FinalScores || m_phase == Phase::NameEntry) return;
    setPhase(Phase::FinalScores);
    // The final scores show the ended game; its players leave.
    forgetPlayers();
}

void QuizGame::abandonGame() {
    currentPlayer = 0;
    forgetPlayers();
    enterAttractMode();
}

void QuizGame::pause() {
    for (Timer* t : timers()) {
        t->tag = t->enabled() ? 1 : 0;
        t->stop();
    }
}

void QuizGame::resume() {
    for (Timer* t : timers()) {
        if (t->tag == 1) t->start();
        t->tag = 0;
    }
}
