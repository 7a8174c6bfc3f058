#pragma once

#include "Lamp.h"
#include "Players.h"
#include "PrizeLadder.h"
#include "QuestionDraw.h"
#include "Timer.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

class Clock;
class SoundCues;

// The game's rules and the state they work on, free of any window: one explicit phase with the
// timers it owns on the injected clock, the question set and the draw, the players and their
// credit, the time limit, the prize ladder and the final scores. It takes the players'
// commands (start, answer, STOP, OK, end game ...), sends the sound cues, and tells its views
// what changed through signals that carry the new values. Which command each phase accepts and
// which timers it runs is one table (QuizGamePhases.cpp); the views ask the game what it offers
// (accepts(), canEndGame(), canEditQuestions()) instead of deciding it themselves.
// Answer slots are 0..3 (A..D); player slots are 1..4.
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
    static constexpr int phaseCount = 15;

    // The players' commands; each phase accepts some of them and ignores the rest.
    enum class Command {
        Start,           // START: opens the player entry
        ConfirmPlayers,  // OK on the player entry
        ChooseAnswer,    // A to D
        Stop,            // STOP on the prize ladder
        ConfirmPanel,    // OK on the Wrong, TimeOut or final scores panel
        Enter,           // Enter and a cabinet's START: STOP, else OK, else START
        EndGame,         // "&End Game", once confirmed
        FinishNameEntry, // the hall of fame's names are entered
    };
    Q_ENUM(Command)

    // The game's timers; each phase runs its own (see the phase table).
    enum class GameTimer {
        Reveal,          // a letter of the question
        TimeGauge,       // a step of the time gauge (faster each question)
        Judgement,       // from the answer to the verdict
        QuestionEnd,     // from a right answer to the ladder
        GameOver,        // the GAME OVER banner
        LadderLight,     // a step of the ladder's light
        PrizeDisplay,    // the prize shown before the next turn
        FallRun,         // a note of the falling run under Wrong and TimeOut
        PrizeFlash,      // the prize lamp's flash
        CorrectFlash,    // the correct banner's flash
        LadderTimeLimit, // the time a spin may run
        Ready,           // the Get Ready notice
        PlayerOut,       // the player-out notice
    };
    static constexpr int timerCount = 13;

    using Standing = ::Standing;
    // Seed for the draw's random numbers at every reset; empty: the wall clock.
    using SeedSource = std::function<std::uint32_t()>;

    // Steps of a full time gauge.
    static constexpr int fullTime = 100;
    // The gauge's step in a new attract mode, in milliseconds.
    static constexpr int slowestGaugeStepMs = 150;

    // programDir is the folder of the start-up question set "REGD.QST".
    QuizGame(Clock& clock, const QString& programDir, SeedSource seed, QObject* parent = nullptr);
    ~QuizGame() override;

    // The cues the game sends (answer press, typing click, gauge tick ...); none: silent.
    void setSoundCues(SoundCues* cues) { m_cues = cues; }
    // Asked when the final scores are confirmed: true when some result ranks in the hall of
    // fame; the game then waits in NameEntry until finishNameEntry(). None: never.
    void setNameEntryWanted(std::function<bool()> wanted) { m_nameEntryWanted = std::move(wanted); }

    // ---- What the game offers now
    Phase phase() const { return m_phase; }
    // The phase takes this command (End Game also needs a turn to have started).
    bool accepts(Command command) const;
    // "&End Game" is offered: from the first turn's start until game over.
    bool canEndGame() const { return accepts(Command::EndGame); }
    // "Create / &Edit Questions" is offered: outside a game, and again after the game screen
    // was handed back by another window of the program.
    bool canEditQuestions() const { return !m_gameRunning || m_editingReopened; }
    // "&Change Question File" is offered outside a game: the set is fixed from the player
    // entry's OK until the game is over.
    bool canChangeQuestionFile() const { return !inGame(); }
    // A game phase: from the first Get Ready or turn to the name entry.
    bool inGame() const { return m_phase != Phase::Attract && m_phase != Phase::PlayerEntry; }
    // A game has started its first turn and is not reset yet.
    bool gameRunning() const { return m_gameRunning; }
    // The question is typed out and the four answers can be chosen.
    bool answersOpen() const { return m_phase == Phase::AnswersOpen; }

    // ---- Commands
    // START: in attract mode (or again at the player entry) opens the player entry; warns
    // without a question set.
    void pressStart();
    // A name box changed.
    void setPlayerName(int slot, const QString& name);
    // OK on the player entry: the named players play (a game of one without names).
    void confirmPlayers();
    // An answer (0..3 = A..D) while the answers are open.
    void chooseAnswer(int answer);
    // STOP while the ladder's light runs.
    void pressStop();
    // OK on the open panel: Wrong, TimeOut or the final scores.
    void confirmPanel();
    // Enter, and a cabinet's START: confirms the players on the player entry, stops a running
    // ladder, confirms the open panel, or presses START in attract mode.
    void pressEnter();
    // The game is ended (after the player confirmed it): straight to the final scores, with
    // nothing of the game left running or waiting to resume; its players leave.
    void endGame();
    // The names are entered: attract mode follows.
    void finishNameEntry();
    // Ends whatever game or game start is under way and resets to attract mode; used when the
    // question editor hands the screen back.
    void abandonGame();
    // Another window of the program has the player: the timers stop, marked to resume.
    void pause();
    // The game screen has the player again: the marked timers run on, and the question editor
    // is offered again.
    void resume();
    // While held, the time gauge of open answers stands still (the answers are being spoken).
    void setTimeLimitHeld(bool held) { m_timeLimitHeld = held; }
    // The reset: every game timer stops and is forgotten, the draw's random numbers start from
    // a fresh seed, the question is forgotten, the credit shows 1, the gauge is slow again and
    // REGD.QST of the program directory is the set again (warning when it is not usable).
    void enterAttractMode();
    // Checks a set with the reader's rules and makes it the game's set, or no set at all; the
    // warning goes to the views (warningRaised). True when accepted.
    bool useQuestionFile(const QString& path, const ReaderRuleSet& rules);

    // ---- The game's state
    const Players& players() const { return m_players; }
    const QuestionDraw& draw() const { return m_draw; }
    const PrizeLadder& ladder() const { return m_ladder; }
    // The question as typed so far.
    QString typedQuestion() const { return m_draw.question().left(m_typedLength); }
    // The answer chosen for the question (0..3 = A..D); -1 before a choice and on a time out.
    int chosenAnswer() const { return m_chosenAnswer; }
    // Steps of the time gauge left (fullTime: full, 0: time is up), and the gauge's step.
    int timeLeft() const { return m_timeLeft; }
    int gaugeStepMs() const;
    // The lamp that shows lit now: the ladder's light, or the prize in its flash; None else.
    Lamp litLamp() const;
    bool timeLimitHeld() const { return m_timeLimitHeld; }
    // The results of the game that ended last: set on entering FinalScores, kept until the
    // next game's final scores.
    const std::array<Standing, 4>& finalStandings() const { return m_standings; }
    // A game timer, to look at: running, marked to resume (tag 1), its interval.
    const Timer& timer(GameTimer which) const { return *m_timers[static_cast<std::size_t>(which)]; }
    std::array<const Timer*, timerCount> timers() const;

    // The gauge's step after a question: a little faster, down to the fastest step.
    static int fasterGaugeStep(int stepMs);

