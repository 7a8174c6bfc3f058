// The question editor's commands: the set, the question shown, Add, Store, Cancel and the
// save-changes step, with the file steps they share.
#include "QuestionEditorModel.h"

#include "Dialogs.h"
#include "QtText.h"
#include "ScoreStore.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {
const QString notAvailable = QStringLiteral("N/A");
const QString saveQuestion = QStringLiteral("Save Changes to current record?");
const QString discardQuestion = QStringLiteral("Discard partially complete record?");
const QString incompleteMessage =
    QStringLiteral("All fields must be complete before record can be stored!");
// The texts as messages name them, in record order.
const char* const fieldNames[] = {"question", "correct answer", "first wrong answer",
                                  "second wrong answer", "third wrong answer"};
} // namespace

const QString QuestionEditorModel::noDataFileText = QStringLiteral("* NO DATAFILE LOADED *");
const QString QuestionEditorModel::readOnlyMessage =
    QStringLiteral("This question set is read-only: its questions can be shown and searched "
                   "but not stored.");
const QString QuestionEditorModel::changedMessage = QStringLiteral(
    "Another program has changed this question set while it was open here. Nothing was "
    "stored; Cancel shows the question as it is in the set now.");
const QString QuestionEditorModel::tooLongMessage =
    QStringLiteral("The %1 is %2 characters long; a question file holds at most 75. Nothing "
                   "was stored: please shorten it.");
const QString QuestionEditorModel::busyMessage = QStringLiteral(
    "Another program is writing this question set. Nothing was stored; please try again.");
const QString QuestionEditorModel::storedAtEndMessage =
    QStringLiteral("Another program has added questions to this set. Your new question was "
                   "stored at the end of the set, as question %1.");

QuestionEditorModel::QuestionEditorModel(Dialogs& dialogs, QuestionEditorState& state,
                                         const QString& questionFile, QObject* parent)
    : QObject(parent), dialogSeam(dialogs), editorState(state), setFile(questionFile) {}

// ---- The set

void QuestionEditorModel::openStartingSet() {
    const auto told = tellViewAtEnd();
    // Without a set from the game, the editor looks for REGD.QST in the current folder.
    if (setFile.isEmpty() || setFile == notAvailable)
        setFile = QDir::currentPath() + QStringLiteral("/REGD.QST");
    // A fresh start has no count, no pending Add and a fresh search.
    editorState.recordCount = 0;
    editorState.addReturnRecord = 0;
    editorState.searchPosition = 0;
    editorState.lastSearchText.clear();
    const QstCheckResult check = checkQuestionFile(filePath(), ReaderRules::EditorStartup);
    editorState.recordCount = check.recordCount;
    if (takeCheckedSet(check, ReaderRules::EditorStartup)) showLastQuestion(check.recordCount);
}

void QuestionEditorModel::createSet() {
    const auto told = tellViewAtEnd();
    if (isSetLoaded() && !saveBeforeLeaving()) return;
    const FileDialogSpec spec{QStringLiteral("Mindaro : Create New Question Set"),
                              QuestionSetDialogs::filter, QuestionSetDialogs::suffix, QString()};
    const QString path = dialogs().saveFile(dialogParent, spec);
    if (path.isEmpty()) return;
    if (QFile::exists(path)) {
        dialogs().warning(dialogParent, QStringLiteral("This file already exists"));
        return;
    }
    editorState.recordCount = 0;
    setFile = path;
    readOnly = false;
    QstFile file;
    const QuestionRecord header = QuestionRecord::header();
    if (!file.create(filePath())) {
        // Nothing was made: no set is selected rather than a name without a file.
        dropSet();
        reportError(file.errorText());
        return;
    }
    if (!file.write(0, header) || !file.sync()) {
        const std::string error = file.errorText();
        file.close();
        // The file is ours and holds no header: take it away again.
        QFile::remove(path);
        dropSet();
        reportError(error);
        return;
    }
    editorState.recordBuffer = header;
    readFiguresSet();
    // A pending Add belonged to the set before.
    editorState.addReturnRecord = 0;
    showAppendPosition(1);
    emptyFields();
}

