#include "EditorFixture.h"

#include "Label.h"
#include "Panel.h"
#include "QstFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using EditorTest = TEditorFixture;
using QstFixtures::Numbered;
using QstFixtures::ReadBytes;
using QstFixtures::WriteBytes;
using QstFixtures::WriteNumberedSet;

namespace {
const QString NoFile = QStringLiteral("* NO DATAFILE LOADED *");
const QString SaveQuestion = QStringLiteral("Save Changes to current record?");
const QString DiscardQuestion = QStringLiteral("Discard partially complete record?");

QStringList TextsOf(int n) {
    const QString k = QString::number(n);
    return {QStringLiteral("Question ") + k, QStringLiteral("Right ") + k,
            QStringLiteral("Wrong ") + k + QStringLiteral(".1"),
            QStringLiteral("Wrong ") + k + QStringLiteral(".2"),
            QStringLiteral("Wrong ") + k + QStringLiteral(".3")};
}

TQuestionRecord RecordOf(const QStringList& t) {
    return QstFixtures::Question(t[0].toStdString(), t[1].toStdString(), t[2].toStdString(),
                                 t[3].toStdString(), t[4].toStdString());
}

std::vector<TQuestionRecord> NumberedRecords(int n) {
    std::vector<TQuestionRecord> out;
    for (int i = 1; i <= n; ++i)
        out.push_back(Numbered(i));
    return out;
}

const QStringList NewTexts = {QStringLiteral("Capital of France?"), QStringLiteral("Paris"),
                              QStringLiteral("Lyon"), QStringLiteral("Nice"),
                              QStringLiteral("Lille")};
} // namespace

