#pragma once

#include "QuestionRecord.h"

#include <QString>

#include <cstdint>

// The editor's state that lives for the whole run of the program, not only while the editor
// window is open. The game screen owns it; each new editor window resets most of it.
struct TEditorState {
    // Records in the set, header included, as last measured.
    std::int64_t RecordCount = 0;
    // The record shown when Add was pressed; 0 = no Add pending.
    std::int64_t AddReturnRecord = 0;
    // The last record the editor read from or wrote to the file.
    TQuestionRecord EditorRecord;
    // Outcome of the save-changes step: the move may go on.
    bool SaveProceed = true;
    // Record number of the last hit of the text search; 0 = start at the first question.
    std::int64_t SearchPosition = 0;
    // The text of the previous search, exactly as typed.
    QString LastSearchText;
};
