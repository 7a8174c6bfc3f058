// Players, turns and the final scores.
#include "Quiz.h"

#include "Dialogs.h"

#include <QAction>
#include <QLineEdit>

#include <algorithm>

namespace {
// Slot colours (a named slot glows red; an empty one is maroon with its Clear button hidden
// in the same colour).
const QColor NamedColor(0xFF, 0x00, 0x00);
const QColor EmptyColor(0x80, 0x00, 0x00);
const QColor ClearTextColor(0x80, 0x80, 0x80);
const QColor ClearHoverTextColor(0xFF, 0xFF, 0xFF);
} // namespace

void TQuizScreen::StartPress() {
    if (game.gameRunning) return;
    // The Ready panel of a new game is up: the players are already chosen.
    if (!ReadyPanel->isHidden()) return;
    if (!game.hasQuestionFile()) {
        FServices.Dialogs.Warning(this, QuizGame::selectQuestionFileMessage);
        return;
    }
    game.currentPlayer = 0;
    Timer1->Stop();
    DrawButtons(false, false, false, false, false);
    PlayerPanel->show();
    PlayerName[0]->setFocus();
}

void TQuizScreen::Player1Change(int slot) {
    if (slot < 1 || slot > 4) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    const bool named = !PlayerName[k]->text().isEmpty();
    PlayerSlotPanel[k]->SetColor(named ? NamedColor : EmptyColor);
    Clear[k]->SetColor(named ? NamedColor : EmptyColor);
    Clear[k]->SetFontColor(named ? ClearTextColor : EmptyColor);
    if (!named) Clear[k]->SetBevelOuter(TBevel::None);
    PlayerSlotPanel[k]->setAccessibleDescription(named ? PlayerName[k]->text() : QString());
    game.setPlayerName(slot, PlayerName[k]->text());
}

void TQuizScreen::Clear1MouseDown(int slot) {
    if (slot < 1 || slot > 4) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    PlayerName[k]->clear();
    Clear[k]->SetBevelOuter(TBevel::None);
}

void TQuizScreen::Clear1MouseMove(int slot) {
    if (slot < 1 || slot > 4) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    if (PlayerName[k]->text().isEmpty()) return;
    Clear[k]->SetBevelOuter(TBevel::Raised);
    Clear[k]->SetFontColor(ClearHoverTextColor);
}

void TQuizScreen::PlayerPanelMouseMove(int slot) {
    // Over one slot: flatten its Clear button; over the panel itself: all four, and the OK.
    for (int s = 1; s <= 4; ++s) {
        if (slot != 0 && s != slot) continue;
        const auto k = static_cast<std::size_t>(s - 1);
        Clear[k]->SetBevelOuter(TBevel::None);
        Clear[k]->SetFontColor(PlayerName[k]->text().isEmpty() ? EmptyColor : ClearTextColor);
    }
    if (slot == 0) OK3->SetBevelOuter(TBevel::None);
}

bool TQuizScreen::Player1KeyPress(QChar key) {
    if (key != QChar(13)) return false;
    OKDispMouseDown();
    return true;
}

void TQuizScreen::OKDispMouseDown() {
    // Only the open entry panel confirms players, and only once per game.
    if (PlayerPanel->isHidden() || !ReadyPanel->isHidden() || game.gameRunning) return;
    // A set changed for a bad one while the names were typed: no game without questions.
    // The entry stays open so that another set can be chosen.
    if (!game.hasQuestionFile()) {
        FServices.Dialogs.Warning(this, QuizGame::selectQuestionFileMessage);
        return;
    }
    // From here on the game's set is fixed until the game is over.
    LoadQuestions1->setEnabled(false);
    game.confirmPlayers();
    // The meter shows the new game's credit, not the one left from attract mode.
    DisplayCreditClick();
    // Keys typed from now on belong to the game, not to a name box; the entry is done.
    setFocus();
    PlayerPanel->hide();
    SelectPlayer();
}

void TQuizScreen::OKDispMouseMove() {
    OK3->SetBevelOuter(TBevel::Raised);
}

void TQuizScreen::SelectPlayer() {
    QuizGame& s = game;
    // Nobody can play: the next charge of the still running question ticker ends the game.
    if (s.multiplayer() && !s.anyoneHasCredit()) return;
    if (!s.multiplayer()) {
        NewGameTimer();
        return;
    }
    Timer3->Stop();

    if (s.credit == 0 && GameOver2->isHidden()) {
        // The player at the controls is out: say so before the next player's turn.
        GameOver2->show();
        ReadyPanel->setAccessibleDescription(QStringLiteral("Game over, player %1 %2")
                                                 .arg(s.currentPlayer)
                                                 .arg(NamePanel->Caption()));
        ReadyPanel->show();
        PLAYERGAMEOVER->Start();
        return;
    }
    GameOver2->hide();
    s.passTurn();

    TImage* numbers[4] = {One, Two, Three, Four};
    for (TImage* number : numbers)
        number->hide();
    const auto k = static_cast<std::size_t>(s.currentPlayer - 1);
    NamePanel->SetCaption(QStringLiteral("* ") + PlayerName[k]->text() + QStringLiteral(" *"));
    NamePanel->setAccessibleName(NamePanel->Caption());
    numbers[k]->show();
    ReadyPanel->setAccessibleDescription(
        QStringLiteral("Get ready, player %1 %2").arg(s.currentPlayer).arg(NamePanel->Caption()));

    s.credit = s.playerCredits[k];
    DisplayCreditClick();

    ReadyPanel->show();
    NewGame->Start();
}

void TQuizScreen::NewGameTimer() {
    NewGame->Stop();
    ReadyPanel->hide();

    NewGame1->setVisible(true);
    LoadQuestions1->setEnabled(false);
    EditCreateQuestions1->setEnabled(false);

    DrawButtons(false, false, false, false, false);
    RoundT->CopyPicture(*StopOut);
    RoundT->show();
    display.stopLit = 0;

    for (TImage* stage : {Stage1, Stage2, Stage3, Stage3B, Stage4})
        stage->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{T1, T2, TimeLine, C1})
        w->show();
    QuestionBlock->SetCaption(QString());
    for (QWidget* w : std::initializer_list<QWidget*>{QuestionBlock, QF2, QF3, QF4, QF5, QF6})
        w->show();
    PlayerPanel->hide();

    game.gameRunning = true;
    Timer3->Start();
}

void TQuizScreen::PLAYERGAMEOVERTimer() {
    PLAYERGAMEOVER->Stop();
    SelectPlayer();
}

void TQuizScreen::GameOverStep() {
    ShowQuestionArea(false);
    GameOver->show();
    NewGame1->setVisible(false);
    Timer3->Stop();
    Timer7->Start();
}

void TQuizScreen::Timer7Timer() {
    Timer7->Stop();
    GameOver->hide();
    for (std::size_t k = 0; k < 4; ++k) {
        const int slot = static_cast<int>(k) + 1;
        NAME[k]->SetCaption(game.finalName(slot));
        SCORE[k]->SetCaption(QString::number(game.finalScore(slot)));
        SCORE[k]->setAccessibleDescription(QStringLiteral("Score of ") + NAME[k]->Caption());
    }
    FinalScorePanel->show();
}

void TQuizScreen::Image36MouseDown() {
    if (FinalScorePanel->isHidden()) return;
    FinalScorePanel->hide();
    FormCreate();
}

void TQuizScreen::Image36MouseMove() {
    OK4->SetBevelOuter(TBevel::Raised);
}

void TQuizScreen::FinalScorePanelMouseMove() {
    OK4->SetBevelOuter(TBevel::None);
}
