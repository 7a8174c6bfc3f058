#pragma once

#include "ImageView.h"
#include "Label.h"
#include "Panel.h"
#include "QuestionEditorState.h"
#include "QuizGame.h"
#include "ScreenState.h"
#include "SoundSwitch.h"
#include "Shape.h"
#include "Timer.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLineEdit;
class QMenu;
class Clock;
class Dialogs;
class FinalScoresPanel;
class PlayerEntryPanel;
class PrizeLadderView;
class QuestionArea;
class ReadyPanel;
class VerdictPanel;
class HallOfFame;
class MidiOutput;
class MidiPlatform;
class PhoneBuzzers;
class QuestionEditor;
class ScoreKeeper;
class Settings;
class Shell;
class SoundCues;
enum class CabinetButton;
class Speaker;
class SpokenPlay;

// Everything the game screen needs from the world outside it.
struct QuizServices {
    Clock& clock;
    Dialogs& dialogs;
    Shell& shell;
    Settings& settings;
    MidiPlatform& midi;
    // The program directory: the folder of the start-up question set "REGD.QST".
    QString programDir;
    // The stored wish for sound, read at start-up.
    bool soundWanted = true;
    // Seed for the draw's random numbers at every reset; empty: the wall clock.
    std::function<std::uint32_t()> seed;
    // The hall of fame and the questions' figures; none: no scores are kept.
    ScoreKeeper* scores = nullptr;
    // What spoken play speaks through; null: nothing can speak.
    Speaker* speaker = nullptr;
};

// The game screen: the coin-op cabinet. It shows the game model it owns (QuizGame: the phase,
// the rules and the game's timers) with its controls and pictures, and turns clicks, keys and
// menu commands into the model's commands. Files: what it shows (QuizScreenShow), input and
// commands (QuizScreenCommands, QuizScreenPlayers), attract mode, layout, question files.
class QuizScreen : public QMainWindow {
    Q_OBJECT
public:
    explicit QuizScreen(QuizServices world, QWidget* parent = nullptr);
    ~QuizScreen() override;

    // The clock the screen and its panels time themselves by.
    const Clock& clock() const { return services.clock; }
    // The game: its rules and state.
    QuizGame game;
    // What the pictures show.
    ScreenState display;
    // The hall of fame: the name entry, the attract page, the figures, File → Clear.
    std::unique_ptr<HallOfFame> hallOfFame;

    // ---- Creation (QuizScreen.cpp)
    void startUp();

    // ---- What the screen shows of the game (QuizScreenShow.cpp)
    // The panels and pictures of a phase; nothing of the phase before stays.
    void showPhase(QuizGame::Phase phase);
    void showCorrectBanner(bool lit, int flashPhase);
    // The menu entries the game offers now: End Game, Edit Questions, Change Question File.
    void showOffers();
    void lightButtons(bool a, bool b, bool c, bool d, bool start);
    // The ladder is on screen.
    bool ladderShowing() const;

    // ---- Input (QuizScreenCommands.cpp)
    // A press on START, an answer button or any part of an answer row.
    void pressControl(QObject* sender);
    void pressStop();
    // A key typed into a name box: Enter confirms the players. True when the key is used up.
    bool nameBoxKeyTyped(QChar key);

    // ---- Commands and keyboard (QuizScreenCommands.cpp)
    void keyTyped(QChar key);
    void endGame();
    void toggleSound();
    void resumeGame();
    void pauseGame();
    void closeScreen();
    void showInstructions();
    void openTriviaDatabase();
    void openTriviaArticle();
    // The sound switch: the player's wish (the Sound menu), muted while the editor is open.
    SoundSwitch& sound() { return soundSwitch; }
    const SoundSwitch& sound() const { return soundSwitch; }
    // The program's active window changed (null: another program is in front). A window of
    // the program with the property "trivoraPausesGame" pauses the game; the game screen
    // coming back resumes it. Message boxes, file dialogs and the help viewer change nothing.
    void activeWindowChanged(QWidget* active);
    // The game timers are paused because another window of the program has the focus.
    bool pausedByWindow() const { return pausedByOtherWindow; }
    // Ends whatever game or game start is under way, with nothing of it left on screen and no
    // game timer running or waiting to resume, and resets to attract mode. The question
    // editor hands the screen back through this.
    void abandonGame();

    // ---- Attract mode (QuizScreenAttract.cpp)
    void cycleAttractButtons();
    void stepAttractSequence();
    void flashTitlePicture();
    void flashTopLogo();

    // ---- Cabinet buttons (QuizScreenCabinet.cpp)
    // A cabinet button pressed on a game controller, joystick or encoder board: A to D as the
    // keys A to D, START as Enter, STOP as the STOP button. Ignored while the screen is hidden,
    // minimised or paused by another window of the program.
    void pressCabinetButton(CabinetButton button);

    // ---- Layout (QuizScreenLayout.cpp)
    void layOutPlayArea();
    // Draws the title logo at the play area's size.
    void fitTitlePictures();
    // The window is maximised (or full screen): the play area is not at its design size.
    bool isMaximised() const;

    // ---- Question files (QuizScreenFiles.cpp)
    void changeQuestionFile();
    void openEditor();
    // The question editor has closed: the game screen takes over again.
    void editorClosed();
    // The question editor while it is open, else null.
    QuestionEditor* editor() const;
    // The editor's state, kept for the whole run of the program.
    QuestionEditorState editorState;

