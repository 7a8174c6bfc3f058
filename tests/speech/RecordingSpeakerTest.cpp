#include "RecordingSpeaker.h"
#include "ManualClock.h"

#include <gtest/gtest.h>

// The test speaker keeps what is said in order, finishes an utterance on the manual clock after
// its length, and cuts the one before off at a new one without finishing it.
TEST(RecordingSpeakerTest, FinishesOnTheClockAndCutsOff) {
    ManualClock clock;
    RecordingSpeaker speaker(clock);
    int finishedCount = 0;
    QObject::connect(&speaker, &Speaker::finished, [&] { ++finishedCount; });

    const QString first = QStringLiteral("Which planet is red?");
    speaker.say(first);
    clock.advance(RecordingSpeaker::durationOf(first) - 1);
    EXPECT_TRUE(speaker.isSpeaking());
    EXPECT_EQ(finishedCount, 0);
    clock.advance(1);
    EXPECT_FALSE(speaker.isSpeaking());
    EXPECT_EQ(finishedCount, 1);

    speaker.say(QStringLiteral("A: Venus, B: Mars, C: Jupiter, D: Saturn"));
    clock.advance(100);
    speaker.say(QStringLiteral("Correct"));
    clock.advance(10'000);
    EXPECT_EQ(finishedCount, 2);
    ASSERT_EQ(speaker.utterances().size(), 3u);
    EXPECT_FALSE(speaker.utterances()[1].finished);
    EXPECT_EQ(speaker.utterances()[1].endedAt, speaker.utterances()[2].saidAt);
    EXPECT_TRUE(speaker.utterances()[2].finished);
    EXPECT_EQ(speaker.texts().back(), QStringLiteral("Correct"));

    speaker.makeUnavailable(QStringLiteral("No speech engine is installed"));
    speaker.say(QStringLiteral("Correct"));
    EXPECT_EQ(speaker.utterances().size(), 3u);
    EXPECT_FALSE(speaker.isSpeaking());
}
