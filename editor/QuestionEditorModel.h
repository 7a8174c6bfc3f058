#pragma once

#include "QstFile.h"
#include "QuestionEditorState.h"
#include "QuestionSet.h"

#include <QObject>
#include <QScopeGuard>
#include <QString>

#include <array>
#include <cstdint>
#include <string>

class Dialogs;
class QWidget;
class ScoreStore;

// What the question editor does, without its window: the set being edited, the question shown
// and the five texts typed for it, and the commands that step through the set, append,
// store and cancel. It keeps no list of records: every command opens the set by name and
// reads or writes one record. It asks the user and reports through the dialogs it is given,
// and tells the window what to show: viewChanged after each command or typed text that changed
// it, and before each box it shows.
class QuestionEditorModel : public QObject {
    Q_OBJECT
public:
    static constexpr int fieldCount = 5;
    // The five texts in record order: question, answer, three wrong answers.
    using Fields = std::array<QString, fieldCount>;

    // questionFile is the set the game uses ("N/A": none); the model keeps its own copy and
    // never writes the game's. state outlives the model.
    QuestionEditorModel(Dialogs& dialogs, QuestionEditorState& state, const QString& questionFile,
                        QObject* parent = nullptr);

    // The window the dialogs are shown over (none: no parent).
    void setDialogParent(QWidget* parent) { dialogParent = parent; }
    // How long a write waits for another program that is writing the set.
    void setLockWaitMs(int ms) { lockWaitMs = ms; }
    // Where the figures of the questions come from (how often each was asked and answered
    // right), given before a set is opened; none: no figures are shown.
    void setScoreStore(ScoreStore* store) { scoreStore = store; }

    // ---- Commands
    // Opens the set the game names (REGD.QST of the current folder when it names none) and
    // shows its last question; a fresh start forgets the count, a pending Add and the search.
    void openStartingSet();
    // New Question Set: a new file holding only the header, at its first question's place.
    void createSet();
    // Load Question Set: another set, at its last question.
    void loadSet();
    void showPreviousQuestion();
    void showNextQuestion();
    // Add: stores changed texts if the user says so, then moves to the append position with
    // empty fields. True when it moved there.
    bool addQuestion();
    // Store: writes the texts over the question shown, or appends them as a new question.
    void storeQuestion();
    // Cancel: the question as it is in the set, empty fields, or back to before a pending Add.
    void cancelChanges();
    // The save-changes step before leaving for another set or the game: true when the
    // editor may go on.
    bool saveBeforeLeaving();
    // Find Next: a question by its number, or the next question that holds the text.
    void findNext(const QString& text);
    // The user changed text i. Without a set nothing may be typed: all texts are emptied.
    void setField(int i, const QString& text);

    // ---- What it holds
    const Fields& fields() const { return fieldTexts; }
    // The number of the question shown, or the append position of a new question.
    std::int64_t recordNumber() const { return shownRecord; }
    // The set being edited, "N/A" when there is none.
    const QString& questionFile() const { return setFile; }
    bool isSetLoaded() const;
    // The set was found read-only: it is shown and searched but never written.
    bool isReadOnly() const { return readOnly; }

    // What the window shows and which commands it offers.
    struct View {
        QString setName;  // the set's path, or "* NO DATAFILE LOADED *"
        QString position; // "12/40", "Question : 41", empty without a set
        // How the question shown has fared in games: "asked 12 times, 25 % right", "not
        // asked yet"; empty for a new question, without a set or without figures.
        QString figures;
        bool previousEnabled = false;
        bool nextEnabled = false;
        bool addEnabled = false;
        // The texts differ from the record last read or written: Store and Cancel.
        bool storeEnabled = false;
        bool searchEnabled = false;
        bool fieldsEnabled = false;

        bool operator==(const View&) const = default;
    };
    // The view last told to the window.
    const View& view() const { return toldView; }

    // The texts that tell the user about the set.
    static const QString noDataFileText;  // "* NO DATAFILE LOADED *"
    static const QString readOnlyMessage; // a read-only set is browsed, never written
    // Another program changed the question shown; nothing was stored over it.
    static const QString changedMessage;
    // Another program is writing the set right now; nothing was stored.
    static const QString busyMessage;
    // A text is longer than a record holds (%1: which, %2: its length); nothing was stored.
    static const QString tooLongMessage;
    // The set grew while a new question was typed: it went to the real end (%1: its number).
    static const QString storedAtEndMessage;

signals:
    // The texts were replaced by the model (a question shown, emptied).
    void fieldsChanged();
    // What the window shows changed; view is what it shows now.
    void viewChanged(const QuestionEditorModel::View& view);

private:
    // How a save-changes step ended.
    enum class SaveOutcome {
        Proceed,   // nothing to save, saved, or dropped at the user's word
        Cancelled, // the user keeps the fields (or they could not be stored)
        Failed     // an input/output failure, already reported
    };

