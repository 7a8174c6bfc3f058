#include "QstFixtures.h"
#include "ScoreStore.h"
#include "ToolFolder.h"
#include "ToolRun.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
const std::string header = "number,question,asked,right,percent right\n";

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

// Without a database the figures are those of questions never asked, and no database is made;
// misuse (no set, two sets, a folder, the set as output) is refused as such.
TEST(FiguresCommand, NoDatabaseAndMisuse) {
    ToolFolder dir;
    const std::string set = dir.stdPath("SET.QST");
    QstFixtures::writeNumberedSet(set, 2);
    const std::string db = dir.stdPath("none/scores.sqlite");
    ToolRun run = runTool({"figures", set, "--database", db});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, header + "1,Question 1,0,0,\n2,Question 2,0,0,\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(db)));

    const std::vector<std::vector<std::string>> misuse{{"figures"},
                                                       {"figures", set, set},
                                                       {"figures", dir.stdPath("")},
                                                       {"figures", set, "-o", set},
                                                       {"figures", set, "--database"},
                                                       {"figures", set, "--format", "csv"}};
    for (const auto& args : misuse) {
        SCOPED_TRACE(args.size());
        run = runTool(args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_EQ(run.out, "");
    }
    run = runTool({"figures", dir.stdPath("missing.QST")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("missing.QST"), std::string::npos) << run.err;
}

// The figures the game counted are written as CSV, to standard output or atomically to a
// file, from the game's own database in the user's data folder or from the one named.
TEST(FiguresCommand, WritesTheGamesFigures) {
    ToolFolder dir;
    const std::string set = dir.stdPath("SET.QST");
    QstFixtures::writeNumberedSet(set, 3);
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.stdPath("data")));
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Trivora"));
        {
            ScoreStore store(ScoreStore::defaultPath());
            const QuestionSet questions = QuestionSet::fromFile(QString::fromStdString(set));
            const QString second = ScoreStore::questionText(QstFixtures::numbered(2));
            for (bool right : {true, false, true})
                ASSERT_TRUE(store.recordAnswer(questions, second, right));
            ASSERT_TRUE(store.isLasting());
        }
        const std::string expected =
            header + "1,Question 1,0,0,\n2,Question 2,3,2,67\n3,Question 3,0,0,\n";
        ToolRun run = runTool({"figures", set});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, expected);
        const std::string db = dir.stdPath("data/Trivora/scores.sqlite");
        run = runTool({"figures", "--database=" + db, set, "-o", dir.stdPath("figures.csv")});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(readText(dir.stdPath("figures.csv")), expected);
    }
    if (oldData.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldData);
}

// A report only reads: another program's SQLite file is refused with a message and left
// byte for byte as it was, with no log switched on and no table or file added beside it.
TEST(FiguresCommand, LeavesAnotherProgramsDatabaseAsItWas) {
    ToolFolder dir;
    const std::string set = dir.stdPath("SET.QST");
    QstFixtures::writeNumberedSet(set, 1);
    const std::string other = dir.stdPath("other.sqlite");
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
        db.setDatabaseName(QString::fromStdString(other));
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(db.exec(QStringLiteral("CREATE TABLE notes (text TEXT)")).isActive());
        db.close();
    }
    QSqlDatabase::removeDatabase("other");
    const std::string before = readText(other);
    const auto names = dir.names();
    const ToolRun run = runTool({"figures", set, "--database", other});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("cannot be used"), std::string::npos) << run.err;
    EXPECT_EQ(readText(other), before);
    EXPECT_EQ(dir.names(), names);
}
