#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// One record of a question file: five length-prefixed strings of at most 75 characters,
// 380 bytes on disk. Texts are held as Windows-1252 bytes, exactly as stored.
struct TQuestionRecord {
    static constexpr std::size_t Size = 380;
    static constexpr std::size_t Capacity = 75;
    static constexpr std::size_t FieldCount = 5;
    static constexpr std::string_view HeaderText = "Genuine Data File!";

    std::string Question;
    std::string Answer;
    std::string Wrong1;
    std::string Wrong2;
    std::string Wrong3;

    // Field i, 0 to 4, in record order (Question, Answer, Wrong1, Wrong2, Wrong3).
    std::string& Field(std::size_t i);
    const std::string& Field(std::size_t i) const;

    // The 380 bytes: each field's length byte, its text, then zeros up to its capacity.
    // Longer texts are cut to 75 characters.
    std::array<std::uint8_t, Size> Encode() const;
    // Reads 380 bytes; a length byte above 75 counts as 75, so nothing outside the field is
    // ever looked at.
    static TQuestionRecord Decode(const std::uint8_t* bytes);

    // The header record that opens every set.
    static TQuestionRecord Header();
    // Record 0 is a header: its question field is exactly the header text (case and length).
    bool IsHeader() const { return Question == HeaderText; }

    // All five fields non-empty.
    bool Complete() const;

    bool operator==(const TQuestionRecord&) const = default;
};
