#pragma once

#include "QstFile.h"
#include "QuestionRecord.h"
#include "Timer.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>

class Clock;
class SoundCues;

// The game's rules and the state they work on, free of any window: one explicit phase with the
// timers it owns on the injected clock, the question set and the draw, the players and their
// turns, the credit, the time limit, the prize ladder and the final scores. It takes the
// players' commands (start, answer, STOP, OK, end game ...), sends the sound cues, and tells
// its views what changed through signals. The game screen owns one and shows it.
// Array indices are 0-based: playerCredits[0] is player 1, answerSlots[0] is answer A.
class QuizGame : public QObject {
    Q_OBJECT
public:
    // Where the game is. Every phase owns what it set up (timers, the question, the lit
    // lamps); leaving it ends them. The reset is entering Attract.
    enum class Phase {
        Attract,     // no game: the attract pictures cycle, START opens the player entry
        PlayerEntry, // the players type their names
        GetReady,    // a game of several players: the next player is named
        Typing,      // the question is typed out letter by letter
        AnswersOpen, // the four answers can be chosen while the time gauge runs
        Judging,     // an answer is chosen; the verdict follows
        Correct,     // the correct-answer banner flashes
        Wrong,       // the Wrong panel waits for OK
        TimeOut,     // the TimeOut panel waits for OK
        Ladder,      // the prize ladder's light runs until STOP
        Prize,       // the prize won flashes and is counted onto the credit
        PlayerOut,   // a game of several players: the player at the controls has no credit left
        GameOver,    // the GAME OVER banner
        FinalScores, // the final scores wait for OK
        NameEntry,   // players whose scores rank enter their names for the hall of fame
    };
    Q_ENUM(Phase)

    // A player's result, kept when the game ends for the final scores and the hall of fame.
    struct Standing {
        int slot = 0;      // 1..4
        QString name;      // the name shown: typed, or "Player One" and so on
        QString typedName; // the name typed at the player entry; empty when none
        int score = 0;     // best credit reached, never below 0
        int questionsPlayed = 0;
        bool played = false; // the slot was named (or is the one player of a nameless game)
    };

    // Seed for the draw's random numbers at every reset; empty: the wall clock.
    using SeedSource = std::function<std::uint32_t()>;

    // programDir is the folder of the start-up question set "REGD.QST".
    QuizGame(Clock& clock, QString programDir, SeedSource seed, QObject* parent = nullptr);
    ~QuizGame() override;

    // The cues the game sends (answer press, typing click, gauge tick ...); none: silent.
    void setSoundCues(SoundCues* cues) { m_cues = cues; }

    // ---- The phase
    Phase phase() const { return m_phase; }
    // A game phase: from the first turn to the final scores.
    bool inGame() const { return m_phase != Phase::Attract && m_phase != Phase::PlayerEntry; }
    // The results of the game that ended last: set on entering FinalScores, kept until the
    // next game's players are confirmed.
    const std::array<Standing, 4>& finalStandings() const { return m_standings; }

    // ---- Commands
    // START: in attract mode (or again at the player entry) opens the player entry; warns
    // without a question set.
    void pressStart();
    // OK on the player entry: the named players play (a game of one without names).
    void confirmPlayers();
    // An answer (0..3 = A..D) while the answers are open.
    void chooseAnswer(int answer);
    // STOP while the ladder's light runs.
    void pressStop();
    // OK on the open panel: Wrong, TimeOut or the final scores.
    void confirmPanel();
    // Enter, and a cabinet's START: stops a running ladder, else confirms the open panel, else
    // presses START.
    void pressEnter();
    // The game is ended (after the player confirmed it): straight to the final scores, with
    // nothing of the game left running or waiting to resume.
    void endGame();
    // Ends whatever game or game start is under way and resets to attract mode; used when the
    // question editor hands the screen back.
    void abandonGame();
    // Another window of the program has the player: the timers stop, marked to resume.
    void pause();
    // The game screen has the player again: the marked timers run on.
    void resume();

