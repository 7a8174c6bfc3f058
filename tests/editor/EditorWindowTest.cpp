#include "EditorFixture.h"

#include "Label.h"
#include "Panel.h"
#include "QuestionFindDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

#include <unistd.h>

using QstFixtures::numbered;
using QstFixtures::readBytes;
using QstFixtures::writeBytes;
using QstFixtures::writeNumberedSet;

namespace {
// Types into a field key by key, as the user does.
void keyIn(QLineEdit* field, const QString& text) {
    QTest::keyClicks(field, text);
}
} // namespace

class EditorWindowTest : public EditorWindowFixture {
protected:
    // The window becomes the active one.
    void activate() {
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(editor.data(), &activation);
    }
};

// The window is built as designed: caption, client size, controls with their hints and menus;
// from its creation on it shows the set it opened and offers the buttons that apply there.
TEST_F(EditorWindowTest, WindowHasItsDesignedControlsAndMenus) {
    writeNumberedSet(path("REGD.QST"), 2);
    fileName = QStringLiteral("N/A");
    editor = new QuestionEditor(QuestionEditorServices{dialogs, shell, settings}, state,
                                fileName);
    EXPECT_EQ(editor->model().recordNumber(), 2);
    const std::pair<QPushButton*, bool> offered[] = {
        {editor->previousButton, true}, {editor->nextButton, false},
        {editor->searchButton, true},   {editor->addButton, true},
        {editor->storeButton, false},   {editor->cancelButton, false}};
    for (const auto& [button, enabled] : offered)
        EXPECT_EQ(button->isEnabled(), enabled) << button->objectName().toStdString();

    editor->show();
    // The labels show the set and the question, each over its black twin.
    EXPECT_EQ(editor->setNameLabel->caption(), QDir::currentPath() + "/REGD.QST");
    EXPECT_EQ(editor->positionLabel->caption(), QStringLiteral("2/2"));
    EXPECT_EQ(editor->setNameShadow->caption(), editor->setNameLabel->caption());
    EXPECT_EQ(editor->positionShadow->caption(), editor->positionLabel->caption());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Question Database"));
    EXPECT_TRUE(editor->isWindow());
    EXPECT_TRUE(editor->property("trivoraPausesGame").toBool());
    EXPECT_EQ(editor->centralWidget()->size(), QSize(640, 442));
    EXPECT_EQ(editor->backPanel->size(), QSize(625, 433));
    const std::pair<QPushButton*, const char*> buttons[] = {
        {editor->previousButton, "Go to Previous Record"},
        {editor->nextButton, "Go to Next Record"},
        {editor->searchButton, "Search for Text"},
        {editor->addButton, "Add New Record"},
        {editor->storeButton, "Store Current Record"},
        {editor->cancelButton, "Cancel Current Changes"}};
    int x = -1;
    for (const auto& [button, hint] : buttons) {
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(hint));
        EXPECT_GT(button->x(), x) << "one row, in order";
        x = button->x();
    }
    EXPECT_EQ(editor->closeAction->text(), QStringLiteral("&Close"));
    EXPECT_EQ(editor->closeAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    EXPECT_EQ(editor->newSetAction->text(), QStringLiteral("&New Question Set"));
    EXPECT_EQ(editor->loadSetAction->text(), QStringLiteral("&Load Question Set"));
    EXPECT_EQ(editor->instructionsAction->text(), QStringLiteral("&Instructions"));
    // Resizing centres the panel and hides the focus box behind it.
    editor->resize(900, 700);
    QCoreApplication::processEvents();
    const QSize client = editor->centralWidget()->size();
    EXPECT_EQ(editor->backPanel->pos(),
              QPoint((client.width() - 625) / 2, (client.height() - 433) / 2));
    EXPECT_EQ(editor->focusParking->pos(), editor->backPanel->pos() + QPoint(10, 10));
}

