#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// What a reader of a question set would trip on in record number (a question record): an
// empty field or a length byte above 75, one line each, e.g. "record 30: answer length byte
// 255 (read as 75)".
std::vector<std::string> recordProblems(std::int64_t number, const std::uint8_t* bytes);

// Describes a question set on out: its record count, whether the header is sound, a line per
// problem record and any bytes after the last whole record. Returns 0 when the game can use
// the set, 1 when it cannot (missing, unreadable, fewer than 2 records, bad header), 2 when
// it is not a regular file (a folder, pipe or device, refused without reading from it).
int inspectQuestions(const std::string& path, std::ostream& out, std::ostream& err);
