#pragma once

#include "ParsedSource.h"

#include <string_view>

// Reads questions from a JSON document as Open Trivia Database gives them out:
// {"response_code":0,"results":[{"type":"multiple","question":...,"correct_answer":...,
// "incorrect_answers":[...]}]}. Texts have their HTML character references decoded.
// True/false questions and entries of any other shape are reported and skipped; a document
// of another shape, or one whose response_code reports a failure, is rejected as a whole.
TParsedSource ParseOtdbSource(std::string_view utf8);