    // ---- Hooks for what follows the final scores
    // Asked when the final scores are confirmed: true when some result ranks in the hall of
    // fame; the game then waits in NameEntry until finishNameEntry().
    std::function<bool()> nameEntryWanted;
    // The names are entered: attract mode follows.
    void finishNameEntry();

    // ---- The time limit and speech
    // While held, the time gauge of open answers stands still (the answers are being spoken).
    void setTimeLimitHeld(bool held) { m_timeLimitHeld = held; }
    bool timeLimitHeld() const { return m_timeLimitHeld; }

    // ---- Resetting
    // The reset: every game timer stops and is forgotten, the draw's random numbers start from
    // a fresh seed, the question is forgotten, the credit shows 1, the gauge is slow again and
    // REGD.QST of the program directory is the set again (warning when it is not usable).
    void enterAttractMode();
    // The players leave: no credit and no score for anyone, nobody at the controls.
    void forgetPlayers();

    // ---- The question set
    // Full path of "REGD.QST" in the program directory.
    QString startupQuestionFile() const;
    // Checks a set with a reader's rules and makes it the game's set, or no set at all when it
    // fails. Returns the warning to show; empty when the set is accepted.
    QString selectQuestionFile(const QString& path, const ReaderRuleSet& rules);
    // The same, with the warning told to the views (warningRaised); true when accepted.
    bool useQuestionFile(const QString& path, const ReaderRuleSet& rules);
    // The game has a set to draw from.
    bool hasQuestionFile() const;

    // ---- The draw
    // Draws the next question from the set. Returns the warning to show when there is no set
    // or it went bad since it was checked (the set is then dropped and the game must end);
    // empty when a question was drawn.
    QString drawNextQuestion();
    // Draws a record from the set, with the history rule and the answer shuffle; false after
    // an input/output failure.
    bool drawQuestion();
    // A uniform random integer 0 <= r < n from the generator seeded at the reset.
    int random(int n);
    // No question is drawn: the next question tick draws one.
    void clearQuestion();

    // ---- Players and credit
    // A name box changed; the count of named players follows.
    void setPlayerName(int slot, const QString& name); // slot 1..4
    QString playerName(int slot) const;
    // The named players get five credits each; a game of one player without names.
    void giveStartingCredits();
    // A game of several players.
    bool multiplayer() const { return playerCount >= 2; }
    // Some player of a game of several players still has credit.
    bool anyoneHasCredit() const;
    // The game goes on after a wrong answer or a time out while anyone has credit to play.
    bool goesOn() const;
    // The credit of the player at the controls becomes the credit shown.
    void takeCreditOfPlayerAtControls();
    // The question is charged (at its first letter).
    void chargeQuestion();
    // One dollar of a prize.
    void addDollar();
    // The turn passes to the next player with credit.
    void passTurn();

    // ---- The prize ladder
    // A spin begins with no lamp lit.
    void startLadder();
    // The light moves on: from a prize lamp (or none) to LOSE, from LOSE to the next prize lamp
    // after the one lit last ($1, $5, $15, $50, round again). Returns the lamp now lit.
    int stepLadder();
    // STOP: the lamp lit is the prize (LOSE when the light has not reached any lamp yet).
    // Returns the credit of the player at the controls with the prize's dollars added.
    int stopLadder();
    // The spin's time ran out: the light goes to LOSE.
    void ladderTimedOut();
    // Dollars of a prize (1 $1, 2 $5, 3 $15, 4 $50, 5 LOSE).
    static int prizeDollars(int prizeIndex);
    // The player at the controls won `won` credits in all: their best score follows.
    void recordScore(int won);

    // ---- The time limit
    // The time gauge is full again.
    void restartTime() { timeLeft = fullTime; }
    // One step of the gauge runs out.
    void tickTime() {
        if (timeLeft > 0) --timeLeft;
    }
    // The question's time has run out.
    bool timeUp() const { return timeLeft == 0; }
    // The gauge's step after a question: a little faster, down to the fastest step.
    static int fasterGaugeStep(int stepMs);

