// The question editor window: its controls, creation, timer, size and the set commands.
#include "Setques.h"

#include "Artwork.h"
#include "Dialogs.h"
#include "EditorFindDialog.h"
#include "Image.h"
#include "Label.h"
#include "Panel.h"
#include "Settings.h"
#include "Shell.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>

namespace {
const QColor Silver(0xC0, 0xC0, 0xC0);
const QColor Navy(0x00, 0x00, 0x80);

constexpr QSize BackPanelSize(625, 433);
constexpr QSize LogoSize(415, 45);
constexpr int InstructionsHelp = 11;

const QString NotAvailable = QStringLiteral("N/A");

QFont EditorFont(int pointSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

// A label in one colour; the white ones get a black twin 2 pixels right and 1 pixel above,
// laid beneath them, which makes the embossed look.
TLabel* MakeLabel(QWidget* parent, const QString& name, const QColor& color, QRect at,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new TLabel(parent, name);
    label->setFont(EditorFont(9, true));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    label->setAlignment(align);
    label->setGeometry(at);
    return label;
}
} // namespace

const QString TSetQuestions::NoDataFile = QStringLiteral("* NO DATAFILE LOADED *");
const QString TSetQuestions::ReadOnlyMessage =
    QStringLiteral("This question set is read-only: its questions can be shown and searched "
                   "but not stored.");
const QString TSetQuestions::ChangedMessage = QStringLiteral(
    "Another program has changed this question set while it was open here. Nothing was "
    "stored; Cancel shows the question as it is in the set now.");
const QString TSetQuestions::BusyMessage = QStringLiteral(
    "Another program is writing this question set. Nothing was stored; please try again.");
const QString TSetQuestions::StoredAtEndMessage =
    QStringLiteral("Another program has added questions to this set. Your new question was "
                   "stored at the end of the set, as question %1.");

TSetQuestions::TSetQuestions(TEditorServices services, TEditorState& state,
                             QString& questionFileName, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      FServices(services), FState(state), FQuestionFileName(questionFileName) {
    setObjectName(QStringLiteral("SetQuestions"));
    setWindowTitle(QStringLiteral("Question Database"));
    // Destroyed once closed; closing it never ends the program (the game screen takes over).
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    // The game's timers stay paused while this window is the active one.
    setProperty("trivoraPausesGame", true);
    CreateControls();
    CreateMenu();
    WireHandlers();
    Timer1 = std::make_unique<TTimer>(FServices.Clock, "SetQuestions.Timer1", TimerIntervalMs, true,
                                      0, [this] { Timer1Timer(); });

    // Client area 640 x 442 under the menu, centred on the screen; it may be maximized, and
    // it never shrinks below that size.
    const int menuHeight = menuBar()->sizeHint().height();
    setMinimumSize(ClientWidth, ClientHeight + menuHeight);
    resize(ClientWidth, ClientHeight + menuHeight);
    if (QScreen* s = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect avail = s->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }
    FormCreate();
}

TSetQuestions::~TSetQuestions() = default;

void TSetQuestions::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, Silver);
    client->setPalette(pal);
    setCentralWidget(client);

    // The focus parking place lies behind the panel.
    Focus = new QLineEdit(client);
    Focus->setObjectName(QStringLiteral("Focus"));
    Focus->setGeometry(10, 10, 40, 20);

    BackPanel = new TPanel(client, QStringLiteral("BackPanel"));
    BackPanel->resize(BackPanelSize);
    BackPanel->SetColor(Silver);
    BackPanel->SetHatched(true);
    BackPanel->SetBevelOuter(TBevel::Raised);
    BackPanel->move(8, 8);

    Panel4 = new TPanel(BackPanel, QStringLiteral("Panel4"));
    Panel4->setGeometry((BackPanelSize.width() - LogoSize.width() - 4) / 2, 8, LogoSize.width() + 4,
                        LogoSize.height() + 4);
    Panel4->SetBevelOuter(TBevel::Lowered);
    Panel4->SetColor(Qt::black);
    Image1 = new TImage(Panel4, QStringLiteral("Image1"));
    Image1->setGeometry(2, 2, LogoSize.width(), LogoSize.height());
    Image1->SetPicture(Artwork::Render(QStringLiteral("editor-logo"), LogoSize));
    Image1->setAccessibleName(QStringLiteral("Question Database"));

    EntryPanel = new TPanel(BackPanel, QStringLiteral("EntryPanel"));
    EntryPanel->setGeometry(10, 64, 605, 306);
    EntryPanel->SetColor(Navy);
    EntryPanel->SetBevelOuter(TBevel::Lowered);

