#include "PrizeLadderView.h"

#include "ImageView.h"
#include "PlayAreaStyle.h"

using namespace PlayAreaStyle;

namespace {
constexpr QSize lampSize(105, 105);
constexpr QSize promptSize(250, 50);

struct LampLook {
    const char* name;  // the lamp's object name
    const char* art;   // its artwork, "-on" and "-off"
    const char* title; // what a screen reader says
};
const LampLook looks[5] = {{"oneDollar", "lamp-1", "$1"},
                           {"fiveDollar", "lamp-5", "$5"},
                           {"fifteenDollar", "lamp-15", "$15"},
                           {"fiftyDollar", "lamp-50", "$50"},
                           {"lose", "lamp-lose", "Lose"}};

std::size_t indexOf(Lamp lamp) {
    return static_cast<std::size_t>(placeOf(lamp) - 1);
}
} // namespace

PrizeLadderView::PrizeLadderView(QWidget& playArea, QuizGame& game, std::array<int, 5>& lampState)
    : QObject(&playArea), game(game), lampState(lampState) {
    for (std::size_t i = 0; i < 5; ++i) {
        const QString name = QString::fromLatin1(looks[i].name);
        const QString art = QString::fromLatin1(looks[i].art);
        lamps[i] = new ImageView(&playArea, name + QStringLiteral("Lamp"));
        lamps[i]->resize(lampSize);
        lamps[i]->hide();
        litPictures[i] = pictureHolder(&playArea, name + QStringLiteral("LitPicture"),
                                       art + QStringLiteral("-on"), lampSize);
        unlitPictures[i] = pictureHolder(&playArea, name + QStringLiteral("Picture"),
                                         art + QStringLiteral("-off"), lampSize);
    }
    pressStopPrompt = new ImageView(&playArea, QStringLiteral("pressStopPrompt"));
    pressStopPrompt->resize(promptSize);
    pressStopPrompt->setArtwork(QStringLiteral("press-stop"), promptSize);
    pressStopPrompt->setAccessibleName(QStringLiteral("Press Stop"));
    pressStopPrompt->hide();
    showLit(Lamp::None);
    connect(&game, &QuizGame::phaseChanged, this, &PrizeLadderView::showPhase);
    connect(&game, &QuizGame::lampsChanged, this, &PrizeLadderView::showLit);
}

void PrizeLadderView::showPhase(QuizGame::Phase phase) {
    const bool ladder = phase == QuizGame::Phase::Ladder || phase == QuizGame::Phase::Prize;
    for (ImageView* view : lamps)
        view->setVisible(ladder);
    pressStopPrompt->setVisible(phase == QuizGame::Phase::Ladder);
    if (ladder || phase == QuizGame::Phase::Attract) showLit(game.litLamp());
}

void PrizeLadderView::layOut(int width, int height) {
    // Four corners and LOSE in the middle, Press Stop below LOSE.
    lamp(Lamp::FiftyDollars)->move(16, 16);
    lamp(Lamp::FifteenDollars)->move(width - lampSize.width() - 16, 16);
    lamp(Lamp::FiveDollars)
        ->move(width - lampSize.width() - 16, height - lampSize.height() - 16);
    lamp(Lamp::OneDollar)->move(16, height - lampSize.height() - 16);
    centreBothWays(lamp(Lamp::Lose), width, height);
    const int below = bottomOf(lamp(Lamp::Lose));
    centreHorizontally(pressStopPrompt, width,
                       (height - below) / 2 + below - pressStopPrompt->height() / 2);
}

bool PrizeLadderView::isShowing() const {
    return !lamps[0]->isHidden();
}

ImageView* PrizeLadderView::lamp(Lamp which) const {
    return which == Lamp::None ? nullptr : lamps[indexOf(which)];
}

ImageView* PrizeLadderView::litPicture(Lamp which) const {
    return which == Lamp::None ? nullptr : litPictures[indexOf(which)];
}

ImageView* PrizeLadderView::unlitPicture(Lamp which) const {
    return which == Lamp::None ? nullptr : unlitPictures[indexOf(which)];
}

void PrizeLadderView::setLamp(Lamp which, bool lit) {
    ImageView* view = lamp(which);
    if (!view) return;
    const std::size_t i = indexOf(which);
    view->copyPicture(lit ? *litPictures[i] : *unlitPictures[i]);
    lampState[i] = lit ? 1 : 0;
    const QString title = QString::fromLatin1(looks[i].title);
    view->setAccessibleName(lit ? title + QStringLiteral(", lit") : title);
}

void PrizeLadderView::showLit(Lamp lit) {
    for (Lamp each : ladderLamps)
        setLamp(each, each == lit);
}
