#include "DevTools.h"
#include "GameFixture.h"
#include "HallOfFame.h"
#include "NameEntryPanel.h"
#include "PhoneBadge.h"
#include "PhoneBuzzers.h"
#include "PhoneClient.h"
#include "PhoneGameBridge.h"
#include "PhoneServer.h"
#include "PlayerEntryPanel.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {
const QString answersOpenOnPage = QStringLiteral("!document.getElementById('answers').hidden && "
                                                 "!document.getElementById('a0').disabled");

// Pages of real phones against the real game: headless Chromium opens the page, and the game
// runs on the manual clock, moved on by the test between taps.
class PhonesBrowserTest : public GameFixture {
protected:
    void SetUp() override {
        openScores(); // an empty hall of fame: every game played ranks
        create();
        settings.setPhonesPort(PhoneServer::findFreePort());
        screen->phonesAction->trigger();
        ASSERT_TRUE(screen->phones->running());
        ASSERT_TRUE(browser.start()) << browser.why().toStdString();
        url = QStringLiteral("http://127.0.0.1:%1/").arg(screen->phones->server()->port());
        shots = qEnvironmentVariable("TRIVORA_PHONE_SHOTS");
    }

    // The page's join form filled in and sent, as a player would.
    void join(BrowserPage& page, const QString& name) {
        ASSERT_TRUE(page.ok()) << browser.why().toStdString();
        ASSERT_TRUE(page.waitTrue(QStringLiteral("document.readyState === 'complete' && "
                                                 "!!document.getElementById('joinButton')")));
        page.eval(QStringLiteral("document.getElementById('name').value = '%1';"
                                 "document.getElementById('code').value = '%2';"
                                 "document.getElementById('joinButton').click(); true")
                      .arg(name, screen->phones->server()->joinCode()));
        ASSERT_TRUE(page.waitTrue(QStringLiteral("!document.getElementById('game').hidden")))
            << name.toStdString();
    }
    // The text of an element of the page.
    static QString text(BrowserPage& page, const char* id) {
        return page
            .eval(
                QStringLiteral("document.getElementById('%1').textContent").arg(QLatin1String(id)))
            .toString();
    }
    static void click(BrowserPage& page, const QString& id) {
        page.eval(QStringLiteral("document.getElementById('%1').click(); true").arg(id));
    }
    // The page's big button (START/OK or STOP) shows; then it is tapped.
    static bool tapWhenShown(BrowserPage& page, const char* id) {
        const QString shown =
            QStringLiteral("!document.getElementById('%1').hidden").arg(QLatin1String(id));
        if (!page.waitTrue(shown)) return false;
        click(page, QLatin1String(id));
        return true;
    }
    void shoot(BrowserPage& page, const QString& name) {
        if (shots.isEmpty()) return;
        QFile f(QDir(shots).filePath(name + QStringLiteral(".png")));
        if (f.open(QIODevice::WriteOnly)) f.write(page.screenshot());
    }
    int correctLetter() const {
        for (int i = 0; i < 4; ++i)
            if (screen->game.draw().answers()[static_cast<std::size_t>(i)] ==
                screen->game.draw().correctAnswer())
                return i;
        return -1;
    }

    Chromium browser;
    QString url;
    QString shots;
};

// The QR code on the attract screen decodes to the address shown beside it.
TEST_F(PhonesBrowserTest, TheQrCodeGivesTheAddressShown) {
    TempDir temp;
    const QString png = temp.file("screen.png").c_str();
    ASSERT_TRUE(screen->grab().save(png));
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"), png});
    ASSERT_TRUE(zbar.waitForFinished(20000));
    EXPECT_EQ(QString::fromUtf8(zbar.readAllStandardOutput()).trimmed(),
              screen->phones->badge()->address());
    EXPECT_TRUE(screen->phones->badge()->address().endsWith(
        QStringLiteral(":%1/").arg(screen->phones->server()->port())));
}

