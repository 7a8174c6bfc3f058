// The question editor window: its controls and menu, what they send to the model, and how
// the window shows the model.
#include "QuestionEditor.h"

#include "Artwork.h"
#include "Dialogs.h"
#include "ImageView.h"
#include "Label.h"
#include "Panel.h"
#include "QuestionFindDialog.h"
#include "QuestionRecord.h"
#include "Settings.h"
#include "Shell.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QValidator>

namespace {

// A record holds at most 75 characters of a text. One more typed character is refused, as a
// box of that length refuses it; a paste or drop longer than that is refused whole and said,
// never cut to fit without a word.
class FieldLengthValidator : public QValidator {
public:
    FieldLengthValidator(int capacity, QLineEdit* edit, std::function<void(int)> tooLong)
        : QValidator(edit), capacity(capacity), tooLong(std::move(tooLong)) {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { shownLength = text.size(); });
    }

    State validate(QString& input, int&) const override {
        if (input.size() <= capacity) return Acceptable;
        // More than one character at once is a paste or a drop.
        if (input.size() - shownLength > 1) tooLong(static_cast<int>(input.size()));
        return Invalid;
    }

private:
    int capacity;
    std::function<void(int)> tooLong;
    // The length of the text the box shows, set by typing and by the model alike.
    qsizetype shownLength = 0;
};

const QString pastedTooLongMessage =
    QStringLiteral("The text pasted into %1 is %2 characters long; a question file holds at "
                   "most 75. Nothing was pasted: please shorten it first.");

const QColor silver(0xC0, 0xC0, 0xC0);
const QColor navy(0x00, 0x00, 0x80);

constexpr QSize backPanelSize(625, 433);
constexpr QSize logoSize(415, 45);
constexpr int instructionsHelpTopic = 11;

QFont editorFont(int pointSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

// A label in one colour; the white ones get a black twin 2 pixels right and 1 pixel above,
// laid beneath them, which makes the embossed look.
Label* makeLabel(QWidget* parent, const QString& name, const QColor& color, QRect at,
                 Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new Label(parent, name);
    label->setFont(editorFont(9, true));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    label->setAlignment(align);
    label->setGeometry(at);
    return label;
}

// The busy cursor for the time of one search, restored however the search ends.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
} // namespace

