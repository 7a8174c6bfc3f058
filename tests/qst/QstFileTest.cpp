#include "QstFile.h"

#include "QstFixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

// Records are addressed by number; the count ignores a partial tail, and an append over a
// partial tail starts at the next whole record.
TEST(QstFileTest, RecordAccess) {
    TTempDir dir;
    const std::string path = dir.File("set.qst");
    TQstFile file;
    ASSERT_TRUE(file.Create(path));
    EXPECT_FALSE(TQstFile().Create(path)) << "create never replaces a file";
    EXPECT_EQ(file.RecordCount(), 0);
    ASSERT_TRUE(file.Write(0, TQuestionRecord::Header()));
    ASSERT_TRUE(file.Write(1, QstFixtures::Numbered(1)));
    EXPECT_FALSE(file.Write(3, QstFixtures::Numbered(3))) << "no gaps";
    EXPECT_FALSE(file.ErrorText().empty());
    ASSERT_TRUE(file.Write(1, QstFixtures::Numbered(7))); // overwrite in place
    ASSERT_TRUE(file.Sync());
    file.Close();

    // 1000 bytes: two whole records and 240 ignored bytes; the next record lands at 760.
    std::string bytes = QstFixtures::ReadBytes(path) + std::string(240, 'x');
    QstFixtures::WriteBytes(path, bytes);
    ASSERT_TRUE(file.Open(path, TQstFile::TAccess::ReadWrite));
    EXPECT_EQ(file.RecordCount(), 2);
    TQuestionRecord r;
    ASSERT_TRUE(file.Read(1, r));
    EXPECT_EQ(r, QstFixtures::Numbered(7));
    EXPECT_FALSE(file.Read(2, r)) << "a partial record is never read";
    ASSERT_TRUE(file.Write(2, QstFixtures::Numbered(2)));
    EXPECT_EQ(file.RecordCount(), 3);
    EXPECT_EQ(std::filesystem::file_size(path), 1140u);
}

// Every reader's rules: missing, too few records, bad header, garbage and folders each give
// their outcome; the game's readers open for reading only.
TEST(QstFileTest, CheckTable) {
    TTempDir dir;
    const std::string path = dir.File("set.qst");
    const auto header = [] {
        const auto b = TQuestionRecord::Header().Encode();
        return std::string(reinterpret_cast<const char*>(b.data()), b.size());
    }();
    struct Case {
        const char* Name;
        std::string Bytes;
        TQstCheck Game, EditorStart, EditorLoad;
    };
    const TQstCheck A = TQstCheck::Accepted, D = TQstCheck::Damaged;
    const Case cases[] = {
        {"0 bytes", "", D, D, D},
        {"header only", header, D, D, A},
        {"header and a question", header + std::string(380, '\0'), A, A, A},
        {"1000 bytes", header + std::string(620, '\0'), A, A, A},
        {"garbage", std::string(760, '\x7f'), D, D, D},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QstFixtures::WriteBytes(path, c.Bytes);
        EXPECT_EQ(CheckQuestionFile(path, ReaderRules::GameStartup).Status, c.Game);
        EXPECT_EQ(CheckQuestionFile(path, ReaderRules::GameChange).Status, c.Game);
        EXPECT_EQ(CheckQuestionFile(path, ReaderRules::EditorStartup).Status, c.EditorStart);
        EXPECT_EQ(CheckQuestionFile(path, ReaderRules::EditorLoad).Status, c.EditorLoad);
        EXPECT_EQ(CheckQuestionFile(path, ReaderRules::EditorLoad).RecordCount,
                  static_cast<std::int64_t>(c.Bytes.size() / 380));
    }
    EXPECT_EQ(CheckQuestionFile(dir.File("missing.qst"), ReaderRules::GameStartup).Status,
              TQstCheck::NotFound);
    EXPECT_EQ(CheckQuestionFile(dir.Path(), ReaderRules::EditorLoad).Status, TQstCheck::NotFound);
}

// The messages of the four readers.
TEST(QstFileTest, ReaderMessages) {
    EXPECT_STREQ(ReaderRules::GameStartup.NotFoundMessage, "Unable to find Default Question File");
    EXPECT_STREQ(ReaderRules::EditorStartup.DamagedMessage,
                 "Default Question File Damaged - Please Re-Install");
    EXPECT_STREQ(ReaderRules::GameChange.NotFoundMessage, "Unable to find Specified Question File");
    EXPECT_STREQ(ReaderRules::EditorLoad.DamagedMessage,
                 "Specified Question File Damaged - Please Re-Install");
    EXPECT_EQ(ReaderRules::EditorLoad.MinRecords, 1);
    EXPECT_EQ(ReaderRules::GameChange.MinRecords, 2);
}
