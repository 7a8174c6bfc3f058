#include "TopicSets.h"

#include "QstImporter.h"
#include "QstTool.h"

#include <algorithm>
#include <set>

std::optional<TopicSet> topicSetOf(const std::string& sourcePath, std::string& why) {
    const std::size_t slash = sourcePath.rfind('/');
    const std::string name = sourcePath.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::string stem = name.substr(0, name.rfind('.'));
    bool usable = !stem.empty();
    for (char c : stem)
        usable = usable && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '_');
    if (!usable) {
        why = "cannot name a set after '" + name +
              "' (a topic's file name is made of letters, digits, - and _)";
        return std::nullopt;
    }
    TopicSet set;
    for (char c : stem)
        set.fileName += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    if (set.fileName == "REGD") {
        why = "'" + name + "' would make REGD.QST, the game's own set of all topics";
        return std::nullopt;
    }
    set.fileName += ".QST";
    for (char c : stem)
        set.topic += (c == '-' || c == '_')   ? ' '
                     : (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32)
                                              : c;
    if (set.topic[0] >= 'a' && set.topic[0] <= 'z')
        set.topic[0] = static_cast<char>(set.topic[0] - 32);
    return set;
}

int buildTopicSets(const SetsOptions& options, std::ostream& err) {
    if (options.sources.empty()) return usageError(err, "sets needs at least one SOURCE");
    if (options.dir.empty() && !options.dryRun)
        return usageError(err, "sets needs -d DIR (or --dry-run)");

    // Every name first, so that a bad one or two sources of one name make nothing at all.
    std::vector<TopicSet> sets;
    std::set<std::string> names;
    std::string why;
    for (const std::string& source : options.sources) {
        auto set = topicSetOf(source, why);
        if (!set) return usageError(err, why);
        if (!names.insert(set->fileName).second)
            return usageError(err, "two sources would make " + set->fileName);
        if (formatOfSource(source, SourceFormat::Auto) == SourceFormat::Auto)
            return usageError(err, source + ": cannot tell the format from the name (use .csv, "
                                            ".json or .txt)");
        sets.push_back(std::move(*set));
    }

    int status = 0;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        ImportOptions import;
        import.sources = {options.sources[i]};
        import.m_output =
            options.dir.empty() ? std::string() : options.dir + "/" + sets[i].fileName;
        import.dryRun = options.dryRun;
        import.strict = options.strict;
        import.title = sets[i].topic;
        status = std::max(status, importQuestions(import, err));
    }
    return status;
}
