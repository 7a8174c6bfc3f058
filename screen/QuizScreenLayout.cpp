// Placement of the play area's contents. The bands around the play area are placed by their
// layouts; everything inside the play area follows its width and height here. Fonts keep
// their size at every window size.
#include "QuizScreen.h"

#include "FinalScoresPanel.h"
#include "PlayerEntryPanel.h"
#include "PrizeLadderView.h"
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

    // The question at the top, the time and credit strip at the bottom.
    questionLabel->setGeometry(4, 4, bw - 8, bw / 12);
    timeStrip->setGeometry(questionLabel->x(), bh - questionLabel->height() - 4,
                           questionLabel->width(), questionLabel->height());
    const int lineW = timeStrip->width();
    const int lineH = timeStrip->height();
    timeCaption->move(4, (lineH - timeCaption->height()) / 2);
    timeCaptionShadow->move(timeCaption->x() - 1, timeCaption->y() - 1);
    creditMeter->setGeometry(lineW - 128 - 8, (lineH - 47) / 2 - 2, 128, 47);
    creditCaption->move(creditMeter->x() - 8 - creditCaption->width(),
                        (lineH - creditCaption->height()) / 2);
    creditCaptionShadow->move(creditCaption->x() - 1, creditCaption->y() - 1);
    {
        const int left = rightOf(timeCaption) + 15;
        timeGaugeFrame->setGeometry(left, (lineH - 32) / 2, creditCaption->x() - 20 - left, 32);
    }
    timeGauge->setGeometry(4, 4, timeGaugeFrame->width() - 10, timeGaugeFrame->height() - 10);

    // The answer area between them: four frames sharing their border lines, a divider
    // between the letters and the answers.
    const int h = (timeStrip->y() - bottomOf(questionLabel)) / 6;
    Panel* frames[4] = {answerFrameA, answerFrameB, answerFrameC, answerFrameD};
    int top = bottomOf(questionLabel) + h;
    for (int i = 0; i < 4; ++i) {
        Panel* frame = frames[i];
        frame->setGeometry(6, top, bw - 12, h);
        answerLetters[i]->setGeometry(6 + (45 - 6 - 19) / 2, frame->y() + (h - 25) / 2, 19, 25);
        answerTexts[i]->setGeometry(54, frame->y() + (h - 15) / 2, rightOf(frame) - 45 - 8, 15);
        answerRows[i]->setGeometry(frame->x() + 2, frame->y() + 2, frame->width() - 4,
                                   frame->height() - 4);
        top += h - 1;
    }
    answerDivider->setGeometry(45, answerFrameA->y(), 2, 4 * h - 3);

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