void QuestionEditorModel::loadSet() {
    const auto told = tellViewAtEnd();
    if (isSetLoaded() && !saveBeforeLeaving()) return;
    const FileDialogSpec spec = QuestionSetDialogs::load(QDir::currentPath());
    const QString path = dialogs().openFile(dialogParent, spec);
    if (path.isEmpty()) return;
    editorState.recordCount = 0;
    setFile = path;
    // A pending Add belonged to the set before.
    editorState.addReturnRecord = 0;
    const QstCheckResult check = checkQuestionFile(filePath(), ReaderRules::EditorLoad);
    editorState.recordCount = check.recordCount;
    if (takeCheckedSet(check, ReaderRules::EditorLoad)) showLastQuestion(check.recordCount);
}

bool QuestionEditorModel::takeCheckedSet(const QstCheckResult& check, const ReaderRuleSet& rules) {
    readOnly = false;
    switch (check.status) {
    case QstCheck::Accepted:
        readFiguresSet();
        return true;
    case QstCheck::ReadOnly:
        // A set this user may not change is still worth reading: it is browsed and
        // searched, and every write is refused with this message.
        readOnly = true;
        readFiguresSet();
        dialogs().information(dialogParent, readOnlyMessage);
        return true;
    case QstCheck::NotFound:
        dialogs().warning(dialogParent, QString::fromLatin1(rules.notFoundMessage));
        dropSet();
        return false;
    case QstCheck::Damaged:
        dropSet();
        dialogs().warning(dialogParent, QString::fromLatin1(rules.damagedMessage));
        return false;
    }
    return false;
}

void QuestionEditorModel::showLastQuestion(std::int64_t count) {
    const std::int64_t last = count - 1;
    if (last <= 0) {
        // Only the header: the append position of an empty set.
        showAppendPosition(1);
        emptyFields();
        return;
    }
    QstFile file;
    if (openSet(file) && showRecord(file, last)) {
        showQuestionNumber(last);
        return;
    }
    // The failure has been reported; a set that cannot be shown is no set at all, so there
    // is no blank form whose Store would land on the header.
    dropSet();
    editorState.recordCount = 0;
    showQuestionNumber(0);
}

// ---- What the window shows

QuestionEditorModel::View QuestionEditorModel::currentView() {
    View view;
    if (!isSetLoaded()) {
        view.setName = noDataFileText;
        return view;
    }
    const std::int64_t count = editorState.recordCount;
    view.position = shownRecord < count ? QStringLiteral("%1/%2").arg(shownRecord).arg(count - 1)
                                        : QStringLiteral("Question : %1").arg(shownRecord);
    view.setName = setFile;
    view.previousEnabled = shownRecord > 1;
    view.nextEnabled = shownRecord < count - 1;
    view.addEnabled = fieldsComplete() && editorState.addReturnRecord == 0;
    view.storeEnabled = fieldsDiffer(editorState.recordBuffer);
    view.fieldsEnabled = true;
    // A search never replaces texts that are not stored.
    view.searchEnabled = !view.storeEnabled;
    if (!appending && shownRecord < count) view.figures = figuresOfShownQuestion();
    return view;
}

void QuestionEditorModel::tellView() {
    View view = currentView();
    if (view == toldView) return;
    toldView = std::move(view);
    emit viewChanged(toldView);
}

Dialogs& QuestionEditorModel::dialogs() {
    tellView();
    return dialogSeam;
}

QString QuestionEditorModel::figuresOfShownQuestion() {
    if (!scoreStore) return {};
    const QString question = ScoreStore::questionText(shownStored);
    const QString key = setFile + QChar(0) + question;
    if (key == figuresKey) return figuresText;
    if (figuresSetFile != setFile) readFiguresSet();
    figuresKey = key;
    figuresText =
        figuresSet.isValid() ? scoreStore->figures(figuresSet, question).text() : QString();
    return figuresText;
}

void QuestionEditorModel::readFiguresSet() {
    figuresKey.clear();
    figuresSetFile = setFile;
    figuresSet = scoreStore ? QuestionSet::fromFile(setFile) : QuestionSet();
}

void QuestionEditorModel::setField(int i, const QString& text) {
    if (i < 0 || i >= fieldCount) return;
    const auto told = tellViewAtEnd();
    fieldTexts[static_cast<std::size_t>(i)] = text;
    if (!isSetLoaded()) emptyFields();
}