    // The view of the state now, as the window is to show it.
    View currentView();
    // Tells the window the view of the state now, when it differs from the one it shows.
    void tellView();
    // Tells the view once the command that calls it has ended, whichever way it ends.
    [[nodiscard]] auto tellViewAtEnd() {
        return qScopeGuard([this] { tellView(); });
    }
    // The dialogs, for a box shown over a window that shows the state as it is then.
    Dialogs& dialogs();
    // No set any more: the name says so and the texts are emptied, as nothing may be typed.
    void dropSet();

    // Asks before the texts are left for another question (and stores them at the user's
    // Yes).
    SaveOutcome saveChanges();
    void showQuestionNumber(std::int64_t n);
    void showAppendPosition(std::int64_t n);
    std::string filePath() const;
    // Opens the set (for reading only when it is read-only); reports a failure.
    bool openSet(QstFile& file);
    // Records in the open set, or -1 after reporting the failure in the general error box.
    std::int64_t countRecords(QstFile& file);
    // Reports an input/output failure in the application's general error box.
    void reportError(const std::string& text);
    // Reads record r into the record buffer and shows it in the texts.
    bool showRecord(QstFile& file, std::int64_t r);
    // The record buffer into the texts (the answers only, without questionToo).
    void showRecordBuffer(bool questionToo = true);
    void emptyFields();
    // The stored copy of the question shown (empty at the append position); Changed, after
    // the warning, when another program changed it since it was shown here.
    enum class CopyResult { Read, Changed, Failed };
    CopyResult storedCopy(QstFile& file, QuestionRecord& copy);
    // The texts as the record to write over the question shown, or to append. Refuses, with
    // a message, a read-only set, a character a question file cannot hold and a text longer
    // than a record holds (and, silently, the header).
    bool fieldsAsRecord(QuestionRecord& record);
    // Opens the set for writing under the writers' lock; says so when another program holds
    // it, and reports a failure.
    bool openForWriting(QstFile& file);
    // Writes the record over the question shown, or as a new question at the real end of the
    // set, into the set opened for writing, and flushes it to the disk. Refuses, with a
    // message, a question that another program changed since it was shown here. The question
    // number becomes where the question went. The count of records the set holds after the
    // write goes to countAfter, and with measure (written or refused) to the state's record
    // count as well. The file is closed before any box, so no writer waits on the user.
    enum class WriteResult { Written, Refused, Failed };
    WriteResult writeRecord(QstFile& file, const QuestionRecord& record, std::int64_t* countAfter,
                            bool measure);
    // The three steps above, for a save prompt: the texts go in, nothing is measured.
    WriteResult writeFields(std::int64_t* countAfter = nullptr);
    // After a set was accepted: shows its last question (or the append position of an empty
    // set); a set whose first read fails is dropped ("N/A") rather than left half shown.
    void showLastQuestion(std::int64_t count);
    // Texts compared with a record, exactly.
    bool fieldsDiffer(const QuestionRecord& record) const;
    bool fieldsComplete() const;
    bool fieldsEmpty() const;
    // Accepts or rejects a set after it was checked; shows the reader's message.
    bool takeCheckedSet(const QstCheckResult& check, const ReaderRuleSet& rules);
    // The figures line of the question shown (see View::figures), read again only when the
    // set or the question changes.
    QString figuresOfShownQuestion();
    // The set as the figures know it, by its header: read once when a set is taken, so that
    // no later command opens the set again for it.
    void readFiguresSet();

    Dialogs& dialogSeam;
    QWidget* dialogParent = nullptr;
    QuestionEditorState& editorState;
    QString setFile;
    Fields fieldTexts;
    std::int64_t shownRecord = 0;
    // The shown record is a new question, not yet in the file.
    bool appending = false;
    // The question shown as it was in the file when it was last read or written here.
    QuestionRecord shownStored;
    int lockWaitMs = 2000;
    bool readOnly = false;
    ScoreStore* scoreStore = nullptr;
    // The set the figures are read for, and its file.
    QuestionSet figuresSet;
    QString figuresSetFile;
    // The question whose figures were read last ("set path" and "question"), and its line.
    QString figuresKey;
    QString figuresText;
    View toldView;
};