    H1 = MakeLabel(EntryPanel, QStringLiteral("H1"), Qt::black, QRect(10, 9, 433, 18));
    H2 = MakeLabel(EntryPanel, QStringLiteral("H2"), Qt::black, QRect(434, 9, 159, 18),
                   Qt::AlignRight | Qt::AlignVCenter);
    FileNameDesc =
        MakeLabel(EntryPanel, QStringLiteral("FileNameDesc"), Qt::white, QRect(8, 10, 433, 18));
    Position = MakeLabel(EntryPanel, QStringLiteral("Position"), Qt::white, QRect(432, 10, 159, 18),
                         Qt::AlignRight | Qt::AlignVCenter);
    FileNameDesc->setAccessibleName(QStringLiteral("Question set"));
    Position->setAccessibleName(QStringLiteral("Question number"));

    const char* captions[5] = {"Question", "Answer", "Wrong 1", "Wrong 2", "Wrong 3"};
    const char* names[5] = {"Ques1", "An1", "An2", "An3", "An4"};
    QLineEdit** edits[5] = {&Ques1, &An1, &An2, &An3, &An4};
    for (int i = 0; i < 5; ++i) {
        const int y = 48 + i * 50;
        const QString caption = QString::fromLatin1(captions[i]);
        MakeLabel(EntryPanel, QString::fromLatin1(names[i]) + QStringLiteral("Shadow"), Qt::black,
                  QRect(14, y + 2, 84, 20))
            ->SetCaption(caption);
        auto* label =
            MakeLabel(EntryPanel, QString::fromLatin1(names[i]) + QStringLiteral("Caption"),
                      Qt::white, QRect(12, y + 3, 84, 20));
        label->SetCaption(caption);
        auto* edit = new QLineEdit(EntryPanel);
        edit->setObjectName(QString::fromLatin1(names[i]));
        edit->setGeometry(100, y, 495, 26);
        edit->setMaxLength(FieldLength);
        edit->setFont(EditorFont(10, false));
        edit->setAccessibleName(caption);
        label->setBuddy(edit);
        *edits[i] = edit;
    }
    for (int i = 0; i < 4; ++i)
        QWidget::setTabOrder(*edits[i], *edits[i + 1]);

    struct TButtonSpec {
        QPushButton** Button;
        const char* Name;
        const char* Hint;
    };
    const TButtonSpec buttons[6] = {{&Previous, "Previous", "Go to Previous Record"},
                                    {&Next, "Next", "Go to Next Record"},
                                    {&Search, "Search", "Search for Text"},
                                    {&Add, "Add", "Add New Record"},
                                    {&Store, "Store", "Store Current Record"},
                                    {&Cancel, "Cancel", "Cancel Current Changes"}};
    constexpr int buttonWidth = 92, gap = 7;
    const int left = (BackPanelSize.width() - 6 * buttonWidth - 5 * gap) / 2;
    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(buttons[i].Name), BackPanel);
        b->setObjectName(QString::fromLatin1(buttons[i].Name));
        b->setToolTip(QString::fromLatin1(buttons[i].Hint));
        b->setGeometry(left + i * (buttonWidth + gap), 386, buttonWidth, 32);
        b->setEnabled(false);
        *buttons[i].Button = b;
    }

    RecNum = new TLabel(BackPanel, QStringLiteral("RecNum"));
    RecNum->SetCaption(QStringLiteral("0"));
    RecNum->hide();

    FindDialog1 = new TEditorFindDialog(this);
}

void TSetQuestions::CreateMenu() {
    QMenuBar* bar = menuBar();
    File1 = bar->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    NewQuestionSet1 = File1->addAction(QStringLiteral("&New Question Set"));
    NewQuestionSet1->setObjectName(QStringLiteral("NewQuestionSet1"));
    File1->addSeparator();
    LoadQuestionSet1 = File1->addAction(QStringLiteral("&Load Question Set"));
    LoadQuestionSet1->setObjectName(QStringLiteral("LoadQuestionSet1"));
    File1->addSeparator();
    QuittoGame1 = File1->addAction(QStringLiteral("&Close"));
    QuittoGame1->setObjectName(QStringLiteral("QuittoGame1"));
    QuittoGame1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    Help1 = bar->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Instructions1 = Help1->addAction(QStringLiteral("&Instructions"));
    Instructions1->setObjectName(QStringLiteral("Instructions1"));
}