// The window is built as designed: caption, client size, controls with their hints, menus,
// the 250 ms timer, and every button disabled until the timer first runs.
TEST_F(EditorTest, WindowHasItsDesignedControlsAndMenus) {
    WriteNumberedSet(Path("REGD.QST"), 2);
    FileName = QStringLiteral("N/A");
    Editor = new TSetQuestions(TEditorServices{Clock, Dialogs, Shell, Settings}, State, FileName);
    for (QPushButton* b : {Editor->Previous, Editor->Next, Editor->Search, Editor->Add,
                           Editor->Store, Editor->Cancel})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_EQ(Editor->RecNum->Caption(), QStringLiteral("2"));
    EXPECT_TRUE(Editor->RecNum->isHidden());

    Editor->show();
    EXPECT_EQ(Editor->windowTitle(), QStringLiteral("Question Database"));
    EXPECT_TRUE(Editor->isWindow());
    EXPECT_TRUE(Editor->property("trivoraPausesGame").toBool());
    EXPECT_EQ(Editor->centralWidget()->size(), QSize(640, 442));
    EXPECT_EQ(Editor->BackPanel->size(), QSize(625, 433));
    const std::pair<QPushButton*, const char*> buttons[] = {
        {Editor->Previous, "Go to Previous Record"}, {Editor->Next, "Go to Next Record"},
        {Editor->Search, "Search for Text"},         {Editor->Add, "Add New Record"},
        {Editor->Store, "Store Current Record"},     {Editor->Cancel, "Cancel Current Changes"}};
    int x = -1;
    for (const auto& [button, hint] : buttons) {
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(hint));
        EXPECT_GT(button->x(), x) << "one row, in order";
        x = button->x();
    }
    for (QLineEdit* field : Editor->Fields())
        EXPECT_EQ(field->maxLength(), 75);
    EXPECT_EQ(Editor->QuittoGame1->text(), QStringLiteral("&Close"));
    EXPECT_EQ(Editor->QuittoGame1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    EXPECT_EQ(Editor->NewQuestionSet1->text(), QStringLiteral("&New Question Set"));
    EXPECT_EQ(Editor->LoadQuestionSet1->text(), QStringLiteral("&Load Question Set"));
    EXPECT_EQ(Editor->Instructions1->text(), QStringLiteral("&Instructions"));
    TTimer* timer = Clock.Find("SetQuestions.Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->Interval(), 250);
    EXPECT_TRUE(timer->Enabled());
    // Resizing centres the panel and hides the focus box behind it.
    Editor->resize(900, 700);
    QCoreApplication::processEvents();
    const QSize client = Editor->centralWidget()->size();
    EXPECT_EQ(Editor->BackPanel->pos(),
              QPoint((client.width() - 625) / 2, (client.height() - 433) / 2));
    EXPECT_EQ(Editor->Focus->pos(), Editor->BackPanel->pos() + QPoint(10, 10));
}

// Creation opens the set the game names and shows its last question; without a set it opens
// REGD.QST in the current folder. It resets the count, a pending Add and the search.
TEST_F(EditorTest, CreationShowsLastQuestionOfTheSet) {
    WriteNumberedSet(Path("a.QST"), 3);
    WriteNumberedSet(Path("REGD.QST"), 2);
    struct Row {
        QString Given;
        QString Opened;
        int Last;
    };
    const Row rows[] = {{QPath("a.QST"), QPath("a.QST"), 3},
                        {QStringLiteral("N/A"), QDir::currentPath() + "/REGD.QST", 2},
                        {QString(), QDir::currentPath() + "/REGD.QST", 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Given.toStdString());
        delete Editor.data();
        FileName = row.Given;
        State.AddReturnRecord = 7;
        State.SearchPosition = 5;
        State.LastSearchText = QStringLiteral("old");
        Open();
        EXPECT_TRUE(Dialogs.Texts().isEmpty());
        EXPECT_EQ(FileName, row.Opened);
        EXPECT_EQ(Editor->RecordNumber(), row.Last);
        EXPECT_EQ(FieldTexts(), TextsOf(row.Last));
        EXPECT_EQ(State.RecordCount, row.Last + 1);
        EXPECT_EQ(State.AddReturnRecord, 0);
        EXPECT_EQ(State.SearchPosition, 0);
        EXPECT_TRUE(State.LastSearchText.isEmpty());
        EXPECT_EQ(Editor->Position->Caption(), QStringLiteral("%1/%1").arg(row.Last));
        EXPECT_EQ(Editor->FileNameDesc->Caption(), row.Opened);
        EXPECT_EQ(Editor->H1->Caption(), row.Opened);
        EXPECT_EQ(Editor->H2->Caption(), Editor->Position->Caption());
        EXPECT_TRUE(Editor->Previous->isEnabled());
        EXPECT_FALSE(Editor->Next->isEnabled());
        EXPECT_TRUE(Editor->Add->isEnabled());
        EXPECT_FALSE(Editor->Store->isEnabled());
        EXPECT_FALSE(Editor->Cancel->isEnabled());
        EXPECT_TRUE(Editor->Search->isEnabled());
    }
}

// Creation rejects a missing or damaged set with the start-up messages; the window then
// shows that no data file is loaded, with every button and field disabled.
TEST_F(EditorTest, CreationRejectsMissingOrDamagedSets) {
    const QString notFound = QStringLiteral("Unable to find Default Question File");
    const QString damaged = QStringLiteral("Default Question File Damaged - Please Re-Install");
    std::string lowerHeader = SetBytes({Numbered(1)});
    lowerHeader.replace(1, 18, "genuine data file!");
    std::string longHeader = SetBytes({Numbered(1)});
    longHeader[0] = 19;
    longHeader[19] = ' ';
    struct Row {
        const char* Name;
        bool Exists;
        std::string Bytes;
        QString Message;
        int RecordCount;
    };
    const Row rows[] = {
        {"missing", false, "", notFound, 0},
        {"zero bytes", true, "", damaged, 0},
        {"header only", true, SetBytes({}), damaged, 1},
        {"header in lower case", true, lowerHeader, damaged, 2},
        {"header and a blank", true, longHeader, damaged, 2},
        {"garbage", true, std::string(1000, '\xA7'), damaged, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        delete Editor.data();
        Dialogs.Clear();
        ::unlink(Path("s.QST").c_str());
        if (row.Exists) WriteBytes(Path("s.QST"), row.Bytes);
        FileName = QPath("s.QST");
        Open();
        EXPECT_EQ(Dialogs.Texts(), QStringList{row.Message});
        EXPECT_EQ(Dialogs.Shown().front().Kind, TMsgKind::Warning);
        EXPECT_EQ(FileName, QStringLiteral("N/A"));
        EXPECT_EQ(State.RecordCount, row.RecordCount);
        EXPECT_EQ(Editor->FileNameDesc->Caption(), NoFile);
        EXPECT_TRUE(Editor->Position->Caption().isEmpty());
        for (QPushButton* b : {Editor->Previous, Editor->Next, Editor->Search, Editor->Add,
                               Editor->Store, Editor->Cancel})
            EXPECT_FALSE(b->isEnabled());
        for (QLineEdit* field : Editor->Fields())
            EXPECT_FALSE(field->isEnabled());
        if (row.Exists) {
            EXPECT_EQ(ReadBytes(Path("s.QST")), row.Bytes) << "the set is never touched";
        }
    }
    // Typing while no set is loaded: the text vanishes at once.
    Editor->Ques1->setText(QStringLiteral("typed"));
    Editor->An3->setText(QStringLiteral("typed"));
    EXPECT_EQ(FieldTexts(), QStringList(5, QString()));
}

// A 76th character cannot be typed into any field, and a question of 75 characters is
// stored and read back unchanged.
TEST_F(EditorTest, FieldsTakeAtMost75Characters) {
    WriteNumberedSet(Path("a.QST"), 1);
    FileName = QPath("a.QST");
    Open();
    for (QLineEdit* field : Editor->Fields()) {
        field->clear();
        QTest::keyClicks(field, QString(80, QLatin1Char('q')));
        EXPECT_EQ(field->text().size(), 75);
    }
    Editor->StoreClick();
    Editor->CancelClick();
    EXPECT_EQ(FieldTexts(), QStringList(5, QString(75, QLatin1Char('q'))));
    const std::string q(75, 'q');
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes({QstFixtures::Question(q, q, q, q, q)}));
}

// A new set is the header alone, at the append position of its first question; storing five
// texts appends that question, flushed, and the set counts it.
TEST_F(EditorTest, NewSetThenFirstQuestionStored) {
    FileName = QStringLiteral("N/A");
    Open();
    Dialogs.Clear();
    Dialogs.ChooseFile(QPath("new.QST"));
    Editor->NewQuestionSet1Click();
    ASSERT_EQ(Dialogs.FileDialogs().size(), 1u);
    EXPECT_EQ(Dialogs.FileDialogs()[0].Title, QStringLiteral("Mindaro : Create New Question Set"));
    EXPECT_EQ(Dialogs.FileDialogs()[0].Filter, QStringLiteral("Mindaro Questions|*.QST"));
    EXPECT_EQ(Dialogs.FileDialogs()[0].DefaultSuffix, QStringLiteral("QST"));
    EXPECT_EQ(ReadBytes(Path("new.QST")), SetBytes({}));
    EXPECT_EQ(FileName, QPath("new.QST"));
    EXPECT_EQ(Editor->RecordNumber(), 1);
    Tick();
    EXPECT_EQ(Editor->Position->Caption(), QStringLiteral("Question : 1"));
    EXPECT_FALSE(Editor->Previous->isEnabled());
    EXPECT_FALSE(Editor->Next->isEnabled());
    EXPECT_FALSE(Editor->Add->isEnabled());
    EXPECT_FALSE(Editor->Search->isEnabled());
    EXPECT_TRUE(Editor->Store->isEnabled()) << "empty fields differ from the header";
    EXPECT_TRUE(Editor->Cancel->isEnabled());

    Type(NewTexts);
    Editor->StoreClick();
    EXPECT_EQ(ReadBytes(Path("new.QST")), SetBytes({RecordOf(NewTexts)}));
    Tick();
    EXPECT_EQ(Editor->Position->Caption(), QStringLiteral("1/1"));
    EXPECT_TRUE(Editor->Add->isEnabled());
    EXPECT_FALSE(Editor->Store->isEnabled());
    EXPECT_TRUE(Dialogs.Texts().isEmpty());
}

// New Question Set: cancelling changes nothing; an existing file is refused; a file that
// cannot be made is reported and leaves no set selected.
TEST_F(EditorTest, NewSetFailures) {
    WriteNumberedSet(Path("a.QST"), 2);
    WriteNumberedSet(Path("b.QST"), 1);
    const std::string b = ReadBytes(Path("b.QST"));
    FileName = QPath("a.QST");
    Open();
    Editor->NewQuestionSet1Click(); // cancelled
    EXPECT_EQ(FileName, QPath("a.QST"));
    Dialogs.ChooseFile(QPath("b.QST"));
    Editor->NewQuestionSet1Click();
    EXPECT_EQ(Dialogs.Texts(), QStringList{QStringLiteral("This file already exists")});
    EXPECT_EQ(FileName, QPath("a.QST"));
    EXPECT_EQ(Editor->RecordNumber(), 2);
    EXPECT_EQ(ReadBytes(Path("b.QST")), b);

    Dialogs.Clear();
    Dialogs.ChooseFile(QPath("no-folder/c.QST"));
    Editor->NewQuestionSet1Click();
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Shown()[0].Kind, TMsgKind::Error);
    EXPECT_TRUE(Dialogs.Shown()[0].Text.contains(QStringLiteral("no-folder/c.QST")));
    EXPECT_EQ(FileName, QStringLiteral("N/A"));
    EXPECT_EQ(State.RecordCount, 0);
    Tick();
    EXPECT_EQ(Editor->FileNameDesc->Caption(), NoFile);
}

