// Placement of the play area's contents. The bands around the play area are placed by their
// layouts; everything inside the play area follows its width and height here. Fonts keep
// their size at every window size.
#include "Quiz.h"

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
// Margin of the OK buttons from the bottom right corner of their panels.
constexpr int OkMargin = 8;

void CentreHorizontally(QWidget* w, int parentWidth, int top) {
    w->move((parentWidth - w->width()) / 2, top);
}

void CentreBothWays(QWidget* w, int parentWidth, int parentHeight) {
    w->move((parentWidth - w->width()) / 2, (parentHeight - w->height()) / 2);
}

void BottomRight(QWidget* w, int parentWidth, int parentHeight) {
    w->move(parentWidth - w->width() - OkMargin, parentHeight - w->height() - OkMargin);
}

int Bottom(const QWidget* w) {
    return w->y() + w->height();
}
int Right(const QWidget* w) {
    return w->x() + w->width();
}
} // namespace

void TQuizScreen::FormResize() {
    const int bw = MainBackPanel->width();
    const int bh = MainBackPanel->height();

    CorHi->setGeometry(0, 0, bw, bh);
    MARK4->resize(556, 186);
    CentreBothWays(MARK4, bw, bh);

    // The prize lamps: four corners and LOSE in the middle, Press Stop below LOSE.
    FiftyDollars->move(16, 16);
    FifteenDollars->move(bw - FifteenDollars->width() - 16, 16);
    FiveDollars->move(bw - FiveDollars->width() - 16, bh - FiveDollars->height() - 16);
    OneDollar->move(16, bh - OneDollar->height() - 16);
    CentreBothWays(Lose, bw, bh);
    {
        const int b = Bottom(Lose);
        const int g = bh - b;
        CentreHorizontally(HitStop, bw, g / 2 + b - HitStop->height() / 2);
    }

    GameOver->resize(300, 50);
    CentreBothWays(GameOver, bw, bh);
    MARK1->resize(453, 75);
    CentreHorizontally(MARK1, bw, bh / 5);
    MARK2->resize(349, 57);
    CentreHorizontally(MARK2, bw, (bh / 10) * 8 - 57);

    // The attract pictures.
    Stage1->resize(365, 163);
    CentreHorizontally(Stage1, bw, (bh - 163) / 7);
    Stage2->resize(273, 41);
    {
        int top = (bh - 41) / 3 * 2;
        if (top < Bottom(Stage1)) top += 50;
        CentreHorizontally(Stage2, bw, top);
    }
    Stage3->setGeometry(0, 0, bw, bh);
    Stage3B->setGeometry(0, 0, bw, bh);
    Stage4->resize(350, 41);
    CentreBothWays(Stage4, bw, bh);

    // The question at the top, the time and credit strip at the bottom.
    QuestionBlock->setGeometry(4, 4, bw - 8, bw / 12);
    TimeLine->setGeometry(QuestionBlock->x(), bh - QuestionBlock->height() - 4,
                          QuestionBlock->width(), QuestionBlock->height());
    const int lineW = TimeLine->width();
    const int lineH = TimeLine->height();
    T1->move(4, (lineH - T1->height()) / 2);
    T1b->move(T1->x() - 1, T1->y() - 1);
    CreditBlock->setGeometry(lineW - 128 - 8, (lineH - 47) / 2 - 2, 128, 47);
    C1->move(CreditBlock->x() - 8 - C1->width(), (lineH - C1->height()) / 2);
    C1b->move(C1->x() - 1, C1->y() - 1);
    {
        const int left = Right(T1) + 15;
        TBack->setGeometry(left, (lineH - 32) / 2, C1->x() - 20 - left, 32);
    }
    T2->setGeometry(4, 4, TBack->width() - 10, TBack->height() - 10);

    // The answer area between them: four frames sharing their border lines, a divider
    // between the letters and the answers.
    const int h = (TimeLine->y() - Bottom(QuestionBlock)) / 6;
    TPanel* frames[4] = {QF2, QF3, QF4, QF5};
    int top = Bottom(QuestionBlock) + h;
    for (int i = 0; i < 4; ++i) {
        TPanel* frame = frames[i];
        frame->setGeometry(6, top, bw - 12, h);
        Cap[i]->setGeometry(6 + (45 - 6 - 19) / 2, frame->y() + (h - 25) / 2, 19, 25);
        Answer[i]->setGeometry(54, frame->y() + (h - 15) / 2, Right(frame) - 45 - 8, 15);
        Cover[i]->setGeometry(frame->x() + 2, frame->y() + 2, frame->width() - 4,
                              frame->height() - 4);
        top += h - 1;
    }
    QF6->setGeometry(45, QF2->y(), 2, 4 * h - 3);

    // The panels that cover the whole play area, and their contents.
    for (TPanel* panel : {Wrong, TimeOut, ReadyPanel, PlayerPanel, FinalScorePanel})
        panel->setGeometry(0, 0, bw, bh);

    WrongDisplay->setGeometry(0, WrongDisplay->y(), bw, WrongDisplay->height());
    BottomRight(OK, bw, bh);
    {
        const int d = (OK->y() - Bottom(WrongDisplay)) / 3;
        TLabel* captions[3] = {P1, P2, P3};
        TLabel* values[3] = {Q1, Q2, Q3};
        for (int i = 0; i < 3; ++i) {
            captions[i]->setGeometry(0, Bottom(WrongDisplay) + i * d, bw, captions[i]->height());
            values[i]->setGeometry(24, Bottom(captions[i]) + 3, bw - 48, values[i]->height());
        }
    }

    TimeOutDisplay->setGeometry(0, TimeOutDisplay->y(), bw, TimeOutDisplay->height());
    BottomRight(OK2, bw, bh);
    {
        const int d = (OK2->y() - Bottom(TimeOutDisplay)) / 5;
        P1B->setGeometry(0, Bottom(TimeOutDisplay) + d, bw, P1B->height());
        Q1B->setGeometry(24, Bottom(P1B) + 3, bw - 48, Q1B->height());
        P3B->setGeometry(0, Bottom(TimeOutDisplay) + 3 * d, bw, P3B->height());
        Q3B->setGeometry(24, Bottom(P3B) + 3, bw - 48, Q3B->height());
    }

    const auto readyTop = [bh](const QWidget* picture, int eighths) {
        return (bh - picture->height()) / 8 * eighths;
    };
    CentreHorizontally(Ready, bw, readyTop(Ready, 2));
    CentreHorizontally(GameOver2, bw, readyTop(GameOver2, 2));
    CentreHorizontally(Player, bw, readyTop(Player, 4));
    for (TImage* number : {One, Two, Three, Four})
        CentreHorizontally(number, bw, readyTop(number, 6));
    // The player's name goes under the number.
    CentreHorizontally(NamePanel, bw, Bottom(One) + 4);

    CentreHorizontally(Players, bw, Players->y());
    BottomRight(OK3, bw, bh);
    {
        const int w1 = PlayerSlotPanel[0]->width();
        int widths = 0;
        for (TPanel* slot : PlayerSlotPanel)
            widths += slot->width();
        const int s = (bw - widths) / 5;
        const int slotTop = (bh - PlayerSlotPanel[0]->height()) / 2;
        for (int k = 1; k <= 4; ++k)
            PlayerSlotPanel[static_cast<std::size_t>(k - 1)]->move(k * s + (k - 1) * w1, slotTop);
    }

    CentreBothWays(ScoreBox, bw, bh);
    // The heading sits in the middle of the space above the box.
    CentreHorizontally(ScoreTitle, bw, std::max(0, (ScoreBox->y() - ScoreTitle->height()) / 2));
    BottomRight(OK4, bw, bh);
}

