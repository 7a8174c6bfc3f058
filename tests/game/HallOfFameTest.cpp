#include "FinalScoresPanel.h"
#include "ReadyPanel.h"
#include "VerdictPanel.h"
#include "GameFixture.h"
#include "VerdictPanel.h"
#include "GamePosition.h"

#include "HallOfFame.h"
#include "HallOfFamePage.h"
#include "NameEntryPanel.h"

#include <QFile>

#include <map>

namespace {
// Ticks of the attract sequence before the hall of fame page: blank, logo, caption and the
// title's first tick, title, prompt.
constexpr int TicksBeforePage = 5 + 30 + 31 + 104 + 70;
} // namespace

class HallOfFameTest : public RealInputFixture {
protected:
    QuestionSet regd() const { return QuestionSet::fromFile(programDir() + "/REGD.QST"); }
    HallOfFame& hall() const { return *screen->hallOfFame; }
    NameEntryPanel& entry() const { return *screen->hallOfFame->nameEntry; }
    HallOfFamePage& page() const { return *screen->hallOfFame->page; }

    // Earlier games in the hall of fame of REGD.QST (written now when there is none yet; the
    // screen writes the same set), one entry each: "Old1" with the first
    // score and so on.
    void fillHall(const QList<int>& points) {
        if (!QFile::exists(programDir() + "/REGD.QST"))
            QstFixtures::writeNumberedSet(startupFile(), 20);
        for (int i = 0; i < points.size(); ++i)
            scores->recordGame(regd(), {{QStringLiteral("Old%1").arg(i + 1), points[i], 3}});
    }
    QStringList hallNames() {
        QStringList names;
        for (const ScoreEntry& e : storedScores()->bestTen(regd()))
            names << e.name;
        return names;
    }
    // START and Enter with the names typed: the players are confirmed.
    void startWith(const QStringList& names) {
        key(Qt::Key_Return);
        setNames(names);
        key(Qt::Key_Return);
    }
    // End Game, Yes: the final scores of the game as it stands.
    void endGameNow() {
        dialogs.answer(MsgButton::Yes);
        screen->endGameAction->trigger();
        ASSERT_TRUE(visible(screen->finalScorePanel));
    }
    // A game of these players with these best credits, each having played one question.
    void finalScoresOf(const QStringList& names, std::array<int, 4> best) {
        startWith(names);
        ASSERT_TRUE(waitForAnswers());
        GamePosition::setPlayerScores(screen->game, best);
        std::array<int, 4> played{};
        for (std::size_t k = 0; k < 4; ++k)
            played[k] = best[k] > 0 ? 1 : 0;
        GamePosition::setQuestionsPlayed(screen->game, played);
        endGameNow();
    }
    void typeText(const QString& text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        QCoreApplication::processEvents();
    }
    // Runs the attract sequence up to the hall of fame page, with the hall read.
    void runToPage() {
        scores->sync();
        advance(50LL * TicksBeforePage);
        QCoreApplication::processEvents();
    }
};