// Add on an unchanged question asks nothing and moves to the append position; Cancel right
// after Add returns to that question; a Cancel after typing only empties the fields.
TEST_F(EditorTest, AddAndCancel) {
    WriteNumberedSet(Path("a.QST"), 3);
    FileName = QPath("a.QST");
    Open();
    Editor->AddClick();
    EXPECT_TRUE(Dialogs.Texts().isEmpty());
    EXPECT_EQ(FieldTexts(), QStringList(5, QString()));
    EXPECT_EQ(Editor->RecordNumber(), 4);
    Tick();
    EXPECT_EQ(Editor->Position->Caption(), QStringLiteral("Question : 4"));
    Editor->CancelClick();
    EXPECT_EQ(Editor->RecordNumber(), 3);
    EXPECT_EQ(FieldTexts(), TextsOf(3));

    Editor->AddClick();
    Type({QStringLiteral("half")});
    Tick();
    EXPECT_FALSE(Editor->Add->isEnabled());
    Editor->CancelClick();
    EXPECT_EQ(FieldTexts(), QStringList(5, QString()));
    EXPECT_EQ(Editor->RecordNumber(), 4);
    Editor->CancelClick();
    EXPECT_EQ(Editor->RecordNumber(), 4) << "the Add was cancelled by the first Cancel";

    Type(NewTexts);
    Editor->StoreClick();
    auto records = NumberedRecords(3);
    records.push_back(RecordOf(NewTexts));
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes(records));
    EXPECT_EQ(State.RecordCount, 5);
    EXPECT_EQ(State.AddReturnRecord, 0);
}

// Store with an empty field writes nothing, but measures the set again all the same.
TEST_F(EditorTest, StoreNeedsAllFiveFields) {
    WriteNumberedSet(Path("a.QST"), 2);
    FileName = QPath("a.QST");
    Open();
    Editor->AddClick();
    Type({NewTexts[0], NewTexts[1], NewTexts[2], NewTexts[3]});
    WriteNumberedSet(Path("a.QST"), 3); // grown behind the editor's back
    const std::string before = ReadBytes(Path("a.QST"));
    Editor->StoreClick();
    EXPECT_EQ(Dialogs.Texts(), QStringList{QStringLiteral(
                                   "All fields must be complete before record can be stored!")});
    EXPECT_EQ(Dialogs.Shown()[0].Kind, TMsgKind::Information);
    EXPECT_EQ(ReadBytes(Path("a.QST")), before);
    EXPECT_EQ(State.RecordCount, 4);
}

