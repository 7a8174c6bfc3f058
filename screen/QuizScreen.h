#pragma once

#include "QuestionEditorState.h"
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
class QuestionEditor;
class TSettings;
class TShell;
class TSoundCues;

// Everything the game screen needs from the world outside it.
struct QuizServices {
    TClock& clock;
    TDialogs& dialogs;
    TShell& shell;
    TSettings& settings;
    TMidiPlatform& midi;
    // The program directory: the folder of the start-up question set "REGD.QST".
    QString programDir;
    // The stored wish for sound, read at start-up.
    bool soundWanted = true;
    // Seed for the draw's random numbers at every reset; empty: the wall clock.
    std::function<std::uint32_t()> seed;
};

// The game screen: the coin-op cabinet. It owns the controls, the timers and the game state;
// the logic of each concern lives in its own file (reveal, answer, credit, ladder, players,
// commands, attract mode, layout, question files).
class QuizScreen : public QMainWindow {
    Q_OBJECT
public:
    explicit QuizScreen(QuizServices world, QWidget* parent = nullptr);
    ~QuizScreen() override;

    // The game: its rules and state.
    QuizGame game;
    // What the pictures show.
    ScreenState display;

    // ---- Creation and reset (QuizScreen.cpp)
    void startUp();
    void enterAttractMode();
    // Selects "REGD.QST" in the program directory and checks it with the start-up rules.
    void selectStartupQuestionFile();
    // Makes a question set the game's set when it passes a reader's rules; warns when not.
    bool useQuestionFile(const QString& path, const struct TReaderRules& rules);

    // ---- Question draw and reveal (QuizReveal.cpp)
    void revealNextLetter();

    // ---- Answer input, time limit and judgement (QuizAnswer.cpp)
    void lightButtons(bool a, bool b, bool c, bool d, bool start);
    void pressControl(QObject* sender);
    void tickTimeGauge();
    void judgeAnswer();
    void endQuestion();
    void playFallNote();
    void flashCorrectBanner();
    void confirmWrongPanel();
    void confirmTimeOutPanel();
    void raiseWrongPanelOk();
    void flattenWrongPanelOk();
    void raiseTimeOutPanelOk();
    void flattenTimeOutPanelOk();
    // Hides (or shows) the question area: time strip, question, frames and answer controls.
    void showQuestionArea(bool visible);
    void showAnswerControls(bool visible);

    // ---- Credit meter (QuizCredit.cpp)
    void loadDigitHolder(unsigned digit, bool blank);
    void showCredit();
    void addCreditDollar();
    void chargeQuestion();

    // ---- Prize ladder (QuizLadder.cpp)
    void startLadder();
    void stepLadderLight();
    void stopLadder();
    void pressStop();
    void stopLadderAtTimeLimit();
    void flashPrizeLamp();
    void endPrizeDisplay();
    // The ladder is on screen.
    bool ladderShowing() const;

    // ---- Players, turns and final scores (QuizPlayers.cpp)
    void pressStart();
    void playerNameChanged(int slot);
    void clearPlayerName(int slot);
    // A key typed into a name box: Enter confirms the players. True when the key is used up.
    bool nameBoxKeyTyped(QChar key);
    void raiseClearButton(int slot);
    void flattenPlayerPanelButtons(int slot); // slot 0: the panel itself, 1-4: a name panel
    void confirmPlayers();
    void raisePlayerPanelOk();
    void selectNextPlayer();
    void startTurn();
    void endPlayerOutNotice();
    void showGameOver();
    void showFinalScores();
    void confirmFinalScores();
    void raiseFinalScoreOk();
    void flattenFinalScoreOk();

    // ---- Commands and keyboard (QuizCommands.cpp)
    void keyTyped(QChar key);
    void endGame();
    void toggleSound();
    void resumeGame();
    void pauseGame();
    void closeScreen();
    void showInstructions();
    void openTriviaDatabase();
    void openTriviaArticle();
    // "&On" is checked: every cue tests this when it is sent.
    bool soundOn() const;
    // The program's active window changed (null: another program is in front). A window of
    // the program with the property "trivoraPausesGame" pauses the game; the game screen
    // coming back resumes it. Message boxes, file dialogs and the help viewer change nothing.
    void activeWindowChanged(QWidget* active);
    // The game timers are paused because another window of the program has the focus.
    bool pausedByWindow() const { return pausedByOtherWindow; }
    // Run by the reset: stops the timers that only a running game uses (judgement, correct
    // flash, ladder, game over, the turn hand-overs) and forgets that they ran, so that no later
    // resume brings back a question of a game that has ended.
    void endGameTimers();
    // Ends whatever game or game start is under way, with nothing of it left on screen and no
    // game timer running or waiting to resume, and resets to attract mode. The question
    // editor hands the screen back through this.
    void abandonGame();
    // Stops every game timer and forgets that it ran, so that no resume can start it.
    void forgetGameTimers();

    // ---- Attract mode (QuizAttract.cpp)
    void cycleAttractButtons();
    void stepAttractSequence();
    void flashTitlePicture();
    void flashTopLogo();