// A played game through the window: every verdict counts in its question's figures; the
// final scores' OK opens the entry pre-filled with the typed name, the keyboard edits it,
// Enter stores it; the score is in the hall of fame after a restart and on the attract page.
TEST_F(HallOfFameTest, PlayedGameIsRankedKeptAndShown) {
    openScores();
    createShown();
    startWith({QStringLiteral("Ann")});
    std::map<QString, QuestionFigures> expected;
    answerRight();
    expected[screen->game.draw().question()] = {1, 1};
    ASSERT_TRUE(advanceUntil([this] { return screen->display.lampLit[2] != 0; }));
    screen->pressStop(); // 5 - 1 + 15 = 19
    advance(2000);
    answerWrong(); // 18
    expected[screen->game.draw().question()] = {1, 0};
    screen->wrongPanel->confirm();
    ASSERT_TRUE(waitForAnswers());
    ASSERT_TRUE(advanceUntil([this] { return visible(screen->timeOutPanel); }));
    expected[screen->game.draw().question()] = {1, 0};
    screen->timeOutPanel->confirm();
    ASSERT_EQ(expected.size(), 3u);
    const std::unique_ptr<ScoreStore> stored = storedScores();
    for (const auto& [question, figures] : expected)
        EXPECT_EQ(stored->figures(regd(), question), figures) << question.toStdString();

    endGameNow();
    key(Qt::Key_Return);
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::NameEntry);
    ASSERT_TRUE(visible(&entry()));
    EXPECT_EQ(entry().nameBox->text(), QStringLiteral("Ann"));
    EXPECT_EQ(entry().playerLine->caption(), QStringLiteral("ANN - 1ST PLACE - 19"));
    EXPECT_EQ(QApplication::focusWidget(), entry().nameBox);
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Backspace);
    typeText(QStringLiteral("Zed the Great")); // ten characters are kept
    key(Qt::Key_Return);
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Attract);
    EXPECT_FALSE(visible(&entry()));
    EXPECT_FALSE(visible(screen->playerPanel)) << "the Enter that stored the name starts nothing";
    const QList<ScoreEntry> best = storedScores()->bestTen(regd());
    ASSERT_EQ(best.size(), 1);
    EXPECT_EQ(best[0].name, QStringLiteral("Zed the Gr"));
    EXPECT_EQ(best[0].score, 19);
    EXPECT_EQ(best[0].questionsPlayed, 3);

    // A restart: the score is read back and shown between games.
    dialogs.clear();
    screen.reset();
    scores.reset();
    openScores();
    createShown();
    EXPECT_TRUE(dialogs.texts().isEmpty());
    runToPage();
    ASSERT_TRUE(visible(&page()));
    EXPECT_EQ(page().accessibleName(), QStringLiteral("Hall of fame"));
    EXPECT_EQ(page().rows[0].name->caption(), QStringLiteral("Zed the Gr"));
    EXPECT_EQ(page().rows[0].score->caption(), QStringLiteral("19"));
    EXPECT_EQ(page().rows[0].line->accessibleName(),
              QStringLiteral("1st, Zed the Gr, 19 points, ") + HallOfFamePage::dateText(scoresNow));
    EXPECT_FALSE(visible(page().rows[1].line));
    EXPECT_FALSE(visible(page().emptyLine));
}

// The cabinet's buttons pick the letters, from the buttons on screen or from a controller:
// A and B step through the letters (round the end), C takes one, D rubs one out, START
// stores the name; STOP does nothing here. An empty name is kept as the name shown.
TEST_F(HallOfFameTest, CabinetButtonsPickTheLetters) {
    using B = CabinetButton;
    struct Case {
        const char* path;
        QList<B> presses;
        const char* stored;
    };
    const Case cases[] = {
        {"screen",
         {B::C, B::B, B::B, B::C, B::A, B::C, B::D, B::A, B::A, B::A, B::C, B::Stop, B::Start},
         "AC!"},
        {"controller",
         {B::C, B::B, B::B, B::C, B::A, B::C, B::D, B::A, B::A, B::A, B::C, B::Stop, B::Start},
         "AC!"},
        {"screen", {B::Start}, "Player One"},
        {"controller",
         {B::D, B::D, B::C, B::C, B::C, B::C, B::C, B::C, B::C, B::C, B::C, B::C, B::C, B::Start},
         "AAAAAAAAAA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << " " << c.stored);
        screen.reset();
        scores.reset();
        QFile::remove(scoresPath());
        openScores();
        createShown();
        finalScoresOf({}, {12, 0, 0, 0});
        key(Qt::Key_Return);
        ASSERT_TRUE(visible(&entry()));
        EXPECT_EQ(entry().nameBox->text(), QString()) << "a nameless game offers an empty name";
        EXPECT_EQ(entry().pickedLetter(), QLatin1Char('A'));
        ImageView* buttons[6] = {screen->buttons->answerButtonA, screen->buttons->answerButtonB,
                                 screen->buttons->answerButtonC, screen->buttons->answerButtonD,
                                 screen->buttons->startButton,   screen->buttons->stopButton};
        for (B press : c.presses) {
            if (QString::fromLatin1(c.path) == QStringLiteral("screen"))
                clickAt(buttons[static_cast<int>(press)]);
            else
                EXPECT_EQ(hall().pressButton(press), press != B::Stop);
        }
        EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Attract);
        EXPECT_EQ(hallNames(), QStringList{QString::fromLatin1(c.stored)});
        EXPECT_FALSE(hall().pressButton(B::C)) << "no entry open";
    }
}

