#include "PhoneFixture.h"

#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {
const QString answerType = QStringLiteral("answer");

QJsonObject answer(int letter) {
    return {{"type", "answer"}, {"letter", letter}};
}

class ProtocolTest : public PhoneFixture {
protected:
    // START on the cabinet, then Anna and Ben join from phones and Anna's phone presses OK.
    void startTwoPlayerGame(PhoneClient*& anna, PhoneClient*& ben) {
        game->pressStart();
        anna = &joined(QStringLiteral("Anna"));
        ben = &joined(QStringLiteral("Ben"));
        anna->sendJson({{"type", "start"}});
        ASSERT_TRUE(waitUntil([&] { return game->inGame(); }));
    }
};

// Phones that give the code take the free slots in join order and name them; the fifth is in
// the audience; a wrong code joins nobody.
TEST_F(ProtocolTest, JoiningFillsSlotsInOrderThenTheAudience) {
    game->pressStart();
    game->setPlayerName(2, QStringLiteral("Keys")); // typed at the cabinet
    PhoneClient& wrong = phone();
    EXPECT_FALSE(wrong.join(QStringLiteral("Eve"), QStringLiteral("9999")));
    EXPECT_EQ(wrong.last(QStringLiteral("error")).value("reason").toString(), "wrong code");

    const QStringList names{"Anna", "Ben", "Cleo", "Dan"};
    std::vector<PhoneClient*> joinedPhones;
    for (const QString& name : names)
        joinedPhones.push_back(&joined(name));
    for (PhoneClient* p : joinedPhones)
        p->waitFor(QStringLiteral("you"), 0);
    EXPECT_EQ(game->players().name(1), QStringLiteral("Anna"));
    EXPECT_EQ(game->players().name(2), QStringLiteral("Keys"));
    EXPECT_EQ(game->players().name(3), QStringLiteral("Ben"));
    EXPECT_EQ(game->players().name(4), QStringLiteral("Cleo"));
    EXPECT_EQ(joinedPhones[0]->last("you").value("slot").toInt(), 1);
    EXPECT_EQ(joinedPhones[2]->last("you").value("slot").toInt(), 4);
    EXPECT_EQ(joinedPhones[3]->last("you").value("role").toString(), "audience");
    EXPECT_EQ(joinedPhones[3]->last("state").value("phase").toString(), "PlayerEntry");

    // A name already in the room is refused: a name is not a key to someone's slot.
    PhoneClient& thief = phone();
    EXPECT_FALSE(thief.join(QStringLiteral("anna"), QStringLiteral("1234")));
    EXPECT_EQ(thief.last("error").value("reason").toString(), "name taken");
}

// The players' phones keep their slots for the next game: the name boxes still show their
// names, and the phones can answer on their turns again.
TEST_F(ProtocolTest, PlayersKeepTheirSlotsForTheNextGame) {
    PhoneClient *anna = nullptr, *ben = nullptr;
    ASSERT_NO_FATAL_FAILURE(startTwoPlayerGame(anna, ben));
    // End Game once the first turn has started (before it there is no game to end).
    ASSERT_TRUE(advanceUntil([&] { return game->canEndGame(); }));
    game->endGame();
    game->confirmPanel();
    ASSERT_EQ(game->phase(), QuizGame::Phase::Attract);
    const qsizetype since = ben->count();
    // START from a phone opens the player entry (the end of the game's messages may still be
    // on their way to the phone, so the game is asked, not the phone's next message).
    anna->sendJson({{"type", "start"}});
    ASSERT_TRUE(waitUntil([&] { return game->phase() == QuizGame::Phase::PlayerEntry; }));
    settle();
    EXPECT_EQ(anna->last("you").value("slot").toInt(), 1);
    EXPECT_EQ(ben->last("you").value("role").toString(), "player");
    EXPECT_EQ(ben->last("you").value("slot").toInt(), 2);
    EXPECT_GT(ben->count(), since);
    EXPECT_EQ(game->players().name(2), QStringLiteral("Ben"));
}

