#include "EditorFixture.h"

#include "QstFile.h"

#include <QDir>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using EditorModelTest = EditorModelFixture;
using QstFixtures::Numbered;
using QstFixtures::ReadBytes;
using QstFixtures::WriteBytes;
using QstFixtures::WriteNumberedSet;

namespace {
const QString noFile = QStringLiteral("* NO DATAFILE LOADED *");
} // namespace

// Creation opens the set the game names and shows its last question; without a set it opens
// REGD.QST in the current folder. It resets the count, a pending Add and the search.
TEST_F(EditorModelTest, CreationShowsLastQuestionOfTheSet) {
    WriteNumberedSet(path("a.QST"), 3);
    WriteNumberedSet(path("REGD.QST"), 2);
    struct Row {
        QString given;
        QString opened;
        int last;
    };
    const Row rows[] = {{qPath("a.QST"), qPath("a.QST"), 3},
                        {QStringLiteral("N/A"), QDir::currentPath() + "/REGD.QST", 2},
                        {QString(), QDir::currentPath() + "/REGD.QST", 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.given.toStdString());
        model.reset();
        fileName = row.given;
        state.addReturnRecord = 7;
        state.searchPosition = 5;
        state.lastSearchText = QStringLiteral("old");
        open();
        EXPECT_TRUE(dialogs.Texts().isEmpty());
        EXPECT_EQ(fileName, row.opened);
        EXPECT_EQ(model->recordNumber(), row.last);
        EXPECT_EQ(fieldTexts(), textsOf(row.last));
        EXPECT_EQ(state.recordCount, row.last + 1);
        EXPECT_EQ(state.addReturnRecord, 0);
        EXPECT_EQ(state.searchPosition, 0);
        EXPECT_TRUE(state.lastSearchText.isEmpty());
        EXPECT_EQ(view().position, QStringLiteral("%1/%1").arg(row.last));
        const QuestionEditorModel::View shown = view();
        EXPECT_EQ(shown.setName, row.opened);
        EXPECT_TRUE(shown.previousEnabled);
        EXPECT_FALSE(shown.nextEnabled);
        EXPECT_TRUE(shown.addEnabled);
        EXPECT_FALSE(shown.storeEnabled);
        EXPECT_TRUE(shown.searchEnabled);
        EXPECT_TRUE(shown.fieldsEnabled);
    }
}

