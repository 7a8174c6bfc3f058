#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

enum class ExportFormat { Csv, Json };

// Writes every question of a set as UTF-8 on out: CSV with the header row
// question,answer,wrong1,wrong2,wrong3 (quoted where needed, LF line ends), or JSON in Open
// Trivia Database's shape, so that either imports back unchanged. Records a reader would
// trip on are exported as a reader sees them and reported on err. Returns 0, or 1 when the
// file cannot be read or is not a question set (nothing is written to out then), or when a
// read fails part way (out then holds the questions before it); 2 when it is not a regular
// file (a folder, pipe or device, refused without reading from it).
int exportQuestions(const std::string& path, ExportFormat format, std::ostream& out,
                    std::ostream& err);

// Receives the exported text piece by piece; false when it cannot take it (the export then
// stops with status 1).
using TextSink = std::function<bool(std::string_view)>;
int exportQuestions(const std::string& path, ExportFormat format, const TextSink& out,
                    std::ostream& err);
