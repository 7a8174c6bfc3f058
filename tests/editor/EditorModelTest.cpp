#include "EditorFixture.h"

#include "QstFile.h"

#include <QDir>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using EditorModelTest = EditorModelFixture;
using QstFixtures::numbered;
using QstFixtures::readBytes;
using QstFixtures::writeBytes;
using QstFixtures::writeNumberedSet;

namespace {
const QString noFile = QStringLiteral("* NO DATAFILE LOADED *");
} // namespace

// Creation opens the set the game names and shows its last question; without a set it opens
// REGD.QST in the current folder, never writing that into the game's name. It resets the
// count, a pending Add and the search.
TEST_F(EditorModelTest, CreationShowsLastQuestionOfTheSet) {
    writeNumberedSet(path("a.QST"), 3);
    writeNumberedSet(path("REGD.QST"), 2);
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
        EXPECT_TRUE(dialogs.texts().isEmpty());
        EXPECT_EQ(model->questionFile(), row.opened);
        EXPECT_EQ(fileName, row.given) << "the game's name for its set is left as it was";
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
    std::string lowerHeader = setBytes({numbered(1)});
    lowerHeader.replace(1, 18, "genuine data file!");
    std::string longHeader = setBytes({numbered(1)});
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
        dialogs.clear();
        ::unlink(path("s.QST").c_str());
        if (row.exists) writeBytes(path("s.QST"), row.bytes);
        fileName = qPath("s.QST");
        open();
        EXPECT_EQ(dialogs.texts(), QStringList{row.message});
        EXPECT_EQ(dialogs.shown().front().kind, MsgKind::Warning);
        EXPECT_EQ(model->questionFile(), QStringLiteral("N/A"));
        EXPECT_EQ(state.recordCount, row.recordCount);
        const QuestionEditorModel::View shown = view();
        EXPECT_EQ(shown.setName, noFile);
        EXPECT_TRUE(shown.position.isEmpty());
        for (bool enabled : {shown.previousEnabled, shown.nextEnabled, shown.searchEnabled,
                             shown.addEnabled, shown.storeEnabled, shown.fieldsEnabled})
            EXPECT_FALSE(enabled);
        if (row.exists) {
            EXPECT_EQ(readBytes(path("s.QST")), row.bytes) << "the set is never touched";
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
    dialogs.clear();
    dialogs.chooseFile(qPath("new.QST"));
    model->createSet();
    ASSERT_EQ(dialogs.fileDialogs().size(), 1u);
    EXPECT_EQ(dialogs.fileDialogs()[0].title, QStringLiteral("Mindaro : Create New Question Set"));
    EXPECT_EQ(dialogs.fileDialogs()[0].filter, QStringLiteral("Mindaro Questions|*.QST"));
    EXPECT_EQ(dialogs.fileDialogs()[0].defaultSuffix, QStringLiteral("QST"));
    EXPECT_EQ(readBytes(path("new.QST")), setBytes({}));
    EXPECT_EQ(model->questionFile(), qPath("new.QST"));
    EXPECT_EQ(model->recordNumber(), 1);
    EXPECT_EQ(view().position, QStringLiteral("Question : 1"));
    EXPECT_FALSE(view().previousEnabled);
    EXPECT_FALSE(view().nextEnabled);
    EXPECT_FALSE(view().addEnabled);
    EXPECT_FALSE(view().searchEnabled);
    EXPECT_TRUE(view().storeEnabled) << "empty fields differ from the header";

    type(newTexts);
    model->storeQuestion();
    EXPECT_EQ(readBytes(path("new.QST")), setBytes({recordOf(newTexts)}));
    EXPECT_EQ(view().position, QStringLiteral("1/1"));
    EXPECT_TRUE(view().addEnabled);
    EXPECT_FALSE(view().storeEnabled);
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

// New Question Set: cancelling changes nothing; an existing file is refused; a file that
// cannot be made is reported and leaves no set selected.
TEST_F(EditorModelTest, NewSetFailures) {
    writeNumberedSet(path("a.QST"), 2);
    writeNumberedSet(path("b.QST"), 1);
    const std::string b = readBytes(path("b.QST"));
    fileName = qPath("a.QST");
    open();
    model->createSet(); // cancelled
    EXPECT_EQ(model->questionFile(), qPath("a.QST"));
    dialogs.chooseFile(qPath("b.QST"));
    model->createSet();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("This file already exists")});
    EXPECT_EQ(model->questionFile(), qPath("a.QST"));
    EXPECT_EQ(model->recordNumber(), 2);
    EXPECT_EQ(readBytes(path("b.QST")), b);

    dialogs.clear();
    dialogs.chooseFile(qPath("no-folder/c.QST"));
    model->createSet();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, MsgKind::Error);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QStringLiteral("no-folder/c.QST")));
    EXPECT_EQ(model->questionFile(), QStringLiteral("N/A"));
    EXPECT_EQ(state.recordCount, 0);
    EXPECT_EQ(view().setName, noFile);
}