// Only the phone of the player at the controls answers, and a double tap or a second letter
// gives exactly one answer; START/OK and STOP act only from the phone at the controls.
TEST_F(ProtocolTest, OnlyThePlayerAtTheControlsAnswersAndOnlyOnce) {
    PhoneClient *anna = nullptr, *ben = nullptr;
    ASSERT_NO_FATAL_FAILURE(startTwoPlayerGame(anna, ben));
    ASSERT_TRUE(advanceUntil([&] { return game->answersOpen(); }));
    ASSERT_EQ(game->players().current(), 1);

    qsizetype since = ben->count();
    tap(*ben, answer(0));
    EXPECT_EQ(errorAfter(*ben, since), "not your turn");
    EXPECT_TRUE(game->answersOpen());

    since = anna->count();
    anna->sendJson(answer(2));
    anna->sendJson(answer(2));
    anna->sendJson(answer(1));
    ASSERT_TRUE(waitUntil([&] { return !game->answersOpen(); }));
    EXPECT_EQ(game->chosenAnswer(), 2);
    EXPECT_EQ(errorAfter(*anna, since), "answers not open");
    settle();
    EXPECT_EQ(game->chosenAnswer(), 2);

    // The verdict and what follows: Ben's STOP or OK does nothing on Anna's turn.
    ASSERT_TRUE(advanceUntil([&] {
        return game->phase() == QuizGame::Phase::Wrong || game->phase() == QuizGame::Phase::Ladder;
    }));
    const QuizGame::Phase verdict = game->phase();
    tap(*ben, {{"type", verdict == QuizGame::Phase::Ladder ? "stop" : "start"}});
    EXPECT_EQ(game->phase(), verdict);
    anna->sendJson({{"type", verdict == QuizGame::Phase::Ladder ? "stop" : "start"}});
    EXPECT_TRUE(waitUntil([&] { return game->phase() != verdict; }));
}

// A phone that comes back with its secret keeps its slot and is shown the game at once; a
// message carrying another phone's secret, or none, is refused.
TEST_F(ProtocolTest, ReconnectWithTheSecretKeepsTheSlot) {
    PhoneClient *anna = nullptr, *ben = nullptr;
    ASSERT_NO_FATAL_FAILURE(startTwoPlayerGame(anna, ben));
    ASSERT_TRUE(advanceUntil([&] { return game->answersOpen(); }));

    // Ben's phone sends Anna's tap with its own secret, then with Anna's: both refused.
    qsizetype since = ben->count();
    ben->sendJson({{"type", "answer"}, {"letter", 0}, {"secret", anna->secret}});
    EXPECT_EQ(errorAfter(*ben, since), "refused");
    EXPECT_TRUE(game->answersOpen());

    // Anna's page reloads: a new connection resumes with the secret.
    PhoneClient& again = phone();
    ASSERT_TRUE(again.waitConnected());
    again.secret = anna->secret;
    since = again.count();
    again.sendJson({{"type", "resume"}});
    EXPECT_EQ(again.waitFor("you", since).value("slot").toInt(), 1);
    const QJsonObject state = again.waitFor("state", since);
    EXPECT_EQ(state.value("phase").toString(), "AnswersOpen");
    EXPECT_EQ(state.value("answers").toArray().size(), 4);
    EXPECT_TRUE(anna->waitClosed()) << "the old page's connection gives way";
    again.sendJson(answer(1));
    EXPECT_TRUE(waitUntil([&] { return !game->answersOpen(); }));

    PhoneClient& stranger = phone();
    ASSERT_TRUE(stranger.waitConnected());
    stranger.secret = QString(32, QLatin1Char('0'));
    since = stranger.count();
    stranger.sendJson({{"type", "resume"}});
    EXPECT_EQ(errorAfter(stranger, since), "unknown phone");
}

// Junk gets an error reply and changes nothing; a message beyond the socket's limit closes it.
TEST_F(ProtocolTest, JunkIsAnsweredWithAnErrorAndChangesNothing) {
    game->pressStart();
    PhoneClient& anna = joined(QStringLiteral("Anna"));
    const struct {
        QString text;
        const char* reason;
    } junk[] = {
        {QStringLiteral("{\"type\":"), "not a JSON object"},
        {QStringLiteral("{\"type\":\"start\"}"), "no secret"},
        {QStringLiteral("{\"type\":\"answer\",\"letter\":7,\"secret\":\"%1\"}").arg(anna.secret),
         "the letter must be 0 to 3"},
        {QString(2000, QLatin1Char(' ')), "message too long"},
        {QStringLiteral("{\"type\":\"join\",\"name\":\"Anna2\",\"code\":\"1234\"}"),
         "already joined"},
    };
    for (const auto& j : junk) {
        const qsizetype since = anna.count();
        anna.sendText(j.text);
        EXPECT_EQ(errorAfter(anna, since).toStdString(), j.reason);
    }
    EXPECT_EQ(game->phase(), QuizGame::Phase::PlayerEntry);
    EXPECT_EQ(game->players().count(), 1);
    anna.sendText(QString(70000, QLatin1Char('x')));
    EXPECT_TRUE(anna.waitClosed());
}