void TQuizScreen::InitLayout() {
    // The play area is laid out before the window is first shown, and again whenever its
    // size changes.
    MainBackPanel->installEventFilter(this);
    centralWidget()->layout()->activate();
    FormResize();
    FitTitlePictures();
    // The client area was fixed at its design size for this first layout; it may grow when
    // the window is maximised, and RestoreDesignSize brings it back otherwise.
    centralWidget()->setMinimumSize(DesignClient);
    centralWidget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(DesignClient.width(), DesignClient.height() + menuBar()->sizeHint().height());
    // Centred on the screen when first shown.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TQuizScreen::IsMaximised() const {
    return (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
}

void TQuizScreen::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The frame is not sizeable: outside the maximised state the client area keeps its
    // design size. Maximising (which the window manager only offers to a window that is not
    // fixed in size) lays the play area out anew.
    if (!IsMaximised() && centralWidget()->size() != DesignClient)
        QTimer::singleShot(0, this, [this] { RestoreDesignSize(); });
}

void TQuizScreen::RestoreDesignSize() {
    if (IsMaximised() || centralWidget()->size() == DesignClient) return;
    resize(size() - centralWidget()->size() + DesignClient);
}

void TQuizScreen::FitTitlePictures() {
    // The title logo covers the play area: it is drawn anew at the area's size (once per
    // size), so it stays crisp when the window is maximised.
    const QSize area = MainBackPanel->size();
    if (area.isEmpty() || Stage3->ArtworkSize() == area) return;
    Stage3->SetArtwork(QStringLiteral("title-a"), area);
    Stage3B->SetArtwork(QStringLiteral("title-b"), area);
}