// Storing a changed question overwrites it in place, with zeros after each text, so no text of
// a longer earlier record stays behind; Windows-1252 characters are stored as such.
TEST_F(EditorTest, StoreOverwritesInPlaceWithCleanTail) {
    const std::string longText(70, 'L');
    QstFixtures::WriteSet(
        Path("a.QST"),
        {QstFixtures::Question(longText, longText, longText, longText, longText), Numbered(2)});
    FileName = QPath("a.QST");
    Open();
    Editor->PreviousClick();
    ASSERT_EQ(Editor->RecordNumber(), 1);
    const QStringList texts = {QStringLiteral("Café?"), QStringLiteral("€5"), QStringLiteral("x"),
                               QStringLiteral("y"), QStringLiteral("z")};
    Type(texts);
    Editor->StoreClick();
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes({RecordOf(texts), Numbered(2)}));
    EXPECT_EQ(ReadBytes(Path("a.QST")).substr(381, 5), std::string("Caf\xE9?"));
    EXPECT_EQ(Editor->RecordNumber(), 1);
}

// Previous and Next ask before leaving changed texts (Yes stores them, No drops them) and
// before dropping a partial record (No keeps texts and position).
TEST_F(EditorTest, SaveChangesBeforeMoving) {
    WriteNumberedSet(Path("a.QST"), 3);
    FileName = QPath("a.QST");
    Open();
    Editor->PreviousClick();
    EXPECT_TRUE(Dialogs.Texts().isEmpty()) << "nothing changed, nothing asked";
    QStringList changed = TextsOf(2);
    changed[0] = QStringLiteral("Changed 2");
    Type(changed);
    Dialogs.Answer(TMsgButton::Yes);
    Editor->NextClick();
    EXPECT_EQ(Dialogs.Texts(), QStringList{SaveQuestion});
    EXPECT_EQ(Editor->RecordNumber(), 3);
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes({Numbered(1), RecordOf(changed), Numbered(3)}));

    Editor->PreviousClick();
    Type({QStringLiteral("Dropped")});
    Dialogs.Answer(TMsgButton::No);
    Editor->NextClick();
    EXPECT_EQ(Editor->RecordNumber(), 3);
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes({Numbered(1), RecordOf(changed), Numbered(3)}));

    Dialogs.Clear();
    const QStringList partial = {QStringLiteral("a"), QStringLiteral("b"), {}, {}, {}};
    Type(partial);
    Dialogs.Answer(TMsgButton::No);
    Editor->PreviousClick();
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Shown()[0].Text, DiscardQuestion);
    EXPECT_EQ(Dialogs.Shown()[0].Kind, TMsgKind::Information);
    EXPECT_EQ(FieldTexts(), partial);
    EXPECT_EQ(Editor->RecordNumber(), 3);
    Dialogs.Answer(TMsgButton::Yes);
    Editor->PreviousClick();
    EXPECT_EQ(Editor->RecordNumber(), 2);
    EXPECT_EQ(FieldTexts(), changed);
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes({Numbered(1), RecordOf(changed), Numbered(3)}));
}

// A question appended through a save prompt does not raise the count: Next stays disabled on
// the question before it until the next Store.
TEST_F(EditorTest, AppendThroughPromptKeepsOldCount) {
    WriteNumberedSet(Path("a.QST"), 2);
    FileName = QPath("a.QST");
    Open();
    Editor->AddClick();
    Type(NewTexts);
    Dialogs.Answer(TMsgButton::Yes);
    Editor->PreviousClick();
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes({Numbered(1), Numbered(2), RecordOf(NewTexts)}));
    EXPECT_EQ(Editor->RecordNumber(), 2);
    EXPECT_EQ(State.RecordCount, 3);
    Tick();
    EXPECT_FALSE(Editor->Next->isEnabled());
    EXPECT_EQ(Editor->Position->Caption(), QStringLiteral("2/2"));
    Editor->StoreClick();
    Tick();
    EXPECT_TRUE(Editor->Next->isEnabled());
    EXPECT_EQ(Editor->Position->Caption(), QStringLiteral("2/3"));
}

