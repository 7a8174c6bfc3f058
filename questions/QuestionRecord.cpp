#include "QuestionRecord.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

std::string& QuestionRecord::field(std::size_t i) {
    return const_cast<std::string&>(std::as_const(*this).field(i));
}

const std::string& QuestionRecord::field(std::size_t i) const {
    switch (i) {
    case 0:
        return question;
    case 1:
        return answer;
    case 2:
        return wrong1;
    case 3:
        return wrong2;
    case 4:
        return wrong3;
    }
    throw std::out_of_range("question record field");
}

std::array<std::uint8_t, QuestionRecord::Size> QuestionRecord::encode() const {
    std::array<std::uint8_t, Size> out{};
    for (std::size_t i = 0; i < FieldCount; ++i) {
        const std::string& text = field(i);
        const std::size_t len = std::min(text.size(), Capacity);
        const std::size_t at = i * (Capacity + 1);
        out[at] = static_cast<std::uint8_t>(len);
        std::copy_n(reinterpret_cast<const std::uint8_t*>(text.data()), len, out.begin() + at + 1);
    }
    return out;
}

QuestionRecord QuestionRecord::decode(const std::uint8_t* bytes) {
    QuestionRecord rec;
    for (std::size_t i = 0; i < FieldCount; ++i) {
        const std::size_t at = i * (Capacity + 1);
        const std::size_t len = std::min<std::size_t>(bytes[at], Capacity);
        rec.field(i).assign(reinterpret_cast<const char*>(bytes + at + 1), len);
    }
    return rec;
}

QuestionRecord QuestionRecord::header() {
    QuestionRecord rec;
    rec.question = std::string(HeaderText);
    return rec;
}

bool QuestionRecord::complete() const {
    for (std::size_t i = 0; i < FieldCount; ++i)
        if (field(i).empty()) return false;
    return true;
}