// Floods: connections beyond the limits are refused, connections that never join are closed
// after the join time, a phone sending too fast is slowed down and then cut off, and an address
// that guesses codes must wait.
TEST_F(ProtocolTest, FloodsAreLimited) {
    PhoneServer::Limits limits;
    limits.maxConnections = 6;
    limits.maxUnjoinedPerAddress = 3;
    limits.messagesPerSecond = 5;
    limits.cutOffPerSecond = 10;
    limits.wrongCodesPerAddress = 3;
    ASSERT_NO_FATAL_FAILURE(create(limits));

    PhoneClient& anna = joined(QStringLiteral("Anna"));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(phone().waitConnected());
    PhoneClient& fourthUnjoined = phone();
    EXPECT_EQ(fourthUnjoined.waitFor("error", 0).value("reason").toString(),
              "too many connections");
    EXPECT_TRUE(fourthUnjoined.waitClosed());

    // Three wrong codes lock the address out for a minute, even with the right code.
    PhoneClient& guesser = *phones[1];
    for (const char* code : {"0000", "0001", "0002"}) {
        const qsizetype since = guesser.count();
        guesser.sendJson({{"type", "join"}, {"name", "Eve"}, {"code", code}}, false);
        EXPECT_EQ(errorAfter(guesser, since), "wrong code");
    }
    qsizetype since = guesser.count();
    guesser.sendJson({{"type", "join"}, {"name", "Eve"}, {"code", "1234"}}, false);
    EXPECT_EQ(errorAfter(guesser, since), "wait a minute");

    // The unjoined connections are closed when the join time runs out; Anna's stays.
    clock.advance(PhoneServer::Limits{}.joinTimeoutMs);
    EXPECT_TRUE(phones[1]->waitClosed());
    EXPECT_TRUE(phones[3]->waitClosed());
    EXPECT_FALSE(anna.closed());
    clock.advance(PhoneServer::Limits{}.wrongCodeLockoutMs);
    EXPECT_TRUE(joined(QStringLiteral("Eve")).connected()) << "the lockout ends";

    // Six messages in one second: the sixth is refused; at ten the phone is cut off.
    since = anna.count();
    for (int i = 0; i < 6; ++i)
        anna.sendJson({{"type", "stop"}});
    EXPECT_EQ(anna.waitFor("error", since).value("reason").toString(), "not now");
    waitUntil([&] { return anna.last("error").value("reason") == "too many messages"; });
    EXPECT_EQ(anna.last("error").value("reason").toString(), "too many messages");
    clock.advance(1000);
    since = anna.count();
    tap(anna, {{"type", "stop"}});
    EXPECT_EQ(errorAfter(anna, since), "not now") << "a new second, a new allowance";
    for (int i = 0; i < 10; ++i)
        anna.sendJson({{"type", "stop"}});
    EXPECT_TRUE(anna.waitClosed());
}

// The audience answers privately and never touches the game; its right answers are counted and
// the best of the audience is named on the final scores.
TEST_F(ProtocolTest, TheAudiencePlaysAlongPrivately) {
    game->pressStart();
    PhoneClient& anna = joined(QStringLiteral("Anna"));
    anna.sendJson({{"type", "start"}});
    ASSERT_TRUE(waitUntil([&] { return game->inGame(); }));
    PhoneClient& zoe = joined(QStringLiteral("Zoe")); // joins during the game
    EXPECT_EQ(zoe.waitFor("you", 0).value("role").toString(), "audience");

    ASSERT_TRUE(advanceUntil([&] { return game->answersOpen(); }));
    int correct = -1;
    for (int i = 0; i < 4; ++i)
        if (game->draw().answers()[static_cast<std::size_t>(i)] == game->draw().correctAnswer())
            correct = i;
    qsizetype since = zoe.count();
    zoe.sendJson(answer(correct));
    EXPECT_EQ(zoe.waitFor("you", since).value("answer").toInt(), correct);
    since = zoe.count();
    tap(zoe, answer((correct + 1) % 4));
    EXPECT_EQ(errorAfter(zoe, since), "already answered");
    EXPECT_TRUE(game->answersOpen()) << "the audience never answers for the player";
    EXPECT_EQ(game->chosenAnswer(), -1);

    since = zoe.count();
    advanceUntil([&] { return game->phase() == QuizGame::Phase::TimeOut; });
    EXPECT_EQ(zoe.waitFor("state", since).value("correct").toInt(), correct);
    waitUntil([&] { return zoe.last("you").value("right").toInt() == 1; });
    EXPECT_EQ(zoe.last("you").value("right").toInt(), 1);
    EXPECT_EQ(bridge->bestOfAudience(), QStringLiteral("Zoe (1)"));

    since = zoe.count();
    game->endGame();
    ASSERT_EQ(game->phase(), QuizGame::Phase::FinalScores);
    EXPECT_EQ(zoe.waitFor("state", since).value("best").toString(), "Zoe (1)");
}