// Load Question Set: cancel changes nothing; a set of only the header opens at its append
// position; missing and 0-byte files give the load messages and no set.
TEST_F(EditorTest, LoadQuestionSet) {
    WriteNumberedSet(Path("a.QST"), 2);
    WriteBytes(Path("empty.QST"), SetBytes({}));
    WriteBytes(Path("zero.QST"), "");
    FileName = QPath("a.QST");
    Open();
    Editor->LoadQuestionSet1Click();
    ASSERT_EQ(Dialogs.FileDialogs().size(), 1u);
    EXPECT_EQ(Dialogs.FileDialogs()[0].Title, QStringLiteral("Mindaro : Load Questions"));
    EXPECT_EQ(Dialogs.FileDialogs()[0].InitialDir, QDir::currentPath());
    EXPECT_EQ(FileName, QPath("a.QST"));
    EXPECT_EQ(State.RecordCount, 3);

    Dialogs.ChooseFile(QPath("empty.QST"));
    Editor->LoadQuestionSet1Click();
    EXPECT_TRUE(Dialogs.Texts().isEmpty());
    EXPECT_EQ(Editor->RecordNumber(), 1);
    EXPECT_EQ(FieldTexts(), QStringList(5, QString()));
    EXPECT_EQ(State.RecordCount, 1);
    Tick();
    EXPECT_EQ(Editor->Position->Caption(), QStringLiteral("Question : 1"));

    struct Row {
        const char* File;
        QString Message;
        int RecordCount;
    };
    const Row rows[] = {
        {"zero.QST", QStringLiteral("Specified Question File Damaged - Please Re-Install"), 0},
        {"none.QST", QStringLiteral("Unable to find Specified Question File"), 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.File);
        Dialogs.Clear();
        FileName = QPath("a.QST");
        Dialogs.ChooseFile(QPath(row.File));
        Editor->LoadQuestionSet1Click();
        EXPECT_EQ(Dialogs.Texts(), QStringList{row.Message});
        EXPECT_EQ(FileName, QStringLiteral("N/A"));
        EXPECT_EQ(State.RecordCount, row.RecordCount);
        Tick();
        EXPECT_EQ(Editor->FileNameDesc->Caption(), NoFile);
    }
}

// A 1000-byte set counts two records; the next question goes in at byte 760 over the stray
// tail. Length bytes above 75 show 75 characters, never a byte of the next field.
TEST_F(EditorTest, OddSizesAndLengthBytes) {
    WriteBytes(Path("a.QST"), SetBytes({Numbered(1)}) + std::string(240, '\xAB'));
    FileName = QPath("a.QST");
    Open();
    EXPECT_EQ(State.RecordCount, 2);
    EXPECT_EQ(Editor->RecordNumber(), 1);
    Editor->AddClick();
    Type(NewTexts);
    Editor->StoreClick();
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes({Numbered(1), RecordOf(NewTexts)}));

    std::string record(380, '\0');
    for (int f = 0; f < 5; ++f) {
        record[static_cast<std::size_t>(f * 76)] = '\xFF';
        for (int k = 1; k <= 75; ++k)
            record[static_cast<std::size_t>(f * 76 + k)] = char('A' + f);
    }
    WriteBytes(Path("b.QST"), SetBytes({}) + record);
    Dialogs.ChooseFile(QPath("b.QST"));
    Editor->LoadQuestionSet1Click();
    for (int f = 0; f < 5; ++f)
        EXPECT_EQ(FieldTexts()[f], QString(75, QLatin1Char(char('A' + f))));
}

// Load, New and Close run the save step first: No to a partial record cancels them; Yes to
// saving changed texts stores them before the window closes.
TEST_F(EditorTest, LeavingTheRecordAsksFirst) {
    WriteNumberedSet(Path("a.QST"), 2);
    FileName = QPath("a.QST");
    Open();
    QSignalSpy closed(Editor.data(), &TSetQuestions::Closed);
    Type({QStringLiteral("a"), QStringLiteral("b"), {}, {}, {}});
    Editor->LoadQuestionSet1Click();
    Editor->NewQuestionSet1Click();
    Editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Dialogs.Texts(), QStringList(3, DiscardQuestion));
    EXPECT_TRUE(Dialogs.FileDialogs().empty());
    ASSERT_FALSE(Editor.isNull()) << "the window stays open";
    EXPECT_EQ(closed.count(), 0);

    Dialogs.Clear();
    QStringList changed = TextsOf(2);
    changed[4] = QStringLiteral("Changed");
    Type(changed);
    Dialogs.Answer(TMsgButton::Yes);
    CloseEditor();
    EXPECT_EQ(Dialogs.Texts(), QStringList{SaveQuestion});
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes({Numbered(1), RecordOf(changed)}));
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(Editor.isNull()) << "the window is destroyed once closed";
}

// A character Windows-1252 cannot hold is refused when storing, by name; nothing is written
// and the texts stay for another try.
TEST_F(EditorTest, UnstorableCharacterIsRefused) {
    WriteNumberedSet(Path("a.QST"), 2);
    const std::string before = ReadBytes(Path("a.QST"));
    FileName = QPath("a.QST");
    Open();
    const QString refusal =
        QStringLiteral("The character \"λ\" cannot be stored in a question file.");
    QStringList texts = TextsOf(2);
    texts[2] = QStringLiteral("Wavelength λ");
    Type(texts);
    Editor->StoreClick();
    EXPECT_EQ(Dialogs.Texts(), QStringList{refusal});
    EXPECT_EQ(ReadBytes(Path("a.QST")), before);
    Tick();
    EXPECT_TRUE(Editor->Store->isEnabled());
    // Through the save prompts of Add and Previous it is refused the same way, and neither
    // moves away from the texts.
    Dialogs.Clear();
    Dialogs.Answer(TMsgButton::Yes);
    Editor->AddClick();
    Dialogs.Answer(TMsgButton::Yes);
    Editor->PreviousClick();
    EXPECT_EQ(Dialogs.Texts(), (QStringList{SaveQuestion, refusal, SaveQuestion, refusal}));
    EXPECT_EQ(ReadBytes(Path("a.QST")), before);
    EXPECT_EQ(Editor->RecordNumber(), 2);
    EXPECT_EQ(FieldTexts(), texts);
    EXPECT_EQ(State.AddReturnRecord, 0);
}