// Creation rejects a missing or damaged set with the start-up messages; the window then
// shows that no data file is loaded, with every button and field disabled.
TEST_F(EditorModelTest, CreationRejectsMissingOrDamagedSets) {
    const QString notFound = QStringLiteral("Unable to find Default Question File");
    const QString damaged = QStringLiteral("Default Question File Damaged - Please Re-Install");
    std::string lowerHeader = setBytes({Numbered(1)});
    lowerHeader.replace(1, 18, "genuine data file!");
    std::string longHeader = setBytes({Numbered(1)});
    longHeader[0] = 19;
    longHeader[19] = ' ';
    struct Row {
        const char* name;
        bool exists;
        std::string bytes;
        QString message;
        int recordCount;
    };
    const Row rows[] = {
        {"missing", false, "", notFound, 0},
        {"zero bytes", true, "", damaged, 0},
        {"header only", true, setBytes({}), damaged, 1},
        {"header in lower case", true, lowerHeader, damaged, 2},
        {"header and a blank", true, longHeader, damaged, 2},
        {"garbage", true, std::string(1000, '\xA7'), damaged, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        model.reset();
        dialogs.Clear();
        ::unlink(path("s.QST").c_str());
        if (row.exists) WriteBytes(path("s.QST"), row.bytes);
        fileName = qPath("s.QST");
        open();
        EXPECT_EQ(dialogs.Texts(), QStringList{row.message});
        EXPECT_EQ(dialogs.Shown().front().Kind, TMsgKind::Warning);
        EXPECT_EQ(fileName, QStringLiteral("N/A"));
        EXPECT_EQ(state.recordCount, row.recordCount);
        const QuestionEditorModel::View shown = view();
        EXPECT_EQ(shown.setName, noFile);
        EXPECT_TRUE(shown.position.isEmpty());
        for (bool enabled : {shown.previousEnabled, shown.nextEnabled, shown.searchEnabled,
                             shown.addEnabled, shown.storeEnabled, shown.fieldsEnabled})
            EXPECT_FALSE(enabled);
        if (row.exists) {
            EXPECT_EQ(ReadBytes(path("s.QST")), row.bytes) << "the set is never touched";
        }
    }
    // Typing while no set is loaded: the text vanishes at once.
    model->setField(0, QStringLiteral("typed"));
    model->setField(3, QStringLiteral("typed"));
    EXPECT_EQ(fieldTexts(), QStringList(5, QString()));
}

// A new set is the header alone, at the append position of its first question; storing five
// texts appends that question, flushed, and the set counts it.
TEST_F(EditorModelTest, NewSetThenFirstQuestionStored) {
    fileName = QStringLiteral("N/A");
    open();
    dialogs.Clear();
    dialogs.ChooseFile(qPath("new.QST"));
    model->createSet();
    ASSERT_EQ(dialogs.FileDialogs().size(), 1u);
    EXPECT_EQ(dialogs.FileDialogs()[0].Title, QStringLiteral("Mindaro : Create New Question Set"));
    EXPECT_EQ(dialogs.FileDialogs()[0].Filter, QStringLiteral("Mindaro Questions|*.QST"));
    EXPECT_EQ(dialogs.FileDialogs()[0].DefaultSuffix, QStringLiteral("QST"));
    EXPECT_EQ(ReadBytes(path("new.QST")), setBytes({}));
    EXPECT_EQ(fileName, qPath("new.QST"));
    EXPECT_EQ(model->recordNumber(), 1);
    EXPECT_EQ(view().position, QStringLiteral("Question : 1"));
    EXPECT_FALSE(view().previousEnabled);
    EXPECT_FALSE(view().nextEnabled);
    EXPECT_FALSE(view().addEnabled);
    EXPECT_FALSE(view().searchEnabled);
    EXPECT_TRUE(view().storeEnabled) << "empty fields differ from the header";

    type(newTexts);
    model->storeQuestion();
    EXPECT_EQ(ReadBytes(path("new.QST")), setBytes({recordOf(newTexts)}));
    EXPECT_EQ(view().position, QStringLiteral("1/1"));
    EXPECT_TRUE(view().addEnabled);
    EXPECT_FALSE(view().storeEnabled);
    EXPECT_TRUE(dialogs.Texts().isEmpty());
}

// New Question Set: cancelling changes nothing; an existing file is refused; a file that
// cannot be made is reported and leaves no set selected.
TEST_F(EditorModelTest, NewSetFailures) {
    WriteNumberedSet(path("a.QST"), 2);
    WriteNumberedSet(path("b.QST"), 1);
    const std::string b = ReadBytes(path("b.QST"));
    fileName = qPath("a.QST");
    open();
    model->createSet(); // cancelled
    EXPECT_EQ(fileName, qPath("a.QST"));
    dialogs.ChooseFile(qPath("b.QST"));
    model->createSet();
    EXPECT_EQ(dialogs.Texts(), QStringList{QStringLiteral("This file already exists")});
    EXPECT_EQ(fileName, qPath("a.QST"));
    EXPECT_EQ(model->recordNumber(), 2);
    EXPECT_EQ(ReadBytes(path("b.QST")), b);

    dialogs.Clear();
    dialogs.ChooseFile(qPath("no-folder/c.QST"));
    model->createSet();
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].Kind, TMsgKind::Error);
    EXPECT_TRUE(dialogs.Shown()[0].Text.contains(QStringLiteral("no-folder/c.QST")));
    EXPECT_EQ(fileName, QStringLiteral("N/A"));
    EXPECT_EQ(state.recordCount, 0);
    EXPECT_EQ(view().setName, noFile);
}

// Add on an unchanged question asks nothing and moves to the append position; Cancel right
// after Add returns to that question; a Cancel after typing only empties the fields.
TEST_F(EditorModelTest, AddAndCancel) {
    WriteNumberedSet(path("a.QST"), 3);
    fileName = qPath("a.QST");
    open();
    model->addQuestion();
    EXPECT_TRUE(dialogs.Texts().isEmpty());
    EXPECT_EQ(fieldTexts(), QStringList(5, QString()));
    EXPECT_EQ(model->recordNumber(), 4);
    EXPECT_EQ(view().position, QStringLiteral("Question : 4"));
    model->cancelChanges();
    EXPECT_EQ(model->recordNumber(), 3);
    EXPECT_EQ(fieldTexts(), textsOf(3));

    model->addQuestion();
    type({QStringLiteral("half")});
    EXPECT_FALSE(view().addEnabled);
    model->cancelChanges();
    EXPECT_EQ(fieldTexts(), QStringList(5, QString()));
    EXPECT_EQ(model->recordNumber(), 4);
    model->cancelChanges();
    EXPECT_EQ(model->recordNumber(), 4) << "the Add was cancelled by the first Cancel";

    type(newTexts);
    model->storeQuestion();
    auto records = numberedRecords(3);
    records.push_back(recordOf(newTexts));
    EXPECT_EQ(ReadBytes(path("a.QST")), setBytes(records));
    EXPECT_EQ(state.recordCount, 5);
    EXPECT_EQ(state.addReturnRecord, 0);
}