// Add on an unchanged question asks nothing and moves to the append position; Cancel right
// after Add returns to that question; a Cancel after typing only empties the fields.
TEST_F(EditorModelTest, AddAndCancel) {
    writeNumberedSet(path("a.QST"), 3);
    fileName = qPath("a.QST");
    open();
    model->addQuestion();
    EXPECT_TRUE(dialogs.texts().isEmpty());
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
    EXPECT_EQ(readBytes(path("a.QST")), setBytes(records));
    EXPECT_EQ(state.recordCount, 5);
    EXPECT_EQ(state.addReturnRecord, 0);
}

// Store with an empty field writes nothing, but measures the set again all the same.
TEST_F(EditorModelTest, StoreNeedsAllFiveFields) {
    writeNumberedSet(path("a.QST"), 2);
    fileName = qPath("a.QST");
    open();
    model->addQuestion();
    type({newTexts[0], newTexts[1], newTexts[2], newTexts[3]});
    writeNumberedSet(path("a.QST"), 3); // grown behind the editor's back
    const std::string before = readBytes(path("a.QST"));
    model->storeQuestion();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral(
                                   "All fields must be complete before record can be stored!")});
    EXPECT_EQ(dialogs.shown()[0].kind, MsgKind::Information);
    EXPECT_EQ(readBytes(path("a.QST")), before);
    EXPECT_EQ(state.recordCount, 4);
}

// Storing a changed question overwrites it in place, with zeros after each text, so no text of
// a longer earlier record stays behind; Windows-1252 characters are stored as such.
TEST_F(EditorModelTest, StoreOverwritesInPlaceWithCleanTail) {
    const std::string longText(70, 'L');
    QstFixtures::writeSet(
        path("a.QST"),
        {QstFixtures::question(longText, longText, longText, longText, longText), numbered(2)});
    fileName = qPath("a.QST");
    open();
    model->showPreviousQuestion();
    ASSERT_EQ(model->recordNumber(), 1);
    const QStringList texts = {QStringLiteral("Café?"), QStringLiteral("€5"), QStringLiteral("x"),
                               QStringLiteral("y"), QStringLiteral("z")};
    type(texts);
    model->storeQuestion();
    EXPECT_EQ(readBytes(path("a.QST")), setBytes({recordOf(texts), numbered(2)}));
    EXPECT_EQ(readBytes(path("a.QST")).substr(381, 5), std::string("Caf\xE9?"));
    EXPECT_EQ(model->recordNumber(), 1);
}

