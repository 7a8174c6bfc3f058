#include "QstImporter.h"
#include "QstText.h"
#include "TextSource.h"
#include "TopicSets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The checked-out sources: the tree named by TRIVORA_SOURCE_DIR, else this build's own.
std::filesystem::path sourceRoot() {
    const char* root = std::getenv("TRIVORA_SOURCE_DIR");
    if (!root || !*root) root = TRIVORA_DEFAULT_SOURCE_DIR;
    return root;
}

std::filesystem::path questionFolder() {
    return sourceRoot() / "data" / "questions";
}

// The shipped question files, one per topic, sorted.
std::vector<std::string> questionFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(questionFolder()))
        if (entry.path().extension() == ".txt") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string readText(const std::filesystem::path& path) {
    std::string bytes, error;
    EXPECT_EQ(QstText::readWholeFile(path.string(), bytes, error, 1 << 24), QstText::Read::Read)
        << error;
    return bytes;
}

TEST(ShippedQuestions, EveryQuestionInDataMeetsTheRulesOfASet) {
    // The shipped question files parse cleanly and every question in them would be taken
    // by the strict import the build runs: well-formed blocks, five non-empty fields of at
    // most 75 Windows-1252 characters, distinct answers and no question twice in any file.
    const std::vector<std::string> files = questionFiles();
    ASSERT_FALSE(files.empty()) << "no question files in " << questionFolder();

    ImportOptions options;
    options.sources = files;
    options.dryRun = true;
    options.strict = true;
    std::ostringstream err;
    ImportSummary summary;
    EXPECT_EQ(importQuestions(options, err, &summary), 0) << err.str();
    EXPECT_EQ(summary.skipped, 0u) << err.str();
    EXPECT_GT(summary.imported, 0u);
}

TEST(ShippedQuestions, EveryQuestionIsMarkedAndEachDifficultyHoldsAboutAThird) {
    // Every shipped question carries a #D mark, and easy, medium and hard each hold between
    // 20 % and 47 % of all questions.
    std::map<Difficulty, std::size_t> count;
    std::size_t total = 0;
    std::string unmarked;
    for (const std::string& file : questionFiles()) {
        const ParsedSource parsed = parseTextSource(QstText::decodeInput(readText(file)));
        for (const SourceRow& row : parsed.rows) {
            ++count[row.mark];
            ++total;
            if (row.mark == Difficulty::None && count[row.mark] <= 20)
                unmarked += file + ":" + std::to_string(row.line) + "\n";
        }
    }
    ASSERT_GT(total, 0u);
    EXPECT_EQ(count[Difficulty::None], 0u) << "questions without a #D line, the first:\n"
                                           << unmarked;
    for (Difficulty mark : {Difficulty::Easy, Difficulty::Medium, Difficulty::Hard}) {
        SCOPED_TRACE(std::string(difficultyName(mark)));
        const double share = 100.0 * static_cast<double>(count[mark]) / static_cast<double>(total);
        EXPECT_GE(share, 20.0);
        EXPECT_LE(share, 47.0);
    }
}

TEST(ShippedQuestions, TheHelpAndTheReadmeNameEveryTopicSet) {
    // Each topic file makes a set the build can name, and the help and the README list it.
    const std::string help = readText(sourceRoot() / "assets" / "trivora-help.html");
    const std::string readme = readText(sourceRoot() / "README.md");
    for (const std::string& file : questionFiles()) {
        std::string why;
        const auto set = topicSetOf(file, why);
        ASSERT_TRUE(set) << why;
        EXPECT_NE(help.find(set->fileName), std::string::npos) << set->fileName;
        EXPECT_NE(readme.find(set->fileName), std::string::npos) << set->fileName;
    }
}

} // namespace
