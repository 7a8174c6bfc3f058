// The game screen: its controls, menu and timers, its creation and the reset to attract mode.
#include "QuizScreen.h"

#include "CabinetButton.h"
#include "FinalScoresPanel.h"
#include "PlayerEntryPanel.h"
#include "PrizeLadderView.h"
#include "QuestionArea.h"
#include "PlayAreaStyle.h"
#include "ReadyPanel.h"
#include "VerdictPanel.h"

#include "PhoneBuzzers.h"
#include "Settings.h"

#include "Clock.h"
#include "Dialogs.h"
#include "HallOfFame.h"
#include "HallOfFamePage.h"
#include "MidiOutput.h"
#include "QstFile.h"
#include "ScreenAccessibility.h"
#include "SoundCues.h"
#include "SpokenPlay.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {
// The metal of the cabinet around the play area.
const QColor CabinetMetal(0x16, 0x16, 0x24);

constexpr QSize ButtonSize(88, 72);

template <class T> T* makeControl(QWidget* parent, const char* name) {
    return new T(parent, QString::fromLatin1(name));
}

} // namespace

QuizScreen::QuizScreen(QuizServices world, QWidget* parent)
    : QMainWindow(parent), game(world.clock, world.programDir, world.seed),
      services(std::move(world)), soundSwitch(services.soundWanted) {
    setObjectName(QStringLiteral("QuizScreen"));
    setWindowTitle(QStringLiteral("Trivora"));
    createControls();
    createMenu();
    createTimers();
    loadPictures();
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
    describeForAssistiveTechnology(*this);
    connect(hallOfFame.get(), &HallOfFame::entryOpened, spokenPlay.get(),
            &SpokenPlay::announceNameEntry);
}

