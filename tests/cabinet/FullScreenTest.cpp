#include "CabinetFixture.h"
#include "QuestionArea.h"
#include "PrizeLadderView.h"

#include <QMenuBar>

class FullScreenTest : public CabinetFixture {
protected:
    // The game screen at its design size: the client area of 652 × 454 with the menu bar.
    bool atDesignSize() const {
        QCoreApplication::processEvents();
        return !screen->isFullScreen() && screen->centralWidget()->size() == QSize(652, 454);
    }
    bool fillsTheScreen() const {
        QCoreApplication::processEvents();
        return screen->isFullScreen() && screen->geometry() == screen->screen()->geometry() &&
               screen->fullScreenAction->isChecked();
    }
};

// F11 and View → Full Screen fill the screen with the game, laid out anew for the larger play
// area and its title drawn at its new size; F11, the entry again or Escape give back the
// window at its design size. Escape outside full screen changes nothing.
TEST_F(FullScreenTest, F11AndTheMenuEntryFillTheScreenAndLeaveIt) {
    createCabinet();
    EXPECT_TRUE(atDesignSize());
    EXPECT_EQ(screen->fullScreenAction->shortcut(), QKeySequence(Qt::Key_F11));
    EXPECT_TRUE(screen->fullScreenAction->isCheckable());
    const QSize designArea = screen->playArea->size();

    struct Way {
        const char* name;
        std::function<void()> enter, leave;
    };
    const Way ways[] = {
        {"F11", [this] { key(Qt::Key_F11); }, [this] { key(Qt::Key_F11); }},
        {"menu entry", [this] { screen->fullScreenAction->trigger(); },
         [this] { screen->fullScreenAction->trigger(); }},
        {"F11, Escape", [this] { key(Qt::Key_F11); }, [this] { key(Qt::Key_Escape); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        way.enter();
        ASSERT_TRUE(fillsTheScreen());
        const QSize area = screen->playArea->size();
        EXPECT_GT(area.width(), designArea.width());
        EXPECT_GT(area.height(), designArea.height());
        EXPECT_EQ(screen->attract->titlePicture->artworkSize(), area) << "the title was not drawn anew";
        // The prize ladder's lamps follow the corners of the larger area.
        EXPECT_EQ(screen->ladder->lamps[1]->geometry().bottomRight(),
                  QPoint(area.width() - 17, area.height() - 17));
        way.leave();
        EXPECT_TRUE(atDesignSize());
        EXPECT_FALSE(screen->fullScreenAction->isChecked());
        EXPECT_EQ(screen->attract->titlePicture->artworkSize(), designArea);
    }
    key(Qt::Key_Escape);
    EXPECT_TRUE(atDesignSize());
}

// A game in play keeps its question, answers and time when the screen fills and leaves.
TEST_F(FullScreenTest, FullScreenKeepsTheGameAsItWas) {
    createCabinet();
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    ASSERT_TRUE(waitForAnswers());
    const QString question = screen->questionArea->questionLabel->caption();
    const int timeLeft = screen->game.timeLeft();
    key(Qt::Key_F11);
    ASSERT_TRUE(fillsTheScreen());
    EXPECT_EQ(screen->questionArea->questionLabel->caption(), question);
    EXPECT_EQ(screen->game.timeLeft(), timeLeft);
    EXPECT_TRUE(answersWaiting());
    key(Qt::Key_B);
    EXPECT_EQ(screen->display.buttonLit[1], 1);
}

// --fullscreen and --kiosk start the game full screen (--kiosk without its menu bar);
// --scores-database names the venue's server for the run (empty: this machine); other
// arguments are refused with the usage, --help shows it.
TEST_F(FullScreenTest, CommandLineChoosesTheScreen) {
    const struct {
        QStringList arguments;
        bool fullScreen, kiosk, exitNow;
        int exitStatus;
        std::optional<QString> scoresDatabase;
    } cases[] = {
        {{}, false, false, false, 0, {}},
        {{QStringLiteral("--fullscreen")}, true, false, false, 0, {}},
        {{QStringLiteral("--kiosk")}, true, true, false, 0, {}},
        {{QStringLiteral("--kiosk"), QStringLiteral("--fullscreen")}, true, true, false, 0, {}},
        {{QStringLiteral("--help")}, false, false, true, 0, {}},
        {{QStringLiteral("--kiosks")}, false, false, true, 2, {}},
        {{QStringLiteral("REGD.QST")}, false, false, true, 2, {}},
        {{QStringLiteral("--scores-database"), QStringLiteral("postgresql://bar@venue/trivora")},
         false, false, false, 0, QStringLiteral("postgresql://bar@venue/trivora")},
        {{QStringLiteral("--scores-database="), QStringLiteral("--kiosk")}, true, true, false, 0,
         QString()},
        {{QStringLiteral("--scores-database")}, false, false, true, 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ProgramOptions::Parsed parsed =
            ProgramOptions::parse(QStringList{QStringLiteral("trivora")} + c.arguments);
        EXPECT_EQ(parsed.options.fullScreen, c.fullScreen);
        EXPECT_EQ(parsed.options.kiosk, c.kiosk);
        EXPECT_EQ(parsed.exitNow, c.exitNow);
        EXPECT_EQ(parsed.exitStatus, c.exitStatus);
        EXPECT_EQ(parsed.text.contains(QStringLiteral("--kiosk")), c.exitNow);
        EXPECT_EQ(parsed.options.scoresDatabase, c.scoresDatabase);
    }

    ProgramOptions fullScreen;
    fullScreen.fullScreen = true;
    createCabinet(fullScreen);
    EXPECT_TRUE(fillsTheScreen());
    EXPECT_TRUE(screen->menuBar()->isVisible());
    key(Qt::Key_F11);
    EXPECT_TRUE(atDesignSize());
}

// --phones switches the phones on with the stored port, --phones=PORT with that port; a value
// that is not a port is refused with the usage.
TEST(ProgramOptionsTest, PhonesTakeAnOptionalPort) {
    const struct {
        QString argument;
        bool phones;
        int port;
        int exitStatus;
    } cases[] = {
        {QString(), false, 0, 0},
        {QStringLiteral("--phones"), true, 0, 0},
        {QStringLiteral("--phones=9000"), true, 9000, 0},
        {QStringLiteral("--phones=65536"), false, 0, 2},
        {QStringLiteral("--phones=http"), false, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        QStringList arguments{QStringLiteral("trivora")};
        if (!c.argument.isEmpty()) arguments << c.argument;
        const ProgramOptions::Parsed parsed = ProgramOptions::parse(arguments);
        EXPECT_EQ(parsed.options.phones, c.phones);
        EXPECT_EQ(parsed.options.phonesPort, c.port);
        EXPECT_EQ(parsed.exitStatus, c.exitStatus);
    }
}
