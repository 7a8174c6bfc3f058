#pragma once

#include "QuestionRecord.h"

#include <string>
#include <vector>

// Small question files for tests.
namespace QstFixtures {

// A question record with five texts (UTF-8 in, stored as Windows-1252).
QuestionRecord question(const std::string& question, const std::string& answer,
                        const std::string& wrong1, const std::string& wrong2,
                        const std::string& wrong3);
// "Question n" with answer "Right n" and wrong answers "Wrong n.1" ... "Wrong n.3".
QuestionRecord numbered(int n);

// Writes a set: the header followed by the records (raw bytes exactly as encoded).
// The bytes of a set: the header record, then the questions.
std::string setBytes(const std::vector<QuestionRecord>& questions);
void writeSet(const std::string& path, const std::vector<QuestionRecord>& questions);
// A set of n numbered questions.
void writeNumberedSet(const std::string& path, int n);
// Writes raw bytes.
void writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);

} // namespace QstFixtures
