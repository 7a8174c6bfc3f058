#include "GameFixture.h"
#include "PlayerEntryPanel.h"
#include "FinalScoresPanel.h"
#include "ReadyPanel.h"
#include "GamePosition.h"

#include <QTest>

namespace {
const QColor Red(0xFF, 0x00, 0x00);
const QColor Maroon(0x80, 0x00, 0x00);
const QColor Grey(0x80, 0x80, 0x80);
const QColor White(0xFF, 0xFF, 0xFF);
} // namespace

class PlayersTest : public GameFixture {
protected:
    // The number picture shown on the Ready panel (1-4), 0 for none.
    int readyNumber() const {
        const ImageView* numbers[4] = {screen->readyPanel->numbers[0], screen->readyPanel->numbers[1],
                                       screen->readyPanel->numbers[2], screen->readyPanel->numbers[3]};
        int shown = 0;
        for (int k = 0; k < 4; ++k)
            if (visible(numbers[k])) shown = shown == 0 ? k + 1 : -1;
        return shown;
    }
    QStringList finalRows() const {
        QStringList rows;
        for (std::size_t k = 0; k < 4; ++k)
            rows << screen->finalScorePanel->names[k]->caption() + QLatin1Char('=') +
                        screen->finalScorePanel->scores[k]->caption();
        return rows;
    }
};

// Typing a name colours its slot and counts the player; Clear empties it; a box takes at
// most 10 characters; spaces make a name.
TEST_F(PlayersTest, NameEntryColoursAndCounts) {
    create();
    screen->pressControl(screen->buttons->startButton);
    ASSERT_TRUE(visible(screen->playerPanel));
    QLineEdit* box = screen->playerPanel->nameBoxes[1];
    QTest::keyClicks(box, QStringLiteral("Maximiliana"));
    EXPECT_EQ(box->text(), QStringLiteral("Maximilian"));
    EXPECT_EQ(screen->game.players().count(), 1);
    EXPECT_EQ(screen->playerPanel->nameSlots[1]->color(), Red);
    EXPECT_EQ(screen->playerPanel->clearButtons[1]->color(), Red);
    EXPECT_EQ(screen->playerPanel->clearButtons[1]->fontColor(), Grey);
    EXPECT_EQ(screen->playerPanel->nameSlots[0]->color(), Maroon);
    EXPECT_EQ(screen->playerPanel->clearButtons[0]->fontColor(), Maroon);
    screen->playerPanel->nameBoxes[3]->setText(QStringLiteral("  "));
    EXPECT_EQ(screen->game.players().count(), 2);

    // Hover: raised with white text over a named slot's Clear, flat again over its slot.
    screen->playerPanel->raiseClearButton(2);
    EXPECT_EQ(screen->playerPanel->clearButtons[1]->bevelOuter(), Bevel::Raised);
    EXPECT_EQ(screen->playerPanel->clearButtons[1]->fontColor(), White);
    screen->playerPanel->flattenButtons(2);
    EXPECT_EQ(screen->playerPanel->clearButtons[1]->bevelOuter(), Bevel::None);
    EXPECT_EQ(screen->playerPanel->clearButtons[1]->fontColor(), Grey);
    screen->playerPanel->raiseClearButton(1); // the hidden button of an empty slot
    EXPECT_EQ(screen->playerPanel->clearButtons[0]->bevelOuter(), Bevel::None);
    screen->playerPanel->raiseClearButton(4);
    screen->playerPanel->flattenButtons(0);
    EXPECT_EQ(screen->playerPanel->clearButtons[3]->bevelOuter(), Bevel::None);

    screen->playerPanel->clearName(2);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(screen->game.players().count(), 1);
    EXPECT_EQ(screen->playerPanel->nameSlots[1]->color(), Maroon);
    EXPECT_EQ(screen->playerPanel->clearButtons[1]->fontColor(), Maroon);
    screen->playerPanel->clearName(1);
    EXPECT_EQ(screen->game.players().count(), 1);

    screen->playerPanel->raiseOk();
    EXPECT_EQ(screen->playerPanel->okFrame->bevelOuter(), Bevel::Raised);
    screen->playerPanel->flattenButtons(0);
    EXPECT_EQ(screen->playerPanel->okFrame->bevelOuter(), Bevel::None);
}

