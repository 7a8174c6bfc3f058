#pragma once

#include "ManualClock.h"
#include "PhoneClient.h"
#include "PhoneGameBridge.h"
#include "PhoneServer.h"
#include "QstFixtures.h"
#include "QuizGame.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The real game on the manual clock in attract mode over numbered questions, the phone server
// listening on a free loopback port with the join code "1234", and the bridge between them.
class PhoneFixture : public ::testing::Test {
protected:
    void SetUp() override { create({}); }
    void create(PhoneServer::Limits limits) {
        bridge.reset();
        server.reset();
        QstFixtures::writeNumberedSet(dir.file("REGD.QST"), 20);
        game = std::make_unique<QuizGame>(clock, dir.path(), [] { return 12345u; });
        game->enterAttractMode();
        server = std::make_unique<PhoneServer>(clock, limits);
        ASSERT_TRUE(server->listen(0));
        server->setJoinCode(QStringLiteral("1234"));
        bridge = std::make_unique<PhoneGameBridge>(*game, *server);
    }

    // A new phone connected to the server (not joined).
    PhoneClient& phone() {
        phones.push_back(std::make_unique<PhoneClient>(server->port()));
        return *phones.back();
    }
    // A new phone joined with that name.
    PhoneClient& joined(const QString& name) {
        PhoneClient& p = phone();
        EXPECT_TRUE(p.join(name, QStringLiteral("1234"))) << name.toStdString();
        return p;
    }
    // Moves the clock on until pred holds; false after limitMs of game time.
    bool advanceUntil(const std::function<bool()>& pred, int limitMs = 60000) {
        for (int ms = 0; ms < limitMs && !pred(); ++ms)
            clock.advance(1);
        return pred();
    }
    // Sends a message and lets the server read it and answer.
    void tap(PhoneClient& p, const QJsonObject& m) {
        const qsizetype since = p.count();
        p.sendJson(m);
        waitUntil([&] { return p.count() > since; }, 300);
    }
    // The error reason the phone was sent last, waiting for one after `since` messages.
    static QString errorAfter(PhoneClient& p, qsizetype since) {
        return p.waitFor(QStringLiteral("error"), since).value(QStringLiteral("reason")).toString();
    }
    // Processes the events of sockets until each phone has everything sent to it.
    void settle() {
        waitUntil([] { return false; }, 100);
    }

    TempDir dir;
    ManualClock clock;
    std::unique_ptr<QuizGame> game;
    std::unique_ptr<PhoneServer> server;
    std::unique_ptr<PhoneGameBridge> bridge;
    std::vector<std::unique_ptr<PhoneClient>> phones;
};
