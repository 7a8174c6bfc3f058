#include "ReadyPanel.h"

#include "CabinetText.h"
#include "ImageView.h"
#include "PlayAreaStyle.h"

using namespace PlayAreaStyle;

namespace {
constexpr QSize bannerSize(300, 50);
constexpr QSize captionSize(200, 40);
constexpr QSize numberSize(150, 40);
} // namespace

ReadyPanel::ReadyPanel(QWidget* playArea, QuizGame& game)
    : Panel(playArea, QStringLiteral("readyPanel")), game(game) {
    setColor(Qt::black);
    setAccessibleName(QStringLiteral("Get ready"));
    const auto picture = [this](const char* name, const char* art, QSize size,
                                const QString& title) {
        auto* view = new ImageView(this, QString::fromLatin1(name));
        view->resize(size);
        view->setArtwork(QString::fromLatin1(art), size);
        view->setAccessibleName(title);
        return view;
    };
    heading = picture("readyHeading", "get-ready", bannerSize, QStringLiteral("Get ready"));
    playerOutHeading =
        picture("playerOutHeading", "game-over-2", bannerSize, QStringLiteral("Game over"));
    playerCaption = picture("playerCaption", "player", captionSize, QStringLiteral("Player"));
    numbers = {picture("playerNumberOne", "one", numberSize, QStringLiteral("One")),
               picture("playerNumberTwo", "two", numberSize, QStringLiteral("Two")),
               picture("playerNumberThree", "three", numberSize, QStringLiteral("Three")),
               picture("playerNumberFour", "four", numberSize, QStringLiteral("Four"))};
    name = new Panel(this, QStringLiteral("readyName"));
    name->setColor(Qt::black);
    name->setFontColor(QColor(0xFF, 0x20, 0x20));
    name->setFont(CabinetText::font(20));
    name->resize(360, 36);
    playerOutHeading->hide();
    connect(&game, &QuizGame::phaseChanged, this, &ReadyPanel::showPhase);
    hide();
}

void ReadyPanel::showPhase(QuizGame::Phase phase) {
    const bool playerOut = phase == QuizGame::Phase::PlayerOut;
    playerOutHeading->setVisible(playerOut);
    if (!playerOut && phase != QuizGame::Phase::GetReady) {
        hide();
        return;
    }
    const int player = game.players().current();
    if (playerOut) {
        // The player at the controls is out: the notice names them.
        setAccessibleName(playerOutHeading->accessibleName());
        setAccessibleDescription(
            QStringLiteral("Game over, player %1 %2").arg(player).arg(name->caption()));
    } else {
        for (ImageView* number : numbers)
            number->hide();
        if (player >= 1 && player <= 4) {
            name->setCaption(QStringLiteral("* ") + game.players().name(player) +
                             QStringLiteral(" *"));
            numbers[static_cast<std::size_t>(player - 1)]->show();
        }
        name->setAccessibleName(name->caption());
        setAccessibleName(heading->accessibleName());
        setAccessibleDescription(
            QStringLiteral("Get ready, player %1 %2").arg(player).arg(name->caption()));
    }
    show();
}

void ReadyPanel::layOut(int width, int height) {
    setGeometry(0, 0, width, height);
    const auto top = [height](const QWidget* picture, int eighths) {
        return (height - picture->height()) / 8 * eighths;
    };
    centreHorizontally(heading, width, top(heading, 2));
    centreHorizontally(playerOutHeading, width, top(playerOutHeading, 2));
    centreHorizontally(playerCaption, width, top(playerCaption, 4));
    for (ImageView* number : numbers)
        centreHorizontally(number, width, top(number, 6));
    // The player's name goes under the number.
    centreHorizontally(name, width, bottomOf(numbers[0]) + 4);
}
