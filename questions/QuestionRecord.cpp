#include "QuestionRecord.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

std::string& TQuestionRecord::Field(std::size_t i) {
    return const_cast<std::string&>(std::as_const(*this).Field(i));
}

const std::string& TQuestionRecord::Field(std::size_t i) const {
    switch (i) {
    case 0:
        return Question;
    case 1:
        return Answer;
    case 2:
        return Wrong1;
    case 3:
        return Wrong2;
    case 4:
        return Wrong3;
    }
    throw std::out_of_range("question record field");
}

std::array<std::uint8_t, TQuestionRecord::Size> TQuestionRecord::Encode() const {
    std::array<std::uint8_t, Size> out{};
    for (std::size_t i = 0; i < FieldCount; ++i) {
        const std::string& text = Field(i);
        const std::size_t len = std::min(text.size(), Capacity);
        const std::size_t at = i * (Capacity + 1);
        out[at] = static_cast<std::uint8_t>(len);
        std::copy_n(reinterpret_cast<const std::uint8_t*>(text.data()), len, out.begin() + at + 1);
    }
    return out;
}

TQuestionRecord TQuestionRecord::Decode(const std::uint8_t* bytes) {
    TQuestionRecord rec;
    for (std::size_t i = 0; i < FieldCount; ++i) {
        const std::size_t at = i * (Capacity + 1);
        const std::size_t len = std::min<std::size_t>(bytes[at], Capacity);
        rec.Field(i).assign(reinterpret_cast<const char*>(bytes + at + 1), len);
    }
    return rec;
}

TQuestionRecord TQuestionRecord::Header() {
    TQuestionRecord rec;
    rec.Question = std::string(HeaderText);
    return rec;
}

bool TQuestionRecord::Complete() const {
    for (std::size_t i = 0; i < FieldCount; ++i)
        if (Field(i).empty()) return false;
    return true;
}