void QuizScreen::createHallOfFame() {
    hallOfFame = std::make_unique<HallOfFame>(game, *this, *playArea, services.clock,
                                              services.scores, services.dialogs);
    // Among the attract pictures, beneath every panel of a game.
    hallOfFame->page->stackUnder(upperBanner);
    connect(hallOfFame.get(), &HallOfFame::entryFinished, this, [this] { setFocus(); });
    // The buttons on screen act as the cabinet's buttons while a name is entered.
    const std::pair<ImageView*, CabinetButton> buttons[] = {
        {answerButtonA, CabinetButton::A},   {answerButtonB, CabinetButton::B},
        {answerButtonC, CabinetButton::C},   {answerButtonD, CabinetButton::D},
        {startButton, CabinetButton::Start}, {stopButton, CabinetButton::Stop}};
    for (const auto& [view, button] : buttons)
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

    auto* bands = new QVBoxLayout(central);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);

    // Top band: decorations either side of the title logo.
    topBand = makeControl<Panel>(central, "topBand");
    topBand->setFixedHeight(112);
    topBand->setColor(CabinetMetal);
    topBand->setBevelOuter(Bevel::Raised);
    auto* top = new QHBoxLayout(topBand);
    top->setContentsMargins(4, 6, 4, 6);
    top->setSpacing(0);
    topBandLeft = makeControl<Panel>(topBand, "topBandLeft");
    topBandLeft->setTransparent(true);
    leftDecoration = makeControl<ImageView>(topBandLeft, "leftDecoration");
    leftDecoration->setAccessibleName(QStringLiteral("Decoration"));
    auto* left = new QHBoxLayout(topBandLeft);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(leftDecoration);
    titlePanel = makeControl<Panel>(topBand, "titlePanel");
    titlePanel->setTransparent(true);
    titlePanel->setFixedSize(405, 100);
    topLogo = makeControl<ImageView>(titlePanel, "topLogo");
    topLogo->setGeometry(0, 0, 405, 100);
    topLogo->setAccessibleName(QStringLiteral("Trivora"));
    topBandRight = makeControl<Panel>(topBand, "topBandRight");
    topBandRight->setTransparent(true);
    rightDecoration = makeControl<ImageView>(topBandRight, "rightDecoration");
    rightDecoration->setAccessibleName(QStringLiteral("Decoration"));
    auto* right = new QHBoxLayout(topBandRight);
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(rightDecoration);
    top->addWidget(topBandLeft, 1);
    top->addWidget(titlePanel, 0, Qt::AlignCenter);
    top->addWidget(topBandRight, 1);

    // The play area: everything in it is placed by layOutPlayArea.
    playArea = makeControl<Panel>(central, "playArea");
    playArea->setColor(Qt::black);

    // Bottom band: answer buttons left, STOP and START right.
    bottomBand = makeControl<Panel>(central, "bottomBand");
    bottomBand->setFixedHeight(89);
    bottomBand->setColor(CabinetMetal);
    bottomBand->setBevelOuter(Bevel::Raised);
    auto* bottom = new QHBoxLayout(bottomBand);
    bottom->setContentsMargins(6, 8, 6, 9);
    bottom->setSpacing(4);
    const auto button = [this](const char* name, const QString& accessible) {
        auto* b = makeControl<ImageView>(bottomBand, name);
        b->setFixedSize(ButtonSize);
        b->setAccessibleName(accessible);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    answerButtonA = button("answerButtonA", QStringLiteral("Answer A"));
    answerButtonB = button("answerButtonB", QStringLiteral("Answer B"));
    answerButtonC = button("answerButtonC", QStringLiteral("Answer C"));
    answerButtonD = button("answerButtonD", QStringLiteral("Answer D"));
    bottomBandGap = makeControl<Panel>(bottomBand, "bottomBandGap");
    bottomBandGap->setTransparent(true);
    stopButton = button("stopButton", QStringLiteral("Stop"));
    startButton = button("startButton", QStringLiteral("Start"));
    for (QWidget* w : {static_cast<QWidget*>(answerButtonA), static_cast<QWidget*>(answerButtonB),
                       static_cast<QWidget*>(answerButtonC), static_cast<QWidget*>(answerButtonD)})
        bottom->addWidget(w);
    bottom->addWidget(bottomBandGap, 1);
    bottom->addWidget(stopButton);
    bottom->addWidget(startButton);

    bands->addWidget(topBand);
    bands->addWidget(playArea, 1);
    bands->addWidget(bottomBand);

    QWidget* play = playArea;

    // Attract pictures and the large pictures of the play area.
    companyLogo = makeControl<ImageView>(play, "companyLogo");
    companyLogo->setAccessibleName(QStringLiteral("Mindaro"));
    presentsCaption = makeControl<ImageView>(play, "presentsCaption");
    presentsCaption->setAccessibleName(QStringLiteral("presents"));
    titlePicture = makeControl<ImageView>(play, "titlePicture");
    titlePicture->setStretch(true);
    titlePicture->setAccessibleName(QStringLiteral("Trivora"));
    titlePictureLit = makeControl<ImageView>(play, "titlePictureLit");
    titlePictureLit->setStretch(true);
    titlePictureLit->setAccessibleName(QStringLiteral("Trivora"));
    pressStartPrompt = makeControl<ImageView>(play, "pressStartPrompt");
    pressStartPrompt->setAccessibleName(QStringLiteral("Press START to play"));
    upperBanner = makeControl<ImageView>(play, "upperBanner");
    lowerBanner = makeControl<ImageView>(play, "lowerBanner");
    correctHighlight = makeControl<Shape>(play, "correctHighlight");
    correctBanner = makeControl<ImageView>(play, "correctBanner");
    correctBanner->setAccessibleName(QStringLiteral("Correct"));
    gameOverBanner = makeControl<ImageView>(play, "gameOverBanner");
    gameOverBanner->setAccessibleName(QStringLiteral("Game over"));

    questionArea = new QuestionArea(*play, game);

    // Prize ladder.
    ladder = new PrizeLadderView(*play, game, display.lampLit);

    wrongPanel = new VerdictPanel(play, game, VerdictPanel::Kind::Wrong);
    timeOutPanel = new VerdictPanel(play, game, VerdictPanel::Kind::TimeOut);

    playerPanel = new PlayerEntryPanel(play, game);
    readyPanel = new ReadyPanel(play, game);
    finalScorePanel = new FinalScoresPanel(play, game);

    // Hidden picture holders.
    const auto holder = [this](const char* name) {
        auto* h = makeControl<ImageView>(this, name);
        h->hide();
        return h;
    };
    answerALitPicture = holder("answerALitPicture");
    answerAPicture = holder("answerAPicture");
    answerBLitPicture = holder("answerBLitPicture");
    answerBPicture = holder("answerBPicture");
    answerCLitPicture = holder("answerCLitPicture");
    answerCPicture = holder("answerCPicture");
    answerDLitPicture = holder("answerDLitPicture");
    answerDPicture = holder("answerDPicture");
    startLitPicture = holder("startLitPicture");
    startPicture = holder("startPicture");
    stopLitPicture = holder("stopLitPicture");
    stopPicture = holder("stopPicture");
    topLogoLitPicture = holder("topLogoLitPicture");
    topLogoPicture = holder("topLogoPicture");
    correctLitPicture = holder("correctLitPicture");
    correctDimPicture = holder("correctDimPicture");

    // As the form is loaded: the play area shows nothing but the attract pictures.
    for (QWidget* w : std::initializer_list<QWidget*>{companyLogo, presentsCaption, titlePicture,
                                                      titlePictureLit, pressStartPrompt})
        w->hide();
    hideGameControls();
}

