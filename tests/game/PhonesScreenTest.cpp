#include "GameFixture.h"
#include "PlayerEntryPanel.h"
#include "PhoneBadge.h"
#include "PhoneBuzzers.h"
#include "PhoneClient.h"
#include "PhoneServer.h"

#include <QTcpServer>

namespace {
class PhonesScreenTest : public GameFixture {
protected:
    void SetUp() override { create(); }
    PhoneBadge& badge() { return *screen->phones->badge(); }
    // Switches the phones on from the File menu, on a free port.
    void switchOn() {
        settings.setPhonesPort(PhoneServer::findFreePort());
        screen->phonesAction->trigger();
        ASSERT_TRUE(screen->phones->running());
    }
};

// The phones are off by default; the File menu's entry switches them on, shows the address and
// join code on the attract screen and the player entry only, and keeps the choice; switching
// off asks first.
TEST_F(PhonesScreenTest, MenuEntrySwitchesThePhonesAndTheJoinCardFollowsThePhase) {
    EXPECT_FALSE(screen->phones->running());
    EXPECT_FALSE(settings.phonesWanted());
    EXPECT_EQ(screen->phonesAction->text(), QStringLiteral("Phones as &Buzzers\u2026"));
    EXPECT_TRUE(screen->fileMenu->actions().contains(screen->phonesAction));
    ASSERT_NO_FATAL_FAILURE(switchOn());
    EXPECT_TRUE(screen->phonesAction->isChecked());
    EXPECT_TRUE(settings.phonesWanted());
    EXPECT_TRUE(visible(&badge()));
    EXPECT_EQ(badge().code(), screen->phones->server()->joinCode());
    EXPECT_EQ(badge().address(), QStringLiteral("http://%1:%2/")
                                     .arg(PhoneServer::lanAddress().toString())
                                     .arg(screen->phones->server()->port()));

    screen->pressControl(screen->buttons->startButton);
    EXPECT_TRUE(visible(&badge())) << "the player entry";
    setNames({QStringLiteral("Anna")});
    screen->playerPanel->confirm();
    EXPECT_FALSE(visible(&badge())) << "a game";

    screen->phonesAction->trigger(); // asked; the script answers No
    EXPECT_TRUE(screen->phones->running());
    dialogs.answer(MsgButton::Yes);
    screen->phonesAction->trigger();
    EXPECT_FALSE(screen->phones->running());
    EXPECT_FALSE(screen->phonesAction->isChecked());
    EXPECT_FALSE(settings.phonesWanted());
}

// The join card at the player entry leaves the name boxes and OK in view, at the design size
// and on a big screen, and grows with the play area so that the room can scan it from afar.
TEST_F(PhonesScreenTest, JoinCardKeepsClearOfTheNameBoxesAndGrowsWithThePlayArea) {
    ASSERT_NO_FATAL_FAILURE(switchOn());
    screen->show(); // the card follows its play area's resize events
    screen->pressControl(screen->buttons->startButton);
    int smaller = 0;
    for (const QSize size : {QSize(652, 253), QSize(1920, 860)}) {
        SCOPED_TRACE(size.width());
        screen->playArea->resize(size);
        screen->layOutPlayArea();
        const auto inPlayArea = [this](const QWidget* w) {
            return QRect(w->mapTo(screen->playArea, QPoint(0, 0)), w->size());
        };
        const QRect card = inPlayArea(&badge());
        EXPECT_TRUE(screen->playArea->rect().contains(card));
        for (const Panel* slot : screen->playerPanel->nameSlots)
            EXPECT_FALSE(card.intersects(inPlayArea(slot))) << slot->objectName().toStdString();
        EXPECT_FALSE(card.intersects(inPlayArea(screen->playerPanel->okFrame)));
        EXPECT_GT(card.height(), smaller);
        smaller = card.height();
    }
}

// A port in use is named in a clear message and a free port is offered; refusing it leaves
// the phones off and the game as it was.
TEST_F(PhonesScreenTest, PortInUseOffersAFreePort) {
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::Any, 0));
    settings.setPhonesPort(squatter.serverPort());
    screen->phonesAction->trigger(); // No to the offer
    EXPECT_FALSE(screen->phones->running());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith(
        QStringLiteral("Port %1 is in use by another program").arg(squatter.serverPort())));
    EXPECT_EQ(screen->game.phase(), QuizGame::Phase::Attract);

    dialogs.answer(MsgButton::Yes);
    screen->phonesAction->trigger();
    ASSERT_TRUE(screen->phones->running());
    EXPECT_NE(screen->phones->server()->port(), squatter.serverPort());
    EXPECT_EQ(settings.phonesPort(), screen->phones->server()->port());
}

// Phones that join at the player entry fill the name boxes in join order, around a name typed
// at the keyboard, as plain text, and the game is played with those names.
TEST_F(PhonesScreenTest, PhoneNamesFillTheNameBoxes) {
    ASSERT_NO_FATAL_FAILURE(switchOn());
    screen->pressControl(screen->buttons->startButton);
    screen->playerPanel->nameBoxes[0]->setText(QStringLiteral("Keys"));
    const QString code = screen->phones->server()->joinCode();
    PhoneClient anna(screen->phones->server()->port());
    PhoneClient ben(screen->phones->server()->port());
    ASSERT_TRUE(anna.join(QStringLiteral("Anna"), code));
    ASSERT_TRUE(ben.join(QStringLiteral("<i>Ben</i>"), code));
    EXPECT_EQ(screen->playerPanel->nameBoxes[0]->text(), QStringLiteral("Keys"));
    EXPECT_EQ(screen->playerPanel->nameBoxes[1]->text(), QStringLiteral("Anna"));
    EXPECT_EQ(screen->playerPanel->nameBoxes[2]->text(), QStringLiteral("<i>Ben</i>")) << "as text";
    screen->playerPanel->confirm();
    EXPECT_EQ(screen->game.players().name(2), QStringLiteral("Anna"));
    EXPECT_EQ(screen->game.players().count(), 3);
}
} // namespace
