// The game screen: its creation from the bands and the play area's views, its menu, the hall of
// fame's File entry and the start-up into attract mode.
#include "QuizScreen.h"

#include "AttractShow.h"
#include "Banners.h"
#include "ButtonBand.h"
#include "CabinetButton.h"
#include "FinalScoresPanel.h"
#include "PlayerEntryPanel.h"
#include "PrizeLadderView.h"
#include "QuestionArea.h"
#include "PlayAreaStyle.h"
#include "TitleBand.h"
#include "ReadyPanel.h"
#include "VerdictPanel.h"

#include "PhoneBuzzers.h"
#include "Settings.h"

#include "Clock.h"
#include "Dialogs.h"
#include "HallOfFame.h"
#include "HallOfFamePage.h"
#include "ImageView.h"
#include "Label.h"
#include "Shape.h"
#include "MidiOutput.h"
#include "QstFile.h"
#include "SoundCues.h"
#include "SpokenPlay.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

QuizScreen::QuizScreen(QuizServices world, QWidget* parent)
    : QMainWindow(parent), game(world.clock, world.programDir, world.seed),
      services(std::move(world)), soundSwitch(services.soundWanted) {
    setObjectName(QStringLiteral("QuizScreen"));
    setWindowTitle(QStringLiteral("Trivora"));
    createControls();
    createMenu();
    connectHandlers();
    initLayout();
    initCommands();
    midiOut = std::make_unique<MidiOutput>(services.midi);
    soundCues = std::make_unique<SoundCues>(*midiOut, soundSwitch);
    game.setSoundCues(soundCues.get());
    connectGame();
    createHallOfFame();
    spokenPlay = std::make_unique<SpokenPlay>(game, services.speaker, services.settings, soundMenu);
    createPhones();
    connect(hallOfFame.get(), &HallOfFame::entryOpened, spokenPlay.get(),
            &SpokenPlay::announceNameEntry);
}

void QuizScreen::createHallOfFame() {
    hallOfFame = std::make_unique<HallOfFame>(game, *this, *playArea, services.clock,
                                              services.scores, services.dialogs);
    // Among the attract pictures, beneath every banner and panel of a game.
    hallOfFame->page->stackUnder(banners->correctBanner);
    attract->setHallOfFame(hallOfFame.get());
    connect(hallOfFame.get(), &HallOfFame::entryFinished, this, [this] { setFocus(); });
    // The buttons on screen act as the cabinet's buttons while a name is entered.
    const std::pair<ImageView*, CabinetButton> onScreen[] = {
        {buttons->answerButtonA, CabinetButton::A},   {buttons->answerButtonB, CabinetButton::B},
        {buttons->answerButtonC, CabinetButton::C},   {buttons->answerButtonD, CabinetButton::D},
        {buttons->startButton, CabinetButton::Start}, {buttons->stopButton, CabinetButton::Stop}};
    for (const auto& [view, button] : onScreen)
        connect(view, &ImageView::mouseDown, hallOfFame.get(),
                [this, button = button] { hallOfFame->pressButton(button); });

    // File -> Clear Hall of Fame, in a group of its own above Close.
    const QList<QAction*> fileActions = fileMenu->actions();
    const qsizetype close = fileActions.indexOf(closeAction);
    QAction* beforeClose =
        close > 0 && fileActions[close - 1]->isSeparator() ? fileActions[close - 1] : closeAction;
    clearHallAction = new QAction(QStringLiteral("Clear &Hall of Fame"), fileMenu);
    clearHallAction->setObjectName(QStringLiteral("clearHallOfFameAction"));
    clearHallAction->setEnabled(hallOfFame->canClear());
    fileMenu->insertAction(beforeClose, clearHallAction);
    fileMenu->insertSeparator(clearHallAction);
    connect(clearHallAction, &QAction::triggered, hallOfFame.get(), &HallOfFame::clearCurrentHall);
}

QuizScreen::~QuizScreen() = default;

