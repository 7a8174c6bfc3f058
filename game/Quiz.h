#pragma once

#include "EditorState.h"
#include "Gauge.h"
#include "Image.h"
#include "Label.h"
#include "Panel.h"
#include "QuizGame.h"
#include "ScreenState.h"
#include "Shape.h"
#include "Timer.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLineEdit;
class QMenu;
class TClock;
class TDialogs;
class TMidiOutput;
class TMidiPlatform;
class TSetQuestions;
class TSettings;
class TShell;
class TSoundCues;

// Everything the game screen needs from the world outside it.
struct TQuizServices {
    TClock& Clock;
    TDialogs& Dialogs;
    TShell& Shell;
    TSettings& Settings;
    TMidiPlatform& Midi;
    // The program directory: the folder of the start-up question set "REGD.QST".
    QString ProgramDir;
    // The stored wish for sound, read at start-up.
    bool SoundWanted = true;
    // Seed for the draw's random numbers at every reset; empty: the wall clock.
    std::function<std::uint32_t()> Seed;
};

// The game screen: the coin-op cabinet. It owns the controls, the timers and the game state;
// the logic of each concern lives in its own file (reveal, answer, credit, ladder, players,
// commands, attract mode, layout, question files).
class TQuizScreen : public QMainWindow {
    Q_OBJECT
public:
    explicit TQuizScreen(TQuizServices services, QWidget* parent = nullptr);
    ~TQuizScreen() override;

    // The game: its rules and state.
    QuizGame game;
    // What the pictures show.
    ScreenState display;

    // ---- Creation and reset (QuizScreen.cpp)
    void FormCreated();
    void FormCreate();
    // Selects "REGD.QST" in the program directory and checks it with the start-up rules.
    void SelectStartupQuestionFile();
    // Makes a question set the game's set when it passes a reader's rules; warns when not.
    bool ValidateQuestionFile(const QString& path, const struct TReaderRules& rules);

    // ---- Question draw and reveal (QuizReveal.cpp)
    void Timer3Timer();

    // ---- Answer input, time limit and judgement (QuizAnswer.cpp)
    void DrawButtons(bool a, bool b, bool c, bool d, bool start);
    void RedTMouseDown(QObject* sender);
    void Timer4Timer();
    void Timer5Timer();
    void Timer6Timer();
    void Timer10Timer();
    void Timer12Timer();
    void Image34MouseDown();
    void Image49MouseDown();
    void Image34MouseMove();
    void WrongMouseMove();
    void Image49MouseMove();
    void TimeOutMouseMove();
    // Hides (or shows) the question area: time strip, question, frames and answer controls.
    void ShowQuestionArea(bool visible);
    void ShowAnswerControls(bool visible);

    // ---- Credit meter (QuizCredit.cpp)
    void LoadHolder(unsigned digit, bool blank);
    void DisplayCreditClick();
    void IncrementCreditClick();
    void DecrementCreditClick();

    // ---- Prize ladder (QuizLadder.cpp)
    void StartLadder();
    void Timer8Timer();
    void RTM();
    void RoundTMouseDown();
    void TOStopWinTimer();
    void Timer11Timer();
    void Timer9Timer();
    // The ladder is on screen.
    bool LadderShowing() const;

    // ---- Players, turns and final scores (QuizPlayers.cpp)
    void StartPress();
    void Player1Change(int slot);
    void Clear1MouseDown(int slot);
    // A key typed into a name box: Enter confirms the players. True when the key is used up.
    bool Player1KeyPress(QChar key);
    void Clear1MouseMove(int slot);
    void PlayerPanelMouseMove(int slot); // slot 0: the panel itself, 1-4: a name panel
    void OKDispMouseDown();
    void OKDispMouseMove();
    void SelectPlayer();
    void NewGameTimer();
    void PLAYERGAMEOVERTimer();
    void GameOverStep();
    void Timer7Timer();
    void Image36MouseDown();
    void Image36MouseMove();
    void FinalScorePanelMouseMove();

    // ---- Commands and keyboard (QuizCommands.cpp)
    void FormKeyPress(QChar key);
    void NewGame1Click();
    void On2Click();
    void FormActivate();
    void FormDeactivate();
    void Exit1Click();
    void Instructions1Click();
    void WebLink1Click();
    void WebLink2Click();
    // "&On" is checked: every cue tests this when it is sent.
    bool SoundOn() const;
    // The program's active window changed (null: another program is in front). A window of
    // the program with the property "trivoraPausesGame" pauses the game; the game screen
    // coming back resumes it. Message boxes, file dialogs and the help viewer change nothing.
    void ActiveWindowChanged(QWidget* active);
    // The game timers are paused because another window of the program has the focus.
    bool PausedByWindow() const { return FPausedByWindow; }
    // Run by the reset: stops the timers that only a running game uses (judgement, correct
    // flash, ladder, game over, the turn hand-overs) and forgets that they ran, so that no later
    // resume brings back a question of a game that has ended.
    void EndGameTimers();
    // Ends whatever game or game start is under way, with nothing of it left on screen and no
    // game timer running or waiting to resume, and resets to attract mode. The question
    // editor hands the screen back through this.
    void AbandonGame();
    // Stops every game timer and forgets that it ran, so that no resume can start it.
    void ForgetGameTimers();