// Enter in a name box confirms the players (and goes no further into the box); other keys
// are left to the box.
TEST_F(PlayersTest, EnterInANameBoxIsOk) {
    create();
    screen->pressControl(screen->buttons->startButton);
    EXPECT_FALSE(screen->nameBoxKeyTyped(QLatin1Char('x')));
    EXPECT_FALSE(screen->game.gameRunning());
    EXPECT_TRUE(screen->nameBoxKeyTyped(QChar(13)));
    EXPECT_TRUE(screen->game.gameRunning());
    EXPECT_FALSE(visible(screen->playerPanel));
}

// START without a usable set only says so; with one it opens the entry panel with last
// game's names, and a second START while the first Ready panel shows is ignored.
TEST_F(PlayersTest, StartPress) {
    create();
    GamePosition::setQuestionFile(screen->game, QStringLiteral("N/A"));
    screen->pressControl(screen->buttons->startButton);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Please select question file.")});
    EXPECT_FALSE(visible(screen->playerPanel));
    EXPECT_TRUE(screen->attract->buttonTimer->enabled());

    createScreen();
    dialogs.clear();
    screen->pressControl(screen->buttons->startButton);
    EXPECT_TRUE(visible(screen->playerPanel));
    EXPECT_FALSE(screen->attract->buttonTimer->enabled());
    EXPECT_EQ(screen->display.startLit, 0);
    setNames({QStringLiteral("Ann"), QStringLiteral("Bob")});
    screen->playerPanel->confirm();
    ASSERT_TRUE(visible(screen->readyPanel));
    EXPECT_EQ(screen->game.players().current(), 1);
    screen->pressControl(screen->buttons->startButton);
    screen->playerPanel->confirm();
    EXPECT_EQ(screen->game.players().current(), 1);
    EXPECT_TRUE(screen->game.timer(QuizGame::GameTimer::Ready).enabled());
    advance(2500);
    EXPECT_TRUE(screen->game.gameRunning());
    EXPECT_EQ(screen->game.players().current(), 1);
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

// Boxes 2 and 4 named: the turns go 2, 4, 2, 4, each after 2.5 s of GET READY with the
// player's number and name between asterisks.
TEST_F(PlayersTest, TurnsAlternateBetweenNamedSlots) {
    create();
    startGame({QString(), QStringLiteral("Ann"), QString(), QStringLiteral("Bob")});
    EXPECT_EQ(screen->game.players().credits(), (std::array<int, 4>{0, 5, 0, 5}));
    EXPECT_EQ(screen->game.players().scores(), (std::array<int, 4>{0, 5, 0, 5}));
    const int order[4] = {2, 4, 2, 4};
    for (int turn : order) {
        SCOPED_TRACE(turn);
        ASSERT_TRUE(visible(screen->readyPanel));
        EXPECT_FALSE(visible(screen->readyPanel->playerOutHeading));
        EXPECT_EQ(screen->game.players().current(), turn);
        EXPECT_EQ(readyNumber(), turn);
        EXPECT_EQ(screen->readyPanel->name->caption(),
                  turn == 2 ? QStringLiteral("* Ann *") : QStringLiteral("* Bob *"));
        EXPECT_FALSE(screen->game.timer(QuizGame::GameTimer::Reveal).enabled());
        advance(2499);
        EXPECT_TRUE(visible(screen->readyPanel));
        advance(1);
        EXPECT_FALSE(visible(screen->readyPanel));
        EXPECT_TRUE(screen->game.gameRunning());
        EXPECT_TRUE(screen->endGameAction->isVisible());
        EXPECT_FALSE(screen->changeQuestionFileAction->isEnabled());
        EXPECT_FALSE(screen->editQuestionsAction->isEnabled());
        loseQuestion();
    }
    EXPECT_EQ(screen->game.players().credits(), (std::array<int, 4>{0, 3, 0, 3}));
}

// A player whose credit is gone gets GAME OVER with their own number and name for 2.5 s, the
// next player's GET READY follows, and the out player is skipped from then on.
TEST_F(PlayersTest, PlayerOutNoticeThenSkipped) {
    create();
    startGame({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cy")});
    GamePosition::setPlayerCredit(screen->game, 0 + 1, 1);
    advance(2500);
    loseQuestion(); // Ann: 0
    EXPECT_TRUE(visible(screen->readyPanel));
    EXPECT_TRUE(visible(screen->readyPanel->playerOutHeading));
    EXPECT_EQ(readyNumber(), 1);
    EXPECT_EQ(screen->readyPanel->name->caption(), QStringLiteral("* Ann *"));
    advance(2499);
    EXPECT_TRUE(visible(screen->readyPanel->playerOutHeading));
    advance(1);
    EXPECT_FALSE(visible(screen->readyPanel->playerOutHeading));
    EXPECT_EQ(readyNumber(), 2);
    EXPECT_EQ(screen->readyPanel->name->caption(), QStringLiteral("* Bob *"));
    EXPECT_EQ(meter(), QStringLiteral("    5"));
    advance(2500);
    loseQuestion();
    EXPECT_EQ(readyNumber(), 3);
    advance(2500);
    loseQuestion();
    EXPECT_EQ(readyNumber(), 2);
    EXPECT_EQ(screen->game.players().credits(), (std::array<int, 4>{0, 4, 4, 0}));
}

// Final scores list all four rows in slot order: named players by name, the others by their
// default captions with 0; a one-player game scores its only named slot, or row 1.
TEST_F(PlayersTest, FinalScoreRows) {
    struct Case {
        QStringList names;
        QStringList rows;
    };
    const Case cases[] = {
        {{}, {"Player One=5", "Player Two=0", "Player Three=0", "Player Four=0"}},
        {{"", "", "Ann"}, {"Player One=0", "Player Two=0", "Ann=5", "Player Four=0"}},
        {{"Ann", "", "", "Dee"}, {"Ann=5", "Player Two=0", "Player Three=0", "Dee=5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.join(',').toStdString());
        create();
        startGame(c.names);
        GamePosition::enterPhase(screen->game, QuizGame::Phase::GameOver);
        advance(4000);
        ASSERT_TRUE(visible(screen->finalScorePanel));
        EXPECT_EQ(finalRows(), c.rows);
    }
}

// OK on the final scores returns to attract mode with the start-up set and the names kept;
// the next game's players start afresh, and the previous game's lone player takes no part.
TEST_F(PlayersTest, FinalOkReturnsToAttractModeForTheNextGame) {
    create();
    startGame({QStringLiteral("Ann")});
    GamePosition::setQuestionFile(screen->game, programDir() + QStringLiteral("/OTHER.QST"));
    GamePosition::enterPhase(screen->game, QuizGame::Phase::GameOver);
    advance(4000);
    screen->finalScorePanel->raiseOk();
    EXPECT_EQ(screen->finalScorePanel->okFrame->bevelOuter(), Bevel::Raised);
    screen->finalScorePanel->flattenOk();
    EXPECT_EQ(screen->finalScorePanel->okFrame->bevelOuter(), Bevel::None);
    screen->finalScorePanel->confirm();
    EXPECT_FALSE(visible(screen->finalScorePanel));
    EXPECT_FALSE(screen->game.gameRunning());
    EXPECT_TRUE(screen->attract->buttonTimer->enabled());
    EXPECT_TRUE(screen->changeQuestionFileAction->isEnabled());
    EXPECT_EQ(screen->game.draw().file(), programDir() + QStringLiteral("/REGD.QST"));
    EXPECT_EQ(screen->playerPanel->nameBoxes[0]->text(), QStringLiteral("Ann"));

    screen->pressControl(screen->buttons->startButton);
    EXPECT_TRUE(visible(screen->playerPanel));
    setNames({QString(), QStringLiteral("Bob"), QStringLiteral("Cy")});
    screen->playerPanel->confirm();
    EXPECT_EQ(screen->game.players().credits(), (std::array<int, 4>{0, 5, 5, 0}));
    EXPECT_EQ(screen->game.players().scores(), (std::array<int, 4>{0, 5, 5, 0}));
    EXPECT_EQ(screen->game.players().current(), 2);
}