QuestionEditor::QuestionEditor(QuestionEditorServices services, QuestionEditorState& state,
                               const QString& questionFile, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      services(services), editorModel(services.dialogs, state, questionFile) {
    setObjectName(QStringLiteral("questionEditor"));
    setWindowTitle(QStringLiteral("Question Database"));
    // Destroyed once closed; closing it never ends the program (the game screen takes over).
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    // The game's timers stay paused while this window is the active one.
    setProperty("trivoraPausesGame", true);
    editorModel.setDialogParent(this);
    editorModel.setScoreStore(services.scores);
    createControls();
    createMenu();
    connectControls();

    // Client area 640 x 442 under the menu, centred on the screen; it may be maximized, and
    // it never shrinks below that size.
    const int menuHeight = menuBar()->sizeHint().height();
    setMinimumSize(clientWidth, clientHeight + menuHeight);
    resize(clientWidth, clientHeight + menuHeight);
    if (QScreen* s = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect avail = s->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }
    editorModel.openStartingSet();
    sizeChangeSeen = false;
}

QuestionEditor::~QuestionEditor() = default;

void QuestionEditor::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, silver);
    client->setPalette(pal);
    setCentralWidget(client);

    // The focus parking place lies behind the panel.
    focusParking = new QLineEdit(client);
    focusParking->setObjectName(QStringLiteral("focusParking"));
    focusParking->setGeometry(10, 10, 40, 20);

    backPanel = new Panel(client, QStringLiteral("backPanel"));
    backPanel->resize(backPanelSize);
    backPanel->setColor(silver);
    backPanel->setHatched(true);
    backPanel->setBevelOuter(Bevel::Raised);
    backPanel->move(8, 8);

    logoFrame = new Panel(backPanel, QStringLiteral("logoFrame"));
    logoFrame->setGeometry((backPanelSize.width() - logoSize.width() - 4) / 2, 8,
                           logoSize.width() + 4, logoSize.height() + 4);
    logoFrame->setBevelOuter(Bevel::Lowered);
    logoFrame->setColor(Qt::black);
    logoImage = new ImageView(logoFrame, QStringLiteral("logoImage"));
    logoImage->setGeometry(2, 2, logoSize.width(), logoSize.height());
    logoImage->setPicture(Artwork::render(QStringLiteral("editor-logo"), logoSize));
    logoImage->setAccessibleName(QStringLiteral("Question Database"));

    entryPanel = new Panel(backPanel, QStringLiteral("entryPanel"));
    entryPanel->setGeometry(10, 64, 605, 306);
    entryPanel->setColor(navy);
    entryPanel->setBevelOuter(Bevel::Lowered);

    setNameShadow =
        makeLabel(entryPanel, QStringLiteral("setNameShadow"), Qt::black, QRect(10, 9, 433, 18));
    positionShadow = makeLabel(entryPanel, QStringLiteral("positionShadow"), Qt::black,
                               QRect(434, 9, 159, 18), Qt::AlignRight | Qt::AlignVCenter);
    setNameLabel =
        makeLabel(entryPanel, QStringLiteral("setNameLabel"), Qt::white, QRect(8, 10, 433, 18));
    positionLabel = makeLabel(entryPanel, QStringLiteral("positionLabel"), Qt::white,
                              QRect(432, 10, 159, 18), Qt::AlignRight | Qt::AlignVCenter);
    setNameLabel->setAccessibleName(QStringLiteral("Question set"));
    positionLabel->setAccessibleName(QStringLiteral("Question number"));
    figuresLabel = makeLabel(entryPanel, QStringLiteral("figuresLabel"), QColor(0xFF, 0xD2, 0x3F),
                             QRect(392, 28, 199, 16), Qt::AlignRight | Qt::AlignVCenter);
    figuresLabel->setFont(editorFont(8, false));
    figuresLabel->setAccessibleDescription(
        QStringLiteral("How often the question was asked in games and answered right"));

    struct FieldSpec {
        QLineEdit** edit;
        const char* name;
        const char* caption;
    };
    const FieldSpec fields[QuestionEditorModel::fieldCount] = {
        {&questionEdit, "question", "Question"},
        {&answerEdit, "answer", "Answer"},
        {&wrongEdit1, "wrong1", "Wrong 1"},
        {&wrongEdit2, "wrong2", "Wrong 2"},
        {&wrongEdit3, "wrong3", "Wrong 3"}};
    for (int i = 0; i < QuestionEditorModel::fieldCount; ++i) {
        const FieldSpec& spec = fields[i];
        const int y = 48 + i * 50;
        const QString caption = QString::fromLatin1(spec.caption);
        const QString name = QString::fromLatin1(spec.name);
        makeLabel(entryPanel, name + QStringLiteral("Shadow"), Qt::black, QRect(14, y + 2, 84, 20))
            ->setCaption(caption);
        auto* label = makeLabel(entryPanel, name + QStringLiteral("Caption"), Qt::white,
                                QRect(12, y + 3, 84, 20));
        label->setCaption(caption);
        auto* edit = new QLineEdit(entryPanel);
        edit->setObjectName(name + QStringLiteral("Edit"));
        edit->setGeometry(100, y, 495, 26);
        edit->setValidator(new FieldLengthValidator(
            static_cast<int>(QuestionRecord::Capacity), edit, [this, caption](int length) {
                services.dialogs.information(this, pastedTooLongMessage.arg(caption).arg(length));
            }));
        edit->setFont(editorFont(10, false));
        edit->setAccessibleName(caption);
        label->setBuddy(edit);
        *spec.edit = edit;
        if (i > 0) QWidget::setTabOrder(*fields[i - 1].edit, edit);
    }

    struct ButtonSpec {
        QPushButton** button;
        const char* caption;
        const char* hint;
    };
    const ButtonSpec buttons[6] = {{&previousButton, "Previous", "Go to Previous Record"},
                                   {&nextButton, "Next", "Go to Next Record"},
                                   {&searchButton, "Search", "Search for Text"},
                                   {&addButton, "Add", "Add New Record"},
                                   {&storeButton, "Store", "Store Current Record"},
                                   {&cancelButton, "Cancel", "Cancel Current Changes"}};
    constexpr int buttonWidth = 92, gap = 7;
    const int left = (backPanelSize.width() - 6 * buttonWidth - 5 * gap) / 2;
    for (int i = 0; i < 6; ++i) {
        const QString caption = QString::fromLatin1(buttons[i].caption);
        auto* b = new QPushButton(caption, backPanel);
        b->setObjectName(caption.toLower() + QStringLiteral("Button"));
        b->setToolTip(QString::fromLatin1(buttons[i].hint));
        b->setGeometry(left + i * (buttonWidth + gap), 386, buttonWidth, 32);
        b->setEnabled(false);
        *buttons[i].button = b;
    }

    findDialog = new QuestionFindDialog(this);
}

void QuestionEditor::createMenu() {
    QMenuBar* bar = menuBar();
    fileMenu = bar->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    newSetAction = fileMenu->addAction(QStringLiteral("&New Question Set"));
    newSetAction->setObjectName(QStringLiteral("newSetAction"));
    fileMenu->addSeparator();
    loadSetAction = fileMenu->addAction(QStringLiteral("&Load Question Set"));
    loadSetAction->setObjectName(QStringLiteral("loadSetAction"));
    fileMenu->addSeparator();
    closeAction = fileMenu->addAction(QStringLiteral("&Close"));
    closeAction->setObjectName(QStringLiteral("closeAction"));
    closeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    helpMenu = bar->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    instructionsAction = helpMenu->addAction(QStringLiteral("&Instructions"));
    instructionsAction->setObjectName(QStringLiteral("instructionsAction"));
}

