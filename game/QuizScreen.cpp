// The game screen: its controls, menu and timers, its creation and the reset to attract mode.
#include "Quiz.h"

#include "Clock.h"
#include "Dialogs.h"
#include "MidiOut.h"
#include "QstFile.h"
#include "SoundCues.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {
// Colours of the screen (the form's design).
const QColor Silver(0xC0, 0xC0, 0xC0);
const QColor Navy(0x00, 0x00, 0x80);
const QColor Blue(0x00, 0x00, 0xFF);
const QColor Maroon(0x80, 0x00, 0x00);
const QColor Green(0x00, 0x80, 0x00);
const QColor CabinetMetal(0x16, 0x16, 0x24);

constexpr QSize ButtonSize(88, 72);
constexpr QSize DigitSize(24, 37);
constexpr QSize LampSize(105, 105);
constexpr QSize OkSize(80, 40);
constexpr QSize HeadingSize(400, 56);

QFont DesignFont(int pointSize, bool bold = true) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

template <class T> T* Make(QWidget* parent, const char* name) {
    return new T(parent, QString::fromLatin1(name));
}

TLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int pointSize,
                  const QColor& color, const QColor& background = QColor()) {
    auto* label = Make<TLabel>(parent, name);
    label->SetCaption(caption);
    label->setFont(DesignFont(pointSize));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    if (background.isValid()) {
        pal.setColor(QPalette::Window, background);
        label->setAutoFillBackground(true);
    }
    label->setPalette(pal);
    return label;
}

// An OK button: a picture on a borderless panel whose bevel rises under the mouse.
TPanel* MakeOkButton(QWidget* parent, const char* panelName, const char* imageName,
                     TImage*& image) {
    auto* frame = Make<TPanel>(parent, panelName);
    frame->SetTransparent(true);
    frame->resize(OkSize.width() + 4, OkSize.height() + 4);
    image = Make<TImage>(frame, imageName);
    image->setGeometry(2, 2, OkSize.width(), OkSize.height());
    image->setAccessibleName(QStringLiteral("OK"));
    image->setCursor(Qt::PointingHandCursor);
    return frame;
}
} // namespace

TQuizScreen::TQuizScreen(TQuizServices services, QWidget* parent)
    : QMainWindow(parent), game(services.ProgramDir, services.Seed),
      FServices(std::move(services)) {
    setObjectName(QStringLiteral("QuizScreen"));
    setWindowTitle(QStringLiteral("Trivora"));
    CreateControls();
    CreateMenu();
    CreateTimers();
    LoadPictures();
    WireHandlers();
    InitLayout();
    InitCommands();
    FMidiOutput = std::make_unique<TMidiOutput>(FServices.Midi);
    FCues = std::make_unique<TSoundCues>(*FMidiOutput, [this] { return SoundOn(); });
    game.soundWanted = FServices.SoundWanted;
}

TQuizScreen::~TQuizScreen() = default;

