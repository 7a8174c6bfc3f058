#pragma once

#include "EditorServices.h"
#include "EditorState.h"
#include "QstFile.h"
#include "Timer.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class TEditorFindDialog;
class TImage;
class TLabel;
class TPanel;

// The question editor, "Question Database": creates question sets, loads them, steps through
// their questions, changes and appends questions and stores them. It keeps no list of records:
// every operation opens the set by name and reads or writes one record. A 250 ms timer derives
// from the record shown, the five texts and the last record read or written what the window
// shows and which buttons may be used.
class TSetQuestions : public QMainWindow {
    Q_OBJECT
public:
    // questionFileName is the set in use, shared with the game ("N/A": none); state outlives
    // the window. Creation opens the set (FormCreate).
    TSetQuestions(TEditorServices services, TEditorState& state, QString& questionFileName,
                  QWidget* parent = nullptr);
    ~TSetQuestions() override;

    // How the save-changes step ended.
    enum class TSaveOutcome {
        Proceed,   // nothing to save, saved, or dropped at the user's word
        Cancelled, // the user keeps the fields (or they could not be stored)
        Failed     // an input/output failure, already reported
    };

    // ---- Window (Setques.cpp)
    void FormCreate();
    void FormActivate();
    void FormResize();
    void Timer1Timer();
    void Ques1Change();
    void FocusChange();
    void NewQuestionSet1Click();
    void LoadQuestionSet1Click();
    void QuittoGame1Click();
    void Instructions1Click();

    // ---- Records (SetquesRecords.cpp)
    void PreviousClick();
    void NextClick();
    void AddClick();
    void StoreClick();
    void CancelClick();
    TSaveOutcome SaveChanges();

    // ---- Search (EditorSearch.cpp)
    void SearchClick();
    void FindDialog1Find();

    // The number of the record shown (the caption of the hidden label RecNum).
    std::int64_t RecordNumber() const { return FRecNum; }
    // The set was found read-only: it is shown and searched but never written.
    bool SetReadOnly() const { return FReadOnly; }
    bool ResizeSeen() const { return FResizeSeen; }
    TEditorState& State() { return FState; }

    // The texts that tell the user about the set.
    static const QString NoDataFile;      // "* NO DATAFILE LOADED *"
    static const QString ReadOnlyMessage; // a read-only set is browsed, never written
    // Another program changed the question shown; nothing was stored over it.
    static const QString ChangedMessage;
    // Another program is writing the set right now; nothing was stored.
    static const QString BusyMessage;
    // The set grew while a new question was typed: it went to the real end (%1: its number).
    static const QString StoredAtEndMessage;

    // How long a write waits for another program that is writing the set.
    void setLockWaitMs(int ms) { lockWaitMs = ms; }

    // ---- Controls
    TPanel* BackPanel = nullptr;
    TPanel* Panel4 = nullptr;
    TImage* Image1 = nullptr;
    TPanel* EntryPanel = nullptr;
    TLabel* FileNameDesc = nullptr;
    TLabel* Position = nullptr;
    TLabel* H1 = nullptr;
    TLabel* H2 = nullptr;
    QLineEdit* Ques1 = nullptr;
    QLineEdit* An1 = nullptr;
    QLineEdit* An2 = nullptr;
    QLineEdit* An3 = nullptr;
    QLineEdit* An4 = nullptr;
    QPushButton* Previous = nullptr;
    QPushButton* Next = nullptr;
    QPushButton* Search = nullptr;
    QPushButton* Add = nullptr;
    QPushButton* Store = nullptr;
    QPushButton* Cancel = nullptr;
    TLabel* RecNum = nullptr;
    QLineEdit* Focus = nullptr;
    TEditorFindDialog* FindDialog1 = nullptr;

    QMenu* File1 = nullptr;
    QAction* NewQuestionSet1 = nullptr;  // "&New Question Set"
    QAction* LoadQuestionSet1 = nullptr; // "&Load Question Set"
    QAction* QuittoGame1 = nullptr;      // "&Close"
    QMenu* Help1 = nullptr;
    QAction* Instructions1 = nullptr; // "&Instructions"

    std::unique_ptr<TTimer> Timer1;

    // The five fields in record order: Ques1, An1, An2, An3, An4.
    std::array<QLineEdit*, 5> Fields() const { return {Ques1, An1, An2, An3, An4}; }

    static constexpr int TimerIntervalMs = 250;
    static constexpr int ClientWidth = 640;
    static constexpr int ClientHeight = 442;
    static constexpr int FieldLength = 75;

signals:
    // The window has closed; it is destroyed right after.
    void Closed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateControls();
    void CreateMenu();
    void WireHandlers();

    // The steps the handlers share (SetquesRecords.cpp).
    // Shows a stored question's number, or the append position of a new question.
    void SetRecNum(std::int64_t n);
    void setAppendPosition(std::int64_t n);
    bool SetLoaded() const;
    std::string FilePath() const;
    // Opens the set (for reading only when it is read-only); reports a failure.
    bool OpenSet(TQstFile& file);
    // Records in the open set, or -1 after reporting the failure in the general error box.
    std::int64_t CountRecords(TQstFile& file);
    // Reports an input/output failure in the application's general error box.
    void ReportError(const std::string& text);
    // Reads record r into EditorRecord and shows it in the fields.
    bool ShowRecord(TQstFile& file, std::int64_t r);
    void ShowBuffer(bool questionToo = true);
    void EmptyFields();
    // The stored copy of the shown record (empty at the append position).
    bool StoredCopy(TQstFile& file, TQuestionRecord& copy);
    // Writes the fields over the question shown, or as a new question at the real end of
    // the set, under the writers' lock, and flushes them to the disk. Refuses, with a
    // message, a read-only set, a character a question file cannot hold, and a question
    // that another program changed since it was shown here. Sets RecNum to where the
    // question went; the count of records after the write goes to countAfter, and with
    // measure to RecordCount as well.
    enum class TWrite { Written, Refused, Failed };
    TWrite WriteFields(std::int64_t* countAfter = nullptr, bool measure = false);
    // After a set was accepted: shows its last question (or the append position of an empty
    // set); a set whose first read fails is dropped ("N/A") rather than left half shown.
    void ShowFirstRecord(std::int64_t count);
    // Fields compared with a record, exactly.
    bool FieldsDiffer(const TQuestionRecord& record) const;
    bool FieldsComplete() const;
    bool FieldsEmpty() const;
    // The save-changes step before leaving the record for another set or the game: only
    // the user's No to a partial record, or a record that could not be stored, keeps them.
    bool SaveBeforeLeaving();
    // Accepts or rejects a set after it was checked; shows the reader's message.
    bool TakeCheckedSet(const TQstCheckResult& check, const TReaderRules& rules);

    TEditorServices FServices;
    TEditorState& FState;
    QString& FQuestionFileName;
    std::int64_t FRecNum = 0;
    // The shown record is a new question, not yet in the file.
    bool appending = false;
    // The question shown as it was in the file when it was last read or written here.
    TQuestionRecord shownStored;
    int lockWaitMs = 2000;
    bool FResizeSeen = false;
    bool FReadOnly = false;
    bool FEmptying = false;
};