void QuizScreen::hideGameControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{upperBanner, lowerBanner, correctHighlight,
                                                      correctBanner, gameOverBanner})
        w->hide();
    stopButton->show();
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

void QuizScreen::createTimers() {
    Clock& clock = services.clock;
    const auto make = [&clock](const char* name, int interval, int tag, bool on,
                               std::function<void()> handler) {
        return std::make_unique<Timer>(clock, name, interval, on, tag, std::move(handler));
    };
    // The attract mode's own timers and the splash's hand-over; the game's timers are the
    // model's.
    attractButtonTimer =
        make("attractButtonTimer", 200, -1, false, [this] { cycleAttractButtons(); });
    attractSequenceTimer =
        make("attractSequenceTimer", 50, -1, false, [this] { stepAttractSequence(); });
    titleFlashTimer = make("titleFlashTimer", 370, -1, false, [this] { flashTitlePicture(); });
    topLogoTimer = make("topLogoTimer", 500, 0, true, [this] { flashTopLogo(); });
    // The splash window's hand-over sets the handler of splashHandOverTimer.
    splashHandOverTimer = make("splashHandOverTimer", 7000, 0, true, {});
}

void QuizScreen::loadPictures() {
    const auto load = [](ImageView* image, const char* art, QSize size) {
        image->setArtwork(QString::fromLatin1(art), size);
    };
    load(answerALitPicture, "button-a-lit", ButtonSize);
    load(answerAPicture, "button-a", ButtonSize);
    load(answerBLitPicture, "button-b-lit", ButtonSize);
    load(answerBPicture, "button-b", ButtonSize);
    load(answerCLitPicture, "button-c-lit", ButtonSize);
    load(answerCPicture, "button-c", ButtonSize);
    load(answerDLitPicture, "button-d-lit", ButtonSize);
    load(answerDPicture, "button-d", ButtonSize);
    load(startLitPicture, "button-start-lit", ButtonSize);
    load(startPicture, "button-start", ButtonSize);
    load(stopLitPicture, "button-stop-lit", ButtonSize);
    load(stopPicture, "button-stop", ButtonSize);
    load(topLogoLitPicture, "logo-in", QSize(401, 102));
    load(topLogoPicture, "logo-out", QSize(401, 102));
    load(correctLitPicture, "correct-in", QSize(556, 186));
    load(correctDimPicture, "correct-out", QSize(556, 186));

    // Pictures that belong to one control only.
    load(leftDecoration, "decor-left", QSize(115, 100));
    load(rightDecoration, "decor-right", QSize(115, 100));
    load(companyLogo, "company-logo", QSize(365, 163));
    load(presentsCaption, "presents", QSize(273, 41));
    // The title logo covers the play area; fitTitlePictures draws it at the area's size.
    load(pressStartPrompt, "press-start", QSize(350, 41));
    load(gameOverBanner, "game-over", QSize(300, 50));

    // The buttons start unlit.
    answerButtonA->copyPicture(*answerAPicture);
    answerButtonB->copyPicture(*answerBPicture);
    answerButtonC->copyPicture(*answerCPicture);
    answerButtonD->copyPicture(*answerDPicture);
    startButton->copyPicture(*startPicture);
    stopButton->copyPicture(*stopPicture);
}

void QuizScreen::connectHandlers() {
    // One mouse-down handler serves the five buttons and the seventeen answer controls.
    for (ImageView* b : {answerButtonA, answerButtonB, answerButtonC, answerButtonD, startButton})
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
    connect(stopButton, &ImageView::mouseDown, this, [this] { pressStop(); });

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
    flashTopLogo();
    // 3. The correct-answer picture.
    correctBanner->copyPicture(*correctLitPicture);
    display.correctPhase = 0;
    // 4. The prize lamps, unlit.
    ladder->showLit(Lamp::None);
    // 5. Attract mode, on REGD.QST of the program directory.
    game.enterAttractMode();
    // 6. The phones, when they were left on.
    if (services.settings.phonesWanted()) phones->start();
}

std::vector<const Timer*> QuizScreen::gameTimers() const {
    std::vector<const Timer*> all{attractButtonTimer.get(), attractSequenceTimer.get()};
    for (const Timer* t : game.timers())
        all.push_back(t);
    return all;
}