void TQuizScreen::CreateControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Client"));
    central->setFixedSize(652, 454);
    setCentralWidget(central);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Silver);
    setPalette(pal);

    auto* bands = new QVBoxLayout(central);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);

    // Top band: decorations either side of the title logo.
    Panel2 = Make<TPanel>(central, "Panel2");
    Panel2->setFixedHeight(112);
    Panel2->SetColor(CabinetMetal);
    Panel2->SetBevelOuter(TBevel::Raised);
    auto* top = new QHBoxLayout(Panel2);
    top->setContentsMargins(4, 6, 4, 6);
    top->setSpacing(0);
    Panel5 = Make<TPanel>(Panel2, "Panel5");
    Panel5->SetTransparent(true);
    Image2 = Make<TImage>(Panel5, "Image2");
    Image2->setAccessibleName(QStringLiteral("Decoration"));
    auto* left = new QHBoxLayout(Panel5);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(Image2);
    P5 = Make<TPanel>(Panel2, "P5");
    P5->SetTransparent(true);
    P5->setFixedSize(405, 100);
    Image1 = Make<TImage>(P5, "Image1");
    Image1->setGeometry(0, 0, 405, 100);
    Image1->setAccessibleName(QStringLiteral("Trivora"));
    Panel4 = Make<TPanel>(Panel2, "Panel4");
    Panel4->SetTransparent(true);
    Image3 = Make<TImage>(Panel4, "Image3");
    Image3->setAccessibleName(QStringLiteral("Decoration"));
    auto* right = new QHBoxLayout(Panel4);
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(Image3);
    top->addWidget(Panel5, 1);
    top->addWidget(P5, 0, Qt::AlignCenter);
    top->addWidget(Panel4, 1);

    // The play area: everything in it is placed by FormResize.
    MainBackPanel = Make<TPanel>(central, "MainBackPanel");
    MainBackPanel->SetColor(Qt::black);

    // Bottom band: answer buttons left, STOP and START right.
    Panel1 = Make<TPanel>(central, "Panel1");
    Panel1->setFixedHeight(89);
    Panel1->SetColor(CabinetMetal);
    Panel1->SetBevelOuter(TBevel::Raised);
    auto* bottom = new QHBoxLayout(Panel1);
    bottom->setContentsMargins(6, 8, 6, 9);
    bottom->setSpacing(4);
    const auto button = [this](const char* name, const QString& accessible) {
        auto* b = Make<TImage>(Panel1, name);
        b->setFixedSize(ButtonSize);
        b->setAccessibleName(accessible);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    RedT = button("RedT", QStringLiteral("Answer A"));
    GreenT = button("GreenT", QStringLiteral("Answer B"));
    BlueT = button("BlueT", QStringLiteral("Answer C"));
    YellowT = button("YellowT", QStringLiteral("Answer D"));
    Panel3 = Make<TPanel>(Panel1, "Panel3");
    Panel3->SetTransparent(true);
    RoundT = button("RoundT", QStringLiteral("Stop"));
    StartT = button("StartT", QStringLiteral("Start"));
    for (QWidget* w : {static_cast<QWidget*>(RedT), static_cast<QWidget*>(GreenT),
                       static_cast<QWidget*>(BlueT), static_cast<QWidget*>(YellowT)})
        bottom->addWidget(w);
    bottom->addWidget(Panel3, 1);
    bottom->addWidget(RoundT);
    bottom->addWidget(StartT);

    bands->addWidget(Panel2);
    bands->addWidget(MainBackPanel, 1);
    bands->addWidget(Panel1);

    QWidget* play = MainBackPanel;

    // Attract pictures and the large pictures of the play area.
    Stage1 = Make<TImage>(play, "Stage1");
    Stage1->setAccessibleName(QStringLiteral("Mindaro"));
    Stage2 = Make<TImage>(play, "Stage2");
    Stage2->setAccessibleName(QStringLiteral("presents"));
    Stage3 = Make<TImage>(play, "Stage3");
    Stage3->SetStretch(true);
    Stage3->setAccessibleName(QStringLiteral("Trivora"));
    Stage3B = Make<TImage>(play, "Stage3B");
    Stage3B->SetStretch(true);
    Stage3B->setAccessibleName(QStringLiteral("Trivora"));
    Stage4 = Make<TImage>(play, "Stage4");
    Stage4->setAccessibleName(QStringLiteral("Press START to play"));
    MARK1 = Make<TImage>(play, "MARK1");
    MARK2 = Make<TImage>(play, "MARK2");
    CorHi = Make<TShape>(play, "CorHi");
    MARK4 = Make<TImage>(play, "MARK4");
    MARK4->setAccessibleName(QStringLiteral("Correct"));
    GameOver = Make<TImage>(play, "GameOver");
    GameOver->setAccessibleName(QStringLiteral("Game over"));

    // Question area: the question, four answer rows and the time strip.
    QuestionBlock = MakeLabel(play, "QuestionBlock", QString(), 13, Qt::white);
    QuestionBlock->setWordWrap(true);
    QuestionBlock->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QF2 = Make<TPanel>(play, "QF2");
    QF3 = Make<TPanel>(play, "QF3");
    QF4 = Make<TPanel>(play, "QF4");
    QF5 = Make<TPanel>(play, "QF5");
    for (TPanel* frame : {QF2, QF3, QF4, QF5}) {
        frame->SetColor(Qt::black);
        frame->SetBevelOuter(TBevel::Lowered);
    }
    QF6 = Make<TPanel>(play, "QF6");
    QF6->SetColor(Silver);
    static const char* const coverNames[4] = {"CoverA", "CoverB", "CoverC", "CoverD"};
    static const char* const capNames[4] = {"ACap", "BCap", "CCap", "DCap"};
    static const char* const answerNames[4] = {"AnswerA", "AnswerB", "AnswerC", "AnswerD"};
    static const QColor letterColors[4] = {QColor(0xFF, 0x30, 0x30), QColor(0x30, 0xE0, 0x30),
                                           QColor(0x40, 0x90, 0xFF), QColor(0xFF, 0xE0, 0x00)};
    TPanel* frames[4] = {QF2, QF3, QF4, QF5};
    for (int i = 0; i < 4; ++i) {
        Cover[i] = Make<TShape>(play, coverNames[i]);
        Cover[i]->SetBrushColor(Navy);
        Cover[i]->stackUnder(frames[i]);
        Cap[i] = MakeLabel(play, capNames[i], QString(QChar('A' + i)), 14, letterColors[i]);
        Cap[i]->setAlignment(Qt::AlignCenter);
        Cap[i]->setAccessibleDescription(QStringLiteral("Letter %1").arg(QChar('A' + i)));
        Answer[i] = MakeLabel(play, answerNames[i], QString(), 10, Qt::white);
        Answer[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    // The frames are only outlines over their covers.
    for (TPanel* frame : {QF2, QF3, QF4, QF5})
        frame->SetTransparent(true);

    TimeLine = Make<TPanel>(play, "TimeLine");
    TimeLine->SetColor(Qt::black);
    T1 = MakeLabel(TimeLine, "T1", QStringLiteral("Time :"), 11, Qt::white);
    T1b = MakeLabel(TimeLine, "T1b", QStringLiteral("Time :"), 11, QColor(0x40, 0x40, 0x40));
    // The captions have their design sizes: the time strip is laid out around them.
    T1->resize(52, 20);
    T1b->resize(52, 20);
    T1b->stackUnder(T1);
    TBack = Make<TPanel>(TimeLine, "TBack");
    TBack->SetColor(Silver);
    T2 = new TGauge(TBack);
    T2->setObjectName(QStringLiteral("T2"));
    T2->SetShowText(false);
    T2->SetForeColor(Blue);
    T2->SetBackColor(Navy);
    T2->SetColor(Silver);
    T2->SetProgress(100);
    T2->setGeometry(8, 4, 337, 14);
    T2->setAccessibleName(QStringLiteral("Time left"));
    C1 = MakeLabel(TimeLine, "C1", QStringLiteral("Credit : "), 11, Qt::white);
    C1b = MakeLabel(TimeLine, "C1b", QStringLiteral("Credit : "), 11, QColor(0x40, 0x40, 0x40));
    C1->resize(67, 20);
    C1b->resize(67, 20);
    C1b->stackUnder(C1);
    CreditBlock = Make<TPanel>(TimeLine, "CreditBlock");
    CreditBlock->SetColor(Qt::black);
    CreditBlock->SetBevelOuter(TBevel::Lowered);
    CreditBlock->resize(128, 47);
    for (int i = 0; i < 5; ++i) {
        Digit[i] = new TImage(CreditBlock, QStringLiteral("Digit%1").arg(i + 1));
        Digit[i]->setGeometry(4 + i * DigitSize.width(), 5, DigitSize.width(), DigitSize.height());
    }
    CreditBlock->setAccessibleName(QStringLiteral("Credit"));

    // Prize ladder.
    OneDollar = Make<TImage>(play, "OneDollar");
    FiveDollars = Make<TImage>(play, "FiveDollars");
    FifteenDollars = Make<TImage>(play, "FifteenDollars");
    FiftyDollars = Make<TImage>(play, "FiftyDollars");
    Lose = Make<TImage>(play, "Lose");
    for (TImage* lamp : {OneDollar, FiveDollars, FifteenDollars, FiftyDollars, Lose})
        lamp->resize(LampSize);
    HitStop = Make<TImage>(play, "HitStop");
    HitStop->resize(250, 50);
    HitStop->setAccessibleName(QStringLiteral("Press Stop"));

    // Wrong panel.
    Wrong = Make<TPanel>(play, "Wrong");
    Wrong->SetColor(Qt::black);
    Wrong->setAccessibleName(QStringLiteral("Wrong"));
    WrongDisplay = Make<TImage>(Wrong, "WrongDisplay");
    WrongDisplay->setFixedHeight(HeadingSize.height());
    WrongDisplay->setAccessibleName(QStringLiteral("Wrong"));
    P1 = MakeLabel(Wrong, "P1", QStringLiteral("I asked you the question:"), 10, Qt::white);
    Q1 = MakeLabel(Wrong, "Q1", QString(), 10, Qt::white, Maroon);
    P2 =
        MakeLabel(Wrong, "P2", QStringLiteral("You selected the following answer:"), 10, Qt::white);
    Q2 = MakeLabel(Wrong, "Q2", QString(), 10, Qt::white, Green);
    P3 = MakeLabel(Wrong, "P3", QStringLiteral("The correct answer is:"), 10, Qt::white);
    Q3 = MakeLabel(Wrong, "Q3", QString(), 10, Qt::white, Navy);
    for (TLabel* l : {P1, Q1, P2, Q2, P3, Q3})
        l->setFixedHeight(20);
    for (TLabel* l : {P1, P2, P3})
        l->setIndent(24);
    for (TLabel* l : {Q1, Q2, Q3})
        l->setIndent(6);
    OK = MakeOkButton(Wrong, "OK", "Image34", Image34);

    // TimeOut panel.
    TimeOut = Make<TPanel>(play, "TimeOut");
    TimeOut->SetColor(Qt::black);
    TimeOut->setAccessibleName(QStringLiteral("Time out"));
    TimeOutDisplay = Make<TImage>(TimeOut, "TimeOutDisplay");
    TimeOutDisplay->setFixedHeight(HeadingSize.height());
    TimeOutDisplay->setAccessibleName(QStringLiteral("Time out"));
    P1B = MakeLabel(TimeOut, "P1B", QStringLiteral("I asked you the question:"), 10, Qt::white);
    Q1B = MakeLabel(TimeOut, "Q1B", QString(), 10, Qt::white, Maroon);
    P3B = MakeLabel(TimeOut, "P3B", QStringLiteral("The correct answer is:"), 10, Qt::white);
    Q3B = MakeLabel(TimeOut, "Q3B", QString(), 10, Qt::white, Navy);
    for (TLabel* l : {P1B, Q1B, P3B, Q3B})
        l->setFixedHeight(20);
    for (TLabel* l : {P1B, P3B})
        l->setIndent(24);
    for (TLabel* l : {Q1B, Q3B})
        l->setIndent(6);
    OK2 = MakeOkButton(TimeOut, "OK2", "Image49", Image49);

    // Player entry panel.
    PlayerPanel = Make<TPanel>(play, "PlayerPanel");
    PlayerPanel->SetColor(Qt::black);
    PlayerPanel->setAccessibleName(QStringLiteral("Select players"));
    Players = Make<TImage>(PlayerPanel, "Players");
    Players->resize(HeadingSize);
    Players->setAccessibleName(QStringLiteral("Select players"));
    static const char* const slotNames[4] = {"Player1Panel", "Player2Panel", "Player3Panel",
                                             "Player4Panel"};
    static const char* const labelNames[4] = {"Label1", "Label2", "Label3", "Label4"};
    static const char* const labelCaptions[4] = {"Player One", "Player Two", "Player Three",
                                                 "Player Four"};
    static const char* const clearNames[4] = {"Clear1", "Clear2", "Clear3", "Clear4"};
    for (int i = 0; i < 4; ++i) {
        TPanel* slot = Make<TPanel>(PlayerPanel, slotNames[i]);
        slot->resize(140, 96);
        slot->SetColor(Maroon);
        slot->SetBevelOuter(TBevel::Raised);
        PlayerSlotPanel[i] = slot;
        PlayerLabel[i] =
            MakeLabel(slot, labelNames[i], QString::fromLatin1(labelCaptions[i]), 10, Qt::white);
        PlayerLabel[i]->setAlignment(Qt::AlignCenter);
        PlayerLabel[i]->setGeometry(4, 6, 132, 18);
        auto* name = new QLineEdit(slot);
        name->setObjectName(QStringLiteral("Player%1").arg(i + 1));
        name->setMaxLength(10);
        name->setFont(DesignFont(11));
        name->setGeometry(10, 30, 120, 26);
        name->setAccessibleName(QString::fromLatin1(labelCaptions[i]) + QStringLiteral(" name"));
        PlayerName[i] = name;
        TPanel* clear = Make<TPanel>(slot, clearNames[i]);
        clear->SetCaption(QStringLiteral("Clear"));
        clear->setFont(DesignFont(9));
        clear->setGeometry(40, 64, 60, 22);
        clear->SetColor(Maroon);
        clear->SetFontColor(Maroon);
        clear->setAccessibleName(QStringLiteral("Clear ") + QString::fromLatin1(labelCaptions[i]));
        Clear[i] = clear;
    }
    OK3 = MakeOkButton(PlayerPanel, "OK3", "OKDisp", OKDisp);

    // Ready panel.
    ReadyPanel = Make<TPanel>(play, "ReadyPanel");
    ReadyPanel->SetColor(Qt::black);
    ReadyPanel->setAccessibleName(QStringLiteral("Get ready"));
    Ready = Make<TImage>(ReadyPanel, "Ready");
    Ready->resize(300, 50);
    Ready->setAccessibleName(QStringLiteral("Get ready"));
    GameOver2 = Make<TImage>(ReadyPanel, "GameOver2");
    GameOver2->resize(300, 50);
    GameOver2->setAccessibleName(QStringLiteral("Game over"));
    Player = Make<TImage>(ReadyPanel, "Player");
    Player->resize(200, 40);
    Player->setAccessibleName(QStringLiteral("Player"));
    One = Make<TImage>(ReadyPanel, "One");
    Two = Make<TImage>(ReadyPanel, "Two");
    Three = Make<TImage>(ReadyPanel, "Three");
    Four = Make<TImage>(ReadyPanel, "Four");
    static const char* const numberNames[4] = {"One", "Two", "Three", "Four"};
    TImage* numbers[4] = {One, Two, Three, Four};
    for (int i = 0; i < 4; ++i) {
        numbers[i]->resize(150, 40);
        numbers[i]->setAccessibleName(QString::fromLatin1(numberNames[i]));
    }
    NamePanel = Make<TPanel>(ReadyPanel, "NamePanel");
    NamePanel->SetColor(Qt::black);
    NamePanel->SetFontColor(QColor(0xFF, 0x20, 0x20));
    NamePanel->setFont(DesignFont(20));
    NamePanel->resize(360, 36);

    // Final score panel.
    FinalScorePanel = Make<TPanel>(play, "FinalScorePanel");
    FinalScorePanel->SetColor(Qt::black);
    FinalScorePanel->setAccessibleName(QStringLiteral("Final scores"));
    ScoreTitle = MakeLabel(FinalScorePanel, "ScoreTitle", QStringLiteral("FINAL SCORES"), 20,
                           QColor(0xFF, 0xD2, 0x3F));
    ScoreTitle->setAlignment(Qt::AlignCenter);
    ScoreTitle->setFixedSize(380, 34);
    ScoreBox = Make<TPanel>(FinalScorePanel, "ScoreBox");
    ScoreBox->SetColor(Navy);
    ScoreBox->SetBevelOuter(TBevel::Raised);
    ScoreBox->resize(380, 172);
    for (int i = 0; i < 4; ++i) {
        NAME[i] = MakeLabel(ScoreBox, "NAME", QString(), 14, Qt::white);
        NAME[i]->setObjectName(QStringLiteral("NAME%1").arg(i + 1));
        NAME[i]->setGeometry(16, 8 + i * 41, 230, 32);
        SCORE[i] = MakeLabel(ScoreBox, "SCORE", QString(), 14, QColor(0xFF, 0xD2, 0x3F));
        SCORE[i]->setObjectName(QStringLiteral("SCORE%1").arg(i + 1));
        SCORE[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SCORE[i]->setGeometry(250, 8 + i * 41, 114, 32);
        if (i > 0) {
            auto* line = new TPanel(ScoreBox, QStringLiteral("Line%1").arg(i));
            line->SetColor(Silver);
            line->setGeometry(8, 4 + i * 41, 364, 1);
        }
    }
    OK4 = MakeOkButton(FinalScorePanel, "OK4", "Image36", Image36);

    // Hidden picture holders.
    const auto holder = [this](const char* name) {
        auto* h = Make<TImage>(this, name);
        h->hide();
        return h;
    };
    AIn = holder("AIn");
    AOut = holder("AOut");
    Bin = holder("Bin");
    Bout = holder("Bout");
    CIn = holder("CIn");
    Cout = holder("Cout");
    Din = holder("Din");
    Dout = holder("Dout");
    StartIn = holder("StartIn");
    StartOut = holder("StartOut");
    StopIn = holder("StopIn");
    StopOut = holder("StopOut");
    static const char* const digitNames[10] = {"N0", "N1b", "N2b", "N3b", "N4",
                                               "N5", "N6",  "N7",  "N8",  "N9"};
    for (int d = 0; d < 10; ++d)
        N[d] = holder(digitNames[d]);
    NB = holder("NB");
    Holder = holder("Holder");
    LogoIn = holder("LogoIn");
    LogoOut = holder("LogoOut");
    CorrectIn = holder("CorrectIn");
    CorrectOut = holder("CorrectOut");
    OneDollarOn = holder("OneDollarOn");
    OneDollarOff = holder("OneDollarOff");
    FiveDollarOn = holder("FiveDollarOn");
    FiveDollarOff = holder("FiveDollarOff");
    FifteenDollarOn = holder("FifteenDollarOn");
    FifteenDollarOff = holder("FifteenDollarOff");
    FiftyDollarOn = holder("FiftyDollarOn");
    FiftyDollarOff = holder("FiftyDollarOff");
    LoseOn = holder("LoseOn");
    LoseOff = holder("LoseOff");

    // As the form is loaded: the play area shows nothing but the attract pictures.
    for (QWidget* w : std::initializer_list<QWidget*>{Stage1, Stage2, Stage3, Stage3B, Stage4})
        w->hide();
    HideGameControls();
}

void TQuizScreen::HideGameControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{MARK1,
                                                      MARK2,
                                                      CorHi,
                                                      MARK4,
                                                      GameOver,
                                                      GameOver2,
                                                      T1,
                                                      T2,
                                                      C1,
                                                      QuestionBlock,
                                                      QF2,
                                                      QF3,
                                                      QF4,
                                                      QF5,
                                                      QF6,
                                                      TimeLine,
                                                      OneDollar,
                                                      FiveDollars,
                                                      FifteenDollars,
                                                      FiftyDollars,
                                                      Lose,
                                                      HitStop,
                                                      Wrong,
                                                      TimeOut,
                                                      PlayerPanel,
                                                      ReadyPanel,
                                                      FinalScorePanel})
        w->hide();
    ShowAnswerControls(false);
    RoundT->show();
}

void TQuizScreen::CreateMenu() {
    QMenuBar* bar = menuBar();
    File1 = bar->addMenu(QStringLiteral("&File"));
    LoadQuestions1 = File1->addAction(QStringLiteral("&Change Question File"));
    LoadQuestions1->setObjectName(QStringLiteral("LoadQuestions1"));
    LoadQuestions1->setShortcut(QKeySequence(Qt::Key_F1));
    File1->addSeparator();
    EditCreateQuestions1 = File1->addAction(QStringLiteral("Create / &Edit Questions"));
    EditCreateQuestions1->setObjectName(QStringLiteral("EditCreateQuestions1"));
    EditCreateQuestions1->setShortcut(QKeySequence(Qt::Key_F2));
    File1->addSeparator();
    Exit1 = File1->addAction(QStringLiteral("&Close"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));

    Sound21 = bar->addMenu(QStringLiteral("&Sound"));
    Sound21->setObjectName(QStringLiteral("Sound21"));
    On2 = Sound21->addAction(QStringLiteral("&On"));
    On2->setObjectName(QStringLiteral("On2"));
    On2->setCheckable(true);
    On2->setChecked(false);
    Off2 = Sound21->addAction(QStringLiteral("O&ff"));
    Off2->setObjectName(QStringLiteral("Off2"));
    Off2->setCheckable(true);
    Off2->setChecked(true);

    NewGame1 = bar->addAction(QStringLiteral("&End Game"));
    NewGame1->setObjectName(QStringLiteral("NewGame1"));
    NewGame1->setVisible(false);

    Web1 = bar->addMenu(QStringLiteral("&Web Links"));
    Web1->setObjectName(QStringLiteral("Web1"));
    WebLink1 = Web1->addAction(QString());
    WebLink1->setObjectName(QStringLiteral("WebLink1"));
    WebLink2 = Web1->addAction(QString());
    WebLink2->setObjectName(QStringLiteral("WebLink2"));

    Help1 = bar->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Instructions1 = Help1->addAction(QStringLiteral("&Instructions"));
    Instructions1->setObjectName(QStringLiteral("Instructions1"));
}

void TQuizScreen::CreateTimers() {
    TClock& clock = FServices.Clock;
    const auto make = [&clock](const char* name, int interval, int tag, bool on,
                               std::function<void()> handler) {
        return std::make_unique<TTimer>(clock, name, interval, on, tag, std::move(handler));
    };
    // Interval, tag and whether it runs, as the screen is loaded; created in this order so
    // that timers due at the same moment tick in it.
    Timer1 = make("Timer1", 200, -1, false, [this] { Timer1Timer(); });
    Timer2 = make("Timer2", 50, -1, false, [this] { Timer2Timer(); });
    Timer3 = make("Timer3", 17, -1, false, [this] { Timer3Timer(); });
    Timer4 = make("Timer4", 250, 1, true, [this] { Timer4Timer(); });
    Timer5 = make("Timer5", 2500, -1, false, [this] { Timer5Timer(); });
    Timer6 = make("Timer6", 4000, -1, false, [this] { Timer6Timer(); });
    Timer7 = make("Timer7", 4000, -1, false, [this] { Timer7Timer(); });
    Timer8 = make("Timer8", 100, -1, false, [this] { Timer8Timer(); });
    Timer9 = make("Timer9", 2000, -1, false, [this] { Timer9Timer(); });
    Timer10 = make("Timer10", 24, 1, true, [this] { Timer10Timer(); });
    Timer11 = make("Timer11", 75, -1, false, [this] { Timer11Timer(); });
    Timer12 = make("Timer12", 120, -1, false, [this] { Timer12Timer(); });
    MindaroLogoTimer =
        make("MindaroLogoTimer", 370, -1, false, [this] { MindaroLogoTimerTimer(); });
    LogoFlash = make("LogoFlash", 500, 0, true, [this] { LogoFlashTimer(); });
    TOStopWin = make("TOStopWin", 10000, 0, false, [this] { TOStopWinTimer(); });
    // The splash window's hand-over sets the handler of FormOpen.
    FormOpen = make("FormOpen", 7000, 0, true, {});
    NewGame = make("NewGame", 2500, -1, false, [this] { NewGameTimer(); });
    PLAYERGAMEOVER = make("PLAYERGAMEOVER", 2500, -1, false, [this] { PLAYERGAMEOVERTimer(); });
}

void TQuizScreen::LoadPictures() {
    const auto load = [](TImage* image, const char* art, QSize size) {
        image->SetArtwork(QString::fromLatin1(art), size);
    };
    load(AIn, "button-a-lit", ButtonSize);
    load(AOut, "button-a", ButtonSize);
    load(Bin, "button-b-lit", ButtonSize);
    load(Bout, "button-b", ButtonSize);
    load(CIn, "button-c-lit", ButtonSize);
    load(Cout, "button-c", ButtonSize);
    load(Din, "button-d-lit", ButtonSize);
    load(Dout, "button-d", ButtonSize);
    load(StartIn, "button-start-lit", ButtonSize);
    load(StartOut, "button-start", ButtonSize);
    load(StopIn, "button-stop-lit", ButtonSize);
    load(StopOut, "button-stop", ButtonSize);
    for (int d = 0; d < 10; ++d)
        N[d]->SetArtwork(QStringLiteral("digit-%1").arg(d), DigitSize);
    load(NB, "digit-blank", DigitSize);
    load(LogoIn, "logo-in", QSize(401, 102));
    load(LogoOut, "logo-out", QSize(401, 102));
    load(CorrectIn, "correct-in", QSize(556, 186));
    load(CorrectOut, "correct-out", QSize(556, 186));
    load(OneDollarOn, "lamp-1-on", LampSize);
    load(OneDollarOff, "lamp-1-off", LampSize);
    load(FiveDollarOn, "lamp-5-on", LampSize);
    load(FiveDollarOff, "lamp-5-off", LampSize);
    load(FifteenDollarOn, "lamp-15-on", LampSize);
    load(FifteenDollarOff, "lamp-15-off", LampSize);
    load(FiftyDollarOn, "lamp-50-on", LampSize);
    load(FiftyDollarOff, "lamp-50-off", LampSize);
    load(LoseOn, "lamp-lose-on", LampSize);
    load(LoseOff, "lamp-lose-off", LampSize);

    // Pictures that belong to one control only.
    load(Image2, "decor-left", QSize(115, 100));
    load(Image3, "decor-right", QSize(115, 100));
    load(Stage1, "company-logo", QSize(365, 163));
    load(Stage2, "presents", QSize(273, 41));
    // The title logo covers the play area; FitTitlePictures draws it at the area's size.
    load(Stage4, "press-start", QSize(350, 41));
    load(HitStop, "press-stop", QSize(250, 50));
    load(GameOver, "game-over", QSize(300, 50));
    load(WrongDisplay, "wrong", HeadingSize);
    load(TimeOutDisplay, "time-out", HeadingSize);
    load(Players, "select-players", HeadingSize);
    load(Ready, "get-ready", QSize(300, 50));
    load(GameOver2, "game-over-2", QSize(300, 50));
    load(Player, "player", QSize(200, 40));
    load(One, "one", QSize(150, 40));
    load(Two, "two", QSize(150, 40));
    load(Three, "three", QSize(150, 40));
    load(Four, "four", QSize(150, 40));
    for (TImage* ok : {Image34, Image49, OKDisp, Image36})
        load(ok, "ok", OkSize);

    // The buttons start unlit.
    RedT->CopyPicture(*AOut);
    GreenT->CopyPicture(*Bout);
    BlueT->CopyPicture(*Cout);
    YellowT->CopyPicture(*Dout);
    StartT->CopyPicture(*StartOut);
    RoundT->CopyPicture(*StopOut);
    for (TImage* d : Digit)
        d->CopyPicture(*NB);
}

void TQuizScreen::WireHandlers() {
    // One mouse-down handler serves the five buttons and the seventeen answer controls.
    for (TImage* b : {RedT, GreenT, BlueT, YellowT, StartT})
        connect(b, &TImage::MouseDown, this, [this, b] { RedTMouseDown(b); });
    for (int i = 0; i < 4; ++i) {
        TShape* cover = Cover[i];
        TLabel* cap = Cap[i];
        TLabel* answer = Answer[i];
        connect(cover, &TShape::MouseDown, this, [this, cover] { RedTMouseDown(cover); });
        connect(cap, &TLabel::MouseDown, this, [this, cap] { RedTMouseDown(cap); });
        connect(answer, &TLabel::MouseDown, this, [this, answer] { RedTMouseDown(answer); });
        // The frame lies over its row: a press on the row's edge or between the letter and
        // the text answers as the cover under it.
        TPanel* frames[4] = {QF2, QF3, QF4, QF5};
        connect(frames[i], &TPanel::MouseDown, this, [this, cover] { RedTMouseDown(cover); });
    }
    // The divider between the letters and the answers belongs to the row under it.
    QF6->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(RoundT, &TImage::MouseDown, this, [this] { RoundTMouseDown(); });
    connect(Image34, &TImage::MouseDown, this, [this] { Image34MouseDown(); });
    connect(Image49, &TImage::MouseDown, this, [this] { Image49MouseDown(); });
    connect(Image34, &TImage::MouseMove, this, [this] { Image34MouseMove(); });
    connect(Wrong, &TPanel::MouseMove, this, [this] { WrongMouseMove(); });
    connect(Image49, &TImage::MouseMove, this, [this] { Image49MouseMove(); });
    connect(TimeOut, &TPanel::MouseMove, this, [this] { TimeOutMouseMove(); });
    connect(OKDisp, &TImage::MouseDown, this, [this] { OKDispMouseDown(); });
    connect(OKDisp, &TImage::MouseMove, this, [this] { OKDispMouseMove(); });
    connect(PlayerPanel, &TPanel::MouseMove, this, [this] { PlayerPanelMouseMove(0); });
    connect(Image36, &TImage::MouseDown, this, [this] { Image36MouseDown(); });
    connect(Image36, &TImage::MouseMove, this, [this] { Image36MouseMove(); });
    connect(FinalScorePanel, &TPanel::MouseMove, this, [this] { FinalScorePanelMouseMove(); });
    for (int i = 0; i < 4; ++i) {
        const int slot = i + 1;
        connect(PlayerName[i], &QLineEdit::textChanged, this,
                [this, slot] { Player1Change(slot); });
        connect(Clear[i], &TPanel::MouseDown, this, [this, slot] { Clear1MouseDown(slot); });
        connect(Clear[i], &TPanel::MouseMove, this, [this, slot] { Clear1MouseMove(slot); });
        connect(PlayerSlotPanel[i], &TPanel::MouseMove, this,
                [this, slot] { PlayerPanelMouseMove(slot); });
        PlayerName[i]->installEventFilter(this);
    }

    connect(LoadQuestions1, &QAction::triggered, this, [this] { LoadQuestions1Click(); });
    connect(EditCreateQuestions1, &QAction::triggered, this,
            [this] { EditCreateQuestions1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    // The menu has already flipped the chosen entry's check mark; the handler flips both.
    connect(On2, &QAction::triggered, this, [this](bool checked) {
        On2->setChecked(!checked);
        On2Click();
    });
    connect(Off2, &QAction::triggered, this, [this](bool checked) {
        Off2->setChecked(!checked);
        On2Click();
    });
    connect(NewGame1, &QAction::triggered, this, [this] { NewGame1Click(); });
    connect(WebLink1, &QAction::triggered, this, [this] { WebLink1Click(); });
    connect(WebLink2, &QAction::triggered, this, [this] { WebLink2Click(); });
    connect(Instructions1, &QAction::triggered, this, [this] { Instructions1Click(); });
}

void TQuizScreen::FormCreated() {
    // 1. Sound: the MIDI mapper with its instruments. A step that raises switches sound off
    // for this run; a device that merely does not open raises nothing.
    try {
        FCues->SetUp();
    } catch (const EmidioutputError&) {
        On2->setChecked(false);
        Off2->setChecked(true);
        game.soundWanted = false;
        Sound21->setEnabled(false);
        Sound21->menuAction()->setEnabled(false);
    }
    // 2. The top panel's logo starts lit.
    LogoFlashTimer();
    // 3. The correct-answer picture.
    MARK4->CopyPicture(*CorrectIn);
    display.correctPhase = 0;
    // 4. The prize lamps, unlit.
    for (int prize = 1; prize <= 5; ++prize)
        SetLamp(prize, false);
    // 5. Attract mode.
    FormCreate();
    // 6. No player has played yet.
    game.forgetPlayers();
}

void TQuizScreen::FormCreate() {
    EndGameTimers();
    game.enterAttractMode();
    T2->SetProgress(100);
    for (TImage* stage : {Stage1, Stage2, Stage3, Stage3B, Stage4})
        stage->hide();
    display.attractStage = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{MARK1, MARK2, GameOver, MARK4, CorHi})
        w->hide();
    Timer12->Stop();
    for (QWidget* w : std::initializer_list<QWidget*>{T1, T2, TimeLine, C1})
        w->hide();
    display.fallNote = 75;
    display.clickVelocity = 120;
    display.attractTicks = 0;
    DisplayCreditClick();
    LoadQuestions1->setEnabled(true);
    EditCreateQuestions1->setEnabled(true);
    Timer4->SetInterval(150);
    for (TShape* cover : Cover)
        cover->SetBrushColor(QColor(0x00, 0x00, 0x80));
    SelectStartupQuestionFile();
    for (TTimer* t : {Timer1.get(), Timer2.get(), Timer3.get(), Timer4.get()}) {
        t->Start();
        t->Tag = 1;
    }
}

void TQuizScreen::SelectStartupQuestionFile() {
    ValidateQuestionFile(game.startupQuestionFile(), ReaderRules::GameStartup);
}

bool TQuizScreen::ValidateQuestionFile(const QString& path, const TReaderRules& rules) {
    const QString warning = game.selectQuestionFile(path, rules);
    if (warning.isEmpty()) return true;
    FServices.Dialogs.Warning(this, warning);
    return false;
}

std::array<TTimer*, 15> TQuizScreen::GameTimers() {
    return {Timer1.get(),  Timer2.get(),  Timer3.get(),  Timer4.get(),         Timer5.get(),
            Timer6.get(),  Timer7.get(),  Timer8.get(),  Timer9.get(),         Timer10.get(),
            Timer11.get(), Timer12.get(), NewGame.get(), PLAYERGAMEOVER.get(), TOStopWin.get()};
}

TImage* TQuizScreen::LampOf(int prizeIndex) const {
    switch (prizeIndex) {
    case 1:
        return OneDollar;
    case 2:
        return FiveDollars;
    case 3:
        return FifteenDollars;
    case 4:
        return FiftyDollars;
    case 5:
        return Lose;
    }
    return nullptr;
}

TImage* TQuizScreen::LampOnPicture(int prizeIndex) const {
    switch (prizeIndex) {
    case 1:
        return OneDollarOn;
    case 2:
        return FiveDollarOn;
    case 3:
        return FifteenDollarOn;
    case 4:
        return FiftyDollarOn;
    case 5:
        return LoseOn;
    }
    return nullptr;
}

TImage* TQuizScreen::LampOffPicture(int prizeIndex) const {
    switch (prizeIndex) {
    case 1:
        return OneDollarOff;
    case 2:
        return FiveDollarOff;
    case 3:
        return FifteenDollarOff;
    case 4:
        return FiftyDollarOff;
    case 5:
        return LoseOff;
    }
    return nullptr;
}

void TQuizScreen::SetLamp(int prizeIndex, bool lit) {
    TImage* lamp = LampOf(prizeIndex);
    if (!lamp) return;
    lamp->CopyPicture(lit ? *LampOnPicture(prizeIndex) : *LampOffPicture(prizeIndex));
    display.lampLit[static_cast<std::size_t>(prizeIndex - 1)] = lit ? 1 : 0;
    lamp->Tag = lit ? 1 : 0;
    static const char* const prizeNames[5] = {"$1", "$5", "$15", "$50", "Lose"};
    const QString prize = QString::fromLatin1(prizeNames[prizeIndex - 1]);
    lamp->setAccessibleName(lit ? prize + QStringLiteral(", lit") : prize);
}
