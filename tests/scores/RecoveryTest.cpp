#include "ScoresFixture.h"

#include "QstFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>

using RecoveryTest = ScoresFixture;

namespace {

// A real database of 200 games, written and closed.
void writeGames(const QString& path) {
    ScoreStore store(path);
    const QuestionSet regd(QStringLiteral("REGD.QST"), QuestionRecord::header());
    for (int i = 1; i <= 200; ++i)
        ASSERT_TRUE(store.recordGame(regd, {{QStringLiteral("P%1").arg(i), i, i}}));
}

} // namespace

// A damaged or unreadable database is moved aside under a dated name, the message names
// that place, and a fresh database takes scores at once.
TEST_F(RecoveryTest, DamagedDatabaseIsMovedAside) {
    const struct {
        const char* what;
        std::function<void(const QString&)> damage;
    } cases[] = {
        {"garbage",
         [](const QString& p) {
             QstFixtures::writeBytes(p.toStdString(), std::string(8192, '#'));
         }},
        {"truncated",
         [](const QString& p) {
             writeGames(p);
             QFile file(p);
             ASSERT_TRUE(file.resize(file.size() / 2 + 100));
         }},
        {"overwritten pages",
         [](const QString& p) {
             writeGames(p);
             QFile file(p);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.seek(4096);
             file.write(QByteArray(4096, '\xA5'));
         }},
        {"folder", [](const QString& p) { ASSERT_TRUE(QDir().mkpath(p)); }},
    };
    const QString moved = dbPath() + QStringLiteral(".damaged-20261210-143005");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.damage(dbPath());
        const bool folder = QFileInfo(dbPath()).isDir();
        {
            auto store = openStore();
            const QStringList messages = store->takeMessages();
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(messages.first().contains(moved)) << messages.first().toStdString();
            EXPECT_TRUE(store->isLasting());
            EXPECT_EQ(QFileInfo(moved).isDir(), folder);
            EXPECT_TRUE(QFileInfo::exists(moved));
            ASSERT_TRUE(store->recordGame(set(QStringLiteral("REGD.QST")), {{"New", 9, 1}}));
        }
        auto again = openStore();
        EXPECT_TRUE(again->takeMessages().isEmpty());
        EXPECT_EQ(names(again->bestTen(set(QStringLiteral("REGD.QST")))), QStringList{"New"});
        again.reset();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }
}

// A second damaged database in the same second is moved to a name of its own; the first
// one moved aside is kept.
TEST_F(RecoveryTest, MovedNamesDoNotCollide) {
    for (int round = 0; round < 2; ++round) {
        QstFixtures::writeBytes(dbPath().toStdString(), std::string(4096, char('a' + round)));
        openStore();
    }
    const QString first = dbPath() + QStringLiteral(".damaged-20261210-143005");
    EXPECT_EQ(QstFixtures::readBytes(first.toStdString()), std::string(4096, 'a'));
    EXPECT_EQ(QstFixtures::readBytes((first + QStringLiteral("-2")).toStdString()),
              std::string(4096, 'b'));
}

// A database spoiled while the game runs is replaced at the next write, which then lands
// in the fresh database.
TEST_F(RecoveryTest, DamageWhileOpen) {
    auto store = openStore();
    const QuestionSet regd = set(QStringLiteral("REGD.QST"));
    ASSERT_TRUE(store->recordGame(regd, {{QStringLiteral("Old"), 5, 1}}));
    {
        // Another program folds the log into the file, which is then spoiled.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
        other.setDatabaseName(dbPath());
        ASSERT_TRUE(other.open());
        QSqlQuery(other).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    QstFixtures::writeBytes(dbPath().toStdString(), std::string(16384, '#'));
    now = now.addSecs(1);
    EXPECT_TRUE(store->recordGame(regd, {{QStringLiteral("New"), 6, 1}}));
    const QStringList messages = store->takeMessages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral(".damaged-20261210-143006")));
    EXPECT_EQ(names(store->bestTen(regd)), QStringList{"New"});
}

// A database that cannot be kept where it belongs (its folder cannot be made) gives way to
// one in memory: the game goes on and the message says the scores will not last.
TEST_F(RecoveryTest, UnusablePlaceFallsBackToMemory) {
    QstFixtures::writeBytes(dir.file("blocker"), "a file where a folder should be");
    ScoreStore store(dir.path() + QStringLiteral("/blocker/scores.sqlite"));
    const QStringList messages = store.takeMessages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("will not be kept")));
    EXPECT_FALSE(store.isLasting());
    const QuestionSet regd = set(QStringLiteral("REGD.QST"));
    ASSERT_TRUE(store.recordGame(regd, {{QStringLiteral("Ann"), 5, 1}}));
    EXPECT_EQ(names(store.bestTen(regd)), QStringList{"Ann"});
}

// A writer killed at any moment leaves a readable database holding every game it
// committed: the writer enters game n with score n, then counts an answer (right when n is
// even), and reports n once both are committed.
TEST_F(RecoveryTest, KilledWriterKeepsCommittedGames) {
    const QuestionSet crash = set(QStringLiteral("CRASH.QST"));
    int reported = 0;
    QuestionFigures counted;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        const int firstGame = reported + 1; // the writer goes on after the best stored
        QProcess writer;
        writer.start(QStringLiteral(TRIVORA_SCORES_WRITER), {dbPath()});
        ASSERT_TRUE(writer.waitForStarted());
        const int stopAt = reported + 150 + 37 * round;
        while (reported < stopAt) {
            if (!writer.canReadLine()) {
                ASSERT_TRUE(writer.waitForReadyRead())
                    << writer.readAllStandardError().toStdString();
                continue;
            }
            reported = writer.readLine().trimmed().toInt();
        }
        writer.kill(); // SIGKILL, in the middle of its next game
        writer.waitForFinished();
        while (writer.canReadLine())
            reported = writer.readLine().trimmed().toInt();

        auto store = openStore();
        EXPECT_TRUE(store->takeMessages().isEmpty());
        const QList<ScoreEntry> best = store->bestTen(crash);
        ASSERT_EQ(best.size(), 10);
        const int last = best.first().score;
        EXPECT_TRUE(last == reported || last == reported + 1) << last << " vs " << reported;
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(best[i].score, last - i);
        // This round's games are firstGame .. last; its answers are for all of them but
        // perhaps the last, when the kill fell between the two writes.
        const QuestionFigures q = store->figures(crash, QStringLiteral("Q"));
        const int answers = q.asked - counted.asked;
        const int games = last - firstGame + 1;
        EXPECT_TRUE(answers == games || answers == games - 1) << answers << " vs " << games;
        int evens = 0;
        for (int n = firstGame; n < firstGame + answers; ++n)
            evens += n % 2 == 0;
        EXPECT_EQ(q.right - counted.right, evens);
        counted = q;
        reported = last;
    }
}
