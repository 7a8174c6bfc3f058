#include "Banners.h"

#include "ImageView.h"
#include "PlayAreaStyle.h"

namespace {
constexpr QSize CorrectSize(556, 186);
constexpr QSize GameOverSize(300, 50);
} // namespace

Banners::Banners(QWidget& playArea, QuizGame& game) : QObject(&playArea) {
    const auto banner = [&playArea](const char* name, const QString& accessible) {
        auto* view = new ImageView(&playArea, QString::fromLatin1(name));
        view->setAccessibleName(accessible);
        view->hide();
        return view;
    };
    correctBanner = banner("correctBanner", QStringLiteral("Correct"));
    gameOverBanner = banner("gameOverBanner", QStringLiteral("Game over"));
    gameOverBanner->setArtwork(QStringLiteral("game-over"), GameOverSize);
    correctLitPicture = PlayAreaStyle::pictureHolder(&playArea, QStringLiteral("correctLitPicture"),
                                                     QStringLiteral("correct-in"), CorrectSize);
    correctDimPicture = PlayAreaStyle::pictureHolder(&playArea, QStringLiteral("correctDimPicture"),
                                                     QStringLiteral("correct-out"), CorrectSize);
    lightCorrect(true);

    connect(&game, &QuizGame::phaseChanged, this, &Banners::showPhase);
    connect(&game, &QuizGame::correctBannerFlashed, this, &Banners::lightCorrect);
}

void Banners::showPhase(QuizGame::Phase phase) {
    const bool correct = phase == QuizGame::Phase::Correct;
    correctBanner->setVisible(correct);
    if (correct) lightCorrect(true);
    gameOverBanner->setVisible(phase == QuizGame::Phase::GameOver);
}

void Banners::lightCorrect(bool lit) {
    correctBanner->copyPicture(lit ? *correctLitPicture : *correctDimPicture);
}

void Banners::layOut(int width, int height) {
    using namespace PlayAreaStyle;
    correctBanner->resize(CorrectSize);
    centreBothWays(correctBanner, width, height);
    gameOverBanner->resize(GameOverSize);
    centreBothWays(gameOverBanner, width, height);
}
