#include "QstFile.h"

#include "QstFixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

// A FIFO, a device or a folder under a set's name is turned away at once by every open and
// every reader's check: nothing waits for a writer at the other end of a pipe.
TEST(QstFileTest, NonRegularFilesFailAtOnce) {
    TTempDir dir;
    const std::string fifo = dir.File("pipe.QST");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& path : {fifo, std::string("/dev/null"), dir.Path()}) {
        SCOPED_TRACE(path);
        for (const auto access : {TQstFile::TAccess::Read, TQstFile::TAccess::ReadWrite}) {
            TQstFile file;
            EXPECT_FALSE(file.Open(path, access));
            EXPECT_FALSE(file.IsOpen());
            EXPECT_NE(file.ErrorText().find(path), std::string::npos) << file.ErrorText();
            EXPECT_FALSE(file.OpenLocked(path, access, -1));
        }
        for (const TReaderRules& rules : {ReaderRules::GameStartup, ReaderRules::GameChange,
                                          ReaderRules::EditorStartup, ReaderRules::EditorLoad})
            EXPECT_EQ(CheckQuestionFile(path, rules).Status, TQstCheck::NotFound);
    }
}

// Writers of one set exclude each other: a second writer finds the set busy until the first
// closes it, and then writes.
TEST(QstFileTest, WritersLockIsExclusive) {
    TTempDir dir;
    const std::string path = dir.File("set.QST");
    QstFixtures::WriteNumberedSet(path, 1);
    TQstFile first, second;
    ASSERT_TRUE(first.OpenLocked(path, TQstFile::TAccess::ReadWrite, 0));
    EXPECT_FALSE(second.OpenLocked(path, TQstFile::TAccess::ReadWrite, 0));
    EXPECT_TRUE(second.LockBusy());
    EXPECT_FALSE(second.IsOpen());
    first.Close();
    ASSERT_TRUE(second.OpenLocked(path, TQstFile::TAccess::Read, 0));
    EXPECT_FALSE(second.LockBusy());
}

// A writer that waited for the lock while the set was replaced by a rename (as trivora-qst
// writes) ends up holding the lock on the new file, and writes into it, not into the old one
// that is no longer at the path.
TEST(QstFileTest, LockFollowsASetReplacedByRename) {
    TTempDir dir;
    const std::string path = dir.File("set.QST");
    const std::string next = dir.File("set.QST.new");
    QstFixtures::WriteNumberedSet(path, 1);
    QstFixtures::WriteNumberedSet(next, 2);
    TQstFile holder;
    ASSERT_TRUE(holder.OpenLocked(path, TQstFile::TAccess::Read, 0));

    bool ok = false;
    std::thread waiter([&] {
        TQstFile file;
        ok = file.OpenLocked(path, TQstFile::TAccess::ReadWrite, -1) &&
             file.Write(file.RecordCount(), QstFixtures::Numbered(3)) && file.Sync();
    });
    // Replace the set only once the waiter is queued on the old file's lock.
    const std::string me = " " + std::to_string(::getpid()) + " ";
    const auto waiting = [&me] {
        std::ifstream locks("/proc/locks");
        std::string line;
        while (std::getline(locks, line))
            if (line.find("->") != std::string::npos && line.find("FLOCK") != std::string::npos &&
                line.find(me) != std::string::npos)
                return true;
        return false;
    };
    for (int i = 0; i < 200000 && !waiting(); ++i)
        std::this_thread::yield();
    ASSERT_EQ(std::rename(next.c_str(), path.c_str()), 0);
    holder.Close();
    waiter.join();
    EXPECT_TRUE(ok);
    std::vector<TQuestionRecord> expected;
    for (int n = 1; n <= 3; ++n)
        expected.push_back(QstFixtures::Numbered(n));
    const std::string want = [&] {
        TTempDir other;
        QstFixtures::WriteSet(other.File("x"), expected);
        return QstFixtures::ReadBytes(other.File("x"));
    }();
    EXPECT_EQ(QstFixtures::ReadBytes(path), want);
}
