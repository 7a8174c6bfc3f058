#include "QstImporter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(ShippedQuestions, EveryQuestionInDataMeetsTheRulesOfASet) {
    // The shipped question files parse cleanly and every question in them would be taken
    // by the strict import the build runs: well-formed blocks, five non-empty fields of at
    // most 75 Windows-1252 characters, distinct answers and no question twice in any file.
    const char* root = std::getenv("TRIVORA_SOURCE_DIR");
    if (!root || !*root) root = TRIVORA_DEFAULT_SOURCE_DIR;
    const std::filesystem::path folder = std::filesystem::path(root) / "data" / "questions";
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".txt") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no question files in " << folder;

    TImportOptions options;
    options.Sources = files;
    options.DryRun = true;
    options.Strict = true;
    std::ostringstream err;
    TImportSummary summary;
    EXPECT_EQ(ImportQuestions(options, err, &summary), 0) << err.str();
    EXPECT_EQ(summary.Skipped, 0u) << err.str();
    EXPECT_GT(summary.Imported, 0u);
}

} // namespace
