// Placement of the play area's contents. The bands around the play area are placed by their
// layouts; everything inside the play area follows its width and height here. Fonts keep
// their size at every window size.
#include "QuizScreen.h"

#include "AttractShow.h"
#include "Banners.h"
#include "FinalScoresPanel.h"
#include "PlayerEntryPanel.h"
#include "PrizeLadderView.h"
#include "QuestionArea.h"
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

void QuizScreen::layOutPlayArea() {
    const int width = playArea->width();
    const int height = playArea->height();
    attract->layOut(width, height);
    banners->layOut(width, height);
    questionArea->layOut(width, height);
    ladder->layOut(width, height);
    wrongPanel->layOut(width, height);
    timeOutPanel->layOut(width, height);
    readyPanel->layOut(width, height);
    finalScorePanel->layOut(width, height);
    playerPanel->layOut(width, height);
}

void QuizScreen::initLayout() {
    // The play area is laid out before the window is first shown, and again whenever its
    // size changes.
    playArea->installEventFilter(this);
    centralWidget()->layout()->activate();
    layOutPlayArea();
    attract->fitTitlePictures(playArea->size());
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
