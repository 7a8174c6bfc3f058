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

// What "trivora-qst sets SOURCE... -d DIR [--strict] [--dry-run]" is given.
struct SetsOptions {
    std::vector<std::string> sources;
    // The folder for the sets; may be empty only for a dry run.
    std::string dir;
    bool strict = false;
    bool dryRun = false;
};

// Builds one set per source in the folder, each named and headed after its topic and read
// and checked as an import. Misuse, a name that makes no set, or two sources of one set
// name exit 2 before anything is written. Returns the exit status.
int buildTopicSets(const SetsOptions& options, std::ostream& err);
