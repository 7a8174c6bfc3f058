#include "GameFixture.h"

#include <QTest>

namespace {
const QColor Red(0xFF, 0x00, 0x00);
const QColor Maroon(0x80, 0x00, 0x00);
const QColor Grey(0x80, 0x80, 0x80);
const QColor White(0xFF, 0xFF, 0xFF);
} // namespace

class PlayersTest : public TGameFixture {
protected:
    // The number picture shown on the Ready panel (1-4), 0 for none.
    int ReadyNumber() const {
        const TImage* numbers[4] = {Screen->One, Screen->Two, Screen->Three, Screen->Four};
        int shown = 0;
        for (int k = 0; k < 4; ++k)
            if (Visible(numbers[k])) shown = shown == 0 ? k + 1 : -1;
        return shown;
    }
    QStringList FinalRows() const {
        QStringList rows;
        for (std::size_t k = 0; k < 4; ++k)
            rows << Screen->NAME[k]->Caption() + QLatin1Char('=') + Screen->SCORE[k]->Caption();
        return rows;
    }
};

// Typing a name colours its slot and counts the player; Clear empties it; a box takes at
// most 10 characters; spaces make a name.
TEST_F(PlayersTest, NameEntryColoursAndCounts) {
    Create();
    Screen->RedTMouseDown(Screen->StartT);
    ASSERT_TRUE(Visible(Screen->PlayerPanel));
    QLineEdit* box = Screen->PlayerName[1];
    QTest::keyClicks(box, QStringLiteral("Maximiliana"));
    EXPECT_EQ(box->text(), QStringLiteral("Maximilian"));
    EXPECT_EQ(Screen->game.playerCount, 1);
    EXPECT_EQ(Screen->PlayerSlotPanel[1]->Color(), Red);
    EXPECT_EQ(Screen->Clear[1]->Color(), Red);
    EXPECT_EQ(Screen->Clear[1]->FontColor(), Grey);
    EXPECT_EQ(Screen->PlayerSlotPanel[0]->Color(), Maroon);
    EXPECT_EQ(Screen->Clear[0]->FontColor(), Maroon);
    Screen->PlayerName[3]->setText(QStringLiteral("  "));
    EXPECT_EQ(Screen->game.playerCount, 2);

    // Hover: raised with white text over a named slot's Clear, flat again over its slot.
    Screen->Clear1MouseMove(2);
    EXPECT_EQ(Screen->Clear[1]->BevelOuter(), TBevel::Raised);
    EXPECT_EQ(Screen->Clear[1]->FontColor(), White);
    Screen->PlayerPanelMouseMove(2);
    EXPECT_EQ(Screen->Clear[1]->BevelOuter(), TBevel::None);
    EXPECT_EQ(Screen->Clear[1]->FontColor(), Grey);
    Screen->Clear1MouseMove(1); // the hidden button of an empty slot
    EXPECT_EQ(Screen->Clear[0]->BevelOuter(), TBevel::None);
    Screen->Clear1MouseMove(4);
    Screen->PlayerPanelMouseMove(0);
    EXPECT_EQ(Screen->Clear[3]->BevelOuter(), TBevel::None);

    Screen->Clear1MouseDown(2);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(Screen->game.playerCount, 1);
    EXPECT_EQ(Screen->PlayerSlotPanel[1]->Color(), Maroon);
    EXPECT_EQ(Screen->Clear[1]->FontColor(), Maroon);
    Screen->Clear1MouseDown(1);
    EXPECT_EQ(Screen->game.playerCount, 1);

    Screen->OKDispMouseMove();
    EXPECT_EQ(Screen->OK3->BevelOuter(), TBevel::Raised);
    Screen->PlayerPanelMouseMove(0);
    EXPECT_EQ(Screen->OK3->BevelOuter(), TBevel::None);
}

