#pragma once

#include "QuizGame.h"

#include <QObject>

class ImageView;
class QWidget;

// The banners across the play area: CORRECT, flashing after a right answer, and GAME OVER.
// Each shows itself in its phase.
class Banners : public QObject {
    Q_OBJECT
public:
    Banners(QWidget& playArea, QuizGame& game);

    void layOut(int width, int height);

    ImageView* correctBanner = nullptr;
    ImageView* gameOverBanner = nullptr;
    // CORRECT's two pictures, between which it flashes.
    ImageView* correctLitPicture = nullptr;
    ImageView* correctDimPicture = nullptr;

private:
    void showPhase(QuizGame::Phase phase);
    void lightCorrect(bool lit);
};
