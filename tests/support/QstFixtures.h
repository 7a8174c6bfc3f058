#pragma once

#include "QuestionRecord.h"

#include <string>
#include <vector>

// Small question files for tests.
namespace QstFixtures {

// A question record with five texts (UTF-8 in, stored as Windows-1252).
TQuestionRecord Question(const std::string& question, const std::string& answer,
                         const std::string& wrong1, const std::string& wrong2,
                         const std::string& wrong3);
// "Question n" with answer "Right n" and wrong answers "Wrong n.1" ... "Wrong n.3".
TQuestionRecord Numbered(int n);

// Writes a set: the header followed by the records (raw bytes exactly as encoded).
void WriteSet(const std::string& path, const std::vector<TQuestionRecord>& questions);
// A set of n numbered questions.
void WriteNumberedSet(const std::string& path, int n);
// Writes raw bytes.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

} // namespace QstFixtures
