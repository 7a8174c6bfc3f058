#include "CabinetFixture.h"

#include "KioskGuard.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QSignalSpy>

class KioskTest : public CabinetFixture {
protected:
    void SetUp() override {
        ProgramOptions kiosk;
        kiosk.kiosk = true;
        createCabinet(kiosk);
    }

    void keyWith(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(screen->windowHandle(), key, modifiers);
        QCoreApplication::processEvents();
    }
    static bool pointerHidden() {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::BlankCursor;
    }
    void moveMouseTo(QPoint at) {
        QTest::mouseMove(screen->windowHandle(), at);
        QCoreApplication::processEvents();
    }
};

// The kiosk fills the screen without a menu bar, and neither the keys that close, leave or
// open anything nor the window manager's close request (Alt+F4) end it or leave the game;
// the game's own keys still play, and Ctrl+Alt+Shift+Q ends the program.
TEST_F(KioskTest, KioskIgnoresTheClosingKeysAndEndsOnlyWithCtrlAltShiftQ) {
    QSignalSpy closed(screen.get(), &QuizScreen::closed);
    EXPECT_TRUE(screen->isFullScreen());
    EXPECT_TRUE(screen->menuBar()->isHidden());
    EXPECT_EQ(screen->geometry(), screen->screen()->geometry());

    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } ignored[] = {
        {"Alt+F4", Qt::Key_F4, Qt::AltModifier},
        {"Ctrl+Q", Qt::Key_Q, Qt::ControlModifier},
        {"Escape", Qt::Key_Escape, Qt::NoModifier},
        {"F11", Qt::Key_F11, Qt::NoModifier},
        {"Ctrl+F4 (File → Close)", Qt::Key_F4, Qt::ControlModifier},
        {"F1 (Change Question File)", Qt::Key_F1, Qt::NoModifier},
        {"F2 (the question editor)", Qt::Key_F2, Qt::NoModifier},
        {"Alt+W (the web links)", Qt::Key_W, Qt::AltModifier},
        {"Alt+F (the File menu)", Qt::Key_F, Qt::AltModifier},
        {"Ctrl+Alt+Q", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier},
    };
    for (const auto& k : ignored) {
        SCOPED_TRACE(k.name);
        keyWith(k.key, k.modifiers);
        EXPECT_EQ(closed.count(), 0);
        EXPECT_TRUE(screen->isVisible());
        EXPECT_TRUE(screen->isFullScreen());
        EXPECT_EQ(screen->editor(), nullptr);
        EXPECT_TRUE(dialogs.fileDialogs().empty());
        EXPECT_TRUE(shell.calls.isEmpty());
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu opened";
    }

    // The window manager's close request, as Alt+F4 or a close button sends it.
    EXPECT_FALSE(screen->close());
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(closed.count(), 0);

    key(Qt::Key_Return);
    EXPECT_TRUE(visible(screen->playerPanel)) << "Enter no longer plays";

    keyWith(Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(screen->isVisible());
}

// The kiosk hides the mouse pointer; a move shows it until the mouse has been still for
// 3 s, each move counting anew; the pointer is given back when the kiosk ends.
TEST_F(KioskTest, KioskHidesThePointerUntilTheMouseMoves) {
    EXPECT_TRUE(pointerHidden());
    moveMouseTo(QPoint(100, 100));
    EXPECT_FALSE(pointerHidden());
    advance(KioskGuard::pointerHideDelay - 1);
    EXPECT_FALSE(pointerHidden());
    advance(1);
    EXPECT_TRUE(pointerHidden());

    moveMouseTo(QPoint(120, 100));
    advance(2000);
    moveMouseTo(QPoint(140, 100));
    advance(KioskGuard::pointerHideDelay - 1);
    EXPECT_FALSE(pointerHidden()) << "the second move did not count anew";
    advance(1);
    EXPECT_TRUE(pointerHidden());

    cabinet.reset();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A kiosk window taken out of full screen (by the window manager) goes back at once.
TEST_F(KioskTest, KioskStaysFullScreen) {
    screen->showNormal();
    QCoreApplication::processEvents();
    EXPECT_TRUE(screen->isFullScreen());
    screen->fullScreenAction->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(screen->isFullScreen());
}