// Enter in a name box confirms the players (and goes no further into the box); other keys
// are left to the box.
TEST_F(PlayersTest, EnterInANameBoxIsOk) {
    Create();
    Screen->RedTMouseDown(Screen->StartT);
    EXPECT_FALSE(Screen->Player1KeyPress(QLatin1Char('x')));
    EXPECT_FALSE(Screen->game.gameRunning);
    EXPECT_TRUE(Screen->Player1KeyPress(QChar(13)));
    EXPECT_TRUE(Screen->game.gameRunning);
    EXPECT_FALSE(Visible(Screen->PlayerPanel));
}

// START without a usable set only says so; with one it opens the entry panel with last
// game's names, and a second START while the first Ready panel shows is ignored.
TEST_F(PlayersTest, StartPress) {
    Create();
    Screen->game.questionFile = QStringLiteral("N/A");
    Screen->RedTMouseDown(Screen->StartT);
    EXPECT_EQ(Dialogs.Texts(), QStringList{QStringLiteral("Please select question file.")});
    EXPECT_FALSE(Visible(Screen->PlayerPanel));
    EXPECT_TRUE(Screen->Timer1->Enabled());

    CreateScreen();
    Dialogs.Clear();
    Screen->RedTMouseDown(Screen->StartT);
    EXPECT_TRUE(Visible(Screen->PlayerPanel));
    EXPECT_FALSE(Screen->Timer1->Enabled());
    EXPECT_EQ(Screen->display.startLit, 0);
    SetNames({QStringLiteral("Ann"), QStringLiteral("Bob")});
    Screen->OKDispMouseDown();
    ASSERT_TRUE(Visible(Screen->ReadyPanel));
    EXPECT_EQ(Screen->game.currentPlayer, 1);
    Screen->RedTMouseDown(Screen->StartT);
    Screen->OKDispMouseDown();
    EXPECT_EQ(Screen->game.currentPlayer, 1);
    EXPECT_TRUE(Screen->NewGame->Enabled());
    Advance(2500);
    EXPECT_TRUE(Screen->game.gameRunning);
    EXPECT_EQ(Screen->game.currentPlayer, 1);
    EXPECT_TRUE(Dialogs.Texts().isEmpty());
}

// Boxes 2 and 4 named: the turns go 2, 4, 2, 4, each after 2.5 s of GET READY with the
// player's number and name between asterisks.
TEST_F(PlayersTest, TurnsAlternateBetweenNamedSlots) {
    Create();
    StartGame({QString(), QStringLiteral("Ann"), QString(), QStringLiteral("Bob")});
    EXPECT_EQ(Screen->game.playerCredits, (std::array<int, 4>{0, 5, 0, 5}));
    EXPECT_EQ(Screen->game.playerScores, (std::array<int, 4>{0, 5, 0, 5}));
    const int order[4] = {2, 4, 2, 4};
    for (int turn : order) {
        SCOPED_TRACE(turn);
        ASSERT_TRUE(Visible(Screen->ReadyPanel));
        EXPECT_FALSE(Visible(Screen->GameOver2));
        EXPECT_EQ(Screen->game.currentPlayer, turn);
        EXPECT_EQ(ReadyNumber(), turn);
        EXPECT_EQ(Screen->NamePanel->Caption(),
                  turn == 2 ? QStringLiteral("* Ann *") : QStringLiteral("* Bob *"));
        EXPECT_FALSE(Screen->Timer3->Enabled());
        Advance(2499);
        EXPECT_TRUE(Visible(Screen->ReadyPanel));
        Advance(1);
        EXPECT_FALSE(Visible(Screen->ReadyPanel));
        EXPECT_TRUE(Screen->game.gameRunning);
        EXPECT_TRUE(Screen->NewGame1->isVisible());
        EXPECT_FALSE(Screen->LoadQuestions1->isEnabled());
        EXPECT_FALSE(Screen->EditCreateQuestions1->isEnabled());
        LoseQuestion();
    }
    EXPECT_EQ(Screen->game.playerCredits, (std::array<int, 4>{0, 3, 0, 3}));
}

