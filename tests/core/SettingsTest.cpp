#include "Settings.h"
#include "TestSettings.h"

#include <QFile>

#include <iterator>
#include <vector>

#include <gtest/gtest.h>

// "PlaySound" defaults to "YES"; only "YES" exactly means sound; the editor's value defaults
// to "F" and is written as "1"/"0".
TEST(SettingsTest, DefaultsAndCaseRule) {
    TestSettingsFolder folder;
    Settings settings;
    EXPECT_EQ(settings.playSound(), QStringLiteral("YES"));
    EXPECT_TRUE(settings.soundWanted());
    const struct {
        const char* stored;
        bool wanted;
    } cases[] = {{"YES", true}, {"yes", false}, {"NO", false}, {"Yes", false}, {"", false}};
    // Whoever listens hears the same as soundWanted, at every store.
    std::vector<bool> heard;
    settings.setSoundWantedListener([&](bool wanted) { heard.push_back(wanted); });
    for (const auto& c : cases) {
        settings.setPlaySound(QString::fromLatin1(c.stored));
        EXPECT_EQ(settings.soundWanted(), c.wanted) << c.stored;
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.back(), c.wanted) << c.stored;
    }
    EXPECT_EQ(heard.size(), std::size(cases));
    EXPECT_TRUE(QFile::exists(folder.optionsFile()));

    EXPECT_EQ(settings.editorMaximized(), QStringLiteral("F"));
    EXPECT_TRUE(settings.setEditorMaximized(true));
    EXPECT_EQ(settings.editorMaximized(), QStringLiteral("1"));
    EXPECT_TRUE(settings.setEditorMaximized(false));
    EXPECT_EQ(settings.editorMaximized(), QStringLiteral("0"));
    EXPECT_TRUE(QFile::exists(folder.stdPath() + QStringLiteral("/Pocko.Ini")));
}

// An unreadable options file gives the default.
TEST(SettingsTest, UnreadableStoreGivesDefault) {
    TestSettingsFolder folder;
    QFile garbage(folder.optionsFile());
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("\x01\x02[[[ not ini \xff\xfe");
    garbage.close();
    EXPECT_EQ(Settings().playSound(), QStringLiteral("YES"));
}

// "Speak" defaults to "NO", also in an unreadable store; only "YES" exactly means speech, and
// it is kept beside "PlaySound" without touching it.
TEST(SettingsTest, SpeakDefaultsToNoAndKeepsBesidePlaySound) {
    TestSettingsFolder folder;
    Settings settings;
    EXPECT_EQ(settings.speak(), QStringLiteral("NO"));
    EXPECT_FALSE(settings.speechWanted());
    settings.setPlaySound(QStringLiteral("NO"));
    const struct {
        const char* stored;
        bool wanted;
    } cases[] = {{"YES", true}, {"yes", false}, {"NO", false}, {"YES ", false}, {"", false}};
    for (const auto& c : cases) {
        settings.setSpeak(QString::fromLatin1(c.stored));
        EXPECT_EQ(settings.speechWanted(), c.wanted) << c.stored;
    }
    EXPECT_EQ(settings.playSound(), QStringLiteral("NO"));
    settings.setSpeak(QStringLiteral("YES"));
    QFile file(folder.optionsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[Options]")) << text.constData();
    EXPECT_TRUE(text.contains("Speak=YES")) << text.constData();
    EXPECT_TRUE(text.contains("PlaySound=NO")) << text.constData();
    file.close();

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\x01\x02[[[ not ini \xff\xfe");
    file.close();
    EXPECT_EQ(Settings().speak(), QStringLiteral("NO"));
}
