#include "FliteSpeaker.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

// Typographic dashes, quotes and ellipses reach the synthesizer in their plain forms.
TEST(FliteSpeakerTest, ReadableText) {
    EXPECT_EQ(FliteSpeaker::readable(QStringLiteral("Wrong — the answer was Mars")),
              QStringLiteral("Wrong , the answer was Mars"));
    EXPECT_EQ(FliteSpeaker::readable(QStringLiteral("It’s “here”…")),
              QStringLiteral("It's \"here\"..."));
    EXPECT_EQ(FliteSpeaker::readable(QStringLiteral("  A:  Venus ")), QStringLiteral("A: Venus"));
}

// Lines that Qt's own Flite engine never got out of its audio output ("One", "Jupiter",
// "Time out" and the answers line) are spoken to their end, without an engine error.
TEST(FliteSpeakerTest, SpeaksEveryLineToItsEnd) {
    FliteSpeaker speaker;
    if (!speaker.available())
        GTEST_SKIP() << "Flite cannot speak here: " << speaker.unavailableReason().toStdString();
    QSignalSpy finished(&speaker, &Speaker::finished);

    int count = 0;
    for (const char* line :
         {"One", "Jupiter", "Time out", "A: Venus, B: Mars, C: Jupiter, D: Saturn", "Correct"}) {
        speaker.say(QString::fromUtf8(line));
        EXPECT_TRUE(speaker.isSpeaking());
        ASSERT_TRUE(finished.wait(30'000)) << line << " never finished";
        EXPECT_EQ(finished.count(), ++count);
        EXPECT_FALSE(speaker.isSpeaking());
        EXPECT_EQ(speaker.lastError(), QString()) << line;
    }
}

// A line said while another is spoken cuts that one off: only the last one finishes.
TEST(FliteSpeakerTest, CutsOffTheLineBefore) {
    FliteSpeaker speaker;
    if (!speaker.available())
        GTEST_SKIP() << "Flite cannot speak here: " << speaker.unavailableReason().toStdString();
    QSignalSpy finished(&speaker, &Speaker::finished);

    speaker.say(QStringLiteral("Which planet is known as the red planet? A: Venus, B: Mars"));
    speaker.say(QStringLiteral("Correct"));
    ASSERT_TRUE(finished.wait(30'000));
    EXPECT_FALSE(finished.wait(500)) << "the line cut off finished too";
    EXPECT_EQ(finished.count(), 1);

    // stop() ends a line without finishing it.
    speaker.say(QStringLiteral("Which planet is known as the red planet?"));
    speaker.stop();
    EXPECT_FALSE(speaker.isSpeaking());
    EXPECT_FALSE(finished.wait(1000));
    EXPECT_EQ(finished.count(), 1);
}
