#include "FinalScoresPanel.h"

#include "ImageView.h"
#include "Label.h"
#include "PlayAreaStyle.h"

#include <algorithm>

using namespace PlayAreaStyle;

FinalScoresPanel::FinalScoresPanel(QWidget* playArea, QuizGame& game)
    : ConfirmPanel(playArea, QStringLiteral("finalScorePanel")), game(game) {
    setAccessibleName(QStringLiteral("Final scores"));
    title = label(this, QStringLiteral("scoreTitle"), QStringLiteral("FINAL SCORES"), 20, gold);
    title->setAlignment(Qt::AlignCenter);
    title->setFixedSize(380, 34);
    box = new Panel(this, QStringLiteral("scoreBox"));
    box->setColor(navy);
    box->setBevelOuter(Bevel::Raised);
    box->resize(380, 172);
    for (std::size_t i = 0; i < 4; ++i) {
        const int row = static_cast<int>(i);
        names[i] = label(box, QStringLiteral("finalName%1").arg(row + 1), QString(), 14, Qt::white);
        names[i]->setGeometry(16, 8 + row * 41, 230, 32);
        scores[i] = label(box, QStringLiteral("finalScore%1").arg(row + 1), QString(), 14, gold);
        scores[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        scores[i]->setGeometry(250, 8 + row * 41, 114, 32);
        if (row > 0) {
            auto* line = new Panel(box, QStringLiteral("scoreLine%1").arg(row));
            line->setColor(silver);
            line->setGeometry(8, 4 + row * 41, 364, 1);
        }
    }
    addOkButton(QStringLiteral("finalScoreOkFrame"), QStringLiteral("finalScoreOk"));
    connect(&game, &QuizGame::phaseChanged, this, &FinalScoresPanel::showPhase);
    hide();
}

void FinalScoresPanel::showPhase(QuizGame::Phase phase) {
    if (phase != QuizGame::Phase::FinalScores) {
        hide();
        return;
    }
    const auto& standings = game.finalStandings();
    for (std::size_t k = 0; k < 4; ++k) {
        names[k]->setCaption(standings[k].name);
        scores[k]->setCaption(QString::number(standings[k].score));
        scores[k]->setAccessibleDescription(QStringLiteral("Score of ") + standings[k].name);
    }
    flattenOk();
    show();
}

void FinalScoresPanel::layOut(int width, int height) {
    setGeometry(0, 0, width, height);
    centreBothWays(box, width, height);
    // The heading sits in the middle of the space above the box.
    centreHorizontally(title, width, std::max(0, (box->y() - title->height()) / 2));
    placeBottomRight(okFrame, width, height);
}

void FinalScoresPanel::confirm() {
    game.confirmPanel();
}
