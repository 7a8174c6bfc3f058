#pragma once

#include "ParsedSource.h"

#include <string_view>

// Reads questions from a JSON document as Open Trivia Database gives them out:
// {"response_code":0,"results":[{"type":"multiple","question":...,"correct_answer":...,
// "incorrect_answers":[...]}]}. Texts have their HTML character references decoded.
// True/false questions and entries of any other shape are reported and skipped; a document
// of another shape, one that is not valid JSON, nests deeper than 256 levels, or whose
// response_code reports a failure, is rejected as a whole. The document is read as a stream
// of events, never built as a tree: memory stays at the size of one entry.
SourceError parseOtdbSource(std::string_view utf8, SourceSink& sink);

// The same, collected at once.
ParsedSource parseOtdbSource(std::string_view utf8);