    // ---- Final scores
    // The name shown for a slot: the typed name, or "Player One" and so on.
    QString finalName(int slot) const;
    // The score shown for a slot: never below 0.
    int finalScore(int slot) const;

    // ---- Credit shown on the meter (creditChanged follows each)
    // The credit of the player at the controls is the credit shown.
    void showCreditOfPlayerAtControls();
    // The question is charged to the player at the controls.
    void chargeQuestionAtControls();
    // One dollar of a prize for the player at the controls.
    void addDollarAtControls();

    // ---- Turns (run by the phases; public for the rule tests)
    // The game is over: the GAME OVER banner, then the final scores.
    void showGameOver();
    // The next turn: the player-out notice, the next player's Get Ready, or the question.
    void selectNextPlayer();
    // The question of a turn: drawn, then typed out.
    void startTurn();
    // Types the next letter; the first charges the question.
    void revealNextLetter();
    // One step of the time gauge; the last one times the question out.
    void tickTimeGauge();
    // The chosen answer is judged.
    void judgeAnswer();
    // The question is over: to the ladder after a right answer, else the next turn.
    void endQuestion();
    // The ladder's light moves on.
    void stepLadderLight();
    // The ladder's time limit: the spin ends on LOSE.
    void stopLadderAtTimeLimit();

    // ---- Timers, owned by the phases; every one pauses and resumes with the game
    Timer revealTimer;       // a letter of the question
    Timer timeGaugeTimer;    // a step of the time gauge (faster each question)
    Timer judgementTimer;    // from the answer to the verdict
    Timer questionEndTimer;  // from a right answer to the ladder
    Timer gameOverTimer;     // the GAME OVER banner
    Timer ladderLightTimer;  // a step of the ladder's light
    Timer prizeDisplayTimer; // the prize shown before the next turn
    Timer fallRunTimer;      // a note of the falling run under Wrong and TimeOut
    Timer prizeFlashTimer;   // the prize lamp's flash
    Timer correctFlashTimer; // the correct banner's flash
    Timer ladderTimeLimit;   // the time a spin may run
    Timer readyTimer;        // the Get Ready notice
    Timer playerOutTimer;    // the player-out notice
    // Every game timer, in creation order.
    std::array<Timer*, 13> timers();

    // ---- State
    // A game is in progress: from the first turn start until the reset after the final scores.
    bool gameRunning = false;
    // Letters of the question typed so far.
    int typedLength = 0;
    // The question as typed so far.
    QString typedQuestion() const { return questionText.left(typedLength); }
    // The correct banner shows its lit picture; flashPhase: which picture the next flash shows.
    bool correctBannerLit = true;
    int correctFlashPhase = 0;
    // The prize lamp is lit in its flash.
    bool prizeLampLit = false;
    // The lamp (1 $1 ... 5 LOSE) shows lit now: the ladder's light, or the prize's flash.
    bool lampLit(int prizeIndex) const;
    // Note of the falling run under Wrong and TimeOut.
    std::uint8_t fallNote = fallStartNote;
    // The question is typed out and the four answers can be chosen.
    bool answersOpen() const { return m_phase == Phase::AnswersOpen; }
    // Question of the drawn record; empty: no question drawn, the next question tick draws.
    QString questionText;
    // The four answers after the shuffle, shown as A to D.
    std::array<QString, 4> answerSlots;
    // The drawn record's correct answer, taken before the shuffle.
    QString correctAnswer;
    // Number of the record drawn last.
    int drawnRecord = 0;
    // The record read last from the question set.
    QuestionRecord record;
    // Full path of the game's question set; "N/A" when no usable set is selected.
    QString questionFile;
    // The draw history: record numbers drawn recently, oldest first; never cleared.
    QStringList drawHistory;