signals:
    // The game entered a phase (see Phase); also when it is entered again.
    void phaseChanged(QuizGame::Phase phase);
    // What the game offers changed (canEndGame, canEditQuestions, canChangeQuestionFile).
    void offersChanged();
    // A letter of the question was typed: the question as typed so far.
    void letterTyped(const QString& typed);
    // The credit shown changed.
    void creditChanged(int credit);
    // The time left changed, in steps of msPerStep milliseconds.
    void timeChanged(int left, int msPerStep);
    // The lamp lit on the ladder changed (None: every lamp is out).
    void lampsChanged(Lamp lit);
    // A question got its verdict (right, or wrong or timed out); each question once. setFile is
    // the set it was drawn from.
    void questionJudged(const QString& setFile, const QString& question, bool right);
    // The correct banner flashed to its lit (or dim) picture.
    void correctBannerFlashed(bool lit);
    // A warning for the player (a set that cannot be used, no set for a game).
    void warningRaised(const QString& text);

private:
    friend class GamePosition; // tests set up positions through it

    // Enters a phase: every timer stops, the phase's own start, its state is set up, the views
    // are told.
    void setPhase(Phase phase);
    // Stops every game timer and forgets that it ran, so that no resume can start it.
    void forgetTimers();
    void setGameRunning(bool running);
    void showCredit() { emit creditChanged(m_players.credit()); }
    void showTime() { emit timeChanged(m_timeLeft, gaugeStepMs()); }
    // The turns, run by the timers.
    void selectNextPlayer();
    void startTurn();
    void revealNextLetter();
    void tickTimeGauge();
    void judgeAnswer();
    void endQuestion();
    void stepLadderLight();
    void stopLadderAtTimeLimit();
    void playFallNote();
    void flashCorrectBanner();
    void flashPrizeLamp();
    void endPrizeDisplay();
    void showFinalScores();
    // Draws the turn's question; false (after the warning) when the game must end.
    bool drawQuestion();
    // The question's verdict: told once, then the phase that shows it.
    void judge(Phase verdict);

    SoundCues* m_cues = nullptr;
    std::function<bool()> m_nameEntryWanted;
    SeedSource m_seedSource;
    Phase m_phase = Phase::Attract;
    bool m_gameRunning = false;
    bool m_editingReopened = false;
    bool m_timeLimitHeld = false;
    Players m_players;
    QuestionDraw m_draw;
    PrizeLadder m_ladder;
    int m_typedLength = 0;
    int m_chosenAnswer = -1;
    int m_timeLeft = fullTime;
    int m_correctFlashPhase = 0;
    bool m_prizeLampLit = false;
    std::uint8_t m_fallNote = 0;
    std::array<Standing, 4> m_standings{};

    Timer m_revealTimer, m_timeGaugeTimer, m_judgementTimer, m_questionEndTimer, m_gameOverTimer,
        m_ladderLightTimer, m_prizeDisplayTimer, m_fallRunTimer, m_prizeFlashTimer,
        m_correctFlashTimer, m_ladderTimeLimit, m_readyTimer, m_playerOutTimer;
    // Every game timer, in the order of GameTimer.
    std::array<Timer*, timerCount> m_timers;
};
