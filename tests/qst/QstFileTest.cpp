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
    TempDir dir;
    const std::string path = dir.file("set.qst");
    QstFile file;
    ASSERT_TRUE(file.create(path));
    EXPECT_FALSE(QstFile().create(path)) << "create never replaces a file";
    EXPECT_EQ(file.recordCount(), 0);
    ASSERT_TRUE(file.write(0, QuestionRecord::header()));
    ASSERT_TRUE(file.write(1, QstFixtures::numbered(1)));
    EXPECT_FALSE(file.write(3, QstFixtures::numbered(3))) << "no gaps";
    EXPECT_FALSE(file.errorText().empty());
    ASSERT_TRUE(file.write(1, QstFixtures::numbered(7))); // overwrite in place
    ASSERT_TRUE(file.sync());
    file.close();

    // 1000 bytes: two whole records and 240 ignored bytes; the next record lands at 760.
    std::string bytes = QstFixtures::readBytes(path) + std::string(240, 'x');
    QstFixtures::writeBytes(path, bytes);
    ASSERT_TRUE(file.open(path, QstFile::Access::ReadWrite));
    EXPECT_EQ(file.recordCount(), 2);
    QuestionRecord r;
    ASSERT_TRUE(file.read(1, r));
    EXPECT_EQ(r, QstFixtures::numbered(7));
    EXPECT_FALSE(file.read(2, r)) << "a partial record is never read";
    ASSERT_TRUE(file.write(2, QstFixtures::numbered(2)));
    EXPECT_EQ(file.recordCount(), 3);
    EXPECT_EQ(std::filesystem::file_size(path), 1140u);
}

// Every reader's rules: missing, too few records, bad header, garbage and folders each give
// their outcome; the game's readers open for reading only.
TEST(QstFileTest, CheckTable) {
    TempDir dir;
    const std::string path = dir.file("set.qst");
    const auto header = [] {
        const auto b = QuestionRecord::header().encode();
        return std::string(reinterpret_cast<const char*>(b.data()), b.size());
    }();
    struct Case {
        const char* name;
        std::string bytes;
        QstCheck game, editorStart, editorLoad;
    };
    const QstCheck A = QstCheck::Accepted, D = QstCheck::Damaged;
    const Case cases[] = {
        {"0 bytes", "", D, D, D},
        {"header only", header, D, D, A},
        {"header and a question", header + std::string(380, '\0'), A, A, A},
        {"1000 bytes", header + std::string(620, '\0'), A, A, A},
        {"garbage", std::string(760, '\x7f'), D, D, D},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QstFixtures::writeBytes(path, c.bytes);
        EXPECT_EQ(checkQuestionFile(path, ReaderRules::GameStartup).status, c.game);
        EXPECT_EQ(checkQuestionFile(path, ReaderRules::GameChange).status, c.game);
        EXPECT_EQ(checkQuestionFile(path, ReaderRules::EditorStartup).status, c.editorStart);
        EXPECT_EQ(checkQuestionFile(path, ReaderRules::EditorLoad).status, c.editorLoad);
        EXPECT_EQ(checkQuestionFile(path, ReaderRules::EditorLoad).recordCount,
                  static_cast<std::int64_t>(c.bytes.size() / 380));
    }
    EXPECT_EQ(checkQuestionFile(dir.file("missing.qst"), ReaderRules::GameStartup).status,
              QstCheck::NotFound);
    EXPECT_EQ(checkQuestionFile(dir.stdPath(), ReaderRules::EditorLoad).status, QstCheck::NotFound);
}

// The messages of the four readers.
TEST(QstFileTest, ReaderMessages) {
    EXPECT_STREQ(ReaderRules::GameStartup.notFoundMessage, "Unable to find Default Question File");
    EXPECT_STREQ(ReaderRules::EditorStartup.damagedMessage,
                 "Default Question File Damaged - Please Re-Install");
    EXPECT_STREQ(ReaderRules::GameChange.notFoundMessage, "Unable to find Specified Question File");
    EXPECT_STREQ(ReaderRules::EditorLoad.damagedMessage,
                 "Specified Question File Damaged - Please Re-Install");
    EXPECT_EQ(ReaderRules::EditorLoad.minRecords, 1);
    EXPECT_EQ(ReaderRules::GameChange.minRecords, 2);
}

// A FIFO, a device or a folder under a set's name is turned away at once by every open and
// every reader's check: nothing waits for a writer at the other end of a pipe.
TEST(QstFileTest, NonRegularFilesFailAtOnce) {
    TempDir dir;
    const std::string fifo = dir.file("pipe.QST");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& path : {fifo, std::string("/dev/null"), dir.stdPath()}) {
        SCOPED_TRACE(path);
        for (const auto access : {QstFile::Access::Read, QstFile::Access::ReadWrite}) {
            QstFile file;
            EXPECT_FALSE(file.open(path, access));
            EXPECT_FALSE(file.isOpen());
            EXPECT_NE(file.errorText().find(path), std::string::npos) << file.errorText();
            EXPECT_FALSE(file.openLocked(path, access, -1));
        }
        for (const ReaderRuleSet& rules : {ReaderRules::GameStartup, ReaderRules::GameChange,
                                           ReaderRules::EditorStartup, ReaderRules::EditorLoad})
            EXPECT_EQ(checkQuestionFile(path, rules).status, QstCheck::NotFound);
    }
}

// Writers of one set exclude each other: a second writer finds the set busy until the first
// closes it, and then writes.
TEST(QstFileTest, WritersLockIsExclusive) {
    TempDir dir;
    const std::string path = dir.file("set.QST");
    QstFixtures::writeNumberedSet(path, 1);
    QstFile first, second;
    ASSERT_TRUE(first.openLocked(path, QstFile::Access::ReadWrite, 0));
    EXPECT_FALSE(second.openLocked(path, QstFile::Access::ReadWrite, 0));
    EXPECT_TRUE(second.lockBusy());
    EXPECT_FALSE(second.isOpen());
    first.close();
    ASSERT_TRUE(second.openLocked(path, QstFile::Access::Read, 0));
    EXPECT_FALSE(second.lockBusy());
}

// A writer that waited for the lock while the set was replaced by a rename (as trivora-qst
// writes) ends up holding the lock on the new file, and writes into it, not into the old one
// that is no longer at the path.
TEST(QstFileTest, LockFollowsASetReplacedByRename) {
    TempDir dir;
    const std::string path = dir.file("set.QST");
    const std::string next = dir.file("set.QST.new");
    QstFixtures::writeNumberedSet(path, 1);
    QstFixtures::writeNumberedSet(next, 2);
    QstFile holder;
    ASSERT_TRUE(holder.openLocked(path, QstFile::Access::Read, 0));

    bool ok = false;
    std::thread waiter([&] {
        QstFile file;
        ok = file.openLocked(path, QstFile::Access::ReadWrite, -1) &&
             file.write(file.recordCount(), QstFixtures::numbered(3)) && file.sync();
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
    holder.close();
    waiter.join();
    EXPECT_TRUE(ok);
    std::vector<QuestionRecord> expected;
    for (int n = 1; n <= 3; ++n)
        expected.push_back(QstFixtures::numbered(n));
    const std::string want = [&] {
        TempDir other;
        QstFixtures::writeSet(other.file("x"), expected);
        return QstFixtures::readBytes(other.file("x"));
    }();
    EXPECT_EQ(QstFixtures::readBytes(path), want);
}