// Previous and Next ask before leaving changed texts (Yes stores them, No drops them) and
// before dropping a partial record (No keeps texts and position).
TEST_F(EditorModelTest, SaveChangesBeforeMoving) {
    writeNumberedSet(path("a.QST"), 3);
    fileName = qPath("a.QST");
    open();
    model->showPreviousQuestion();
    EXPECT_TRUE(dialogs.texts().isEmpty()) << "nothing changed, nothing asked";
    QStringList changed = textsOf(2);
    changed[0] = QStringLiteral("Changed 2");
    type(changed);
    dialogs.answer(MsgButton::Yes);
    model->showNextQuestion();
    EXPECT_EQ(dialogs.texts(), QStringList{saveQuestion});
    EXPECT_EQ(model->recordNumber(), 3);
    EXPECT_EQ(readBytes(path("a.QST")), setBytes({numbered(1), recordOf(changed), numbered(3)}));

    model->showPreviousQuestion();
    type({QStringLiteral("Dropped")});
    dialogs.answer(MsgButton::No);
    model->showNextQuestion();
    EXPECT_EQ(model->recordNumber(), 3);
    EXPECT_EQ(readBytes(path("a.QST")), setBytes({numbered(1), recordOf(changed), numbered(3)}));

    dialogs.clear();
    const QStringList partial = {QStringLiteral("a"), QStringLiteral("b"), {}, {}, {}};
    type(partial);
    dialogs.answer(MsgButton::No);
    model->showPreviousQuestion();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, discardQuestion);
    EXPECT_EQ(dialogs.shown()[0].kind, MsgKind::Information);
    EXPECT_EQ(fieldTexts(), partial);
    EXPECT_EQ(model->recordNumber(), 3);
    dialogs.answer(MsgButton::Yes);
    model->showPreviousQuestion();
    EXPECT_EQ(model->recordNumber(), 2);
    EXPECT_EQ(fieldTexts(), changed);
    EXPECT_EQ(readBytes(path("a.QST")), setBytes({numbered(1), recordOf(changed), numbered(3)}));
}

// A question appended through a save prompt does not raise the count: Next stays disabled on
// the question before it until the next Store.
TEST_F(EditorModelTest, AppendThroughPromptKeepsOldCount) {
    writeNumberedSet(path("a.QST"), 2);
    fileName = qPath("a.QST");
    open();
    model->addQuestion();
    type(newTexts);
    dialogs.answer(MsgButton::Yes);
    model->showPreviousQuestion();
    EXPECT_EQ(readBytes(path("a.QST")), setBytes({numbered(1), numbered(2), recordOf(newTexts)}));
    EXPECT_EQ(model->recordNumber(), 2);
    EXPECT_EQ(state.recordCount, 3);
    EXPECT_FALSE(view().nextEnabled);
    EXPECT_EQ(view().position, QStringLiteral("2/2"));
    model->storeQuestion();
    EXPECT_TRUE(view().nextEnabled);
    EXPECT_EQ(view().position, QStringLiteral("2/3"));
}

// Load Question Set: cancel changes nothing; a set of only the header opens at its append
// position; missing and 0-byte files give the load messages and no set, and the texts of the
// set before are gone.
TEST_F(EditorModelTest, LoadQuestionSet) {
    writeNumberedSet(path("a.QST"), 2);
    writeBytes(path("empty.QST"), setBytes({}));
    writeBytes(path("zero.QST"), "");
    fileName = qPath("a.QST");
    open();
    model->loadSet();
    ASSERT_EQ(dialogs.fileDialogs().size(), 1u);
    EXPECT_EQ(dialogs.fileDialogs()[0].title, QStringLiteral("Mindaro : Load Questions"));
    EXPECT_EQ(dialogs.fileDialogs()[0].initialDir, QDir::currentPath());
    EXPECT_EQ(model->questionFile(), qPath("a.QST"));
    EXPECT_EQ(state.recordCount, 3);

    dialogs.chooseFile(qPath("empty.QST"));
    model->loadSet();
    EXPECT_TRUE(dialogs.texts().isEmpty());
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
        // Each load leaves a.QST for the set chosen.
        dialogs.chooseFile(qPath("a.QST"));
        model->loadSet();
        ASSERT_EQ(model->questionFile(), qPath("a.QST"));
        dialogs.clear();
        dialogs.chooseFile(qPath(row.file));
        model->loadSet();
        EXPECT_EQ(dialogs.texts(), QStringList{row.message});
        EXPECT_EQ(model->questionFile(), QStringLiteral("N/A"));
        EXPECT_EQ(state.recordCount, row.recordCount);
        EXPECT_EQ(view().setName, noFile);
        EXPECT_EQ(fieldTexts(), QStringList(5, QString())) << "no texts without a set";
        EXPECT_FALSE(view().fieldsEnabled);
    }
}