void TSetQuestions::WireHandlers() {
    for (QLineEdit* field : Fields())
        connect(field, &QLineEdit::textChanged, this, [this] { Ques1Change(); });
    connect(Focus, &QLineEdit::textChanged, this, [this] { FocusChange(); });
    connect(Previous, &QPushButton::clicked, this, [this] { PreviousClick(); });
    connect(Next, &QPushButton::clicked, this, [this] { NextClick(); });
    connect(Search, &QPushButton::clicked, this, [this] { SearchClick(); });
    connect(Add, &QPushButton::clicked, this, [this] { AddClick(); });
    connect(Store, &QPushButton::clicked, this, [this] { StoreClick(); });
    connect(Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
    connect(FindDialog1, &TEditorFindDialog::Find, this, [this] { FindDialog1Find(); });
    connect(NewQuestionSet1, &QAction::triggered, this, [this] { NewQuestionSet1Click(); });
    connect(LoadQuestionSet1, &QAction::triggered, this, [this] { LoadQuestionSet1Click(); });
    connect(QuittoGame1, &QAction::triggered, this, [this] { QuittoGame1Click(); });
    connect(Instructions1, &QAction::triggered, this, [this] { Instructions1Click(); });
}

void TSetQuestions::FormCreate() {
    // 1. Without a set from the game, the editor looks for REGD.QST in the current folder.
    if (FQuestionFileName.isEmpty() || FQuestionFileName == NotAvailable)
        FQuestionFileName = QDir::currentPath() + QStringLiteral("/REGD.QST");
    // 2. A fresh window starts with no count, no pending Add and a fresh search.
    FState.RecordCount = 0;
    FState.AddReturnRecord = 0;
    FState.SearchPosition = 0;
    FState.LastSearchText.clear();
    // 3-5. Check the set; show its last question; measure it.
    const TQstCheckResult check = CheckQuestionFile(FilePath(), ReaderRules::EditorStartup);
    FState.RecordCount = check.RecordCount;
    if (TakeCheckedSet(check, ReaderRules::EditorStartup)) ShowFirstRecord(check.RecordCount);
    // 6.
    FResizeSeen = false;
}

void TSetQuestions::ShowFirstRecord(std::int64_t count) {
    const std::int64_t last = count - 1;
    if (last <= 0) {
        // Only the header: the append position of an empty set.
        setAppendPosition(1);
        EmptyFields();
        return;
    }
    TQstFile file;
    if (OpenSet(file) && ShowRecord(file, last)) {
        SetRecNum(last);
        return;
    }
    // The failure has been reported; a set that cannot be shown is no set at all, so there
    // is no blank form whose Store would land on the header.
    FQuestionFileName = NotAvailable;
    FState.RecordCount = 0;
    SetRecNum(0);
    EmptyFields();
}

bool TSetQuestions::TakeCheckedSet(const TQstCheckResult& check, const TReaderRules& rules) {
    FReadOnly = false;
    switch (check.Status) {
    case TQstCheck::Accepted:
        return true;
    case TQstCheck::ReadOnly:
        // A set this user may not change is still worth reading: it is browsed and
        // searched, and every write is refused with this message.
        FReadOnly = true;
        FServices.Dialogs.Information(this, ReadOnlyMessage);
        return true;
    case TQstCheck::NotFound:
        FServices.Dialogs.Warning(this, QString::fromLatin1(rules.NotFoundMessage));
        FQuestionFileName = NotAvailable;
        return false;
    case TQstCheck::Damaged:
        FQuestionFileName = NotAvailable;
        FServices.Dialogs.Warning(this, QString::fromLatin1(rules.DamagedMessage));
        return false;
    }
    return false;
}

void TSetQuestions::FormActivate() {
    const bool maximized = FServices.Settings.EditorMaximized() == QStringLiteral("1");
    const Qt::WindowStates state = windowState() & ~Qt::WindowMaximized;
    setWindowState(maximized ? state | Qt::WindowMaximized : state);
}

void TSetQuestions::FormResize() {
    if (FResizeSeen && !FServices.Settings.SetEditorMaximized(isMaximized()))
        FServices.Dialogs.Error(
            this,
            QStringLiteral("Cannot write the settings file %1").arg(TSettings::EditorIniPath()));
    FResizeSeen = true;
    QWidget* client = centralWidget();
    const int top = (client->height() - BackPanel->height()) / 2;
    const int left = (client->width() - BackPanel->width()) / 2;
    BackPanel->move(left, top);
    Focus->move(left + 10, top + 10);
    Focus->lower();
}

void TSetQuestions::Timer1Timer() {
    if (!SetLoaded()) {
        Position->SetCaption(QString());
        FileNameDesc->SetCaption(NoDataFile);
        for (QPushButton* b : {Previous, Next, Add, Store, Cancel, Search})
            b->setEnabled(false);
        for (QLineEdit* field : Fields())
            field->setEnabled(false);
        EmptyFields();
    } else {
        const std::int64_t recNum = FRecNum;
        const std::int64_t count = FState.RecordCount;
        Position->SetCaption(recNum < count ? QStringLiteral("%1/%2").arg(recNum).arg(count - 1)
                                            : QStringLiteral("Question : %1").arg(recNum));
        FileNameDesc->SetCaption(FQuestionFileName);
        Previous->setEnabled(recNum > 1);
        Next->setEnabled(recNum < count - 1);
        Add->setEnabled(FieldsComplete() && FState.AddReturnRecord == 0);
        const bool differs = FieldsDiffer(FState.EditorRecord);
        Store->setEnabled(differs);
        Cancel->setEnabled(differs);
        for (QLineEdit* field : Fields())
            field->setEnabled(true);
        Search->setEnabled(!Store->isEnabled());
    }
    H1->SetCaption(FileNameDesc->Caption());
    H2->SetCaption(Position->Caption());
    // Find Next follows the Search button, so a search never replaces unsaved texts.
    FindDialog1->SetSearchAllowed(Search->isEnabled());
}

void TSetQuestions::Ques1Change() {
    if (!SetLoaded() && !FEmptying) EmptyFields();
}

void TSetQuestions::FocusChange() {
    if (!Focus->text().isEmpty()) Focus->clear();
}

void TSetQuestions::NewQuestionSet1Click() {
    if (SetLoaded() && !SaveBeforeLeaving()) return;
    const TFileDialogSpec spec{QStringLiteral("Mindaro : Create New Question Set"),
                               QStringLiteral("Mindaro Questions|*.QST"), QStringLiteral("QST"),
                               QString()};
    const QString path = FServices.Dialogs.SaveFile(this, spec);
    if (path.isEmpty()) return;
    if (QFile::exists(path)) {
        FServices.Dialogs.Warning(this, QStringLiteral("This file already exists"));
        return;
    }
    FState.RecordCount = 0;
    FQuestionFileName = path;
    FReadOnly = false;
    TQstFile file;
    const TQuestionRecord header = TQuestionRecord::Header();
    if (!file.Create(FilePath())) {
        // Nothing was made: no set is selected rather than a name without a file.
        FQuestionFileName = NotAvailable;
        ReportError(file.ErrorText());
        return;
    }
    if (!file.Write(0, header) || !file.Sync()) {
        const std::string error = file.ErrorText();
        file.Close();
        // The file is ours and holds no header: take it away again.
        QFile::remove(path);
        FQuestionFileName = NotAvailable;
        ReportError(error);
        return;
    }
    FState.EditorRecord = header;
    // A pending Add belonged to the set before.
    FState.AddReturnRecord = 0;
    setAppendPosition(1);
    EmptyFields();
}

void TSetQuestions::LoadQuestionSet1Click() {
    if (SetLoaded() && !SaveBeforeLeaving()) return;
    const TFileDialogSpec spec{QStringLiteral("Mindaro : Load Questions"),
                               QStringLiteral("Mindaro Questions|*.QST"), QStringLiteral("QST"),
                               QDir::currentPath()};
    const QString path = FServices.Dialogs.OpenFile(this, spec);
    if (path.isEmpty()) return;
    FState.RecordCount = 0;
    FQuestionFileName = path;
    // A pending Add belonged to the set before.
    FState.AddReturnRecord = 0;
    const TQstCheckResult check = CheckQuestionFile(FilePath(), ReaderRules::EditorLoad);
    FState.RecordCount = check.RecordCount;
    if (TakeCheckedSet(check, ReaderRules::EditorLoad)) ShowFirstRecord(check.RecordCount);
}

void TSetQuestions::QuittoGame1Click() {
    close();
}

void TSetQuestions::Instructions1Click() {
    FServices.Shell.ShowHelp(InstructionsHelp);
}

void TSetQuestions::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TSetQuestions::closeEvent(QCloseEvent* event) {
    // Typed texts are not dropped without the user's word.
    if (SetLoaded() && !SaveBeforeLeaving()) {
        event->ignore();
        return;
    }
    Timer1->Stop();
    FindDialog1->hide();
    event->accept();
    emit Closed();
}

bool TSetQuestions::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return handled;
}