    // ---- Layout (QuizLayout.cpp)
    void layOutPlayArea();
    // Draws the title logo at the play area's size.
    void fitTitlePictures();
    // The window is maximised (or full screen): the play area is not at its design size.
    bool isMaximised() const;

    // ---- Question files (QuizFiles.cpp)
    void changeQuestionFile();
    void openEditor();
    // The question editor has closed: the game screen takes over again.
    void editorClosed();
    // The question editor while it is open, else null.
    QuestionEditor* editor() const;
    // The editor's state, kept for the whole run of the program.
    QuestionEditorState editorState;

    // ---- Services
    TSoundCues& cues() { return *soundCues; }
    TMidiOutput& midiOutput() { return *midiOut; }
    // The game timers that pause and resume with the screen, in their fixed order.
    std::array<TTimer*, 15> gameTimers();

    // ---- Controls
    // Bands and areas.
    TPanel* topBand = nullptr;         // top band
    TPanel* topBandLeft = nullptr;     // top band, left decoration
    TPanel* topBandRight = nullptr;    // top band, right decoration
    TPanel* titlePanel = nullptr;      // title logo panel
    TImage* topLogo = nullptr;         // title logo
    TImage* leftDecoration = nullptr;  // left decoration picture
    TImage* rightDecoration = nullptr; // right decoration picture
    TPanel* bottomBand = nullptr;      // bottom band
    TPanel* bottomBandGap = nullptr;   // bottom band, empty middle
    TPanel* playArea = nullptr;        // the play area

    // Buttons of the bottom band.
    TImage* answerButtonA = nullptr;
    TImage* answerButtonB = nullptr;
    TImage* answerButtonC = nullptr;
    TImage* answerButtonD = nullptr;
    TImage* startButton = nullptr;
    TImage* stopButton = nullptr;

    // Question area.
    TLabel* timeCaption = nullptr;       // "Time :"
    TLabel* timeCaptionShadow = nullptr; // its shadow
    TGauge* timeGauge = nullptr;         // the time gauge
    TPanel* timeGaugeFrame = nullptr;
    TPanel* timeStrip = nullptr;
    TLabel* creditCaption = nullptr;       // "Credit : "
    TLabel* creditCaptionShadow = nullptr; // its shadow
    TPanel* creditMeter = nullptr;
    std::array<TImage*, 5> creditDigits{}; // Digit1 ... Digit5
    TLabel* questionLabel = nullptr;
    TPanel* answerFrameA = nullptr;
    TPanel* answerFrameB = nullptr;
    TPanel* answerFrameC = nullptr;
    TPanel* answerFrameD = nullptr;
    TPanel* answerDivider = nullptr;
    std::array<TShape*, 4> answerRows{};    // CoverA ... CoverD
    std::array<TLabel*, 4> answerLetters{}; // ACap ... DCap
    std::array<TLabel*, 4> answerTexts{};   // AnswerA ... AnswerD

    // Pictures of the play area.
    TImage* upperBanner = nullptr;
    TImage* lowerBanner = nullptr;
    TImage* correctBanner = nullptr;
    TShape* correctHighlight = nullptr;
    TImage* gameOverBanner = nullptr;
    TImage* companyLogo = nullptr;
    TImage* presentsCaption = nullptr;
    TImage* titlePicture = nullptr;
    TImage* titlePictureLit = nullptr;
    TImage* pressStartPrompt = nullptr;

    // Prize ladder.
    TImage* oneDollarLamp = nullptr;
    TImage* fiveDollarLamp = nullptr;
    TImage* fifteenDollarLamp = nullptr;
    TImage* fiftyDollarLamp = nullptr;
    TImage* loseLamp = nullptr;
    TImage* pressStopPrompt = nullptr;

    // Wrong panel.
    TPanel* wrongPanel = nullptr;
    TImage* wrongHeading = nullptr;
    TLabel* wrongQuestionCaption = nullptr;
    TLabel* wrongQuestion = nullptr;
    TLabel* wrongChosenCaption = nullptr;
    TLabel* wrongChosen = nullptr;
    TLabel* wrongCorrectCaption = nullptr;
    TLabel* wrongCorrect = nullptr;
    TPanel* wrongPanelOkFrame = nullptr;
    TImage* wrongPanelOk = nullptr;

    // TimeOut panel.
    TPanel* timeOutPanel = nullptr;
    TImage* timeOutHeading = nullptr;
    TLabel* timeOutQuestionCaption = nullptr;
    TLabel* timeOutQuestion = nullptr;
    TLabel* timeOutCorrectCaption = nullptr;
    TLabel* timeOutCorrect = nullptr;
    TPanel* timeOutPanelOkFrame = nullptr;
    TImage* timeOutPanelOk = nullptr;

    // Player entry panel.
    TPanel* playerPanel = nullptr;
    TImage* playerHeading = nullptr;
    std::array<TPanel*, 4> playerSlots{};        // Player1Panel ... Player4Panel
    std::array<TLabel*, 4> playerSlotCaptions{}; // Label1 ... Label4
    std::array<QLineEdit*, 4> playerNameBoxes{}; // Player1 ... Player4
    std::array<TPanel*, 4> clearButtons{};       // Clear1 ... Clear4
    TPanel* playerPanelOkFrame = nullptr;
    TImage* playerPanelOk = nullptr;