// Store with an empty field writes nothing, but measures the set again all the same.
TEST_F(EditorModelTest, StoreNeedsAllFiveFields) {
    WriteNumberedSet(path("a.QST"), 2);
    fileName = qPath("a.QST");
    open();
    model->addQuestion();
    type({newTexts[0], newTexts[1], newTexts[2], newTexts[3]});
    WriteNumberedSet(path("a.QST"), 3); // grown behind the editor's back
    const std::string before = ReadBytes(path("a.QST"));
    model->storeQuestion();
    EXPECT_EQ(dialogs.Texts(), QStringList{QStringLiteral(
                                   "All fields must be complete before record can be stored!")});
    EXPECT_EQ(dialogs.Shown()[0].Kind, TMsgKind::Information);
    EXPECT_EQ(ReadBytes(path("a.QST")), before);
    EXPECT_EQ(state.recordCount, 4);
}

// Storing a changed question overwrites it in place, with zeros after each text, so no text of
// a longer earlier record stays behind; Windows-1252 characters are stored as such.
TEST_F(EditorModelTest, StoreOverwritesInPlaceWithCleanTail) {
    const std::string longText(70, 'L');
    QstFixtures::WriteSet(
        path("a.QST"),
        {QstFixtures::Question(longText, longText, longText, longText, longText), Numbered(2)});
    fileName = qPath("a.QST");
    open();
    model->showPreviousQuestion();
    ASSERT_EQ(model->recordNumber(), 1);
    const QStringList texts = {QStringLiteral("Café?"), QStringLiteral("€5"), QStringLiteral("x"),
                               QStringLiteral("y"), QStringLiteral("z")};
    type(texts);
    model->storeQuestion();
    EXPECT_EQ(ReadBytes(path("a.QST")), setBytes({recordOf(texts), Numbered(2)}));
    EXPECT_EQ(ReadBytes(path("a.QST")).substr(381, 5), std::string("Caf\xE9?"));
    EXPECT_EQ(model->recordNumber(), 1);
}

// Previous and Next ask before leaving changed texts (Yes stores them, No drops them) and
// before dropping a partial record (No keeps texts and position).
TEST_F(EditorModelTest, SaveChangesBeforeMoving) {
    WriteNumberedSet(path("a.QST"), 3);
    fileName = qPath("a.QST");
    open();
    model->showPreviousQuestion();
    EXPECT_TRUE(dialogs.Texts().isEmpty()) << "nothing changed, nothing asked";
    QStringList changed = textsOf(2);
    changed[0] = QStringLiteral("Changed 2");
    type(changed);
    dialogs.Answer(TMsgButton::Yes);
    model->showNextQuestion();
    EXPECT_EQ(dialogs.Texts(), QStringList{saveQuestion});
    EXPECT_EQ(model->recordNumber(), 3);
    EXPECT_EQ(ReadBytes(path("a.QST")), setBytes({Numbered(1), recordOf(changed), Numbered(3)}));

    model->showPreviousQuestion();
    type({QStringLiteral("Dropped")});
    dialogs.Answer(TMsgButton::No);
    model->showNextQuestion();
    EXPECT_EQ(model->recordNumber(), 3);
    EXPECT_EQ(ReadBytes(path("a.QST")), setBytes({Numbered(1), recordOf(changed), Numbered(3)}));

    dialogs.Clear();
    const QStringList partial = {QStringLiteral("a"), QStringLiteral("b"), {}, {}, {}};
    type(partial);
    dialogs.Answer(TMsgButton::No);
    model->showPreviousQuestion();
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].Text, discardQuestion);
    EXPECT_EQ(dialogs.Shown()[0].Kind, TMsgKind::Information);
    EXPECT_EQ(fieldTexts(), partial);
    EXPECT_EQ(model->recordNumber(), 3);
    dialogs.Answer(TMsgButton::Yes);
    model->showPreviousQuestion();
    EXPECT_EQ(model->recordNumber(), 2);
    EXPECT_EQ(fieldTexts(), changed);
    EXPECT_EQ(ReadBytes(path("a.QST")), setBytes({Numbered(1), recordOf(changed), Numbered(3)}));
}