// The hall of fame's name comes from the phone of the player whose entry is open, checked
// like every message and taken as plain text; the other phones are told who is entering it,
// and the first name sent is the one that counts.
TEST_F(ProtocolTest, OnlyTheRankingPlayersPhoneEntersTheHallOfFameName) {
    PhoneClient *anna = nullptr, *ben = nullptr;
    ASSERT_NO_FATAL_FAILURE(startTwoPlayerGame(anna, ben));
    ASSERT_TRUE(advanceUntil([&] { return game->canEndGame(); }));
    game->setNameEntryWanted([] { return true; });
    game->endGame();
    game->confirmPanel();
    ASSERT_EQ(game->phase(), QuizGame::Phase::NameEntry);
    QList<std::pair<int, QString>> entered;
    QObject::connect(bridge.get(), &PhoneGameBridge::nameEntered,
                     [&](int slot, const QString& name) {
                         entered.append({slot, name});
                     });

    bridge->offerNameEntry(2, 3, 45, QStringLiteral("Ben"));
    waitUntil([&] { return anna->last("state").contains("entry"); });
    const QJsonObject entry = anna->last("state").value("entry").toObject();
    EXPECT_EQ(entry.value("slot").toInt(), 2);
    EXPECT_EQ(entry.value("player").toString(), "Ben");
    EXPECT_EQ(entry.value("place").toInt(), 3);
    EXPECT_EQ(entry.value("score").toInt(), 45);

    const struct {
        PhoneClient* phone;
        QJsonValue name;
        const char* reason;
    } refused[] = {
        {anna, "Anna", "not your entry"},
        {ben, "Benjamin-11", "the name must have 1 to 10 characters"},
        {ben, "Ben\u0007", "the name must have 1 to 10 characters"},
        {ben, 42, "the name must have 1 to 10 characters"},
    };
    for (const auto& r : refused) {
        const qsizetype since = r.phone->count();
        r.phone->sendJson({{"type", "name"}, {"name", r.name}});
        EXPECT_EQ(errorAfter(*r.phone, since), r.reason)
            << r.name.toVariant().toString().toStdString();
    }
    EXPECT_TRUE(entered.isEmpty());

    const qsizetype since = ben->count();
    ben->sendJson({{"type", "name"}, {"name", " <b>Bo</b> "}});
    tap(*ben, {{"type", "name"}, {"name", "Second"}});
    ASSERT_EQ(entered.size(), 1);
    EXPECT_EQ(entered[0], std::make_pair(2, QStringLiteral("<b>Bo</b>")));
    EXPECT_EQ(errorAfter(*ben, since), "not now") << "the first name counts";
    EXPECT_FALSE(ben->last("state").contains("entry"));
}

// Closing the server tells every phone; the page is served at "/" and nothing else is.
TEST_F(ProtocolTest, HttpServesThePageOnlyAndClosingTellsThePhones) {
    QNetworkAccessManager http;
    const auto get = [&](const QString& path) {
        std::unique_ptr<QNetworkReply> reply(http.get(QNetworkRequest(
            QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server->port()).arg(path)))));
        waitUntil([&] { return reply->isFinished(); });
        return std::make_pair(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                              reply->readAll());
    };
    const auto [status, body] = get(QStringLiteral("/"));
    EXPECT_EQ(status, 200);
    EXPECT_TRUE(body.contains("<title>Trivora</title>"));
    EXPECT_FALSE(body.contains("http://")) << "nothing is fetched from elsewhere";
    for (const char* path :
         {"/index.html", "/../../etc/passwd", "/%2e%2e/etc/passwd", "/ws", "/phone/index.html"})
        EXPECT_EQ(get(QString::fromLatin1(path)).first, 404) << path;

    PhoneClient& wrongPath = *phones.emplace_back(
        std::make_unique<PhoneClient>(server->port(), QStringLiteral("/other")));
    EXPECT_TRUE(wrongPath.waitClosed());
    PhoneClient& foreignPage = *phones.emplace_back(std::make_unique<PhoneClient>(
        server->port(), QStringLiteral("/ws"), QStringLiteral("http://evil.example")));
    EXPECT_TRUE(foreignPage.waitClosed());

    PhoneClient& anna = joined(QStringLiteral("Anna"));
    server->close();
    EXPECT_FALSE(anna.waitFor("closed", 0).isEmpty());
    EXPECT_TRUE(anna.waitClosed());
}
} // namespace