// A 1000-byte set counts two records; the next question goes in at byte 760 over the stray
// tail. Length bytes above 75 show 75 characters, never a byte of the next field.
TEST_F(EditorModelTest, OddSizesAndLengthBytes) {
    writeBytes(path("a.QST"), setBytes({numbered(1)}) + std::string(240, '\xAB'));
    fileName = qPath("a.QST");
    open();
    EXPECT_EQ(state.recordCount, 2);
    EXPECT_EQ(model->recordNumber(), 1);
    model->addQuestion();
    type(newTexts);
    model->storeQuestion();
    EXPECT_EQ(readBytes(path("a.QST")), setBytes({numbered(1), recordOf(newTexts)}));

    std::string record(380, '\0');
    for (int f = 0; f < 5; ++f) {
        record[static_cast<std::size_t>(f * 76)] = '\xFF';
        for (int k = 1; k <= 75; ++k)
            record[static_cast<std::size_t>(f * 76 + k)] = char('A' + f);
    }
    writeBytes(path("b.QST"), setBytes({}) + record);
    dialogs.chooseFile(qPath("b.QST"));
    model->loadSet();
    for (int f = 0; f < 5; ++f)
        EXPECT_EQ(fieldTexts()[f], QString(75, QLatin1Char(char('A' + f))));
}

// A character Windows-1252 cannot hold is refused when storing, by name; nothing is written
// and the texts stay for another try.
TEST_F(EditorModelTest, UnstorableCharacterIsRefused) {
    writeNumberedSet(path("a.QST"), 2);
    const std::string before = readBytes(path("a.QST"));
    fileName = qPath("a.QST");
    open();
    const QString refusal =
        QStringLiteral("The character \"λ\" cannot be stored in a question file.");
    QStringList texts = textsOf(2);
    texts[2] = QStringLiteral("Wavelength λ");
    type(texts);
    model->storeQuestion();
    EXPECT_EQ(dialogs.texts(), QStringList{refusal});
    EXPECT_EQ(readBytes(path("a.QST")), before);
    EXPECT_TRUE(view().storeEnabled);
    // Through the save prompts of Add and Previous it is refused the same way, and neither
    // moves away from the texts.
    dialogs.clear();
    dialogs.answer(MsgButton::Yes);
    model->addQuestion();
    dialogs.answer(MsgButton::Yes);
    model->showPreviousQuestion();
    EXPECT_EQ(dialogs.texts(), (QStringList{saveQuestion, refusal, saveQuestion, refusal}));
    EXPECT_EQ(readBytes(path("a.QST")), before);
    EXPECT_EQ(model->recordNumber(), 2);
    EXPECT_EQ(fieldTexts(), texts);
    EXPECT_EQ(state.addReturnRecord, 0);
}

