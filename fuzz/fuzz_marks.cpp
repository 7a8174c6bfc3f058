// The marks file beside a set, on any bytes: a file is read whole or refused with the line at
// fault, and marks read, written again line by line, read back as the same marks.
#include "Difficulty.h"
#include "FuzzCheck.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<QuestionMark> marks;
    std::string error;
    if (!parseMarks(text, marks, error)) {
        fuzz::require(error.starts_with("line "), "a refusal names its line");
        return 0;
    }
    std::string again;
    for (const QuestionMark& m : marks)
        again += markLine(m.mark, m.question);
    std::vector<QuestionMark> back;
    fuzz::require(parseMarks(again, back, error), "marks written read back");
    fuzz::require(back.size() == marks.size(), "one line per question");
    for (std::size_t i = 0; i < marks.size(); ++i) {
        fuzz::require(back[i].mark == marks[i].mark, "the mark is kept");
        fuzz::require(back[i].question == markedQuestionText(marks[i].question),
                      "the question is kept, on one line");
    }
    return 0;
}
