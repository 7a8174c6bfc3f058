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
class TCurrentDirGuard {
public:
    TCurrentDirGuard() : FOld(QDir::currentPath()) {}
    ~TCurrentDirGuard() { QDir::setCurrent(FOld); }

private:
    QString FOld;
};
} // namespace

// The colour-depth warning appears exactly below 16 bits per pixel: once, as information,
// with OK and Help on topic 75, and start-up goes on after it.
TEST(SplashTest, ColourWarningBelowSixteenBits) {
    TTestSettingsFolder folder;
    TSettings settings;
    struct TRow {
        int Depth;
        bool Warns;
    };
    for (const TRow row : {TRow{1, true}, TRow{8, true}, TRow{15, true}, TRow{16, false},
                           TRow{24, false}, TRow{32, false}}) {
        SCOPED_TRACE(row.Depth);
        TScriptedDialogs dialogs;
        TMM splash(dialogs, settings, row.Depth);
        EXPECT_EQ(splash.Values().ColourDepth, row.Depth);
        ASSERT_EQ(dialogs.Shown().size(), row.Warns ? 1u : 0u);
        if (!row.Warns) continue;
        const TScriptedDialogs::TShown& box = dialogs.Shown().front();
        EXPECT_EQ(box.Kind, TMsgKind::Information);
        EXPECT_EQ(box.Text, TMM::ColourWarning);
        EXPECT_EQ(box.Buttons, (QList<TMsgButton>{TMsgButton::Ok, TMsgButton::Help}));
        EXPECT_EQ(box.HelpContext, 75);
    }
}

// The program directory is the current directory at start, not the program's own folder,
// and the stored sound wish is read as it stands.
TEST(SplashTest, ProgramDirectoryAndSoundWish) {
    TTestSettingsFolder folder;
    TSettings settings;
    TTempDir workDir;
    TCurrentDirGuard guard;
    ASSERT_TRUE(QDir::setCurrent(workDir.path()));
    struct TRow {
        const char* Stored; // null: nothing stored
        bool Wanted;
    };
    for (const TRow row :
         {TRow{nullptr, true}, TRow{"YES", true}, TRow{"yes", false}, TRow{"NO", false}}) {
        SCOPED_TRACE(row.Stored ? row.Stored : "(absent)");
        if (row.Stored) settings.SetPlaySound(QString::fromLatin1(row.Stored));
        TScriptedDialogs dialogs;
        TMM splash(dialogs, settings, 24);
        EXPECT_EQ(QDir(splash.Values().ProgramDir).canonicalPath(),
                  QDir(workDir.path()).canonicalPath());
        EXPECT_NE(QDir(splash.Values().ProgramDir).canonicalPath(),
                  QDir(QCoreApplication::applicationDirPath()).canonicalPath());
        EXPECT_FALSE(splash.Values().ProgramDir.endsWith(QLatin1Char('/')));
        EXPECT_EQ(splash.Values().SoundWanted, row.Wanted);
    }
}

// Any key on the splash window asks for the hand-over to the game.
TEST(SplashTest, KeyHandsOver) {
    TTestSettingsFolder folder;
    TSettings settings;
    TScriptedDialogs dialogs;
    TMM splash(dialogs, settings, 24);
    EXPECT_EQ(splash.size(), QSize(612, 390));
    int handOvers = 0;
    splash.OnKey = [&] { ++handOvers; };
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(&splash, &key);
    EXPECT_EQ(handOvers, 1);
}