    // ---- Attract mode (QuizAttract.cpp)
    void Timer1Timer();
    void Timer2Timer();
    void MindaroLogoTimerTimer();
    void LogoFlashTimer();

    // ---- Layout (QuizLayout.cpp)
    void FormResize();
    // Draws the title logo at the play area's size.
    void FitTitlePictures();
    // The window is maximised (or full screen): the play area is not at its design size.
    bool IsMaximised() const;

    // ---- Question files (QuizFiles.cpp)
    void LoadQuestions1Click();
    void EditCreateQuestions1Click();
    // The question editor has closed: the game screen takes over again.
    void EditorClosed();
    // The question editor while it is open, else null.
    TSetQuestions* Editor() const;
    // The editor's state, kept for the whole run of the program.
    TEditorState EditorState;

    // ---- Services
    const TQuizServices& Services() const { return FServices; }
    TSoundCues& Cues() { return *FCues; }
    TMidiOutput& MidiOutput1() { return *FMidiOutput; }
    // The game timers that pause and resume with the screen, in their fixed order.
    std::array<TTimer*, 15> GameTimers();

    // ---- Controls
    // Bands and areas.
    TPanel* Panel2 = nullptr;        // top band
    TPanel* Panel5 = nullptr;        // top band, left decoration
    TPanel* Panel4 = nullptr;        // top band, right decoration
    TPanel* P5 = nullptr;            // title logo panel
    TImage* Image1 = nullptr;        // title logo
    TImage* Image2 = nullptr;        // left decoration picture
    TImage* Image3 = nullptr;        // right decoration picture
    TPanel* Panel1 = nullptr;        // bottom band
    TPanel* Panel3 = nullptr;        // bottom band, empty middle
    TPanel* MainBackPanel = nullptr; // the play area

    // Buttons of the bottom band.
    TImage* RedT = nullptr;
    TImage* GreenT = nullptr;
    TImage* BlueT = nullptr;
    TImage* YellowT = nullptr;
    TImage* StartT = nullptr;
    TImage* RoundT = nullptr;

    // Question area.
    TLabel* T1 = nullptr;  // "Time :"
    TLabel* T1b = nullptr; // its shadow
    TGauge* T2 = nullptr;  // the time gauge
    TPanel* TBack = nullptr;
    TPanel* TimeLine = nullptr;
    TLabel* C1 = nullptr;  // "Credit : "
    TLabel* C1b = nullptr; // its shadow
    TPanel* CreditBlock = nullptr;
    std::array<TImage*, 5> Digit{}; // Digit1 ... Digit5
    TLabel* QuestionBlock = nullptr;
    TPanel* QF2 = nullptr;
    TPanel* QF3 = nullptr;
    TPanel* QF4 = nullptr;
    TPanel* QF5 = nullptr;
    TPanel* QF6 = nullptr;
    std::array<TShape*, 4> Cover{};  // CoverA ... CoverD
    std::array<TLabel*, 4> Cap{};    // ACap ... DCap
    std::array<TLabel*, 4> Answer{}; // AnswerA ... AnswerD

    // Pictures of the play area.
    TImage* MARK1 = nullptr;
    TImage* MARK2 = nullptr;
    TImage* MARK4 = nullptr;
    TShape* CorHi = nullptr;
    TImage* GameOver = nullptr;
    TImage* Stage1 = nullptr;
    TImage* Stage2 = nullptr;
    TImage* Stage3 = nullptr;
    TImage* Stage3B = nullptr;
    TImage* Stage4 = nullptr;

    // Prize ladder.
    TImage* OneDollar = nullptr;
    TImage* FiveDollars = nullptr;
    TImage* FifteenDollars = nullptr;
    TImage* FiftyDollars = nullptr;
    TImage* Lose = nullptr;
    TImage* HitStop = nullptr;

    // Wrong panel.
    TPanel* Wrong = nullptr;
    TImage* WrongDisplay = nullptr;
    TLabel* P1 = nullptr;
    TLabel* Q1 = nullptr;
    TLabel* P2 = nullptr;
    TLabel* Q2 = nullptr;
    TLabel* P3 = nullptr;
    TLabel* Q3 = nullptr;
    TPanel* OK = nullptr;
    TImage* Image34 = nullptr;

    // TimeOut panel.
    TPanel* TimeOut = nullptr;
    TImage* TimeOutDisplay = nullptr;
    TLabel* P1B = nullptr;
    TLabel* Q1B = nullptr;
    TLabel* P3B = nullptr;
    TLabel* Q3B = nullptr;
    TPanel* OK2 = nullptr;
    TImage* Image49 = nullptr;