// A read-only set is reported as read-only, not as damaged; it is shown and browsed, and
// Store is refused with that message.
TEST_F(EditorTest, ReadOnlySetIsBrowsedNotWritten) {
    WriteNumberedSet(Path("a.QST"), 2);
    const std::string before = ReadBytes(Path("a.QST"));
    ASSERT_EQ(::chmod(Path("a.QST").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(Dir.Path().c_str(), 0755), 0);
    const bool ok = RunAsOrdinaryUser([&] {
        if (::access(Path("a.QST").c_str(), W_OK) == 0) return 1; // proves nothing
        FileName = QPath("a.QST");
        Open();
        if (Dialogs.Texts() != QStringList{TSetQuestions::ReadOnlyMessage}) return 2;
        if (FileName != QPath("a.QST") || !Editor->SetReadOnly()) return 3;
        Editor->PreviousClick();
        if (Editor->RecordNumber() != 1 || FieldTexts() != TextsOf(1)) return 4;
        Type({QStringLiteral("Changed")});
        Dialogs.Clear();
        Editor->StoreClick();
        if (Dialogs.Texts() != QStringList{TSetQuestions::ReadOnlyMessage}) return 5;
        Dialogs.Answer(TMsgButton::Yes);
        Editor->AddClick();
        if (Editor->RecordNumber() != 1) return 6;
        return 0;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadBytes(Path("a.QST")), before);
}

// Input/output failures while a set is shown (deleted or cut short) reach the general error
// box naming them, and a Store over a question the set has lost is refused as a change made
// by another program; the window stays usable and another set can be loaded.
TEST_F(EditorTest, VanishedOrTruncatedSetReportsErrors) {
    using Handler = void (TSetQuestions::*)();
    struct Row {
        const char* Name;
        bool Delete;
        Handler Action;
        bool Changed = false;
    };
    const Row rows[] = {
        {"deleted, Next", true, &TSetQuestions::NextClick},
        {"deleted, Previous", true, &TSetQuestions::PreviousClick},
        {"deleted, Store", true, &TSetQuestions::StoreClick},
        {"deleted, Cancel", true, &TSetQuestions::CancelClick},
        {"deleted, Add", true, &TSetQuestions::AddClick},
        {"cut short, Store", false, &TSetQuestions::StoreClick, true},
        {"cut short, Cancel", false, &TSetQuestions::CancelClick},
        {"cut short, Add", false, &TSetQuestions::AddClick},
    };
    WriteNumberedSet(Path("good.QST"), 2);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        delete Editor.data();
        WriteNumberedSet(Path("a.QST"), 3);
        FileName = QPath("a.QST");
        Open();
        QStringList changed = TextsOf(3);
        changed[0] = QStringLiteral("Changed");
        Type(changed);
        if (row.Delete)
            ::unlink(Path("a.QST").c_str());
        else
            WriteNumberedSet(Path("a.QST"), 1);
        const std::string after = row.Delete ? std::string() : ReadBytes(Path("a.QST"));
        Dialogs.Clear();
        (Editor.data()->*row.Action)();
        ASSERT_FALSE(Dialogs.Shown().empty());
        const auto& box = Dialogs.Shown().back();
        if (row.Changed) {
            EXPECT_EQ(box.Text, TSetQuestions::ChangedMessage);
        } else {
            EXPECT_EQ(box.Kind, TMsgKind::Error);
            EXPECT_TRUE(box.Text.contains(QPath("a.QST"))) << box.Text.toStdString();
        }
        if (!row.Delete) {
            EXPECT_EQ(ReadBytes(Path("a.QST")), after) << "no hole, no stray write";
        }
        EXPECT_EQ(Editor->RecordNumber(), 3);
        Tick();
        Dialogs.Clear();
        Dialogs.ChooseFile(QPath("good.QST"));
        Editor->LoadQuestionSet1Click();
        EXPECT_EQ(FileName, QPath("good.QST"));
        EXPECT_EQ(FieldTexts(), TextsOf(2));
    }
}

// Instructions shows help topic 11; closing emits Closed and destroys the window.
TEST_F(EditorTest, InstructionsAndClose) {
    WriteNumberedSet(Path("a.QST"), 1);
    FileName = QPath("a.QST");
    Open();
    Editor->Instructions1Click();
    EXPECT_EQ(Shell.Calls, QStringList{QStringLiteral("help:11")});
    QSignalSpy closed(Editor.data(), &TSetQuestions::Closed);
    Editor->QuittoGame1Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(Editor.isNull());
    EXPECT_TRUE(Dialogs.Texts().isEmpty());
}

// The window size is remembered in "Pocko.Ini": the first resize writes nothing, "1" opens the
// window maximized, and a return to normal size writes "0".
TEST_F(EditorTest, WindowSizeIsRemembered) {
    WriteNumberedSet(Path("a.QST"), 1);
    FileName = QPath("a.QST");
    Open();
    Editor->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Editor->ResizeSeen());
    EXPECT_EQ(Settings.EditorMaximized(), QStringLiteral("F"));
    ASSERT_TRUE(Settings.SetEditorMaximized(true));
    Editor->FormActivate();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Editor->isMaximized());
    Editor->showNormal();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Editor->isMaximized());
    EXPECT_EQ(Settings.EditorMaximized(), QStringLiteral("0"));
    Editor->FormActivate();
    EXPECT_FALSE(Editor->isMaximized());
}