// ---- Steps shared by the commands

void QuestionEditorModel::showQuestionNumber(std::int64_t n) {
    shownRecord = n;
    appending = false;
}

void QuestionEditorModel::showAppendPosition(std::int64_t n) {
    shownRecord = n;
    appending = true;
}

void QuestionEditorModel::dropSet() {
    setFile = notAvailable;
    emptyFields();
}

bool QuestionEditorModel::isSetLoaded() const {
    return setFile != notAvailable;
}

std::string QuestionEditorModel::filePath() const {
    return QFile::encodeName(setFile).toStdString();
}

void QuestionEditorModel::reportError(const std::string& text) {
    QString message = QString::fromLocal8Bit(text.c_str());
    // The box always names the set the failure happened in.
    if (!message.contains(setFile)) message += QStringLiteral("\n") + setFile;
    dialogs().error(dialogParent, message);
}

bool QuestionEditorModel::openSet(QstFile& file) {
    const auto access = readOnly ? QstFile::Access::Read : QstFile::Access::ReadWrite;
    if (file.open(filePath(), access)) return true;
    reportError(file.errorText());
    return false;
}

std::int64_t QuestionEditorModel::countRecords(QstFile& file) {
    const std::int64_t count = file.recordCount();
    if (count < 0) reportError(file.errorText());
    return count;
}

bool QuestionEditorModel::showRecord(QstFile& file, std::int64_t r) {
    QuestionRecord record;
    if (!file.read(r, record)) {
        reportError(file.errorText());
        return false;
    }
    editorState.recordBuffer = record;
    shownStored = record;
    showRecordBuffer();
    return true;
}

void QuestionEditorModel::showRecordBuffer(bool questionToo) {
    for (std::size_t i = questionToo ? 0 : 1; i < fieldTexts.size(); ++i)
        fieldTexts[i] = QtText::fromRecord(editorState.recordBuffer.field(i));
    emit fieldsChanged();
}

void QuestionEditorModel::emptyFields() {
    if (fieldsEmpty()) return;
    for (QString& text : fieldTexts)
        text.clear();
    emit fieldsChanged();
}

QuestionEditorModel::CopyResult QuestionEditorModel::storedCopy(QstFile& file,
                                                                QuestionRecord& copy) {
    if (appending) {
        copy = QuestionRecord();
        return CopyResult::Read;
    }
    QuestionRecord record;
    if (!file.read(shownRecord, record)) {
        reportError(file.errorText());
        return CopyResult::Failed;
    }
    editorState.recordBuffer = record;
    if (!(record == shownStored)) {
        // Another program changed the question under the window: say so rather than go on
        // from what is on the screen. Cancel shows it as it is now.
        dialogs().warning(dialogParent, changedMessage);
        return CopyResult::Changed;
    }
    copy = record;
    return CopyResult::Read;
}

bool QuestionEditorModel::fieldsAsRecord(QuestionRecord& record) {
    if (readOnly) {
        dialogs().information(dialogParent, readOnlyMessage);
        return false;
    }
    // The header is never written here, whatever went wrong before.
    if (!appending && shownRecord < 1) return false;
    // Build the record aside: the buffer changes only once the record is on the disk, so a
    // refused or failed write leaves Store enabled for another try.
    record = editorState.recordBuffer;
    for (std::size_t i = 0; i < fieldTexts.size(); ++i) {
        std::string bytes;
        QString bad;
        if (!QtText::toRecord(fieldTexts[i], bytes, &bad)) {
            dialogs().information(
                dialogParent,
                QStringLiteral("The character \"%1\" cannot be stored in a question file.")
                    .arg(bad));
            return false;
        }
        // A text is never cut to fit: the user shortens it (a paste may bring any length).
        if (bytes.size() > QuestionRecord::Capacity) {
            dialogs().information(
                dialogParent, tooLongMessage.arg(QLatin1String(fieldNames[i])).arg(bytes.size()));
            return false;
        }
        record.field(i) = std::move(bytes);
    }
    return true;
}