// Players enter their names one after the other, in the order of the slots, and are stored
// together; a score equal to the tenth goes below it and is not offered an entry; a game
// without a ranking score goes straight to attract mode.
TEST_F(HallOfFameTest, OnlyRankingPlayersEnterTheirNames) {
    openScores();
    fillHall(QList<int>(10, 20));
    createShown();
    finalScoresOf({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cy")},
                  {25, 20, 21, 0});
    key(Qt::Key_Return);
    ASSERT_EQ(hall().candidates().size(), 2);
    EXPECT_EQ(entry().nameBox->text(), QStringLiteral("Ann"));
    EXPECT_EQ(entry().playerLine->caption(), QStringLiteral("ANN - 1ST PLACE - 25"));
    key(Qt::Key_Return);
    EXPECT_TRUE(hallNames().contains(QStringLiteral("Old10"))) << "nothing stored before the last";
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::NameEntry);
    EXPECT_EQ(entry().nameBox->text(), QStringLiteral("Cy"));
    EXPECT_EQ(entry().playerLine->caption(), QStringLiteral("CY - 2ND PLACE - 21"));
    typeText(QStringLiteral("ril"));
    key(Qt::Key_Return);
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Attract);
    const QStringList expected{"Ann",  "Cyril", "Old1", "Old2", "Old3",
                               "Old4", "Old5",  "Old6", "Old7", "Old8"};
    EXPECT_EQ(hallNames(), expected);

    finalScoresOf({QStringLiteral("Dee")}, {20, 0, 0, 0});
    key(Qt::Key_Return);
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Attract);
    EXPECT_FALSE(visible(&entry()));
    EXPECT_EQ(hallNames(), expected);
}

// An entry left unfinished keeps the scores under the names offered: the program closed
// during it, or the game abandoned for the question editor.
TEST_F(HallOfFameTest, UnfinishedEntryKeepsTheScores) {
    for (const bool closeWindow : {true, false}) {
        SCOPED_TRACE(closeWindow ? "closed" : "abandoned");
        screen.reset();
        scores.reset();
        QFile::remove(scoresPath());
        openScores();
        createShown();
        finalScoresOf({QStringLiteral("Ann"), QStringLiteral("Bob")}, {15, 12, 0, 0});
        key(Qt::Key_Return);
        ASSERT_TRUE(visible(&entry()));
        typeText(QStringLiteral("ie"));
        if (closeWindow) {
            // The program closes at once: the screen, then the scores.
            screen.reset();
            scores.reset();
        } else {
            screen->abandonGame();
        }
        EXPECT_EQ(hallNames(), (QStringList{"Ann", "Bob"}));
    }
}

// The attract page follows the prompt with the ten best, or says that nobody has scored
// yet; it goes after its time, when START is pressed, and is skipped without a set.
TEST_F(HallOfFameTest, AttractPageShowsTheTenBest) {
    openScores();
    create();
    runToPage();
    ASSERT_TRUE(visible(&page()));
    EXPECT_TRUE(visible(page().emptyLine));
    EXPECT_FALSE(visible(page().rows[0].line));
    EXPECT_FALSE(visible(screen->attract->pressStartPrompt));
    advance(50LL * HallOfFame::PageTicks);
    EXPECT_FALSE(visible(&page()));
    EXPECT_EQ(screen->display.attractStage, 0);

    QList<int> points;
    for (int i = 1; i <= 12; ++i)
        points << i * 5;
    fillHall(points);
    runToPage();
    ASSERT_TRUE(visible(&page()));
    EXPECT_FALSE(visible(page().emptyLine));
    for (std::size_t i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        const HallOfFamePage::Row& row = page().rows[i];
        EXPECT_TRUE(visible(row.line));
        EXPECT_EQ(row.place->caption(), HallOfFamePage::ordinal(static_cast<int>(i) + 1));
        EXPECT_EQ(row.name->caption(), QStringLiteral("Old%1").arg(12 - i));
        EXPECT_EQ(row.score->caption(), QString::number((12 - i) * 5));
        EXPECT_EQ(row.date->caption(), HallOfFamePage::dateText(scoresNow));
    }
    EXPECT_EQ(page().rows[2].line->accessibleName(),
              QStringLiteral("3rd, Old10, 50 points, ") + HallOfFamePage::dateText(scoresNow));
    screen->pressControl(screen->buttons->startButton);
    EXPECT_FALSE(visible(&page()));

    // Without a usable set there is no hall to show: the sequence starts over.
    screen->abandonGame();
    GamePosition::setQuestionFile(screen->game, QuestionDraw::noQuestionFile);
    runToPage();
    EXPECT_FALSE(visible(&page()));
    EXPECT_EQ(screen->display.attractStage, 0);
}