// Load, New and Close run the save step first: No to a partial record cancels them; Yes to
// saving changed texts stores them before the window closes.
TEST_F(EditorWindowTest, LeavingTheRecordAsksFirst) {
    writeNumberedSet(path("a.QST"), 2);
    fileName = qPath("a.QST");
    open();
    QSignalSpy closed(editor.data(), &QuestionEditor::closed);
    type({QStringLiteral("a"), QStringLiteral("b"), {}, {}, {}});
    editor->loadSetAction->trigger();
    editor->newSetAction->trigger();
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dialogs.texts(), QStringList(3, discardQuestion));
    EXPECT_TRUE(dialogs.fileDialogs().empty());
    ASSERT_FALSE(editor.isNull()) << "the window stays open";
    EXPECT_EQ(closed.count(), 0);

    dialogs.clear();
    QStringList changed = textsOf(2);
    changed[4] = QStringLiteral("Changed");
    type(changed);
    dialogs.answer(MsgButton::Yes);
    closeEditor();
    EXPECT_EQ(dialogs.texts(), QStringList{saveQuestion});
    EXPECT_EQ(readBytes(path("a.QST")), setBytes({numbered(1), recordOf(changed)}));
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(editor.isNull()) << "the window is destroyed once closed";
}

// Instructions shows help topic 11; closing emits Closed and destroys the window.
TEST_F(EditorWindowTest, InstructionsAndClose) {
    writeNumberedSet(path("a.QST"), 1);
    fileName = qPath("a.QST");
    open();
    editor->instructionsAction->trigger();
    EXPECT_EQ(shell.calls, QStringList{QStringLiteral("help:11")});
    QSignalSpy closed(editor.data(), &QuestionEditor::closed);
    editor->closeAction->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(editor.isNull());
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

// The window size is remembered in "Pocko.Ini": the first resize writes nothing, "1" opens the
// window maximized, and a return to normal size writes "0".
TEST_F(EditorWindowTest, WindowSizeIsRemembered) {
    writeNumberedSet(path("a.QST"), 1);
    fileName = qPath("a.QST");
    open();
    editor->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(editor->resizeSeen());
    EXPECT_EQ(settings.editorMaximized(), QStringLiteral("F"));
    ASSERT_TRUE(settings.setEditorMaximized(true));
    activate();
    QCoreApplication::processEvents();
    EXPECT_TRUE(editor->isMaximized());
    editor->showNormal();
    QCoreApplication::processEvents();
    EXPECT_FALSE(editor->isMaximized());
    EXPECT_EQ(settings.editorMaximized(), QStringLiteral("0"));
    activate();
    EXPECT_FALSE(editor->isMaximized());
}

// Cancel after a pending Add returns to the question shown before the first Add, or stays at
// the append position when there is none, and never reads past the set: a double-click on
// Add, Add from the append position answered No, Add followed by New or by Load. The pending
// Add ends there, so Add works again once the fields are complete.
TEST_F(EditorWindowTest, AddThenCancelNeverReadsPastTheSet) {
    struct Row {
        const char* name;
        std::function<void()> act;
        std::int64_t questionAfterCancel;
        QStringList fieldsAfterCancel;
    };
    const auto click = [](QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); };
    const QStringList empty(5, QString());
    const Row rows[] = {
        {"double-click on Add",
         [&] {
             click(editor->addButton);
             click(editor->addButton); // straight after the first press
         },
         3, textsOf(3)},
        {"Add at the append position, answered No",
         [&] {
             click(editor->addButton);
             keyIn(editor->questionEdit, QStringLiteral("half"));
             click(editor->cancelButton); // empties the fields and ends the Add
             type(newTexts);
             click(editor->addButton); // "Save Changes to current record?" No
         },
         4, empty},
        {"Add, then New Question Set",
         [&] {
             click(editor->addButton);
             dialogs.chooseFile(qPath("new.QST"));
             editor->newSetAction->trigger();
         },
         1, empty},
        {"Add, then Load of an empty set",
         [&] {
             click(editor->addButton);
             writeBytes(path("empty.QST"), setBytes({}));
             dialogs.chooseFile(qPath("empty.QST"));
             editor->loadSetAction->trigger();
         },
         1, empty},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        delete editor.data();
        ::unlink(path("new.QST").c_str());
        writeNumberedSet(path("a.QST"), 3);
        fileName = qPath("a.QST");
        open();
        editor->show();
        row.act();
        for (int i = 0; i < 2; ++i) {
            if (editor->cancelButton->isEnabled()) click(editor->cancelButton);
        }
        for (const auto& box : dialogs.shown())
            EXPECT_NE(box.kind, MsgKind::Error) << box.text.toStdString();
        EXPECT_EQ(editor->model().recordNumber(), row.questionAfterCancel);
        EXPECT_EQ(fieldTexts(), row.fieldsAfterCancel);
        EXPECT_EQ(state.addReturnRecord, 0);
        EXPECT_EQ(readBytes(path("a.QST")), setBytes(numberedRecords(3))) << "nothing written";
        // Add is free again.
        type(newTexts);
        EXPECT_TRUE(editor->addButton->isEnabled());
        dialogs.clear();
    }
}

