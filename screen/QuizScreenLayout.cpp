// Placement of the play area's contents. The bands around the play area are placed by their
// layouts; everything inside the play area follows its width and height here. Fonts keep
// their size at every window size.
#include "QuizScreen.h"

#include "FinalScoresPanel.h"
#include "PlayerEntryPanel.h"
#include "PrizeLadderView.h"
#include "QuestionArea.h"
#include "PlayAreaStyle.h"
#include "ReadyPanel.h"
#include "VerdictPanel.h"

#include <QApplication>
#include <QLayout>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {
// The client area at design size.
constexpr QSize DesignClient(652, 454);
} // namespace

using namespace PlayAreaStyle;

void QuizScreen::layOutPlayArea() {
    const int bw = playArea->width();
    const int bh = playArea->height();

    correctHighlight->setGeometry(0, 0, bw, bh);
    correctBanner->resize(556, 186);
    centreBothWays(correctBanner, bw, bh);

    ladder->layOut(bw, bh);

    gameOverBanner->resize(300, 50);
    centreBothWays(gameOverBanner, bw, bh);
    upperBanner->resize(453, 75);
    centreHorizontally(upperBanner, bw, bh / 5);
    lowerBanner->resize(349, 57);
    centreHorizontally(lowerBanner, bw, (bh / 10) * 8 - 57);

    // The attract pictures.
    companyLogo->resize(365, 163);
    centreHorizontally(companyLogo, bw, (bh - 163) / 7);
    presentsCaption->resize(273, 41);
    {
        int top = (bh - 41) / 3 * 2;
        if (top < bottomOf(companyLogo)) top += 50;
        centreHorizontally(presentsCaption, bw, top);
    }
    titlePicture->setGeometry(0, 0, bw, bh);
    titlePictureLit->setGeometry(0, 0, bw, bh);
    pressStartPrompt->resize(350, 41);
    centreBothWays(pressStartPrompt, bw, bh);

    questionArea->layOut(bw, bh);

    // The panels that cover the whole play area, and their contents.
    wrongPanel->layOut(bw, bh);
    timeOutPanel->layOut(bw, bh);
    readyPanel->layOut(bw, bh);
    finalScorePanel->layOut(bw, bh);
    playerPanel->layOut(bw, bh);
}

void QuizScreen::initLayout() {
    // The play area is laid out before the window is first shown, and again whenever its
    // size changes.
    playArea->installEventFilter(this);
    centralWidget()->layout()->activate();
    layOutPlayArea();
    fitTitlePictures();
    // The client area was fixed at its design size for this first layout; it may grow when
    // the window is maximised, and restoreDesignSize brings it back otherwise.
    centralWidget()->setMinimumSize(DesignClient);
    centralWidget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(DesignClient.width(), DesignClient.height() + menuBar()->sizeHint().height());
    // Centred on the screen when first shown.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool QuizScreen::isMaximised() const {
    return (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
}

void QuizScreen::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The frame is not sizeable: outside the maximised state the client area keeps its
    // design size. Maximising (which the window manager only offers to a window that is not
    // fixed in size) lays the play area out anew.
    if (!isMaximised() && centralWidget()->size() != DesignClient)
        QTimer::singleShot(0, this, [this] { restoreDesignSize(); });
}

void QuizScreen::restoreDesignSize() {
    if (isMaximised() || centralWidget()->size() == DesignClient) return;
    resize(size() - centralWidget()->size() + DesignClient);
}

void QuizScreen::fitTitlePictures() {
    // The title logo covers the play area: it is drawn anew at the area's size (once per
    // size), so it stays crisp when the window is maximised.
    const QSize area = playArea->size();
    if (area.isEmpty() || titlePicture->artworkSize() == area) return;
    titlePicture->setArtwork(QStringLiteral("title-a"), area);
    titlePictureLit->setArtwork(QStringLiteral("title-b"), area);
}