void QuizScreen::createControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Client"));
    central->setFixedSize(652, 454);
    setCentralWidget(central);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, CabinetText::silver);
    setPalette(pal);

    titleBand = new TitleBand(central, services.clock, display);
    // The play area: everything in it is placed by layOutPlayArea.
    playArea = new Panel(central, QStringLiteral("playArea"));
    playArea->setColor(Qt::black);
    buttons = new ButtonBand(central, display);
    auto* bands = new QVBoxLayout(central);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);
    bands->addWidget(titleBand);
    bands->addWidget(playArea, 1);
    bands->addWidget(buttons);

    // Stacked in this order: the attract pictures at the back, the banners, the question area,
    // the ladder, and the panels in front.
    QWidget& play = *playArea;
    attract = new AttractShow(play, game, *buttons, display, services.clock);
    banners = new Banners(play, game);
    questionArea = new QuestionArea(play, game);
    ladder = new PrizeLadderView(play, game, display.lampLit);
    wrongPanel = new VerdictPanel(&play, game, VerdictPanel::Kind::Wrong);
    timeOutPanel = new VerdictPanel(&play, game, VerdictPanel::Kind::TimeOut);
    playerPanel = new PlayerEntryPanel(&play, game);
    readyPanel = new ReadyPanel(&play, game);
    finalScorePanel = new FinalScoresPanel(&play, game);

    // The splash window's hand-over sets the handler.
    splashHandOverTimer =
        std::make_unique<Timer>(services.clock, "splashHandOverTimer", 7000, true, 0, nullptr);
}

void QuizScreen::createMenu() {
    QMenuBar* bar = menuBar();
    fileMenu = bar->addMenu(QStringLiteral("&File"));
    changeQuestionFileAction = fileMenu->addAction(QStringLiteral("&Change Question File"));
    changeQuestionFileAction->setObjectName(QStringLiteral("changeQuestionFileAction"));
    changeQuestionFileAction->setShortcut(QKeySequence(Qt::Key_F1));
    fileMenu->addSeparator();
    editQuestionsAction = fileMenu->addAction(QStringLiteral("Create / &Edit Questions"));
    editQuestionsAction->setObjectName(QStringLiteral("editQuestionsAction"));
    editQuestionsAction->setShortcut(QKeySequence(Qt::Key_F2));
    controlsAction = fileMenu->addAction(QStringLiteral("C&ontrols\u2026"));
    controlsAction->setObjectName(QStringLiteral("controlsAction"));
    fileMenu->addSeparator();
    closeAction = fileMenu->addAction(QStringLiteral("&Close"));
    closeAction->setObjectName(QStringLiteral("closeAction"));
    closeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));

    soundMenu = bar->addMenu(QStringLiteral("&Sound"));
    soundMenu->setObjectName(QStringLiteral("soundMenu"));
    soundOnAction = soundMenu->addAction(QStringLiteral("&On"));
    soundOnAction->setObjectName(QStringLiteral("soundOnAction"));
    soundOnAction->setCheckable(true);
    soundOnAction->setChecked(false);
    soundOffAction = soundMenu->addAction(QStringLiteral("O&ff"));
    soundOffAction->setObjectName(QStringLiteral("soundOffAction"));
    soundOffAction->setCheckable(true);
    soundOffAction->setChecked(true);

    viewMenu = bar->addMenu(QStringLiteral("&View"));
    viewMenu->setObjectName(QStringLiteral("viewMenu"));
    fullScreenAction = viewMenu->addAction(QStringLiteral("&Full Screen"));
    fullScreenAction->setObjectName(QStringLiteral("fullScreenAction"));
    fullScreenAction->setShortcut(QKeySequence(Qt::Key_F11));
    fullScreenAction->setCheckable(true);

    endGameAction = bar->addAction(QStringLiteral("&End Game"));
    endGameAction->setObjectName(QStringLiteral("endGameAction"));
    endGameAction->setVisible(false);

    webLinksMenu = bar->addMenu(QStringLiteral("&Web Links"));
    webLinksMenu->setObjectName(QStringLiteral("webLinksMenu"));
    triviaDatabaseAction = webLinksMenu->addAction(QString());
    triviaDatabaseAction->setObjectName(QStringLiteral("triviaDatabaseAction"));
    triviaArticleAction = webLinksMenu->addAction(QString());
    triviaArticleAction->setObjectName(QStringLiteral("triviaArticleAction"));

    helpMenu = bar->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    instructionsAction = helpMenu->addAction(QStringLiteral("&Instructions"));
    instructionsAction->setObjectName(QStringLiteral("instructionsAction"));
}