    // ---- Services
    // File -> "Clear &Hall of Fame" (the hall of fame clears it).
    QAction* clearHallAction = nullptr;
    // Spoken play and its "&Speak" entry of the Sound menu.
    std::unique_ptr<SpokenPlay> spokenPlay;
    // Phones as buzzers, switched by its File menu entry; on at start when last left on.
    std::unique_ptr<PhoneBuzzers> phones;
    // Creates the phones, their menu entry and their join card (QuizScreenPhones.cpp).
    void createPhones();
    // Creates the hall of fame and its File menu entry (QuizScreen.cpp).
    void createHallOfFame();
    SoundCues& cues() { return *soundCues; }
    MidiOutput& midiOutput() { return *midiOut; }
    // The timers that pause and resume with the screen: attract mode's and the game's.
    std::vector<const Timer*> gameTimers() const;

    // ---- Controls
    // Bands and areas.
    Panel* topBand = nullptr;             // top band
    Panel* topBandLeft = nullptr;         // top band, left decoration
    Panel* topBandRight = nullptr;        // top band, right decoration
    Panel* titlePanel = nullptr;          // title logo panel
    ImageView* topLogo = nullptr;         // title logo
    ImageView* leftDecoration = nullptr;  // left decoration picture
    ImageView* rightDecoration = nullptr; // right decoration picture
    Panel* bottomBand = nullptr;          // bottom band
    Panel* bottomBandGap = nullptr;       // bottom band, empty middle
    Panel* playArea = nullptr;            // the play area

    // Buttons of the bottom band.
    ImageView* answerButtonA = nullptr;
    ImageView* answerButtonB = nullptr;
    ImageView* answerButtonC = nullptr;
    ImageView* answerButtonD = nullptr;
    ImageView* startButton = nullptr;
    ImageView* stopButton = nullptr;

    // The question, the answer rows, the time gauge and the credit meter.
    QuestionArea* questionArea = nullptr;

    // Pictures of the play area.
    ImageView* upperBanner = nullptr;
    ImageView* lowerBanner = nullptr;
    ImageView* correctBanner = nullptr;
    Shape* correctHighlight = nullptr;
    ImageView* gameOverBanner = nullptr;
    ImageView* companyLogo = nullptr;
    ImageView* presentsCaption = nullptr;
    ImageView* titlePicture = nullptr;
    ImageView* titlePictureLit = nullptr;
    ImageView* pressStartPrompt = nullptr;

    // The prize ladder's lamps and PRESS STOP.
    PrizeLadderView* ladder = nullptr;

    // The panels that wait for OK after a wrong answer and a time out, between the turns of
    // several players, and at the end of a game; each shows itself in its phases.
    VerdictPanel* wrongPanel = nullptr;
    VerdictPanel* timeOutPanel = nullptr;
    ReadyPanel* readyPanel = nullptr;
    PlayerEntryPanel* playerPanel = nullptr;
    FinalScoresPanel* finalScorePanel = nullptr;

    // Hidden picture holders.
    ImageView* answerALitPicture = nullptr;
    ImageView* answerAPicture = nullptr;
    ImageView* answerBLitPicture = nullptr;
    ImageView* answerBPicture = nullptr;
    ImageView* answerCLitPicture = nullptr;
    ImageView* answerCPicture = nullptr;
    ImageView* answerDLitPicture = nullptr;
    ImageView* answerDPicture = nullptr;
    ImageView* startLitPicture = nullptr;
    ImageView* startPicture = nullptr;
    ImageView* stopLitPicture = nullptr;
    ImageView* stopPicture = nullptr;
    ImageView* topLogoLitPicture = nullptr;
    ImageView* topLogoPicture = nullptr;
    ImageView* correctLitPicture = nullptr;
    ImageView* correctDimPicture = nullptr;

    // Menu.
    QMenu* fileMenu = nullptr;
    QAction* changeQuestionFileAction = nullptr; // "&Change Question File"
    QAction* editQuestionsAction = nullptr;      // "Create / &Edit Questions"
    QAction* phonesAction = nullptr; // "Phones as Buzzers…", checked while the phones are on
    QAction* controlsAction = nullptr;           // "C&ontrols…" (the program opens the dialog)
    QAction* closeAction = nullptr;              // "&Close"
    QMenu* soundMenu = nullptr;                  // "&Sound"
    QAction* soundOnAction = nullptr;            // "&On"
    QAction* soundOffAction = nullptr;           // "O&ff"
    QMenu* viewMenu = nullptr;                   // "&View"
    QAction* fullScreenAction = nullptr;         // "&Full Screen" (the program switches it)
    QAction* endGameAction = nullptr;            // "&End Game"
    QMenu* webLinksMenu = nullptr;               // "&Web Links"
    QAction* triviaDatabaseAction = nullptr;
    QAction* triviaArticleAction = nullptr;
    QMenu* helpMenu = nullptr;             // "&Help"
    QAction* instructionsAction = nullptr; // "&Instructions"

    // The view's own timers: attract mode's pictures and the splash's hand-over.
    std::unique_ptr<Timer> attractButtonTimer, attractSequenceTimer, titleFlashTimer, topLogoTimer,
        splashHandOverTimer;


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
    void connectGame();
    void showAttractMode();
    // Stops attract mode's timers and forgets that they ran.
    void forgetAttractTimers();
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
    SoundSwitch soundSwitch;
    QPointer<QuestionEditor> editorWindow;
    std::unique_ptr<MidiOutput> midiOut;
    std::unique_ptr<SoundCues> soundCues;
    bool activatedOnce = false;
    bool pausedByOtherWindow = false;
};
