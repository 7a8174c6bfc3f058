#include "Gauge.h"
#include "QuizScreenFixture.h"
#include "QuestionArea.h"

#include "QstFile.h"

#include <QAction>

#include <filesystem>
#include <optional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QString NotFound = QStringLiteral("Unable to find Default Question File");
const QString Damaged = QStringLiteral("Default Question File Damaged - Please Re-Install");
} // namespace

using StartupTest = QuizScreenFixture;

// Creation resets the screen to attract mode with the values and timers of the phase map.
TEST_F(StartupTest, CreationLeavesAttractModeWithItsTimers) {
    create();
    const QuizGame& s = screen->game;
    EXPECT_FALSE(s.gameRunning());
    EXPECT_FALSE(s.answersOpen());
    EXPECT_EQ(s.players().credit(), 1);
    EXPECT_EQ(s.players().scores(), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(s.players().credits(), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(s.draw().file(), programDir() + QStringLiteral("/REGD.QST"));
    EXPECT_EQ(screen->questionArea->timeGauge->progress(), 100);
    EXPECT_TRUE(dialogs.shown().empty());

    struct Row {
        const char* name;
        int interval;
        bool on;
        int tag;
    };
    // The time gauge ticks at 150 ms after the reset. Attract mode runs its own timers, marked
    // to run on activation; every game timer belongs to its phase and is stopped.
    const Row table[] = {
        {"attractButtonTimer", 200, true, 1},  {"attractSequenceTimer", 50, true, 1},
        {"revealTimer", 17, false, 0},         {"timeGaugeTimer", 150, false, 0},
        {"judgementTimer", 2500, false, 0},    {"questionEndTimer", 4000, false, 0},
        {"gameOverTimer", 4000, false, 0},     {"ladderLightTimer", 100, false, 0},
        {"prizeDisplayTimer", 2000, false, 0}, {"fallRunTimer", 24, false, 0},
        {"prizeFlashTimer", 75, false, 0},     {"correctFlashTimer", 120, false, 0},
        {"titleFlashTimer", 370, false, -1},   {"topLogoTimer", 500, true, 1},
        {"ladderTimeLimit", 10000, false, 0},  {"splashHandOverTimer", 7000, true, 0},
        {"readyTimer", 2500, false, 0},        {"playerOutTimer", 2500, false, 0},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        Timer* t = clock.find(row.name);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->interval(), row.interval);
        EXPECT_EQ(t->enabled(), row.on);
        if (std::string(row.name) != "topLogoTimer") {
            EXPECT_EQ(t->tag, row.tag);
        }
    }
    // The question area is hidden; the top logo starts lit.
    EXPECT_FALSE(visible(screen->questionArea->timeStrip));
    EXPECT_FALSE(visible(screen->questionArea->timeGauge));
    EXPECT_TRUE(shows(screen->titleBand->topLogo, screen->titleBand->topLogoLitPicture));
    EXPECT_TRUE(shows(screen->banners->correctBanner, screen->banners->correctLitPicture));
}

// The start-up set is checked with the game's rules; each bad file gets its message and
// leaves the game without a set.
TEST_F(StartupTest, StartupFileChecks) {
    const std::string header = [] {
        const auto b = QuestionRecord::header().encode();
        return std::string(reinterpret_cast<const char*>(b.data()), b.size());
    }();
    const std::string question = [] {
        const auto b = QstFixtures::numbered(1).encode();
        return std::string(reinterpret_cast<const char*>(b.data()), b.size());
    }();
    auto withHeaderText = [&](const std::string& text) {
        QuestionRecord h;
        h.question = text;
        const auto b = h.encode();
        return std::string(reinterpret_cast<const char*>(b.data()), b.size()) + question;
    };
    std::string bigLengths = header + question;
    for (int f = 0; f < 5; ++f)
        bigLengths[380 + f * 76] = char(255);

    struct Case {
        const char* name;
        std::optional<std::string> bytes; // nullopt: no file
        QString message;                  // empty: accepted
    };
    const Case cases[] = {
        {"missing", std::nullopt, NotFound},
        {"empty", std::string(), Damaged},
        {"header only", header, Damaged},
        {"header and one question", header + question, QString()},
        {"1000 bytes", header + question + std::string(240, 'x'), QString()},
        {"lower-case header", withHeaderText("genuine data file!"), Damaged},
        {"header with a trailing blank", withHeaderText("Genuine Data File! "), Damaged},
        {"header without the mark", withHeaderText("Genuine Data File"), Damaged},
        {"length bytes of 255", bigLengths, QString()},
        {"garbage", std::string(1000, '\xAB'), Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(startupFile());
        if (c.bytes) QstFixtures::writeBytes(startupFile(), *c.bytes);
        dialogs.clear();
        createScreen();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(dialogs.texts().isEmpty());
            EXPECT_EQ(screen->game.draw().file(), programDir() + QStringLiteral("/REGD.QST"));
        } else {
            EXPECT_EQ(dialogs.texts(), QStringList{c.message});
            EXPECT_EQ(dialogs.shown().front().kind, MsgKind::Warning);
            EXPECT_EQ(screen->game.draw().file(), QStringLiteral("N/A"));
        }
    }
}

// A folder named REGD.QST is no question file.
TEST_F(StartupTest, FolderNamedLikeTheSetIsNotFound) {
    std::filesystem::create_directory(startupFile());
    createScreen();
    EXPECT_EQ(dialogs.texts(), QStringList{NotFound});
    EXPECT_EQ(screen->game.draw().file(), QStringLiteral("N/A"));
}

// The game only reads its set, so an installed set the player cannot write to is accepted.
// As root file modes are not enforced, so the check runs in a child without privileges.
TEST_F(StartupTest, ReadOnlySetIsAccepted) {
    QstFixtures::writeNumberedSet(startupFile(), 3);
    ASSERT_EQ(::chmod(startupFile().c_str(), 0444), 0);
    ::chmod(programDir().toLocal8Bit().constData(), 0755);
    if (::geteuid() == 0) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
            // Writing must really be refused now, else this check proves nothing.
            if (::access(startupFile().c_str(), W_OK) == 0) ::_exit(4);
            const auto result = checkQuestionFile(startupFile(), ReaderRules::GameStartup);
            ::_exit(result.status == QstCheck::Accepted ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    } else {
        ASSERT_NE(::access(startupFile().c_str(), W_OK), 0);
    }
    createScreen();
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_EQ(screen->game.draw().file(), programDir() + QStringLiteral("/REGD.QST"));
}