void QuizScreen::connectHandlers() {
    // One mouse-down handler serves the five buttons and the seventeen answer controls.
    for (ImageView* b : {buttons->answerButtonA, buttons->answerButtonB, buttons->answerButtonC,
                         buttons->answerButtonD, buttons->startButton})
        connect(b, &ImageView::mouseDown, this, [this, b] { pressControl(b); });
    for (std::size_t i = 0; i < 4; ++i) {
        Shape* cover = questionArea->answerRows[i];
        Label* cap = questionArea->answerLetters[i];
        Label* answer = questionArea->answerTexts[i];
        connect(cover, &Shape::mouseDown, this, [this, cover] { pressControl(cover); });
        connect(cap, &Label::mouseDown, this, [this, cap] { pressControl(cap); });
        connect(answer, &Label::mouseDown, this, [this, answer] { pressControl(answer); });
        // The frame lies over its row: a press on the row's edge or between the letter and
        // the text answers as the cover under it.
        connect(questionArea->answerFrames[i], &Panel::mouseDown, this,
                [this, cover] { pressControl(cover); });
    }
    connect(buttons->stopButton, &ImageView::mouseDown, this, [this] { pressStop(); });

    connect(changeQuestionFileAction, &QAction::triggered, this, [this] { changeQuestionFile(); });
    connect(editQuestionsAction, &QAction::triggered, this, [this] { openEditor(); });
    connect(closeAction, &QAction::triggered, this, [this] { closeScreen(); });
    // The menu has already flipped the chosen entry's check mark; the handler flips both.
    // Either entry switches the sound over, the checked one too; the check marks show the
    // player's wish.
    connect(soundOnAction, &QAction::triggered, this, [this] { toggleSound(); });
    connect(soundOffAction, &QAction::triggered, this, [this] { toggleSound(); });
    const auto showSoundWish = [this] {
        soundOnAction->setChecked(soundSwitch.wanted());
        soundOffAction->setChecked(!soundSwitch.wanted());
    };
    connect(&soundSwitch, &SoundSwitch::changed, this, showSoundWish);
    showSoundWish();
    connect(endGameAction, &QAction::triggered, this, [this] { endGame(); });
    connect(triviaDatabaseAction, &QAction::triggered, this, [this] { openTriviaDatabase(); });
    connect(triviaArticleAction, &QAction::triggered, this, [this] { openTriviaArticle(); });
    connect(instructionsAction, &QAction::triggered, this, [this] { showInstructions(); });
}

void QuizScreen::startUp() {
    // 1. Sound: the MIDI mapper with its instruments. A step that raises switches sound off
    // for this run; a device that merely does not open raises nothing.
    try {
        soundCues->setUp();
    } catch (const MidiOutputError&) {
        soundSwitch.setUnavailable();
        soundMenu->setEnabled(false);
        soundMenu->menuAction()->setEnabled(false);
    }
    // 2. The top panel's logo starts lit.
    titleBand->flashLogo();
    // 3. The prize lamps, unlit.
    ladder->showLit(Lamp::None);
    // 4. Attract mode, on REGD.QST of the program directory.
    game.enterAttractMode();
    // 5. The phones, when they were left on.
    if (services.settings.phonesWanted()) phones->start();
}