// A question appended through a save prompt does not raise the count: Next stays disabled on
// the question before it until the next Store.
TEST_F(EditorModelTest, AppendThroughPromptKeepsOldCount) {
    WriteNumberedSet(path("a.QST"), 2);
    fileName = qPath("a.QST");
    open();
    model->addQuestion();
    type(newTexts);
    dialogs.Answer(TMsgButton::Yes);
    model->showPreviousQuestion();
    EXPECT_EQ(ReadBytes(path("a.QST")), setBytes({Numbered(1), Numbered(2), recordOf(newTexts)}));
    EXPECT_EQ(model->recordNumber(), 2);
    EXPECT_EQ(state.recordCount, 3);
    EXPECT_FALSE(view().nextEnabled);
    EXPECT_EQ(view().position, QStringLiteral("2/2"));
    model->storeQuestion();
    EXPECT_TRUE(view().nextEnabled);
    EXPECT_EQ(view().position, QStringLiteral("2/3"));
}

// Load Question Set: cancel changes nothing; a set of only the header opens at its append
// position; missing and 0-byte files give the load messages and no set.
TEST_F(EditorModelTest, LoadQuestionSet) {
    WriteNumberedSet(path("a.QST"), 2);
    WriteBytes(path("empty.QST"), setBytes({}));
    WriteBytes(path("zero.QST"), "");
    fileName = qPath("a.QST");
    open();
    model->loadSet();
    ASSERT_EQ(dialogs.FileDialogs().size(), 1u);
    EXPECT_EQ(dialogs.FileDialogs()[0].Title, QStringLiteral("Mindaro : Load Questions"));
    EXPECT_EQ(dialogs.FileDialogs()[0].InitialDir, QDir::currentPath());
    EXPECT_EQ(fileName, qPath("a.QST"));
    EXPECT_EQ(state.recordCount, 3);

    dialogs.ChooseFile(qPath("empty.QST"));
    model->loadSet();
    EXPECT_TRUE(dialogs.Texts().isEmpty());
    EXPECT_EQ(model->recordNumber(), 1);
    EXPECT_EQ(fieldTexts(), QStringList(5, QString()));
    EXPECT_EQ(state.recordCount, 1);
    EXPECT_EQ(view().position, QStringLiteral("Question : 1"));

    struct Row {
        const char* file;
        QString message;
        int recordCount;
    };
    const Row rows[] = {
        {"zero.QST", QStringLiteral("Specified Question File Damaged - Please Re-Install"), 0},
        {"none.QST", QStringLiteral("Unable to find Specified Question File"), 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        dialogs.Clear();
        fileName = qPath("a.QST");
        dialogs.ChooseFile(qPath(row.file));
        model->loadSet();
        EXPECT_EQ(dialogs.Texts(), QStringList{row.message});
        EXPECT_EQ(fileName, QStringLiteral("N/A"));
        EXPECT_EQ(state.recordCount, row.recordCount);
        EXPECT_EQ(view().setName, noFile);
    }
}

// A 1000-byte set counts two records; the next question goes in at byte 760 over the stray
// tail. Length bytes above 75 show 75 characters, never a byte of the next field.
TEST_F(EditorModelTest, OddSizesAndLengthBytes) {
    WriteBytes(path("a.QST"), setBytes({Numbered(1)}) + std::string(240, '\xAB'));
    fileName = qPath("a.QST");
    open();
    EXPECT_EQ(state.recordCount, 2);
    EXPECT_EQ(model->recordNumber(), 1);
    model->addQuestion();
    type(newTexts);
    model->storeQuestion();
    EXPECT_EQ(ReadBytes(path("a.QST")), setBytes({Numbered(1), recordOf(newTexts)}));

    std::string record(380, '\0');
    for (int f = 0; f < 5; ++f) {
        record[static_cast<std::size_t>(f * 76)] = '\xFF';
        for (int k = 1; k <= 75; ++k)
            record[static_cast<std::size_t>(f * 76 + k)] = char('A' + f);
    }
    WriteBytes(path("b.QST"), setBytes({}) + record);
    dialogs.ChooseFile(qPath("b.QST"));
    model->loadSet();
    for (int f = 0; f < 5; ++f)
        EXPECT_EQ(fieldTexts()[f], QString(75, QLatin1Char(char('A' + f))));
}

// A character Windows-1252 cannot hold is refused when storing, by name; nothing is written
// and the texts stay for another try.
TEST_F(EditorModelTest, UnstorableCharacterIsRefused) {
    WriteNumberedSet(path("a.QST"), 2);
    const std::string before = ReadBytes(path("a.QST"));
    fileName = qPath("a.QST");
    open();
    const QString refusal =
        QStringLiteral("The character \"λ\" cannot be stored in a question file.");
    QStringList texts = textsOf(2);
    texts[2] = QStringLiteral("Wavelength λ");
    type(texts);
    model->storeQuestion();
    EXPECT_EQ(dialogs.Texts(), QStringList{refusal});
    EXPECT_EQ(ReadBytes(path("a.QST")), before);
    EXPECT_TRUE(view().storeEnabled);
    // Through the save prompts of Add and Previous it is refused the same way, and neither
    // moves away from the texts.
    dialogs.Clear();
    dialogs.Answer(TMsgButton::Yes);
    model->addQuestion();
    dialogs.Answer(TMsgButton::Yes);
    model->showPreviousQuestion();
    EXPECT_EQ(dialogs.Texts(), (QStringList{saveQuestion, refusal, saveQuestion, refusal}));
    EXPECT_EQ(ReadBytes(path("a.QST")), before);
    EXPECT_EQ(model->recordNumber(), 2);
    EXPECT_EQ(fieldTexts(), texts);
    EXPECT_EQ(state.addReturnRecord, 0);
}

// A read-only set is reported as read-only, not as damaged; it is shown and browsed, and
// Store is refused with that message.
TEST_F(EditorModelTest, ReadOnlySetIsBrowsedNotWritten) {
    WriteNumberedSet(path("a.QST"), 2);
    const std::string before = ReadBytes(path("a.QST"));
    ASSERT_EQ(::chmod(path("a.QST").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const bool ok = runAsOrdinaryUser([&] {
        if (::access(path("a.QST").c_str(), W_OK) == 0) return 1; // proves nothing
        fileName = qPath("a.QST");
        open();
        if (dialogs.Texts() != QStringList{QuestionEditorModel::readOnlyMessage}) return 2;
        if (fileName != qPath("a.QST") || !model->isReadOnly()) return 3;
        model->showPreviousQuestion();
        if (model->recordNumber() != 1 || fieldTexts() != textsOf(1)) return 4;
        type({QStringLiteral("Changed")});
        dialogs.Clear();
        model->storeQuestion();
        if (dialogs.Texts() != QStringList{QuestionEditorModel::readOnlyMessage}) return 5;
        dialogs.Answer(TMsgButton::Yes);
        model->addQuestion();
        if (model->recordNumber() != 1) return 6;
        return 0;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadBytes(path("a.QST")), before);
}

// Input/output failures while a set is shown (deleted or cut short) reach the general error
// box naming them, and a Store over a question the set has lost is refused as a change made
// by another program; the window stays usable and another set can be loaded.
TEST_F(EditorModelTest, VanishedOrTruncatedSetReportsErrors) {
    using Command = std::function<void(QuestionEditorModel&)>;
    const Command next = &QuestionEditorModel::showNextQuestion;
    const Command previous = &QuestionEditorModel::showPreviousQuestion;
    const Command store = &QuestionEditorModel::storeQuestion;
    const Command cancel = &QuestionEditorModel::cancelChanges;
    const Command add = [](QuestionEditorModel& m) { m.addQuestion(); };
    struct Row {
        const char* name;
        bool deleted;
        Command command;
        bool changed = false;
    };
    const Row rows[] = {
        {"deleted, Next", true, next},        {"deleted, Previous", true, previous},
        {"deleted, Store", true, store},      {"deleted, Cancel", true, cancel},
        {"deleted, Add", true, add},          {"cut short, Store", false, store, true},
        {"cut short, Cancel", false, cancel}, {"cut short, Add", false, add},
    };
    WriteNumberedSet(path("good.QST"), 2);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        model.reset();
        WriteNumberedSet(path("a.QST"), 3);
        fileName = qPath("a.QST");
        open();
        QStringList changed = textsOf(3);
        changed[0] = QStringLiteral("Changed");
        type(changed);
        if (row.deleted)
            ::unlink(path("a.QST").c_str());
        else
            WriteNumberedSet(path("a.QST"), 1);
        const std::string after = row.deleted ? std::string() : ReadBytes(path("a.QST"));
        dialogs.Clear();
        row.command(*model);
        ASSERT_FALSE(dialogs.Shown().empty());
        const auto& box = dialogs.Shown().back();
        if (row.changed) {
            EXPECT_EQ(box.Text, QuestionEditorModel::changedMessage);
        } else {
            EXPECT_EQ(box.Kind, TMsgKind::Error);
            EXPECT_TRUE(box.Text.contains(qPath("a.QST"))) << box.Text.toStdString();
        }
        if (!row.deleted) {
            EXPECT_EQ(ReadBytes(path("a.QST")), after) << "no hole, no stray write";
        }
        EXPECT_EQ(model->recordNumber(), 3);
        dialogs.Clear();
        dialogs.ChooseFile(qPath("good.QST"));
        model->loadSet();
        EXPECT_EQ(fileName, qPath("good.QST"));
        EXPECT_EQ(fieldTexts(), textsOf(2));
    }
}

// A set whose first question cannot be read once it was accepted is no set at all: "N/A",
// no editable blank form, and so no Store that could land on the header.
TEST_F(EditorModelTest, FailedFirstReadLeavesNoSet) {
    WriteNumberedSet(path("a.QST"), 2);
    const std::string before = ReadBytes(path("a.QST"));
    // Owned by the ordinary user but not writable: accepted as a read-only set, and the user
    // may take reading away while the read-only notice is shown.
    ASSERT_EQ(::chown(path("a.QST").c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path("a.QST").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const bool ok = runAsOrdinaryUser([&] {
        dialogs.OnMessage = [&](const QString&) { ::chmod(path("a.QST").c_str(), 0); };
        fileName = qPath("a.QST");
        open();
        dialogs.OnMessage = nullptr;
        if (fileName != QStringLiteral("N/A")) return 1;
        if (view().setName != noFile) return 2;
        if (view().fieldsEnabled || view().storeEnabled) return 3;
        type(newTexts);
        model->storeQuestion();
        return fieldTexts() == QStringList(5, QString()) ? 0 : 4;
    });
    EXPECT_TRUE(ok);
    ::chmod(path("a.QST").c_str(), 0644);
    EXPECT_EQ(ReadBytes(path("a.QST")), before);
}

// While another program holds the writers' lock, Store stores nothing and says so; the texts
// stay for another try, which stores them once the lock is free.
TEST_F(EditorModelTest, StoreWaitsForNoOtherWriter) {
    WriteNumberedSet(path("a.QST"), 2);
    fileName = qPath("a.QST");
    open();
    model->setLockWaitMs(0);
    QStringList changed = textsOf(2);
    changed[1] = QStringLiteral("Right, changed");
    type(changed);
    TQstFile other;
    ASSERT_TRUE(other.OpenLocked(path("a.QST"), TQstFile::TAccess::ReadWrite, 0));
    dialogs.Clear();
    model->storeQuestion();
    EXPECT_EQ(dialogs.Texts(), QStringList{QuestionEditorModel::busyMessage});
    EXPECT_EQ(ReadBytes(path("a.QST")), setBytes(numberedRecords(2)));
    EXPECT_EQ(fieldTexts(), changed);
    other.Close();
    model->storeQuestion();
    auto records = numberedRecords(2);
    records[1] = recordOf(changed);
    EXPECT_EQ(ReadBytes(path("a.QST")), setBytes(records));
}

// A set replaced by a FIFO, or a FIFO or device chosen as a set, is reported at once: the
// editor never waits for the other end of a pipe.
TEST_F(EditorModelTest, PipesAndDevicesNeverHang) {
    WriteNumberedSet(path("a.QST"), 2);
    fileName = qPath("a.QST");
    open();
    ::unlink(path("a.QST").c_str());
    ASSERT_EQ(::mkfifo(path("a.QST").c_str(), 0644), 0);
    dialogs.Clear();
    model->showPreviousQuestion();
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].Kind, TMsgKind::Error);
    EXPECT_EQ(model->recordNumber(), 2);
    for (const QString& chosen : {qPath("a.QST"), QStringLiteral("/dev/zero")}) {
        dialogs.Clear();
        dialogs.ChooseFile(chosen);
        model->loadSet();
        EXPECT_EQ(dialogs.Texts().last(), QStringLiteral("Unable to find Specified Question File"));
        EXPECT_EQ(fileName, QStringLiteral("N/A"));
    }
}
