// Players, turns and the final scores.
#include "QuizScreen.h"

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

void QuizScreen::pressStart() {
    if (game.gameRunning) return;
    // The Ready panel of a new game is up: the players are already chosen.
    if (!readyPanel->isHidden()) return;
    if (!game.hasQuestionFile()) {
        services.dialogs.warning(this, QuizGame::selectQuestionFileMessage);
        return;
    }
    game.currentPlayer = 0;
    attractButtonTimer->stop();
    lightButtons(false, false, false, false, false);
    playerPanel->show();
    playerNameBoxes[0]->setFocus();
    if (game.phase() != QuizGame::Phase::PlayerEntry) game.setPhase(QuizGame::Phase::PlayerEntry);
}

void QuizScreen::playerNameChanged(int slot) {
    if (slot < 1 || slot > 4) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    const bool named = !playerNameBoxes[k]->text().isEmpty();
    playerSlots[k]->setColor(named ? NamedColor : EmptyColor);
    clearButtons[k]->setColor(named ? NamedColor : EmptyColor);
    clearButtons[k]->setFontColor(named ? ClearTextColor : EmptyColor);
    if (!named) clearButtons[k]->setBevelOuter(Bevel::None);
    playerSlots[k]->setAccessibleDescription(named ? playerNameBoxes[k]->text() : QString());
    game.setPlayerName(slot, playerNameBoxes[k]->text());
}

void QuizScreen::clearPlayerName(int slot) {
    if (slot < 1 || slot > 4) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    playerNameBoxes[k]->clear();
    clearButtons[k]->setBevelOuter(Bevel::None);
}

void QuizScreen::raiseClearButton(int slot) {
    if (slot < 1 || slot > 4) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    if (playerNameBoxes[k]->text().isEmpty()) return;
    clearButtons[k]->setBevelOuter(Bevel::Raised);
    clearButtons[k]->setFontColor(ClearHoverTextColor);
}

void QuizScreen::flattenPlayerPanelButtons(int slot) {
    // Over one slot: flatten its Clear button; over the panel itself: all four, and the OK.
    for (int s = 1; s <= 4; ++s) {
        if (slot != 0 && s != slot) continue;
        const auto k = static_cast<std::size_t>(s - 1);
        clearButtons[k]->setBevelOuter(Bevel::None);
        clearButtons[k]->setFontColor(playerNameBoxes[k]->text().isEmpty() ? EmptyColor
                                                                           : ClearTextColor);
    }
    if (slot == 0) playerPanelOkFrame->setBevelOuter(Bevel::None);
}

bool QuizScreen::nameBoxKeyTyped(QChar key) {
    if (key != QChar(13)) return false;
    confirmPlayers();
    return true;
}

void QuizScreen::confirmPlayers() {
    // Only the open entry panel confirms players, and only once per game.
    if (playerPanel->isHidden() || !readyPanel->isHidden() || game.gameRunning) return;
    // A set changed for a bad one while the names were typed: no game without questions.
    // The entry stays open so that another set can be chosen.
    if (!game.hasQuestionFile()) {
        services.dialogs.warning(this, QuizGame::selectQuestionFileMessage);
        return;
    }
    // From here on the game's set is fixed until the game is over.
    changeQuestionFileAction->setEnabled(false);
    game.confirmPlayers();
    // The meter shows the new game's credit, not the one left from attract mode.
    showCredit();
    // Keys typed from now on belong to the game, not to a name box; the entry is done.
    setFocus();
    playerPanel->hide();
    selectNextPlayer();
}

void QuizScreen::raisePlayerPanelOk() {
    playerPanelOkFrame->setBevelOuter(Bevel::Raised);
}