// Another program appends to the set while a new question is typed: Store puts the new
// question behind them, at the real end, says where it went and shows it there. Nothing the
// editor did not show is overwritten.
TEST_F(EditorWindowTest, StoreAppendsBehindAnotherWriter) {
    writeNumberedSet(path("a.QST"), 3);
    fileName = qPath("a.QST");
    open();
    editor->show();
    QTest::mouseClick(editor->addButton, Qt::LeftButton);
    for (int i = 0; i < 5; ++i)
        keyIn(editor->fieldEdits()[static_cast<std::size_t>(i)], newTexts[i]);
    // The other program writes a whole new file and renames it over the set.
    writeNumberedSet(path("a.QST.new"), 5);
    ASSERT_EQ(::rename(path("a.QST.new").c_str(), path("a.QST").c_str()), 0);
    // Behind the notice the window already shows where the question went.
    QString shownBehind;
    dialogs.onMessage = [&](const QString&) { shownBehind = editor->positionLabel->caption(); };
    QTest::mouseClick(editor->storeButton, Qt::LeftButton);
    dialogs.onMessage = nullptr;
    EXPECT_EQ(shownBehind, QStringLiteral("6/6"));
    auto records = numberedRecords(5);
    records.push_back(recordOf(newTexts));
    EXPECT_EQ(readBytes(path("a.QST")), setBytes(records));
    EXPECT_EQ(dialogs.texts(), QStringList{QuestionEditorModel::storedAtEndMessage.arg(6)});
    EXPECT_EQ(editor->model().recordNumber(), 6);
    EXPECT_EQ(editor->positionLabel->caption(), QStringLiteral("6/6"));
    EXPECT_FALSE(editor->storeButton->isEnabled());
    QTest::mouseClick(editor->previousButton, Qt::LeftButton);
    EXPECT_EQ(fieldTexts(), textsOf(5));
}

// A question changed by another program since it was shown is never overwritten: Store and
// the save prompt of a move are refused with a message, and Cancel shows the question as it
// is in the set now.
TEST_F(EditorWindowTest, QuestionChangedUnderTheEditorIsNotOverwritten) {
    std::vector<QuestionRecord> theirs = numberedRecords(3);
    theirs[2] = recordOf(textsOf(33));
    for (const bool viaStore : {true, false}) {
        SCOPED_TRACE(viaStore ? "Store" : "Previous");
        delete editor.data();
        writeNumberedSet(path("a.QST"), 3);
        fileName = qPath("a.QST");
        open();
        editor->show();
        keyIn(editor->questionEdit, QStringLiteral(" (mine)"));
        writeBytes(path("a.QST"), setBytes(theirs));
        dialogs.clear();
        QTest::mouseClick(viaStore ? editor->storeButton : editor->previousButton, Qt::LeftButton);
        EXPECT_EQ(dialogs.texts().last(), QuestionEditorModel::changedMessage);
        EXPECT_EQ(readBytes(path("a.QST")), setBytes(theirs));
        EXPECT_EQ(editor->model().recordNumber(), 3);
        QTest::mouseClick(editor->cancelButton, Qt::LeftButton);
        EXPECT_EQ(fieldTexts(), textsOf(33));
        // Shown now, it may be changed.
        keyIn(editor->questionEdit, QStringLiteral("!"));
        QTest::mouseClick(editor->storeButton, Qt::LeftButton);
        EXPECT_EQ(readBytes(path("a.QST")).substr(3 * 380 + 1, 11), "Question 33");
        EXPECT_EQ(readBytes(path("a.QST"))[3 * 380], 12) << "stored with the new text";
    }
}