// Two phones join at the player entry and play whole turns from their pages: answers, STOP on
// the ladder, OK on the Wrong panel; a phone that joins during the game plays along in the
// audience; a page reloaded in the middle of a question comes back to its slot and answers; the
// final scores reach every page with the best of the audience; a ranking player types the hall
// of fame's name on the phone while the other pages say who is entering one.
TEST_F(PhonesBrowserTest, TwoPhonesPlayWholeTurnsAndAReloadCarriesOn) {
    screen->pressControl(screen->buttons->startButton);
    BrowserPage anna(browser, url);
    ASSERT_NO_FATAL_FAILURE(join(anna, QStringLiteral("Anna")));
    BrowserPage ben(browser, url);
    ASSERT_NO_FATAL_FAILURE(join(ben, QStringLiteral("Ben")));
    ASSERT_TRUE(waitUntil([&] { return screen->playerPanel->nameBoxes[1]->text() == "Ben"; }));
    EXPECT_EQ(screen->playerPanel->nameBoxes[0]->text(), QStringLiteral("Anna"));
    shoot(anna, QStringLiteral("phone-player-entry"));
    ASSERT_TRUE(tapWhenShown(anna, "start")) << "OK at the player entry";
    ASSERT_TRUE(waitUntil([&] { return screen->game.inGame(); }));

    BrowserPage zoe(browser, url);
    ASSERT_NO_FATAL_FAILURE(join(zoe, QStringLiteral("Zoe")));
    EXPECT_TRUE(zoe.waitTrue(
        QStringLiteral("document.getElementById('me').textContent.includes('Audience')")));

    for (int turn = 0; turn < 4; ++turn) {
        SCOPED_TRACE(turn);
        ASSERT_TRUE(advanceUntil([&] { return screen->game.answersOpen(); }));
        const int player = screen->game.players().current();
        ASSERT_EQ(player, turn % 2 + 1) << "turns alternate";
        BrowserPage& page = player == 1 ? anna : ben;
        BrowserPage& other = player == 1 ? ben : anna;
        if (turn == 1) {
            // Ben's page reloads in the middle of his question and comes back by itself.
            ben.reload();
        }
        ASSERT_TRUE(page.waitTrue(answersOpenOnPage));
        EXPECT_EQ(text(page, "status"), QStringLiteral("Your turn"));
        EXPECT_TRUE(other.waitTrue(QStringLiteral("document.getElementById('status').textContent "
                                                  "=== '%1\\'s turn'")
                                       .arg(screen->game.players().name(player))));
        EXPECT_FALSE(other.eval(answersOpenOnPage).toBool());

        const int right = correctLetter();
        const int letter = turn < 2 ? right : (right + 1) % 4; // two right, then two wrong
        ASSERT_TRUE(zoe.waitTrue(answersOpenOnPage));
        click(zoe, QStringLiteral("a%1").arg(right));
        // The audience's answer counts once the cabinet has it, before the player's closes
        // the question: wait for it, as a loaded machine may deliver it late.
        ASSERT_TRUE(waitUntil([&] {
            for (const auto& [id, entry] : screen->phones->bridge()->roster().entries())
                if (entry.name == QLatin1String("Zoe")) return entry.answer == right;
            return false;
        }));
        if (turn == 0) shoot(page, QStringLiteral("phone-your-turn"));
        // A double tap on the page: one answer.
        page.eval(QStringLiteral("{ const b = document.getElementById('a%1'); b.click(); b.click();"
                                 "document.getElementById('a%2').click(); } true")
                      .arg(letter)
                      .arg((letter + 2) % 4));
        ASSERT_TRUE(waitUntil([&] { return !screen->game.answersOpen(); }));
        EXPECT_EQ(screen->game.chosenAnswer(), letter);

        ASSERT_TRUE(advanceUntil([&] {
            return screen->game.phase() == QuizGame::Phase::Ladder ||
                   screen->game.phase() == QuizGame::Phase::Wrong;
        }));
        if (screen->game.phase() == QuizGame::Phase::Ladder) {
            advance(700); // the light runs a little
            ASSERT_TRUE(tapWhenShown(page, "stop"));
            ASSERT_TRUE(waitUntil([&] { return screen->game.phase() != QuizGame::Phase::Ladder; }));
        } else {
            EXPECT_TRUE(page.waitTrue(QStringLiteral(
                "document.getElementById('verdict').textContent.startsWith('Wrong')")));
            if (turn == 2) shoot(page, QStringLiteral("phone-wrong"));
            ASSERT_TRUE(tapWhenShown(page, "start"));
            ASSERT_TRUE(waitUntil([&] { return screen->game.phase() != QuizGame::Phase::Wrong; }));
        }
    }

    screen->game.endGame();
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::FinalScores);
    for (BrowserPage* page : {&anna, &ben, &zoe}) {
        EXPECT_TRUE(page->waitTrue(
            QStringLiteral("document.getElementById('scores').textContent.includes('Anna') && "
                           "document.getElementById('scores').textContent.includes('Ben')")));
        EXPECT_EQ(text(*page, "best"), QStringLiteral("Best of the audience: Zoe (4)"));
    }
    shoot(zoe, QStringLiteral("phone-final-scores"));
    EXPECT_EQ(screen->phones->badge()->best(), QStringLiteral("Zoe (4)"));

    ASSERT_TRUE(tapWhenShown(anna, "start")) << "OK on the final scores";
    ASSERT_TRUE(waitUntil([&] { return screen->hallOfFame->openEntry(); }));
    const int slot = screen->hallOfFame->openEntry()->standing.slot;
    BrowserPage& ranking = slot == 1 ? anna : ben;
    BrowserPage& other = slot == 1 ? ben : anna;
    const QString player = screen->game.players().name(slot);
    EXPECT_TRUE(other.waitTrue(QStringLiteral("document.getElementById('status').textContent "
                                              "=== '%1 is entering a name'")
                                   .arg(player)));
    EXPECT_TRUE(other.eval(QStringLiteral("document.getElementById('hallName').hidden")).toBool());
    ASSERT_TRUE(ranking.waitTrue(QStringLiteral("!document.getElementById('hallName').hidden")));
    EXPECT_EQ(ranking.eval(QStringLiteral("document.getElementById('hallNameBox').value")), player);
    shoot(ranking, QStringLiteral("phone-hall-name"));
    // The phone's own keyboard: markup is a name like any other, kept as typed.
    ranking.eval(QStringLiteral("document.getElementById('hallNameBox').value = ' <i>Jo</i> ';"
                                "document.getElementById('hallNameButton').click(); true"));
    ASSERT_TRUE(waitUntil([&] {
        const HallOfFame::Candidate* open = screen->hallOfFame->openEntry();
        return !open || open->standing.slot != slot;
    }));
    // The cabinet's START enters the other name, if that result ranks too.
    if (screen->hallOfFame->openEntry()) screen->hallOfFame->pressButton(CabinetButton::Start);
    ASSERT_EQ(screen->game.phase(), QuizGame::Phase::Attract);
    QStringList names;
    for (const ScoreEntry& e :
         storedScores()->bestTen(QuestionSet::fromFile(screen->game.draw().file())))
        names << e.name;
    EXPECT_TRUE(names.contains(QStringLiteral("<i>Jo</i>"))) << names.join(',').toStdString();
}
} // namespace