namespace {
// Types into a field key by key, as the user does.
void KeyIn(QLineEdit* field, const QString& text) {
    QTest::keyClicks(field, text);
}
} // namespace

// Cancel after a pending Add returns to the question shown before the first Add, or stays at
// the append position when there is none, and never reads past the set: a double-click on
// Add, Add from the append position answered No, Add followed by New or by Load. The pending
// Add ends there, so Add works again once the fields are complete.
TEST_F(EditorTest, AddThenCancelNeverReadsPastTheSet) {
    struct Row {
        const char* Name;
        std::function<void()> Act;
        std::int64_t RecNumAfterCancel;
        QStringList FieldsAfterCancel;
    };
    const auto click = [](QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); };
    const QStringList empty(5, QString());
    const Row rows[] = {
        {"double-click on Add",
         [&] {
             click(Editor->Add);
             click(Editor->Add); // the timer has not run between the two presses
         },
         3, TextsOf(3)},
        {"Add at the append position, answered No",
         [&] {
             click(Editor->Add);
             Tick();
             KeyIn(Editor->Ques1, QStringLiteral("half"));
             Tick();
             click(Editor->Cancel); // empties the fields and ends the Add
             Type(NewTexts);
             Tick();
             click(Editor->Add); // "Save Changes to current record?" No
         },
         4, empty},
        {"Add, then New Question Set",
         [&] {
             click(Editor->Add);
             Dialogs.ChooseFile(QPath("new.QST"));
             Editor->NewQuestionSet1->trigger();
         },
         1, empty},
        {"Add, then Load of an empty set",
         [&] {
             click(Editor->Add);
             WriteBytes(Path("empty.QST"), SetBytes({}));
             Dialogs.ChooseFile(QPath("empty.QST"));
             Editor->LoadQuestionSet1->trigger();
         },
         1, empty},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        delete Editor.data();
        ::unlink(Path("new.QST").c_str());
        WriteNumberedSet(Path("a.QST"), 3);
        FileName = QPath("a.QST");
        Open();
        Editor->show();
        row.Act();
        Tick();
        for (int i = 0; i < 2; ++i) {
            if (Editor->Cancel->isEnabled()) click(Editor->Cancel);
            Tick();
        }
        for (const auto& box : Dialogs.Shown())
            EXPECT_NE(box.Kind, TMsgKind::Error) << box.Text.toStdString();
        EXPECT_EQ(Editor->RecordNumber(), row.RecNumAfterCancel);
        EXPECT_EQ(FieldTexts(), row.FieldsAfterCancel);
        EXPECT_EQ(State.AddReturnRecord, 0);
        EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes(NumberedRecords(3))) << "nothing written";
        // Add is free again.
        Type(NewTexts);
        Tick();
        EXPECT_TRUE(Editor->Add->isEnabled());
        Dialogs.Clear();
    }
}

