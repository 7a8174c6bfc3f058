#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The set a topic's question file compiles to: its file name (the source's name in capitals
// with the extension .QST) and the topic its header names. "arts.txt" gives "ARTS.QST" and
// "Arts"; "pop-culture.txt" gives "POP-CULTURE.QST" and "Pop culture".
struct TopicSet {
    std::string fileName;
    std::string topic;
};

// The set of one source file, or nothing (with the reason in why) when its name is not made
// of letters, digits, "-" and "_", or would give REGD.QST, the game's own set.
std::optional<TopicSet> topicSetOf(const std::string& sourcePath, std::string& why);

// "trivora-qst sets SOURCE... -d DIR [--strict] [--dry-run]": builds one set per source in
// DIR, each named and headed after its topic. args[0] is "sets". Returns the exit status.
int runSetsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