    // Credit of the player at the controls; -1: exhausted.
    int credit = 500;
    // Each player's own credit in a game of several players.
    std::array<int, 4> playerCredits{-1, -1, -1, -1};
    // 0 in a one-player game, else the player whose turn it is (1 to 4).
    int currentPlayer = 0;
    // Number of named player slots.
    int playerCount = 0;
    // Highest credit each player reached in the game.
    std::array<int, 4> playerScores{0, 0, 0, 0};
    // The name typed for each slot.
    std::array<QString, 4> playerNames;
    // The prize lamp the ladder's light reached last (1 $1, 2 $5, 3 $15, 4 $50; 0 before the
    // first spin).
    int ladderStep = 0;
    // The lamp the ladder's light is on now (1 $1 ... 4 $50, 5 LOSE; 0 none).
    int litLamp = 0;
    // Prize of the last stop: 1 $1, 2 $5, 3 $15, 4 $50, 5 LOSE.
    std::uint8_t prizeIndex = 0;
    // Steps of the time gauge left for the question (fullTime: full, 0: time is up).
    int timeLeft = fullTime;
    // The answer chosen for the question (0..3 = A..D); -1 before a choice and on a time out.
    int chosenAnswer = -1;
    // Questions each player was charged for in this game.
    std::array<int, 4> questionsPlayed{0, 0, 0, 0};
    // Sound is wished for (the stored "PlaySound" option, or the player's last choice).
    bool soundWanted = true;

    // Steps of a full time gauge.
    static constexpr int fullTime = 100;
    // The gauge's step in a new attract mode, in milliseconds.
    static constexpr int slowestGaugeStepMs = 150;
    // The falling run's first note, and the lowest it plays.
    static constexpr std::uint8_t fallStartNote = 75;
    static constexpr std::uint8_t fallLowestNote = 30;
    // Velocity of the answer-press cue.
    static constexpr std::uint8_t answerPressVelocity = 120;
    // What "no usable set" is stored as.
    static const QString noQuestionFile;
    // The warning for a game without a set.
    static const QString selectQuestionFileMessage;
    // The warning for a set whose every question is empty: nothing can be asked.
    static const QString noQuestionToAskMessage;
    // The index of LOSE among the prize lamps.
    static constexpr int loseIndex = 5;

signals:
    // The game entered a phase (see Phase); also when it is entered again.
    void phaseChanged(QuizGame::Phase phase);
    // A letter of the question was typed (typedQuestion()).
    void letterTyped();
    // The credit shown changed.
    void creditChanged();
    // The time left changed.
    void timeChanged();
    // A ladder or prize lamp went on or off.
    void lampsChanged();
    // The correct banner flashed.
    void correctBannerFlashed();
    // A warning for the player (a set that cannot be used, no set for a game).
    void warningRaised(const QString& text);

private:
    // Some record of the set holds a question with text.
    bool setHoldsAQuestion() const;
    // The state of a new attract mode: fresh seed, no question, credit 1, a full gauge.
    void resetForAttractMode();
    // Enters a phase: what the phase needs is set up, then the views are told.
    void setPhase(Phase phase);
    // Stops every game timer and forgets that it ran, so that no resume can start it.
    void forgetTimers();
    void playFallNote();
    void flashCorrectBanner();
    void flashPrizeLamp();
    void endPrizeDisplay();
    void endPlayerOutNotice();
    void showFinalScores();
    void confirmVerdict();
    void confirmFinalScores();
    // The slot of the player at the controls, also in a game of one player.
    int slotAtControls() const;
    // Takes the players' results for the final scores.
    void takeStandings();

    SoundCues* m_cues = nullptr;
    Phase m_phase = Phase::Attract;
    std::array<Standing, 4> m_standings{};
    bool m_timeLimitHeld = false;
    QString programDir;
    SeedSource seedSource;
    std::mt19937 generator;
};