void QuizScreen::selectNextPlayer() {
    QuizGame& s = game;
    // Nobody can play: the next charge of the still running question ticker ends the game.
    if (s.multiplayer() && !s.anyoneHasCredit()) return;
    if (!s.multiplayer()) {
        startTurn();
        return;
    }
    revealTimer->stop();

    if (s.credit == 0 && playerOutHeading->isHidden()) {
        // The player at the controls is out: say so before the next player's turn.
        playerOutHeading->show();
        readyPanel->setAccessibleDescription(QStringLiteral("Game over, player %1 %2")
                                                 .arg(s.currentPlayer)
                                                 .arg(readyName->caption()));
        readyPanel->show();
        playerOutTimer->start();
        game.setPhase(QuizGame::Phase::PlayerOut);
        return;
    }
    playerOutHeading->hide();
    s.passTurn();

    ImageView* numbers[4] = {playerNumberOne, playerNumberTwo, playerNumberThree, playerNumberFour};
    for (ImageView* number : numbers)
        number->hide();
    const auto k = static_cast<std::size_t>(s.currentPlayer - 1);
    readyName->setCaption(QStringLiteral("* ") + playerNameBoxes[k]->text() + QStringLiteral(" *"));
    readyName->setAccessibleName(readyName->caption());
    numbers[k]->show();
    readyPanel->setAccessibleDescription(
        QStringLiteral("Get ready, player %1 %2").arg(s.currentPlayer).arg(readyName->caption()));

    s.credit = s.playerCredits[k];
    showCredit();

    readyPanel->show();
    readyTimer->start();
    game.setPhase(QuizGame::Phase::GetReady);
}

void QuizScreen::startTurn() {
    readyTimer->stop();
    readyPanel->hide();

    endGameAction->setVisible(true);
    changeQuestionFileAction->setEnabled(false);
    editQuestionsAction->setEnabled(false);

    lightButtons(false, false, false, false, false);
    stopButton->copyPicture(*stopPicture);
    stopButton->show();
    display.stopLit = 0;

    for (ImageView* stage :
         {companyLogo, presentsCaption, titlePicture, titlePictureLit, pressStartPrompt})
        stage->hide();
    for (QWidget* w :
         std::initializer_list<QWidget*>{timeCaption, timeGauge, timeStrip, creditCaption})
        w->show();
    questionLabel->setCaption(QString());
    for (QWidget* w : std::initializer_list<QWidget*>{questionLabel, answerFrameA, answerFrameB,
                                                      answerFrameC, answerFrameD, answerDivider})
        w->show();
    playerPanel->hide();

    game.gameRunning = true;
    revealTimer->start();
}

void QuizScreen::endPlayerOutNotice() {
    playerOutTimer->stop();
    selectNextPlayer();
}

void QuizScreen::showGameOver() {
    showQuestionArea(false);
    gameOverBanner->show();
    endGameAction->setVisible(false);
    revealTimer->stop();
    gameOverTimer->start();
    game.setPhase(QuizGame::Phase::GameOver);
}

void QuizScreen::showFinalScores() {
    gameOverTimer->stop();
    gameOverBanner->hide();
    for (std::size_t k = 0; k < 4; ++k) {
        const int slot = static_cast<int>(k) + 1;
        finalNames[k]->setCaption(game.finalName(slot));
        finalScores[k]->setCaption(QString::number(game.finalScore(slot)));
        finalScores[k]->setAccessibleDescription(QStringLiteral("Score of ") +
                                                 finalNames[k]->caption());
    }
    finalScorePanel->show();
    game.setPhase(QuizGame::Phase::FinalScores);
}

void QuizScreen::confirmFinalScores() {
    if (finalScorePanel->isHidden()) return;
    finalScorePanel->hide();
    // Results that rank in the hall of fame are named first; attract mode follows.
    if (game.nameEntryWanted && game.nameEntryWanted()) {
        game.setPhase(QuizGame::Phase::NameEntry);
        return;
    }
    enterAttractMode();
}

void QuizScreen::raiseFinalScoreOk() {
    finalScoreOkFrame->setBevelOuter(Bevel::Raised);
}

void QuizScreen::flattenFinalScoreOk() {
    finalScoreOkFrame->setBevelOuter(Bevel::None);
}