// A read-only set is reported as read-only, not as damaged; it is shown and browsed, and
// Store is refused with that message.
TEST_F(EditorModelTest, ReadOnlySetIsBrowsedNotWritten) {
    writeNumberedSet(path("a.QST"), 2);
    const std::string before = readBytes(path("a.QST"));
    ASSERT_EQ(::chmod(path("a.QST").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir.stdPath().c_str(), 0755), 0);
    const bool ok = runAsOrdinaryUser([&] {
        if (::access(path("a.QST").c_str(), W_OK) == 0) return 1; // proves nothing
        fileName = qPath("a.QST");
        open();
        if (dialogs.texts() != QStringList{QuestionEditorModel::readOnlyMessage}) return 2;
        if (model->questionFile() != qPath("a.QST") || !model->isReadOnly()) return 3;
        model->showPreviousQuestion();
        if (model->recordNumber() != 1 || fieldTexts() != textsOf(1)) return 4;
        type({QStringLiteral("Changed")});
        dialogs.clear();
        model->storeQuestion();
        if (dialogs.texts() != QStringList{QuestionEditorModel::readOnlyMessage}) return 5;
        dialogs.answer(MsgButton::Yes);
        model->addQuestion();
        if (model->recordNumber() != 1) return 6;
        return 0;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(readBytes(path("a.QST")), before);
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
    writeNumberedSet(path("good.QST"), 2);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        model.reset();
        writeNumberedSet(path("a.QST"), 3);
        fileName = qPath("a.QST");
        open();
        QStringList changed = textsOf(3);
        changed[0] = QStringLiteral("Changed");
        type(changed);
        if (row.deleted)
            ::unlink(path("a.QST").c_str());
        else
            writeNumberedSet(path("a.QST"), 1);
        const std::string after = row.deleted ? std::string() : readBytes(path("a.QST"));
        dialogs.clear();
        row.command(*model);
        ASSERT_FALSE(dialogs.shown().empty());
        const auto& box = dialogs.shown().back();
        if (row.changed) {
            EXPECT_EQ(box.text, QuestionEditorModel::changedMessage);
        } else {
            EXPECT_EQ(box.kind, MsgKind::Error);
            EXPECT_TRUE(box.text.contains(qPath("a.QST"))) << box.text.toStdString();
        }
        if (!row.deleted) {
            EXPECT_EQ(readBytes(path("a.QST")), after) << "no hole, no stray write";
        }
        EXPECT_EQ(model->recordNumber(), 3);
        dialogs.clear();
        dialogs.chooseFile(qPath("good.QST"));
        model->loadSet();
        EXPECT_EQ(model->questionFile(), qPath("good.QST"));
        EXPECT_EQ(fieldTexts(), textsOf(2));
    }
}

// A set whose first question cannot be read once it was accepted is no set at all: "N/A",
// no editable blank form, and so no Store that could land on the header.
TEST_F(EditorModelTest, FailedFirstReadLeavesNoSet) {
    writeNumberedSet(path("a.QST"), 2);
    const std::string before = readBytes(path("a.QST"));
    // Owned by the ordinary user but not writable: accepted as a read-only set, and the user
    // may take reading away while the read-only notice is shown.
    ASSERT_EQ(::chown(path("a.QST").c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path("a.QST").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir.stdPath().c_str(), 0755), 0);
    const bool ok = runAsOrdinaryUser([&] {
        dialogs.onMessage = [&](const QString&) { ::chmod(path("a.QST").c_str(), 0); };
        fileName = qPath("a.QST");
        open();
        dialogs.onMessage = nullptr;
        if (model->questionFile() != QStringLiteral("N/A")) return 1;
        if (view().setName != noFile) return 2;
        if (view().fieldsEnabled || view().storeEnabled) return 3;
        type(newTexts);
        model->storeQuestion();
        return fieldTexts() == QStringList(5, QString()) ? 0 : 4;
    });
    EXPECT_TRUE(ok);
    ::chmod(path("a.QST").c_str(), 0644);
    EXPECT_EQ(readBytes(path("a.QST")), before);
}

// While another program holds the writers' lock, Store stores nothing and says so; the texts
// stay for another try, which stores them once the lock is free.
TEST_F(EditorModelTest, StoreWaitsForNoOtherWriter) {
    writeNumberedSet(path("a.QST"), 2);
    fileName = qPath("a.QST");
    open();
    model->setLockWaitMs(0);
    QStringList changed = textsOf(2);
    changed[1] = QStringLiteral("Right, changed");
    type(changed);
    QstFile other;
    ASSERT_TRUE(other.openLocked(path("a.QST"), QstFile::Access::ReadWrite, 0));
    dialogs.clear();
    model->storeQuestion();
    EXPECT_EQ(dialogs.texts(), QStringList{QuestionEditorModel::busyMessage});
    EXPECT_EQ(readBytes(path("a.QST")), setBytes(numberedRecords(2)));
    EXPECT_EQ(fieldTexts(), changed);
    other.close();
    model->storeQuestion();
    auto records = numberedRecords(2);
    records[1] = recordOf(changed);
    EXPECT_EQ(readBytes(path("a.QST")), setBytes(records));
}

// A set replaced by a FIFO, or a FIFO or device chosen as a set, is reported at once: the
// editor never waits for the other end of a pipe.
TEST_F(EditorModelTest, PipesAndDevicesNeverHang) {
    writeNumberedSet(path("a.QST"), 2);
    fileName = qPath("a.QST");
    open();
    ::unlink(path("a.QST").c_str());
    ASSERT_EQ(::mkfifo(path("a.QST").c_str(), 0644), 0);
    dialogs.clear();
    model->showPreviousQuestion();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, MsgKind::Error);
    EXPECT_EQ(model->recordNumber(), 2);
    for (const QString& chosen : {qPath("a.QST"), QStringLiteral("/dev/zero")}) {
        dialogs.clear();
        dialogs.chooseFile(chosen);
        model->loadSet();
        EXPECT_EQ(dialogs.texts().last(), QStringLiteral("Unable to find Specified Question File"));
        EXPECT_EQ(model->questionFile(), QStringLiteral("N/A"));
    }
}

