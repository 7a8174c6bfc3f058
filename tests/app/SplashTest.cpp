#include "Splash.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TempDir.h"
#include "TestSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {
// Restores the current directory when it goes.
class CurrentDirGuard {
public:
    CurrentDirGuard() : m_old(QDir::currentPath()) {}
    ~CurrentDirGuard() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};
} // namespace

// The colour-depth warning appears exactly below 16 bits per pixel: once, as information,
// with OK and Help on topic 75, and start-up goes on after it.
TEST(SplashTest, ColourWarningBelowSixteenBits) {
    TestSettingsFolder folder;
    Settings settings;
    struct Row {
        int depth;
        bool warns;
    };
    for (const Row row : {Row{1, true}, Row{8, true}, Row{15, true}, Row{16, false}, Row{24, false},
                          Row{32, false}}) {
        SCOPED_TRACE(row.depth);
        ScriptedDialogs dialogs;
        SplashWindow splash(dialogs, settings, row.depth);
        EXPECT_EQ(splash.values().colourDepth, row.depth);
        ASSERT_EQ(dialogs.shown().size(), row.warns ? 1u : 0u);
        if (!row.warns) continue;
        const ScriptedDialogs::Shown& box = dialogs.shown().front();
        EXPECT_EQ(box.kind, MsgKind::Information);
        EXPECT_EQ(box.text, SplashWindow::colourWarning);
        EXPECT_EQ(box.buttons, (QList<MsgButton>{MsgButton::Ok, MsgButton::Help}));
        EXPECT_EQ(box.helpContext, 75);
    }
}

// The program directory is the current directory at start, not the program's own folder,
// and the stored sound wish is read as it stands.
TEST(SplashTest, ProgramDirectoryAndSoundWish) {
    TestSettingsFolder folder;
    Settings settings;
    TempDir workDir;
    CurrentDirGuard guard;
    ASSERT_TRUE(QDir::setCurrent(workDir.path()));
    struct Row {
        const char* stored; // null: nothing stored
        bool wanted;
    };
    for (const Row row :
         {Row{nullptr, true}, Row{"YES", true}, Row{"yes", false}, Row{"NO", false}}) {
        SCOPED_TRACE(row.stored ? row.stored : "(absent)");
        if (row.stored) settings.setPlaySound(QString::fromLatin1(row.stored));
        ScriptedDialogs dialogs;
        SplashWindow splash(dialogs, settings, 24);
        EXPECT_EQ(QDir(splash.values().programDir).canonicalPath(),
                  QDir(workDir.path()).canonicalPath());
        EXPECT_NE(QDir(splash.values().programDir).canonicalPath(),
                  QDir(QCoreApplication::applicationDirPath()).canonicalPath());
        EXPECT_FALSE(splash.values().programDir.endsWith(QLatin1Char('/')));
        EXPECT_EQ(splash.values().soundWanted, row.wanted);
    }
}

// Any key on the splash window asks for the hand-over to the game.
TEST(SplashTest, KeyHandsOver) {
    TestSettingsFolder folder;
    Settings settings;
    ScriptedDialogs dialogs;
    SplashWindow splash(dialogs, settings, 24);
    EXPECT_EQ(splash.size(), QSize(612, 390));
    int handOvers = 0;
    splash.onKey = [&] { ++handOvers; };
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(&splash, &key);
    EXPECT_EQ(handOvers, 1);
}
