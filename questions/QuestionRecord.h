#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// One record of a question file: five length-prefixed strings of at most 75 characters,
// 380 bytes on disk. Texts are held as Windows-1252 bytes, exactly as stored.
struct QuestionRecord {
    static constexpr std::size_t Size = 380;
    static constexpr std::size_t Capacity = 75;
    static constexpr std::size_t FieldCount = 5;
    static constexpr std::string_view HeaderText = "Genuine Data File!";

    std::string question;
    std::string answer;
    std::string wrong1;
    std::string wrong2;
    std::string wrong3;

    // Field i, 0 to 4, in record order (Question, Answer, Wrong1, Wrong2, Wrong3).
    std::string& field(std::size_t i);
    const std::string& field(std::size_t i) const;

    // The 380 bytes: each field's length byte, its text, then zeros up to its capacity.
    // Longer texts are cut to 75 characters.
    std::array<std::uint8_t, Size> encode() const;
    // Reads 380 bytes; a length byte above 75 counts as 75, so nothing outside the field is
    // ever looked at.
    static QuestionRecord decode(const std::uint8_t* bytes);

    // The header record that opens every set.
    static QuestionRecord header();
    // Record 0 is a header: its question field is exactly the header text (case and length).
    bool isHeader() const { return question == HeaderText; }

    // All five fields non-empty.
    bool complete() const;

    bool operator==(const QuestionRecord&) const = default;
};
