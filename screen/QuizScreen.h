#pragma once

#include "Panel.h"
#include "QuestionEditorState.h"
#include "QuizGame.h"
#include "ScreenState.h"
#include "SoundSwitch.h"
#include "Timer.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QLineEdit;
class QMenu;
class Clock;
class Dialogs;
class AttractShow;
class Banners;
class ButtonBand;
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
class TitleBand;

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

// The game screen: the coin-op cabinet. It owns the game model (QuizGame: the phase, the rules
// and the game's timers) and composes the views that show it: the title band, the play area's
// parts (attract show, banners, question area, ladder, panels), each of which shows itself from
// the game's phase, and the button band. The screen owns the menus, sets them from the game's
// offers, and turns clicks, keys, cabinet buttons and menu commands into the model's commands.
// Files: the buttons and offers (QuizScreenShow), input and commands (QuizScreenCommands,
// QuizScreenCabinet), layout, question files, phones.
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
    // The buttons of a phase: the chosen answer lit, STOP lit once the ladder stopped.
    void showPhase(QuizGame::Phase phase);
    // The menu entries the game offers now: End Game, Edit Questions, Change Question File.
    void showOffers();

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

    // ---- Cabinet buttons (QuizScreenCabinet.cpp)
    // A cabinet button pressed on a game controller, joystick or encoder board: A to D as the
    // keys A to D, START as Enter, STOP as the STOP button. Ignored while the screen is hidden,
    // minimised or paused by another window of the program.
    void pressCabinetButton(CabinetButton button);

    // ---- Layout (QuizScreenLayout.cpp)
    void layOutPlayArea();
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

    // ---- Controls
    // The bands above and below the play area, and the play area between them.
    TitleBand* titleBand = nullptr;
    ButtonBand* buttons = nullptr;
    Panel* playArea = nullptr;

    // What the play area shows; each part shows itself from the game's phase.
    AttractShow* attract = nullptr;
    Banners* banners = nullptr;
    QuestionArea* questionArea = nullptr;
    PrizeLadderView* ladder = nullptr;
    // The panels that wait for OK after a wrong answer and a time out, between the turns of
    // several players, and at the end of a game.
    VerdictPanel* wrongPanel = nullptr;
    VerdictPanel* timeOutPanel = nullptr;
    ReadyPanel* readyPanel = nullptr;
    PlayerEntryPanel* playerPanel = nullptr;
    FinalScoresPanel* finalScorePanel = nullptr;

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

    // The splash window's hand-over to the screen: the program sets what it does.
    std::unique_ptr<Timer> splashHandOverTimer;

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
    void createControls();
    void createMenu();
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
