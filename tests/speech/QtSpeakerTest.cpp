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