    // Ready panel.
    TPanel* readyPanel = nullptr;
    TImage* readyHeading = nullptr;
    TImage* playerOutHeading = nullptr;
    TImage* playerCaption = nullptr;
    TImage* playerNumberOne = nullptr;
    TImage* playerNumberTwo = nullptr;
    TImage* playerNumberThree = nullptr;
    TImage* playerNumberFour = nullptr;
    TPanel* readyName = nullptr;

    // Final score panel.
    TPanel* finalScorePanel = nullptr;
    TPanel* scoreBox = nullptr;
    TLabel* scoreTitle = nullptr;         // "FINAL SCORES" above the box
    std::array<TLabel*, 4> finalNames{};  // NAME1 ... NAME4
    std::array<TLabel*, 4> finalScores{}; // SCORE1 ... SCORE4
    TPanel* finalScoreOkFrame = nullptr;
    TImage* finalScoreOk = nullptr;

    // Hidden picture holders.
    TImage* answerALitPicture = nullptr;
    TImage* answerAPicture = nullptr;
    TImage* answerBLitPicture = nullptr;
    TImage* answerBPicture = nullptr;
    TImage* answerCLitPicture = nullptr;
    TImage* answerCPicture = nullptr;
    TImage* answerDLitPicture = nullptr;
    TImage* answerDPicture = nullptr;
    TImage* startLitPicture = nullptr;
    TImage* startPicture = nullptr;
    TImage* stopLitPicture = nullptr;
    TImage* stopPicture = nullptr;
    std::array<TImage*, 10> digitPictures{}; // N0, N1b, N2b, N3b, N4 ... N9
    TImage* blankDigitPicture = nullptr;
    TImage* digitHolder = nullptr;
    TImage* topLogoLitPicture = nullptr;
    TImage* topLogoPicture = nullptr;
    TImage* correctLitPicture = nullptr;
    TImage* correctDimPicture = nullptr;
    TImage* oneDollarLitPicture = nullptr;
    TImage* oneDollarPicture = nullptr;
    TImage* fiveDollarLitPicture = nullptr;
    TImage* fiveDollarPicture = nullptr;
    TImage* fifteenDollarLitPicture = nullptr;
    TImage* fifteenDollarPicture = nullptr;
    TImage* fiftyDollarLitPicture = nullptr;
    TImage* fiftyDollarPicture = nullptr;
    TImage* loseLitPicture = nullptr;
    TImage* losePicture = nullptr;

    // Menu.
    QMenu* fileMenu = nullptr;
    QAction* changeQuestionFileAction = nullptr; // "&Change Question File"
    QAction* editQuestionsAction = nullptr;      // "Create / &Edit Questions"
    QAction* closeAction = nullptr;              // "&Close"
    QMenu* soundMenu = nullptr;                  // "&Sound"
    QAction* soundOnAction = nullptr;            // "&On"
    QAction* soundOffAction = nullptr;           // "O&ff"
    QAction* endGameAction = nullptr;            // "&End Game"
    QMenu* webLinksMenu = nullptr;               // "&Web Links"
    QAction* triviaDatabaseAction = nullptr;
    QAction* triviaArticleAction = nullptr;
    QMenu* helpMenu = nullptr;             // "&Help"
    QAction* instructionsAction = nullptr; // "&Instructions"

    // Timers, in the order of the phase map.
    std::unique_ptr<TTimer> attractButtonTimer, attractSequenceTimer, revealTimer, timeGaugeTimer,
        judgementTimer, questionEndTimer, gameOverTimer, ladderLightTimer, prizeDisplayTimer,
        fallRunTimer, prizeFlashTimer, correctFlashTimer, titleFlashTimer, topLogoTimer,
        ladderTimeLimit, splashHandOverTimer, readyTimer, playerOutTimer;

    // The lamp of a prize index (1 $1 ... 4 $50, 5 LOSE) and its pictures.
    TImage* lampOf(int prizeIndex) const;
    TImage* lampLitPicture(int prizeIndex) const;
    TImage* lampUnlitPicture(int prizeIndex) const;
    // Lights (On picture, flag 1) or puts out (Off picture, flag 0) a lamp.
    void setLamp(int prizeIndex, bool lit);

signals:
    // The screen has been closed: the program ends.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void createMenu();
    void createTimers();
    // Hides every control that only a game shows: panels, question area, ladder, pictures.
    void hideGameControls();
    void loadPictures();
    void connectHandlers();
    void initLayout();
    void initCommands();
    void restoreDesignSize();

    QuizServices services;
    QPointer<QuestionEditor> editorWindow;
    std::unique_ptr<TMidiOutput> midiOut;
    std::unique_ptr<TSoundCues> soundCues;
    bool activatedOnce = false;
    bool pausedByOtherWindow = false;
};
