#include "AttractShow.h"

#include "ButtonBand.h"
#include "HallOfFame.h"
#include "ImageView.h"
#include "PlayAreaStyle.h"
#include "ScreenState.h"

namespace {
// Ticks of the picture sequence (50 ms each).
constexpr int BlankTicks = 5;    // stage 0: nothing shown
constexpr int LogoTicks = 30;    // stage 1: the company logo
constexpr int CaptionTicks = 30; // stage 2: logo and caption, then the title logo
constexpr int TitleTicks = 104;  // stage 3: the flashing title logo
constexpr int PromptTicks = 70;  // stage 4: the press-START prompt
// The title logo stage only moves on when the play area is at least this high.
constexpr int MinTitleHeight = 193;

using Phase = QuizGame::Phase;
} // namespace

AttractShow::AttractShow(QWidget& playArea, QuizGame& game, ButtonBand& buttons,
                         ScreenState& display, Clock& clock)
    : QObject(&playArea), buttons(buttons), display(display) {
    const auto picture = [&playArea](const char* name, const QString& accessible) {
        auto* view = new ImageView(&playArea, QString::fromLatin1(name));
        view->setAccessibleName(accessible);
        view->hide();
        return view;
    };
    companyLogo = picture("companyLogo", QStringLiteral("Mindaro"));
    companyLogo->setArtwork(QStringLiteral("company-logo"), QSize(365, 163));
    presentsCaption = picture("presentsCaption", QStringLiteral("presents"));
    presentsCaption->setArtwork(QStringLiteral("presents"), QSize(273, 41));
    titlePicture = picture("titlePicture", QStringLiteral("Trivora"));
    titlePicture->setStretch(true);
    titlePictureLit = picture("titlePictureLit", QStringLiteral("Trivora"));
    titlePictureLit->setStretch(true);
    pressStartPrompt = picture("pressStartPrompt", QStringLiteral("Press START to play"));
    pressStartPrompt->setArtwork(QStringLiteral("press-start"), QSize(350, 41));

    buttonTimer = std::make_unique<Timer>(clock, "attractButtonTimer", 200, false, -1,
                                          [this] { cycleButtons(); });
    sequenceTimer = std::make_unique<Timer>(clock, "attractSequenceTimer", 50, false, -1,
                                            [this] { stepSequence(); });
    titleFlashTimer = std::make_unique<Timer>(clock, "titleFlashTimer", 370, false, -1,
                                              [this] { flashTitle(); });

    connect(&game, &QuizGame::phaseChanged, this, &AttractShow::phaseEntered);
}

AttractShow::~AttractShow() = default;

void AttractShow::phaseEntered(Phase phase) {
    switch (phase) {
    case Phase::Attract:
        start();
        break;
    case Phase::PlayerEntry:
        // The buttons are the players' now; the pictures go on behind the entry.
        buttonTimer->stop();
        buttonTimer->tag = 0;
        break;
    case Phase::GetReady:
        break;
    default:
        // A question is under way: the show is over until the next attract mode.
        hidePictures();
        buttonTimer->stop();
        sequenceTimer->stop();
        break;
    }
}

void AttractShow::start() {
    hidePictures();
    display.attractStage = 0;
    display.attractTicks = 0;
    for (Timer* t : pausing()) {
        t->start();
        t->tag = 1;
    }
}

void AttractShow::hidePictures() {
    for (ImageView* stage :
         {companyLogo, presentsCaption, titlePicture, titlePictureLit, pressStartPrompt})
        stage->hide();
}

void AttractShow::pause() {
    for (Timer* t : pausing()) {
        t->tag = t->enabled() ? 1 : 0;
        t->stop();
    }
}

void AttractShow::resume() {
    for (Timer* t : pausing()) {
        if (t->tag == 1)
            t->start();
        else
            t->stop();
    }
}

void AttractShow::forget() {
    for (Timer* t : pausing()) {
        t->stop();
        t->tag = 0;
    }
}

void AttractShow::layOut(int width, int height) {
    using namespace PlayAreaStyle;
    companyLogo->resize(365, 163);
    centreHorizontally(companyLogo, width, (height - 163) / 7);
    presentsCaption->resize(273, 41);
    int captionTop = (height - 41) / 3 * 2;
    if (captionTop < bottomOf(companyLogo)) captionTop += 50;
    centreHorizontally(presentsCaption, width, captionTop);
    titlePicture->setGeometry(0, 0, width, height);
    titlePictureLit->setGeometry(0, 0, width, height);
    pressStartPrompt->resize(350, 41);
    centreBothWays(pressStartPrompt, width, height);
}

void AttractShow::fitTitlePictures(QSize area) {
    if (area.isEmpty() || titlePicture->artworkSize() == area) return;
    titlePicture->setArtwork(QStringLiteral("title-a"), area);
    titlePictureLit->setArtwork(QStringLiteral("title-b"), area);
}

void AttractShow::cycleButtons() {
    // START and STOP take turns; the answer buttons light one after the other.
    const bool startWasLit = display.startLit == 1;
    buttons.lightStop(startWasLit);
    const int lit = display.buttonCycle;
    buttons.light(lit == 0, lit == 1, lit == 2, lit == 3, !startWasLit);
    display.buttonCycle = (display.buttonCycle + 1) % 4;
}

void AttractShow::stepSequence() {
    const int n = ++display.attractTicks;
    const auto next = [this](int stage) {
        display.attractStage = stage;
        display.attractTicks = 0;
    };
    switch (display.attractStage) {
    case 0:
        if (n >= BlankTicks) {
            hidePictures();
            companyLogo->show();
            next(1);
        }
        break;
    case 1:
        if (n == LogoTicks) {
            presentsCaption->show();
            next(2);
        }
        break;
    case 2:
        if (n == CaptionTicks) {
            companyLogo->hide();
            presentsCaption->hide();
            titlePicture->show();
            titlePictureLit->hide();
            titleFlashTimer->start();
        } else if (n > CaptionTicks && titlePicture->height() >= MinTitleHeight) {
            next(3);
        }
        break;
    case 3:
        if (n == TitleTicks) {
            titleFlashTimer->stop();
            titlePicture->hide();
            titlePictureLit->hide();
            pressStartPrompt->show();
            next(4);
        }
        break;
    case 4:
        if (n == PromptTicks) {
            hidePictures();
            next(hallOfFame && hallOfFame->showPage() ? 5 : 0);
        }
        break;
    case 5: // the hall of fame page, when there is one to show
        if (n == HallOfFame::PageTicks) {
            hallOfFame->hidePage();
            next(0);
        }
        break;
    }
}

void AttractShow::flashTitle() {
    if (!titlePicture->isHidden()) {
        titlePicture->hide();
        titlePictureLit->show();
    } else if (!titlePictureLit->isHidden()) {
        titlePicture->show();
        titlePictureLit->hide();
    }
}
