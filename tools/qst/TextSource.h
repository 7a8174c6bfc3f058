#pragma once

#include "ParsedSource.h"

#include <string_view>

// Reads the plain-text question format: blocks of
//
//   #Q question
//   #D easy, medium or hard (may be left out)
//   ^ correct answer
//   A option
//   B option
//   C option
//   D option
//
// separated by blank lines, where one of A to D equals the correct answer and the other three
// become the wrong answers in A-to-D order; the #D line gives the question's difficulty mark
// and may stand anywhere after the #Q line. Lines starting with "//" are comments. Blanks
// around a marker's text are dropped; a block of any other shape is reported with its line
// and skipped. Rows go to sink block by block; the format has no fault that rejects a file as
// a whole.
void parseTextSource(std::string_view utf8, SourceSink& sink);

// The same, collected at once.
ParsedSource parseTextSource(std::string_view utf8);