// After another program changed the question shown, the editor never mixes the two: a search
// that finds nothing shows the whole record as it is now (so Store compares with what is
// shown), and leaving the set (Close, Load, New) keeps the texts typed here after the warning,
// as it would without the change.
TEST_F(EditorModelTest, AChangeFromOutsideNeverMixesOrDropsTheTexts) {
    const QuestionRecord outside = QstFixtures::question("Outside?", "Theirs", "T1", "T2", "T3");
    const auto changeFromOutside = [&] {
        QstFixtures::writeSet(path("a.QST"), {numbered(1), numbered(2), outside});
    };
    {
        SCOPED_TRACE("search without a match");
        writeNumberedSet(path("a.QST"), 3);
        fileName = qPath("a.QST");
        open();
        changeFromOutside();
        model->findNext(QStringLiteral("no such text"));
        EXPECT_EQ(fieldTexts(), (QStringList{"Outside?", "Theirs", "T1", "T2", "T3"}));
        EXPECT_FALSE(view().storeEnabled);
        QStringList mine = fieldTexts();
        mine[1] = QStringLiteral("Mine");
        type(mine);
        model->storeQuestion();
        EXPECT_EQ(readBytes(path("a.QST")),
                  setBytes({numbered(1), numbered(2),
                            QstFixtures::question("Outside?", "Mine", "T1", "T2", "T3")}));
    }
    using Leave = std::function<bool(QuestionEditorModel&)>;
    const std::pair<const char*, Leave> leaves[] = {
        {"close", [](QuestionEditorModel& m) { return m.saveBeforeLeaving(); }},
        {"load",
         [](QuestionEditorModel& m) {
             m.loadSet();
             return true;
         }},
        {"new",
         [](QuestionEditorModel& m) {
             m.createSet();
             return true;
         }},
    };
    writeNumberedSet(path("other.QST"), 2);
    for (const auto& [name, leave] : leaves) {
        SCOPED_TRACE(name);
        model.reset();
        writeNumberedSet(path("a.QST"), 3);
        fileName = qPath("a.QST");
        open();
        QStringList typed = textsOf(3);
        typed[0] = QStringLiteral("Typed here");
        type(typed);
        changeFromOutside();
        dialogs.clear();
        dialogs.answer(MsgButton::Yes);
        dialogs.chooseFile(qPath("other.QST"));
        const bool left = leave(*model);
        if (std::string(name) == "close") {
            EXPECT_FALSE(left);
        }
        EXPECT_EQ(model->questionFile(), qPath("a.QST"));
        EXPECT_EQ(fieldTexts(), typed);
        ASSERT_FALSE(dialogs.shown().empty());
        EXPECT_EQ(dialogs.shown().back().text, QuestionEditorModel::changedMessage);
        EXPECT_EQ(readBytes(path("a.QST")), setBytes({numbered(1), numbered(2), outside}));
    }
}