// A venue's hall shows the cabinet of each line, read out with it, and the offline mark
// only while the server cannot be reached; a single machine's hall shows neither.
TEST_F(HallOfFameTest, VenueHallShowsCabinetsAndOfflineMark) {
    ScoreEntry entry;
    entry.name = QStringLiteral("Ann");
    entry.score = 30;
    entry.date = scoresNow;
    entry.cabinet = QStringLiteral("Bar-2");
    const struct {
        bool venue;
        bool offline;
    } cases[] = {{true, true}, {true, false}, {false, false}};
    openScores();
    create();
    runToPage();
    ASSERT_TRUE(visible(&page()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.venue * 2 + c.offline);
        page().showEntries(QStringLiteral("REGD.QST"), {entry}, c.venue, c.offline);
        EXPECT_EQ(visible(page().offlineMark), c.offline);
        EXPECT_EQ(visible(page().rows[0].cabinet), c.venue);
        EXPECT_EQ(page().rows[0].cabinet->caption(), QStringLiteral("Bar-2"));
        EXPECT_EQ(page().rows[0].line->accessibleName().endsWith(QStringLiteral(", on Bar-2")),
                  c.venue);
    }
}

// File → Clear Hall of Fame asks first, naming the set; No keeps the scores, Yes clears
// this set's hall only; between games only.
TEST_F(HallOfFameTest, ClearAsksAndClearsTheCurrentSet) {
    openScores();
    fillHall({30, 20});
    const QuestionSet arts(QStringLiteral("ARTS.QST"), QuestionRecord::header());
    scores->recordGame(arts, {{QStringLiteral("Art"), 9, 2}});
    createShown();
    QAction* clear = screen->clearHallAction;
    ASSERT_TRUE(screen->fileMenu->actions().contains(clear));
    EXPECT_EQ(clear->text(), QStringLiteral("Clear &Hall of Fame"));
    ASSERT_TRUE(clear->isEnabled());
    dialogs.answer(MsgButton::No);
    clear->trigger();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, MsgKind::Confirmation);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QStringLiteral("\"REGD.QST\"")));
    EXPECT_EQ(hallNames().size(), 2);

    dialogs.answer(MsgButton::Yes);
    clear->trigger();
    EXPECT_TRUE(hallNames().isEmpty());
    EXPECT_EQ(storedScores()->bestTen(arts).size(), 1) << "another set keeps its hall";

    startWith({QStringLiteral("Ann")});
    ASSERT_TRUE(waitForAnswers());
    EXPECT_FALSE(clear->isEnabled()) << "not during a game";
}

// A damaged database is moved aside with one message naming where it went, shown once the
// screen is up; a fresh hall of fame is used and the game goes on, keeping the next game's
// score.
TEST_F(HallOfFameTest, DamagedDatabaseIsMovedAsideOnce) {
    QDir().mkpath(QFileInfo(scoresPath()).absolutePath());
    {
        QFile garbage(scoresPath());
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(8192, 'x'));
    }
    openScores();
    create();
    EXPECT_TRUE(dialogs.shown().empty()) << "nothing before the screen shows";
    screen->show();
    giveFocus(screen.get());
    const QString movedTo = scoresPath() + QStringLiteral(".damaged-20261210-143000");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, MsgKind::Warning);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(movedTo)) << dialogs.shown()[0].text.toStdString();
    EXPECT_TRUE(QFile::exists(movedTo));
    EXPECT_TRUE(scores->isLasting());

    finalScoresOf({QStringLiteral("Ann")}, {12, 0, 0, 0});
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(hallNames(), QStringList{QStringLiteral("Ann")});
    EXPECT_EQ(dialogs.shown().size(), 2u) << "the End Game question only; no second message";
}
