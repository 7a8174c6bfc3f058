// The question editor's record handlers: Previous, Next, Add, Store, Cancel and the
// save-changes step, with the file steps they share.
#include "Setques.h"

#include "Dialogs.h"
#include "Label.h"
#include "QtText.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
const QString SaveQuestion = QStringLiteral("Save Changes to current record?");
const QString DiscardQuestion = QStringLiteral("Discard partially complete record?");
const QString IncompleteMessage =
    QStringLiteral("All fields must be complete before record can be stored!");
} // namespace

// ---- Steps shared by the handlers

void TSetQuestions::SetRecNum(std::int64_t n) {
    FRecNum = n;
    appending = false;
    RecNum->SetCaption(QString::number(n));
}

void TSetQuestions::setAppendPosition(std::int64_t n) {
    SetRecNum(n);
    appending = true;
}

bool TSetQuestions::SetLoaded() const {
    return FQuestionFileName != QStringLiteral("N/A");
}

std::string TSetQuestions::FilePath() const {
    return QFile::encodeName(FQuestionFileName).toStdString();
}

void TSetQuestions::ReportError(const std::string& text) {
    QString message = QString::fromLocal8Bit(text.c_str());
    // The box always names the set the failure happened in.
    if (!message.contains(FQuestionFileName)) message += QStringLiteral("\n") + FQuestionFileName;
    FServices.Dialogs.Error(this, message);
}

bool TSetQuestions::OpenSet(TQstFile& file) {
    const auto access = FReadOnly ? TQstFile::TAccess::Read : TQstFile::TAccess::ReadWrite;
    if (file.Open(FilePath(), access)) return true;
    ReportError(file.ErrorText());
    return false;
}

std::int64_t TSetQuestions::CountRecords(TQstFile& file) {
    const std::int64_t count = file.RecordCount();
    if (count < 0) ReportError(file.ErrorText());
    return count;
}

bool TSetQuestions::ShowRecord(TQstFile& file, std::int64_t r) {
    TQuestionRecord record;
    if (!file.Read(r, record)) {
        ReportError(file.ErrorText());
        return false;
    }
    FState.EditorRecord = record;
    shownStored = record;
    ShowBuffer();
    return true;
}

void TSetQuestions::ShowBuffer(bool questionToo) {
    const auto fields = Fields();
    for (std::size_t i = questionToo ? 0 : 1; i < fields.size(); ++i)
        fields[i]->setText(QtText::FromRecord(FState.EditorRecord.Field(i)));
}

void TSetQuestions::EmptyFields() {
    FEmptying = true;
    for (QLineEdit* field : Fields())
        field->clear();
    FEmptying = false;
}

bool TSetQuestions::StoredCopy(TQstFile& file, TQuestionRecord& copy) {
    if (appending) {
        copy = TQuestionRecord();
        return true;
    }
    TQuestionRecord record;
    if (!file.Read(FRecNum, record)) {
        ReportError(file.ErrorText());
        return false;
    }
    FState.EditorRecord = record;
    if (!(record == shownStored)) {
        // Another program changed the question under the window: say so rather than go on
        // from what is on the screen. Cancel shows it as it is now.
        FServices.Dialogs.Warning(this, ChangedMessage);
        return false;
    }
    copy = record;
    return true;
}

TSetQuestions::TWrite TSetQuestions::WriteFields(std::int64_t* countAfter, bool measure) {
    if (FReadOnly) {
        FServices.Dialogs.Information(this, ReadOnlyMessage);
        return TWrite::Refused;
    }
    // The header is never written here, whatever went wrong before.
    if (!appending && FRecNum < 1) return TWrite::Refused;
    // Build the record aside: the buffer changes only once the record is on the disk, so a
    // refused or failed write leaves Store enabled for another try.
    TQuestionRecord record = FState.EditorRecord;
    const auto fields = Fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string bytes;
        QString bad;
        if (!QtText::ToRecord(fields[i]->text(), bytes, &bad)) {
            FServices.Dialogs.Information(
                this, QStringLiteral("The character \"%1\" cannot be stored in a question file.")
                          .arg(bad));
            return TWrite::Refused;
        }
        if (bytes.size() > TQuestionRecord::Capacity) bytes.resize(TQuestionRecord::Capacity);
        record.Field(i) = std::move(bytes);
    }
    // Other writers of the set wait while this one measures, compares and writes.
    TQstFile file;
    if (!file.OpenLocked(FilePath(), TQstFile::TAccess::ReadWrite, lockWaitMs)) {
        if (file.LockBusy())
            FServices.Dialogs.Warning(this, BusyMessage);
        else
            ReportError(file.ErrorText());
        return TWrite::Failed;
    }
    const std::int64_t count = CountRecords(file);
    if (count < 0) return TWrite::Failed;
    // A new question goes to the real end of the set, behind whatever others appended.
    std::int64_t at = count;
    if (!appending) {
        at = FRecNum;
        TQuestionRecord onDisk;
        if (at >= count || !file.Read(at, onDisk) || !(onDisk == shownStored)) {
            FServices.Dialogs.Warning(this, ChangedMessage);
            return TWrite::Refused;
        }
    }
    if (!file.Write(at, record) || !file.Sync()) {
        ReportError(file.ErrorText());
        return TWrite::Failed;
    }
    const bool moved = appending && at != FRecNum;
    FState.EditorRecord = record;
    shownStored = record;
    SetRecNum(at);
    const std::int64_t after = std::max(count, at + 1);
    if (countAfter) *countAfter = after;
    // Store measures the set; it does so before the notice, which the window shows behind.
    if (measure) FState.RecordCount = after;
    if (moved) FServices.Dialogs.Information(this, StoredAtEndMessage.arg(at));
    return TWrite::Written;
}