// A 76th character cannot be typed into any field, a longer paste is refused whole with a
// message (never cut to fit), and a question of 75 characters is stored and read back
// unchanged.
TEST_F(EditorWindowTest, FieldsTakeAtMost75Characters) {
    writeNumberedSet(path("a.QST"), 1);
    fileName = qPath("a.QST");
    open();
    editor->show();
    for (QLineEdit* field : editor->fieldEdits()) {
        field->clear();
        QTest::keyClicks(field, QString(80, QLatin1Char('q')));
        EXPECT_EQ(field->text().size(), 75);
    }
    QTest::mouseClick(editor->storeButton, Qt::LeftButton);
    EXPECT_FALSE(editor->cancelButton->isEnabled()) << "stored as typed";
    EXPECT_EQ(fieldTexts(), QStringList(5, QString(75, QLatin1Char('q'))));
    const std::string q(75, 'q');
    QLineEdit* question = editor->fieldEdits()[0];
    question->clear();
    QApplication::clipboard()->setText(QString(80, QLatin1Char('p')));
    dialogs.clear();
    QTest::keyClick(question, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(question->text(), QString()) << "nothing cut, nothing pasted";
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts().first().contains(QStringLiteral("80 characters")));
    question->undo();
    EXPECT_EQ(readBytes(path("a.QST")), setBytes({QstFixtures::question(q, q, q, q, q)}));
}

// Search opens the find box; each press of its Find Next runs one search and leaves the text
// in the box. Find Next is refused while the fields hold texts that are not stored, so a
// search never replaces them: the box's button follows the editor's Search button.
TEST_F(EditorWindowTest, FindBoxSearchesOnlyOverStoredTexts) {
    QstFixtures::writeNumberedSet(path("s.QST"), 5);
    fileName = qPath("s.QST");
    open();
    editor->show();
    QuestionFindDialog* box = editor->findDialog;
    QTest::mouseClick(editor->searchButton, Qt::LeftButton);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->findNextButton->isEnabled()) << "nothing to find yet";
    keyIn(box->findEdit, QStringLiteral("2"));
    ASSERT_TRUE(box->findNextButton->isEnabled());
    QTest::mouseClick(box->findNextButton, Qt::LeftButton);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is restored";
    EXPECT_EQ(fieldTexts(), textsOf(2));
    EXPECT_EQ(box->findText(), QStringLiteral("2"));
    EXPECT_EQ(editor->positionLabel->caption(), QStringLiteral("2/5"));

    keyIn(editor->questionEdit, QStringLiteral(" being edited"));
    EXPECT_FALSE(editor->searchButton->isEnabled());
    EXPECT_FALSE(box->findNextButton->isEnabled());
    box->setFindText(QStringLiteral("4"));
    QTest::mouseClick(box->findNextButton, Qt::LeftButton);
    editor->model().findNext(QStringLiteral("4"));
    EXPECT_EQ(editor->model().recordNumber(), 2);
    EXPECT_EQ(fieldTexts()[0], QStringLiteral("Question 2 being edited"));
    EXPECT_TRUE(dialogs.texts().isEmpty());
}