// A set whose first question cannot be read once it was accepted is no set at all: "N/A",
// no editable blank form, and so no Store that could land on the header.
TEST_F(EditorTest, FailedFirstReadLeavesNoSet) {
    WriteNumberedSet(Path("a.QST"), 2);
    const std::string before = ReadBytes(Path("a.QST"));
    // Owned by the ordinary user but not writable: accepted as a read-only set, and the user
    // may take reading away while the read-only notice is shown.
    ASSERT_EQ(::chown(Path("a.QST").c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(Path("a.QST").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(Dir.Path().c_str(), 0755), 0);
    const bool ok = RunAsOrdinaryUser([&] {
        Dialogs.OnMessage = [&](const QString&) { ::chmod(Path("a.QST").c_str(), 0); };
        FileName = QPath("a.QST");
        Open();
        Dialogs.OnMessage = nullptr;
        if (FileName != QStringLiteral("N/A")) return 1;
        if (Editor->FileNameDesc->Caption() != NoFile) return 2;
        if (Editor->Ques1->isEnabled() || Editor->Store->isEnabled()) return 3;
        Type(NewTexts);
        Editor->StoreClick();
        return FieldTexts() == QStringList(5, QString()) ? 0 : 4;
    });
    EXPECT_TRUE(ok);
    ::chmod(Path("a.QST").c_str(), 0644);
    EXPECT_EQ(ReadBytes(Path("a.QST")), before);
}

// Another program appends to the set while a new question is typed: Store puts the new
// question behind them, at the real end, says where it went and shows it there. Nothing the
// editor did not show is overwritten.
TEST_F(EditorTest, StoreAppendsBehindAnotherWriter) {
    WriteNumberedSet(Path("a.QST"), 3);
    FileName = QPath("a.QST");
    Open();
    Editor->show();
    QTest::mouseClick(Editor->Add, Qt::LeftButton);
    Tick();
    for (int i = 0; i < 5; ++i)
        KeyIn(Editor->Fields()[static_cast<std::size_t>(i)], NewTexts[i]);
    // The other program writes a whole new file and renames it over the set.
    WriteNumberedSet(Path("a.QST.new"), 5);
    ASSERT_EQ(::rename(Path("a.QST.new").c_str(), Path("a.QST").c_str()), 0);
    Tick();
    // The window goes on ticking behind the notice, and already shows where the question is.
    QString shownBehind;
    Dialogs.OnMessage = [&](const QString&) {
        Tick();
        shownBehind = Editor->Position->Caption();
    };
    QTest::mouseClick(Editor->Store, Qt::LeftButton);
    Dialogs.OnMessage = nullptr;
    EXPECT_EQ(shownBehind, QStringLiteral("6/6"));
    auto records = NumberedRecords(5);
    records.push_back(RecordOf(NewTexts));
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes(records));
    EXPECT_EQ(Dialogs.Texts(), QStringList{TSetQuestions::StoredAtEndMessage.arg(6)});
    EXPECT_EQ(Editor->RecordNumber(), 6);
    Tick();
    EXPECT_EQ(Editor->Position->Caption(), QStringLiteral("6/6"));
    EXPECT_FALSE(Editor->Store->isEnabled());
    QTest::mouseClick(Editor->Previous, Qt::LeftButton);
    EXPECT_EQ(FieldTexts(), TextsOf(5));
}

// A question changed by another program since it was shown is never overwritten: Store and
// the save prompt of a move are refused with a message, and Cancel shows the question as it
// is in the set now.
TEST_F(EditorTest, QuestionChangedUnderTheEditorIsNotOverwritten) {
    std::vector<TQuestionRecord> theirs = NumberedRecords(3);
    theirs[2] = RecordOf(TextsOf(33));
    for (const bool viaStore : {true, false}) {
        SCOPED_TRACE(viaStore ? "Store" : "Previous");
        delete Editor.data();
        WriteNumberedSet(Path("a.QST"), 3);
        FileName = QPath("a.QST");
        Open();
        Editor->show();
        KeyIn(Editor->Ques1, QStringLiteral(" (mine)"));
        WriteBytes(Path("a.QST"), SetBytes(theirs));
        Tick();
        Dialogs.Clear();
        QTest::mouseClick(viaStore ? Editor->Store : Editor->Previous, Qt::LeftButton);
        EXPECT_EQ(Dialogs.Texts().last(), TSetQuestions::ChangedMessage);
        EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes(theirs));
        EXPECT_EQ(Editor->RecordNumber(), 3);
        Tick();
        QTest::mouseClick(Editor->Cancel, Qt::LeftButton);
        EXPECT_EQ(FieldTexts(), TextsOf(33));
        // Shown now, it may be changed.
        KeyIn(Editor->Ques1, QStringLiteral("!"));
        Tick();
        QTest::mouseClick(Editor->Store, Qt::LeftButton);
        EXPECT_EQ(ReadBytes(Path("a.QST")).substr(3 * 380 + 1, 11), "Question 33");
        EXPECT_EQ(ReadBytes(Path("a.QST"))[3 * 380], 12) << "stored with the new text";
    }
}

// While another program holds the writers' lock, Store stores nothing and says so; the texts
// stay for another try, which stores them once the lock is free.
TEST_F(EditorTest, StoreWaitsForNoOtherWriter) {
    WriteNumberedSet(Path("a.QST"), 2);
    FileName = QPath("a.QST");
    Open();
    Editor->setLockWaitMs(0);
    QStringList changed = TextsOf(2);
    changed[1] = QStringLiteral("Right, changed");
    Type(changed);
    TQstFile other;
    ASSERT_TRUE(other.OpenLocked(Path("a.QST"), TQstFile::TAccess::ReadWrite, 0));
    Dialogs.Clear();
    Editor->StoreClick();
    EXPECT_EQ(Dialogs.Texts(), QStringList{TSetQuestions::BusyMessage});
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes(NumberedRecords(2)));
    EXPECT_EQ(FieldTexts(), changed);
    other.Close();
    Editor->StoreClick();
    auto records = NumberedRecords(2);
    records[1] = RecordOf(changed);
    EXPECT_EQ(ReadBytes(Path("a.QST")), SetBytes(records));
}

// A set replaced by a FIFO, or a FIFO or device chosen as a set, is reported at once: the
// editor never waits for the other end of a pipe.
TEST_F(EditorTest, PipesAndDevicesNeverHang) {
    WriteNumberedSet(Path("a.QST"), 2);
    FileName = QPath("a.QST");
    Open();
    ::unlink(Path("a.QST").c_str());
    ASSERT_EQ(::mkfifo(Path("a.QST").c_str(), 0644), 0);
    Dialogs.Clear();
    Editor->PreviousClick();
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Shown()[0].Kind, TMsgKind::Error);
    EXPECT_EQ(Editor->RecordNumber(), 2);
    for (const QString& path : {QPath("a.QST"), QStringLiteral("/dev/zero")}) {
        Dialogs.Clear();
        Dialogs.ChooseFile(path);
        Editor->LoadQuestionSet1Click();
        EXPECT_EQ(Dialogs.Texts().last(), QStringLiteral("Unable to find Specified Question File"));
        EXPECT_EQ(FileName, QStringLiteral("N/A"));
    }
}