bool QuestionEditorModel::openForWriting(QstFile& file) {
    // Other writers of the set wait while this one measures, compares and writes.
    if (file.openLocked(filePath(), QstFile::Access::ReadWrite, lockWaitMs)) return true;
    if (file.lockBusy())
        dialogs().warning(dialogParent, busyMessage);
    else
        reportError(file.errorText());
    return false;
}

QuestionEditorModel::WriteResult QuestionEditorModel::writeRecord(QstFile& file,
                                                                  const QuestionRecord& record,
                                                                  std::int64_t* countAfter,
                                                                  bool measure) {
    const auto failed = [&] {
        const std::string error = file.errorText();
        file.close();
        reportError(error);
        return WriteResult::Failed;
    };
    const std::int64_t count = file.recordCount();
    if (count < 0) return failed();
    // A new question goes to the real end of the set, behind whatever others appended.
    std::int64_t at = count;
    if (!appending) {
        at = shownRecord;
        QuestionRecord onDisk;
        if (at >= count || !file.read(at, onDisk) || !(onDisk == shownStored)) {
            file.close();
            if (countAfter) *countAfter = count;
            if (measure) editorState.recordCount = count;
            dialogs().warning(dialogParent, changedMessage);
            return WriteResult::Refused;
        }
    }
    if (!file.write(at, record) || !file.sync()) return failed();
    file.close();
    const bool moved = appending && at != shownRecord;
    editorState.recordBuffer = record;
    shownStored = record;
    showQuestionNumber(at);
    const std::int64_t after = std::max(count, at + 1);
    if (countAfter) *countAfter = after;
    // Store measures the set; it does so before the notice, which the window shows behind.
    if (measure) editorState.recordCount = after;
    if (moved) dialogs().information(dialogParent, storedAtEndMessage.arg(at));
    return WriteResult::Written;
}

QuestionEditorModel::WriteResult QuestionEditorModel::writeFields(std::int64_t* countAfter) {
    QuestionRecord record;
    if (!fieldsAsRecord(record)) return WriteResult::Refused;
    QstFile file;
    if (!openForWriting(file)) return WriteResult::Failed;
    return writeRecord(file, record, countAfter, false);
}

bool QuestionEditorModel::fieldsDiffer(const QuestionRecord& record) const {
    for (std::size_t i = 0; i < fieldTexts.size(); ++i)
        if (fieldTexts[i] != QtText::fromRecord(record.field(i))) return true;
    return false;
}

bool QuestionEditorModel::fieldsComplete() const {
    return std::none_of(fieldTexts.begin(), fieldTexts.end(),
                        [](const QString& text) { return text.isEmpty(); });
}

bool QuestionEditorModel::fieldsEmpty() const {
    return std::all_of(fieldTexts.begin(), fieldTexts.end(),
                       [](const QString& text) { return text.isEmpty(); });
}

// ---- The save-changes step

QuestionEditorModel::SaveOutcome QuestionEditorModel::saveChanges() {
    QstFile file;
    if (!openSet(file)) return SaveOutcome::Failed;
    QuestionRecord stored;
    switch (storedCopy(file, stored)) {
    case CopyResult::Read:
        break;
    case CopyResult::Changed:
        // The texts typed here stay on screen for the user to keep or drop, as they would
        // without the change; only texts that hold nothing of the user's may be left.
        return fieldsEmpty() || !fieldsDiffer(shownStored) ? SaveOutcome::Proceed
                                                           : SaveOutcome::Cancelled;
    case CopyResult::Failed:
        return SaveOutcome::Failed;
    }
    if (fieldsEmpty()) return SaveOutcome::Proceed;
    if (fieldsComplete()) {
        if (fieldsDiffer(stored) && dialogs().confirm(dialogParent, saveQuestion)) {
            switch (writeFields()) {
            case WriteResult::Written:
                break;
            case WriteResult::Refused:
                return SaveOutcome::Cancelled;
            case WriteResult::Failed:
                return SaveOutcome::Failed;
            }
        }
        return SaveOutcome::Proceed;
    }
    if (dialogs().confirm(dialogParent, discardQuestion, MsgKind::Information))
        return SaveOutcome::Proceed;
    return SaveOutcome::Cancelled;
}

