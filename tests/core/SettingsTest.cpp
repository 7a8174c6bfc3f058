#include "Settings.h"
#include "TestSettings.h"

#include <QFile>

#include <iterator>
#include <vector>

#include <gtest/gtest.h>

// "PlaySound" defaults to "YES"; only "YES" exactly means sound; the editor's value defaults
// to "F" and is written as "1"/"0".
TEST(SettingsTest, DefaultsAndCaseRule) {
    TTestSettingsFolder folder;
    TSettings settings;
    EXPECT_EQ(settings.PlaySound(), QStringLiteral("YES"));
    EXPECT_TRUE(settings.SoundWanted());
    const struct {
        const char* Stored;
        bool Wanted;
    } cases[] = {{"YES", true}, {"yes", false}, {"NO", false}, {"Yes", false}, {"", false}};
    // Whoever listens hears the same as SoundWanted, at every store.
    std::vector<bool> heard;
    settings.setSoundWantedListener([&](bool wanted) { heard.push_back(wanted); });
    for (const auto& c : cases) {
        settings.SetPlaySound(QString::fromLatin1(c.Stored));
        EXPECT_EQ(settings.SoundWanted(), c.Wanted) << c.Stored;
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.back(), c.Wanted) << c.Stored;
    }
    EXPECT_EQ(heard.size(), std::size(cases));
    EXPECT_TRUE(QFile::exists(folder.OptionsFile()));

    EXPECT_EQ(settings.EditorMaximized(), QStringLiteral("F"));
    EXPECT_TRUE(settings.SetEditorMaximized(true));
    EXPECT_EQ(settings.EditorMaximized(), QStringLiteral("1"));
    EXPECT_TRUE(settings.SetEditorMaximized(false));
    EXPECT_EQ(settings.EditorMaximized(), QStringLiteral("0"));
    EXPECT_TRUE(QFile::exists(folder.Path() + QStringLiteral("/Pocko.Ini")));
}

// An unreadable options file gives the default.
TEST(SettingsTest, UnreadableStoreGivesDefault) {
    TTestSettingsFolder folder;
    QFile garbage(folder.OptionsFile());
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("\x01\x02[[[ not ini \xff\xfe");
    garbage.close();
    EXPECT_EQ(TSettings().PlaySound(), QStringLiteral("YES"));
}

// "Speak" defaults to "NO", also in an unreadable store; only "YES" exactly means speech, and
// it is kept beside "PlaySound" without touching it.
TEST(SettingsTest, SpeakDefaultsToNoAndKeepsBesidePlaySound) {
    TTestSettingsFolder folder;
    TSettings settings;
    EXPECT_EQ(settings.Speak(), QStringLiteral("NO"));
    EXPECT_FALSE(settings.SpeechWanted());
    settings.SetPlaySound(QStringLiteral("NO"));
    const struct {
        const char* Stored;
        bool Wanted;
    } cases[] = {{"YES", true}, {"yes", false}, {"NO", false}, {"YES ", false}, {"", false}};
    for (const auto& c : cases) {
        settings.SetSpeak(QString::fromLatin1(c.Stored));
        EXPECT_EQ(settings.SpeechWanted(), c.Wanted) << c.Stored;
    }
    EXPECT_EQ(settings.PlaySound(), QStringLiteral("NO"));
    settings.SetSpeak(QStringLiteral("YES"));
    QFile file(folder.OptionsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[Options]")) << text.constData();
    EXPECT_TRUE(text.contains("Speak=YES")) << text.constData();
    EXPECT_TRUE(text.contains("PlaySound=NO")) << text.constData();
    file.close();

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\x01\x02[[[ not ini \xff\xfe");
    file.close();
    EXPECT_EQ(TSettings().Speak(), QStringLiteral("NO"));
}
