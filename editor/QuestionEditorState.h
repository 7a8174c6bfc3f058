#pragma once

#include "QuestionRecord.h"

#include <QString>

#include <cstdint>

// The editor's state that lives for the whole run of the program, not only while the editor
// window is open. The game screen owns it; each new editor window resets most of it.
struct QuestionEditorState {
    // Records in the set, header included, as last measured.
    std::int64_t recordCount = 0;
    // The question shown when Add was pressed; 0 = no Add pending.
    std::int64_t addReturnRecord = 0;
    // The last record the editor read from or wrote to the file.
    QuestionRecord recordBuffer;
    // Record number of the last hit of the text search; 0 = start at the first question.
    std::int64_t searchPosition = 0;
    // The text of the previous search, exactly as typed.
    QString lastSearchText;
};