bool QuestionEditorModel::saveBeforeLeaving() {
    const auto told = tellViewAtEnd();
    // A set that cannot be read any more cannot take the texts either: the failure has been
    // reported, and leaving it is the way on.
    return saveChanges() != SaveOutcome::Cancelled;
}

// ---- Moving, adding, storing, cancelling

void QuestionEditorModel::showPreviousQuestion() {
    const auto told = tellViewAtEnd();
    if (!isSetLoaded()) return;
    const SaveOutcome saved = saveChanges();
    if (saved == SaveOutcome::Failed) return;
    // A pending Add ends with the move, whether or not it goes on.
    editorState.addReturnRecord = 0;
    if (saved != SaveOutcome::Proceed || shownRecord <= 1) return;
    QstFile file;
    if (openSet(file) && showRecord(file, shownRecord - 1)) showQuestionNumber(shownRecord - 1);
}

void QuestionEditorModel::showNextQuestion() {
    const auto told = tellViewAtEnd();
    if (!isSetLoaded()) return;
    const SaveOutcome saved = saveChanges();
    if (saved == SaveOutcome::Failed) return;
    editorState.addReturnRecord = 0;
    // Next never moves from the append position.
    if (saved != SaveOutcome::Proceed || appending) return;
    QstFile file;
    if (!openSet(file)) return;
    const std::int64_t count = countRecords(file);
    if (count < 0) return;
    // Next never moves onto the append position.
    if (shownRecord >= count - 1) return;
    if (showRecord(file, shownRecord + 1)) showQuestionNumber(shownRecord + 1);
}

bool QuestionEditorModel::addQuestion() {
    const auto told = tellViewAtEnd();
    if (!isSetLoaded()) return false;
    // Add is for complete fields with no Add pending; a second press of a double-click
    // comes before the window has disabled the button, and is ignored here.
    if (!fieldsComplete() || editorState.addReturnRecord != 0) return false;
    QstFile file;
    QuestionRecord stored;
    if (!openSet(file) || storedCopy(file, stored) != CopyResult::Read) return false;
    // Cancel returns to the question shown now, once it is in the file; a new question
    // whose texts are dropped leaves nothing to return to.
    std::int64_t returnTo = appending ? 0 : shownRecord;
    std::int64_t count = -1;
    if (fieldsDiffer(stored) && dialogs().confirm(dialogParent, saveQuestion)) {
        if (writeFields(&count) != WriteResult::Written) return false;
        returnTo = shownRecord;
    }
    // The append position; the record count is not measured again here.
    if (count < 0) count = countRecords(file);
    if (count < 0) return false;
    editorState.addReturnRecord = returnTo;
    showAppendPosition(count);
    emptyFields();
    return true;
}

void QuestionEditorModel::storeQuestion() {
    const auto told = tellViewAtEnd();
    if (!isSetLoaded()) return;
    // A Store opens the set once: to write the texts, which measures the set under the
    // writers' lock whether or not it writes them, or else only to measure it.
    const bool complete = fieldsComplete();
    if (complete) {
        editorState.addReturnRecord = 0;
        QuestionRecord record;
        if (fieldsAsRecord(record)) {
            QstFile file;
            if (openForWriting(file)) writeRecord(file, record, nullptr, true);
            return;
        }
    }
    QstFile file;
    if (!openSet(file)) return;
    if (!complete) dialogs().information(dialogParent, incompleteMessage);
    const std::int64_t count = countRecords(file);
    if (count < 0) return;
    editorState.recordCount = count;
}

void QuestionEditorModel::cancelChanges() {
    const auto told = tellViewAtEnd();
    if (!isSetLoaded()) return;
    // A pending Add ends here, whatever follows.
    const std::int64_t returnTo = editorState.addReturnRecord;
    editorState.addReturnRecord = 0;
    QstFile file;
    if (!openSet(file)) return;
    const std::int64_t count = countRecords(file);
    if (count < 0) return;
    if (!appending) {
        // A stored question, as it is in the file now (or one the set has lost since: the
        // read reports it).
        showRecord(file, shownRecord);
    } else if (!fieldsEmpty()) {
        emptyFields();
    } else if (returnTo >= 1 && returnTo < count) {
        if (showRecord(file, returnTo)) showQuestionNumber(returnTo);
    }
}
