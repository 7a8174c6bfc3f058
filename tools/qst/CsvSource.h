#pragma once

#include "ParsedSource.h"

#include <string_view>

// Reads questions from CSV (RFC 4180: comma separated, fields in double quotes may hold
// commas, quotes doubled and line breaks; CRLF, LF or CR line ends). The first row names the
// columns; it must name question, answer, wrong1, wrong2 and wrong3 (in any order, any letter
// case; further columns are ignored). Field texts are taken exactly as they stand. Blank
// lines are passed over; rows with too few or too many fields, or a quote that is never
// closed, are reported and skipped. Rows go to sink as they are read; the result says
// whether the file was rejected as a whole (no usable header row).
SourceError parseCsvSource(std::string_view utf8, SourceSink& sink);

// The same, collected at once.
ParsedSource parseCsvSource(std::string_view utf8);