// A Store opens the set once, however it ends: written over the question shown or appended,
// refused for an empty field, a character no set holds or a question another program changed.
// Nor does the figures line of the question it leaves shown look at the set again, not even
// for the first question of a new set.
TEST_F(EditorModelTest, StoreOpensTheSetOnce) {
    ScoreStore store(qPath("scores.sqlite"));
    scores = &store;
    QStringList changed = textsOf(3);
    changed[0] = QStringLiteral("Changed");
    QStringList unstorable = textsOf(3);
    unstorable[1] = QStringLiteral("λ");
    struct Row {
        const char* name;
        std::function<void()> prepare;
        QString box; // the one box the Store shows; empty: none
        bool written;
        const char* set = "a.QST"; // the set stored into
    };
    const Row rows[] = {
        {"over the question shown", [&] { type(changed); }, {}, true},
        {"appended",
         [&] {
             model->addQuestion();
             type(newTexts);
         },
         {},
         true},
        {"a field empty",
         [&] {
             model->addQuestion();
             type({QStringLiteral("half")});
         },
         QStringLiteral("All fields must be complete before record can be stored!"), false},
        {"a character no set holds", [&] { type(unstorable); },
         QStringLiteral("The character \"λ\" cannot be stored in a question file."), false},
        {"changed by another program",
         [&] {
             type(changed);
             QstFixtures::writeSet(path("a.QST"), {numbered(1), numbered(2), numbered(33)});
         },
         QuestionEditorModel::changedMessage, false},
        {"the first question of a new set",
         [&] {
             dialogs.chooseFile(qPath("new.QST"));
             model->createSet();
             type(newTexts);
         },
         {},
         true,
         "new.QST"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        model.reset();
        ::unlink(path("new.QST").c_str());
        writeNumberedSet(path("a.QST"), 3);
        fileName = qPath("a.QST");
        open();
        row.prepare();
        dialogs.clear();
        OpenCounter counter(path(row.set));
        model->storeQuestion();
        EXPECT_EQ(counter.opens(), 1);
        EXPECT_EQ(dialogs.texts(), row.box.isEmpty() ? QStringList() : QStringList{row.box});
        if (row.written) {
            EXPECT_FALSE(view().storeEnabled);
            EXPECT_EQ(view().figures, QStringLiteral("not asked yet"));
        }
    }
}

// A text longer than a record holds (a paste of any length) is never cut: Store says which
// text is too long, writes nothing, and the text stays whole for the user to shorten.
TEST_F(EditorModelTest, ATextTooLongIsKeptWholeAndNotStored) {
    writeNumberedSet(path("a.QST"), 2);
    fileName = qPath("a.QST");
    open();
    const std::string before = readBytes(path("a.QST"));
    QStringList texts = textsOf(2);
    texts[2] = QString(80, QLatin1Char('x'));
    type(texts);
    dialogs.clear();
    model->storeQuestion();
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(
        dialogs.shown().back().text,
        QuestionEditorModel::tooLongMessage.arg(QStringLiteral("first wrong answer")).arg(80));
    EXPECT_EQ(readBytes(path("a.QST")), before);
    EXPECT_EQ(fieldTexts(), texts);
}