// A player whose credit is gone gets GAME OVER with their own number and name for 2.5 s, the
// next player's GET READY follows, and the out player is skipped from then on.
TEST_F(PlayersTest, PlayerOutNoticeThenSkipped) {
    Create();
    StartGame({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cy")});
    Screen->game.playerCredits[0] = 1;
    Advance(2500);
    LoseQuestion(); // Ann: 0
    EXPECT_TRUE(Visible(Screen->ReadyPanel));
    EXPECT_TRUE(Visible(Screen->GameOver2));
    EXPECT_EQ(ReadyNumber(), 1);
    EXPECT_EQ(Screen->NamePanel->Caption(), QStringLiteral("* Ann *"));
    Advance(2499);
    EXPECT_TRUE(Visible(Screen->GameOver2));
    Advance(1);
    EXPECT_FALSE(Visible(Screen->GameOver2));
    EXPECT_EQ(ReadyNumber(), 2);
    EXPECT_EQ(Screen->NamePanel->Caption(), QStringLiteral("* Bob *"));
    EXPECT_EQ(Meter(), QStringLiteral("    5"));
    Advance(2500);
    LoseQuestion();
    EXPECT_EQ(ReadyNumber(), 3);
    Advance(2500);
    LoseQuestion();
    EXPECT_EQ(ReadyNumber(), 2);
    EXPECT_EQ(Screen->game.playerCredits, (std::array<int, 4>{0, 4, 4, 0}));
}

// Final scores list all four rows in slot order: named players by name, the others by their
// default captions with 0; a one-player game scores its only named slot, or row 1.
TEST_F(PlayersTest, FinalScoreRows) {
    struct Case {
        QStringList Names;
        QStringList Rows;
    };
    const Case cases[] = {
        {{}, {"Player One=5", "Player Two=0", "Player Three=0", "Player Four=0"}},
        {{"", "", "Ann"}, {"Player One=0", "Player Two=0", "Ann=5", "Player Four=0"}},
        {{"Ann", "", "", "Dee"}, {"Ann=5", "Player Two=0", "Player Three=0", "Dee=5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Names.join(',').toStdString());
        Create();
        StartGame(c.Names);
        Screen->GameOverStep();
        Advance(4000);
        ASSERT_TRUE(Visible(Screen->FinalScorePanel));
        EXPECT_EQ(FinalRows(), c.Rows);
    }
}

// OK on the final scores returns to attract mode with the start-up set and the names kept;
// the next game's players start afresh, and the previous game's lone player takes no part.
TEST_F(PlayersTest, FinalOkReturnsToAttractModeForTheNextGame) {
    Create();
    StartGame({QStringLiteral("Ann")});
    Screen->game.questionFile = ProgramDir() + QStringLiteral("/OTHER.QST");
    Screen->GameOverStep();
    Advance(4000);
    Screen->Image36MouseMove();
    EXPECT_EQ(Screen->OK4->BevelOuter(), TBevel::Raised);
    Screen->FinalScorePanelMouseMove();
    EXPECT_EQ(Screen->OK4->BevelOuter(), TBevel::None);
    Screen->Image36MouseDown();
    EXPECT_FALSE(Visible(Screen->FinalScorePanel));
    EXPECT_FALSE(Screen->game.gameRunning);
    EXPECT_TRUE(Screen->Timer1->Enabled());
    EXPECT_TRUE(Screen->LoadQuestions1->isEnabled());
    EXPECT_EQ(Screen->game.questionFile, ProgramDir() + QStringLiteral("/REGD.QST"));
    EXPECT_EQ(Screen->PlayerName[0]->text(), QStringLiteral("Ann"));

    Screen->RedTMouseDown(Screen->StartT);
    EXPECT_TRUE(Visible(Screen->PlayerPanel));
    SetNames({QString(), QStringLiteral("Bob"), QStringLiteral("Cy")});
    Screen->OKDispMouseDown();
    EXPECT_EQ(Screen->game.playerCredits, (std::array<int, 4>{0, 5, 5, 0}));
    EXPECT_EQ(Screen->game.playerScores, (std::array<int, 4>{0, 5, 5, 0}));
    EXPECT_EQ(Screen->game.currentPlayer, 2);
}
