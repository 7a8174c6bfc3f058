#include "QtSpeaker.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

// The speech-dispatcher engine is chosen only where a dispatcher runs; Flite is next, and with
// no engine installed there is nothing to try.
TEST(QtSpeakerTest, EnginePreference) {
    const QStringList both = {QStringLiteral("speechd"), QStringLiteral("flite")};
    EXPECT_EQ(QtSpeaker::enginePreference(both, true), both);
    EXPECT_EQ(QtSpeaker::enginePreference(both, false),
              (QStringList{QStringLiteral("flite"), QStringLiteral("speechd")}));
    EXPECT_EQ(QtSpeaker::enginePreference({QStringLiteral("speechd")}, true),
              QStringList{QStringLiteral("speechd")});
    EXPECT_TRUE(QtSpeaker::enginePreference({}, true).isEmpty());
}

// An engine that is not installed leaves the speaker unavailable with a reason, and saying
// something then does nothing.
TEST(QtSpeakerTest, MissingEngineIsUnavailable) {
    QtSpeaker speaker(QStringLiteral("no-such-engine"), nullptr);
    EXPECT_FALSE(speaker.available());
    EXPECT_FALSE(speaker.unavailableReason().isEmpty());
    speaker.say(QStringLiteral("Correct"));
    EXPECT_FALSE(speaker.isSpeaking());
}

// Flite speaks a short text to its end and reports the end.
TEST(QtSpeakerTest, FliteSpeaksToTheEnd) {
    QtSpeaker speaker(QStringLiteral("flite"), nullptr);
    if (!speaker.available())
        GTEST_SKIP() << "Flite cannot speak here: " << speaker.unavailableReason().toStdString();
    QSignalSpy finished(&speaker, &Speaker::finished);

    speaker.say(QStringLiteral("Correct"));
    EXPECT_TRUE(speaker.isSpeaking());
    ASSERT_TRUE(finished.wait(30'000)) << "the utterance never finished";
    EXPECT_FALSE(speaker.isSpeaking());
    EXPECT_EQ(speaker.lastError(), QString());
    EXPECT_EQ(finished.count(), 1);
}

// A text said while another is spoken cuts that one off; only the last one finishes, and the
// engine keeps speaking afterwards. With the Flite engine of Qt 6.4.2, "Time out" fails in the
// audio output, so this also holds the speaker to ending a failed utterance and going on.
TEST(QtSpeakerTest, FliteCutsOffTheUtteranceBefore) {
    QtSpeaker speaker(QStringLiteral("flite"), nullptr);
    if (!speaker.available())
        GTEST_SKIP() << "Flite cannot speak here: " << speaker.unavailableReason().toStdString();
    QSignalSpy finished(&speaker, &Speaker::finished);

    for (const char* last : {"Time out", "Correct"}) {
        speaker.say(QStringLiteral("Which planet is known as the red planet? A: Venus, B: Mars"));
        speaker.say(QString::fromLatin1(last));
        EXPECT_TRUE(speaker.isSpeaking());
        ASSERT_TRUE(finished.wait(30'000)) << last << " never finished";
        EXPECT_FALSE(speaker.isSpeaking());
    }
    EXPECT_EQ(finished.count(), 2);
    EXPECT_TRUE(speaker.available());
}