    // Player entry panel.
    TPanel* PlayerPanel = nullptr;
    TImage* Players = nullptr;
    std::array<TPanel*, 4> PlayerSlotPanel{}; // Player1Panel ... Player4Panel
    std::array<TLabel*, 4> PlayerLabel{};     // Label1 ... Label4
    std::array<QLineEdit*, 4> PlayerName{};   // Player1 ... Player4
    std::array<TPanel*, 4> Clear{};           // Clear1 ... Clear4
    TPanel* OK3 = nullptr;
    TImage* OKDisp = nullptr;

    // Ready panel.
    TPanel* ReadyPanel = nullptr;
    TImage* Ready = nullptr;
    TImage* GameOver2 = nullptr;
    TImage* Player = nullptr;
    TImage* One = nullptr;
    TImage* Two = nullptr;
    TImage* Three = nullptr;
    TImage* Four = nullptr;
    TPanel* NamePanel = nullptr;

    // Final score panel.
    TPanel* FinalScorePanel = nullptr;
    TPanel* ScoreBox = nullptr;
    TLabel* ScoreTitle = nullptr;   // "FINAL SCORES" above the box
    std::array<TLabel*, 4> NAME{};  // NAME1 ... NAME4
    std::array<TLabel*, 4> SCORE{}; // SCORE1 ... SCORE4
    TPanel* OK4 = nullptr;
    TImage* Image36 = nullptr;

    // Hidden picture holders.
    TImage* AIn = nullptr;
    TImage* AOut = nullptr;
    TImage* Bin = nullptr;
    TImage* Bout = nullptr;
    TImage* CIn = nullptr;
    TImage* Cout = nullptr;
    TImage* Din = nullptr;
    TImage* Dout = nullptr;
    TImage* StartIn = nullptr;
    TImage* StartOut = nullptr;
    TImage* StopIn = nullptr;
    TImage* StopOut = nullptr;
    std::array<TImage*, 10> N{}; // N0, N1b, N2b, N3b, N4 ... N9
    TImage* NB = nullptr;
    TImage* Holder = nullptr;
    TImage* LogoIn = nullptr;
    TImage* LogoOut = nullptr;
    TImage* CorrectIn = nullptr;
    TImage* CorrectOut = nullptr;
    TImage* OneDollarOn = nullptr;
    TImage* OneDollarOff = nullptr;
    TImage* FiveDollarOn = nullptr;
    TImage* FiveDollarOff = nullptr;
    TImage* FifteenDollarOn = nullptr;
    TImage* FifteenDollarOff = nullptr;
    TImage* FiftyDollarOn = nullptr;
    TImage* FiftyDollarOff = nullptr;
    TImage* LoseOn = nullptr;
    TImage* LoseOff = nullptr;

    // Menu.
    QMenu* File1 = nullptr;
    QAction* LoadQuestions1 = nullptr;       // "&Change Question File"
    QAction* EditCreateQuestions1 = nullptr; // "Create / &Edit Questions"
    QAction* Exit1 = nullptr;                // "&Close"
    QMenu* Sound21 = nullptr;                // "&Sound"
    QAction* On2 = nullptr;                  // "&On"
    QAction* Off2 = nullptr;                 // "O&ff"
    QAction* NewGame1 = nullptr;             // "&End Game"
    QMenu* Web1 = nullptr;                   // "&Web Links"
    QAction* WebLink1 = nullptr;
    QAction* WebLink2 = nullptr;
    QMenu* Help1 = nullptr;           // "&Help"
    QAction* Instructions1 = nullptr; // "&Instructions"

    // Timers, in the order of the phase map.
    std::unique_ptr<TTimer> Timer1, Timer2, Timer3, Timer4, Timer5, Timer6, Timer7, Timer8, Timer9,
        Timer10, Timer11, Timer12, MindaroLogoTimer, LogoFlash, TOStopWin, FormOpen, NewGame,
        PLAYERGAMEOVER;

    // The lamp of a prize index (1 $1 ... 4 $50, 5 LOSE) and its pictures.
    TImage* LampOf(int prizeIndex) const;
    TImage* LampOnPicture(int prizeIndex) const;
    TImage* LampOffPicture(int prizeIndex) const;
    // Lights (On picture, flag 1) or puts out (Off picture, flag 0) a lamp.
    void SetLamp(int prizeIndex, bool lit);

signals:
    // The screen has been closed: the program ends.
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void CreateMenu();
    void CreateTimers();
    // Hides every control that only a game shows: panels, question area, ladder, pictures.
    void HideGameControls();
    void LoadPictures();
    void WireHandlers();
    void InitLayout();
    void InitCommands();
    void RestoreDesignSize();

    TQuizServices FServices;
    QPointer<TSetQuestions> FEditor;
    std::unique_ptr<TMidiOutput> FMidiOutput;
    std::unique_ptr<TSoundCues> FCues;
    bool FActivatedOnce = false;
    bool FPausedByWindow = false;
};