void QuestionEditor::connectControls() {
    QuestionEditorModel* m = &editorModel;
    const auto edits = fieldEdits();
    for (int i = 0; i < QuestionEditorModel::fieldCount; ++i)
        connect(edits[static_cast<std::size_t>(i)], &QLineEdit::textChanged, this,
                [this, i](const QString& text) {
                    if (!showingFields) editorModel.setField(i, text);
                });
    connect(m, &QuestionEditorModel::fieldsChanged, this, &QuestionEditor::showFields);
    connect(m, &QuestionEditorModel::viewChanged, this, &QuestionEditor::showView);
    // Whatever reaches the parking place is dropped at once.
    connect(focusParking, &QLineEdit::textChanged, focusParking, [this] {
        if (!focusParking->text().isEmpty()) focusParking->clear();
    });
    connect(previousButton, &QPushButton::clicked, m, &QuestionEditorModel::showPreviousQuestion);
    connect(nextButton, &QPushButton::clicked, m, &QuestionEditorModel::showNextQuestion);
    connect(searchButton, &QPushButton::clicked, this, &QuestionEditor::showFindDialog);
    connect(addButton, &QPushButton::clicked, this, &QuestionEditor::startNewQuestion);
    connect(storeButton, &QPushButton::clicked, m, &QuestionEditorModel::storeQuestion);
    connect(cancelButton, &QPushButton::clicked, m, &QuestionEditorModel::cancelChanges);
    connect(findDialog, &QuestionFindDialog::findNextRequested, this, &QuestionEditor::findNext);
    connect(newSetAction, &QAction::triggered, m, &QuestionEditorModel::createSet);
    connect(loadSetAction, &QAction::triggered, m, &QuestionEditorModel::loadSet);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    connect(instructionsAction, &QAction::triggered, this, &QuestionEditor::showInstructions);
}

void QuestionEditor::showFields() {
    const QScopedValueRollback<bool> showing(showingFields, true);
    const auto edits = fieldEdits();
    for (std::size_t i = 0; i < edits.size(); ++i)
        edits[i]->setText(editorModel.fields()[i]);
}

void QuestionEditor::showView(const QuestionEditorModel::View& view) {
    positionLabel->setCaption(view.position);
    figuresLabel->setCaption(view.figures);
    setNameLabel->setCaption(view.setName);
    previousButton->setEnabled(view.previousEnabled);
    nextButton->setEnabled(view.nextEnabled);
    addButton->setEnabled(view.addEnabled);
    storeButton->setEnabled(view.storeEnabled);
    cancelButton->setEnabled(view.storeEnabled);
    searchButton->setEnabled(view.searchEnabled);
    for (QLineEdit* edit : fieldEdits())
        edit->setEnabled(view.fieldsEnabled);
    setNameShadow->setCaption(setNameLabel->caption());
    positionShadow->setCaption(positionLabel->caption());
    // Find Next follows the Search button, so a search never replaces unsaved texts.
    findDialog->setSearchAllowed(view.searchEnabled);
}

void QuestionEditor::startNewQuestion() {
    if (editorModel.addQuestion()) questionEdit->setFocus();
}

void QuestionEditor::showFindDialog() {
    findDialog->show();
    findDialog->raise();
    findDialog->activateWindow();
}

void QuestionEditor::findNext() {
    const BusyCursor busy;
    editorModel.findNext(findDialog->findText());
}

void QuestionEditor::showInstructions() {
    services.shell.showHelp(instructionsHelpTopic);
}

void QuestionEditor::applyRememberedSize() {
    const bool maximized = services.settings.editorMaximized() == QStringLiteral("1");
    const Qt::WindowStates state = windowState() & ~Qt::WindowMaximized;
    setWindowState(maximized ? state | Qt::WindowMaximized : state);
}

void QuestionEditor::placeBackPanel() {
    if (sizeChangeSeen && !services.settings.setEditorMaximized(isMaximized()))
        services.dialogs.error(
            this,
            QStringLiteral("Cannot write the settings file %1").arg(Settings::editorIniPath()));
    sizeChangeSeen = true;
    QWidget* client = centralWidget();
    const int top = (client->height() - backPanel->height()) / 2;
    const int left = (client->width() - backPanel->width()) / 2;
    backPanel->move(left, top);
    focusParking->move(left + 10, top + 10);
    focusParking->lower();
}

void QuestionEditor::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeBackPanel();
}

void QuestionEditor::closeEvent(QCloseEvent* event) {
    // Typed texts are not dropped without the user's word.
    if (editorModel.isSetLoaded() && !editorModel.saveBeforeLeaving()) {
        event->ignore();
        return;
    }
    findDialog->hide();
    event->accept();
    emit closed();
}

bool QuestionEditor::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate) applyRememberedSize();
    return handled;
}