bool TSetQuestions::FieldsDiffer(const TQuestionRecord& record) const {
    const auto fields = Fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i]->text() != QtText::FromRecord(record.Field(i))) return true;
    return false;
}

bool TSetQuestions::FieldsComplete() const {
    for (const QLineEdit* field : Fields())
        if (field->text().isEmpty()) return false;
    return true;
}

bool TSetQuestions::FieldsEmpty() const {
    for (const QLineEdit* field : Fields())
        if (!field->text().isEmpty()) return false;
    return true;
}

// ---- The save-changes step

TSetQuestions::TSaveOutcome TSetQuestions::SaveChanges() {
    FState.SaveProceed = true;
    const auto stop = [this](TSaveOutcome outcome) {
        FState.SaveProceed = false;
        return outcome;
    };
    TQstFile file;
    if (!OpenSet(file)) return stop(TSaveOutcome::Failed);
    TQuestionRecord stored;
    if (!StoredCopy(file, stored)) return stop(TSaveOutcome::Failed);
    if (FieldsEmpty()) return TSaveOutcome::Proceed;
    if (FieldsComplete()) {
        if (FieldsDiffer(stored) && FServices.Dialogs.Confirm(this, SaveQuestion)) {
            switch (WriteFields()) {
            case TWrite::Written:
                break;
            case TWrite::Refused:
                return stop(TSaveOutcome::Cancelled);
            case TWrite::Failed:
                return stop(TSaveOutcome::Failed);
            }
        }
        return TSaveOutcome::Proceed;
    }
    if (FServices.Dialogs.Confirm(this, DiscardQuestion, TMsgKind::Information))
        return TSaveOutcome::Proceed;
    return stop(TSaveOutcome::Cancelled);
}

bool TSetQuestions::SaveBeforeLeaving() {
    // A set that cannot be read any more cannot take the texts either: the failure has been
    // reported, and leaving it is the way on.
    return SaveChanges() != TSaveOutcome::Cancelled;
}

// ---- Handlers

void TSetQuestions::PreviousClick() {
    if (!SetLoaded()) return;
    if (SaveChanges() == TSaveOutcome::Failed) return;
    FState.AddReturnRecord = 0;
    if (!FState.SaveProceed) return;
    if (FRecNum <= 1) return;
    TQstFile file;
    if (OpenSet(file) && ShowRecord(file, FRecNum - 1)) SetRecNum(FRecNum - 1);
}

void TSetQuestions::NextClick() {
    if (!SetLoaded()) return;
    if (SaveChanges() == TSaveOutcome::Failed) return;
    FState.AddReturnRecord = 0;
    if (!FState.SaveProceed) return;
    // Next never moves from the append position.
    if (appending) return;
    TQstFile file;
    if (!OpenSet(file)) return;
    const std::int64_t count = CountRecords(file);
    if (count < 0) return;
    // Next never moves onto the append position.
    if (FRecNum >= count - 1) return;
    if (ShowRecord(file, FRecNum + 1)) SetRecNum(FRecNum + 1);
}

void TSetQuestions::AddClick() {
    if (!SetLoaded()) return;
    // Add is for complete fields with no Add pending; a second press of a double-click
    // comes before the timer has disabled the button, and is ignored here.
    if (!FieldsComplete() || FState.AddReturnRecord != 0) return;
    TQstFile file;
    TQuestionRecord stored;
    if (!OpenSet(file) || !StoredCopy(file, stored)) return;
    // Cancel returns to the question shown now, once it is in the file; a new question
    // whose texts are dropped leaves nothing to return to.
    std::int64_t returnTo = appending ? 0 : FRecNum;
    std::int64_t count = -1;
    if (FieldsDiffer(stored) && FServices.Dialogs.Confirm(this, SaveQuestion)) {
        if (WriteFields(&count) != TWrite::Written) return;
        returnTo = FRecNum;
    }
    // The append position; RecordCount is not measured again here.
    if (count < 0) count = CountRecords(file);
    if (count < 0) return;
    FState.AddReturnRecord = returnTo;
    setAppendPosition(count);
    EmptyFields();
    Add->setEnabled(false);
    Ques1->setFocus();
}

void TSetQuestions::StoreClick() {
    if (!SetLoaded()) return;
    TQstFile file;
    if (!OpenSet(file)) return;
    if (FieldsComplete()) {
        FState.AddReturnRecord = 0;
        // A written question has measured the set; a refused one is measured below.
        if (WriteFields(nullptr, true) != TWrite::Refused) return;
    } else {
        FServices.Dialogs.Information(this, IncompleteMessage);
    }
    const std::int64_t count = CountRecords(file);
    if (count < 0) return;
    FState.RecordCount = count;
}

void TSetQuestions::CancelClick() {
    if (!SetLoaded()) return;
    // A pending Add ends here, whatever follows.
    const std::int64_t returnTo = FState.AddReturnRecord;
    FState.AddReturnRecord = 0;
    TQstFile file;
    if (!OpenSet(file)) return;
    const std::int64_t count = CountRecords(file);
    if (count < 0) return;
    if (!appending) {
        // A stored question, as it is in the file now (or one the set has lost since: the
        // read reports it).
        ShowRecord(file, FRecNum);
    } else if (!FieldsEmpty()) {
        EmptyFields();
    } else if (returnTo >= 1 && returnTo < count) {
        if (ShowRecord(file, returnTo)) SetRecNum(returnTo);
    }
}
