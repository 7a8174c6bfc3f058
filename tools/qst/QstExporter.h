#pragma once

#include <ostream>
#include <string>

enum class TExportFormat { Csv, Json };

// Writes every question of a set as UTF-8 on out: CSV with the header row
// question,answer,wrong1,wrong2,wrong3 (quoted where needed, LF line ends), or JSON in Open
// Trivia Database's shape, so that either imports back unchanged. Records a reader would
// trip on are exported as a reader sees them and reported on err. Returns 0, or 1 when the
// file cannot be read or is not a question set (nothing is written to out then), or when a
// read fails part way (out then holds the questions before it).
int ExportQuestions(const std::string& path, TExportFormat format, std::ostream& out,
                    std::ostream& err);
