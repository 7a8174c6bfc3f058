#include "SoundCues.h"
#include "RecordingMidiPlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using Msg = RecordingMidiPlatform::ShortMsg;

class SoundCuesTest : public ::testing::Test {
protected:
    SoundCuesTest() : out(platform), cues(out, sound) {}

    // Sets up and forgets the set-up messages, so a test sees only its cues.
    void setUpQuietly() {
        cues.setUp();
        platform.clearShorts();
    }

    RecordingMidiPlatform platform;
    MidiOutput out;
    SoundSwitch sound{true};
    SoundCues cues;
};

const std::vector<Msg> SetUpMessages{{0xC1, 39, 0}, {0xC2, 55, 0},  {0xC3, 118, 0}, {0xE3, 127, 0},
                                     {0xC4, 26, 0}, {0xC5, 100, 0}, {0xC6, 15, 0},  {0xC7, 1, 0}};

} // namespace

// The set-up opens the mapper and sends the eight instrument messages in order, sound on or off.
TEST_F(SoundCuesTest, SetUpOpensTheMapperAndSendsTheInstruments) {
    for (const bool on : {true, false}) {
        RecordingMidiPlatform platform;
        MidiOutput out(platform);
        const SoundSwitch sound(on);
        SoundCues cues(out, sound);
        cues.setUp();
        EXPECT_EQ(out.deviceId(), -1);
        EXPECT_EQ(out.state(), MidiOutputState::Open);
        EXPECT_EQ(platform.calls()[platform.calls().size() - 9], "Open -1");
        EXPECT_EQ(platform.shorts(), SetUpMessages);
    }
}

// A mapper that cannot be opened raises nothing: the set-up and the cues fail quietly.
TEST_F(SoundCuesTest, UnopenedMapperSilencesEverythingWithoutRaising) {
    platform.openResult = MidiResult::NoSoundfont;
    EXPECT_NO_THROW(cues.setUp());
    EXPECT_EQ(out.state(), MidiOutputState::Closed);
    EXPECT_NO_THROW(cues.typingClick());
    EXPECT_EQ(out.lastError(), MidiResult::InvalidHandle);
    EXPECT_TRUE(platform.shorts().empty());
}

// A set-up step that raises is let out to the game screen, with the rest of the set-up skipped.
TEST_F(SoundCuesTest, SetUpLetsARaisingStepOut) {
    cues.setUp();
    platform.clearShorts();
    EXPECT_THROW(cues.setUp(), MidiOutputError); // the device id cannot change while open
    EXPECT_TRUE(platform.shorts().empty());
}

// Each cue sends one note-on on its own channel with its note and velocity.
TEST_F(SoundCuesTest, EachCueSendsItsNote) {
    setUpQuietly();
    struct Case {
        const char* name;
        std::function<void(SoundCues&)> fire;
        Msg expected;
    };
    const std::vector<Case> cases{
        {"typing click", [](SoundCues& c) { c.typingClick(); }, {0x9E, 60, 127}},
        {"answer A", [](SoundCues& c) { c.answerPress(0, 120); }, {0x92, 55, 120}},
        {"answer B", [](SoundCues& c) { c.answerPress(1, 120); }, {0x92, 60, 120}},
        {"answer C", [](SoundCues& c) { c.answerPress(2, 120); }, {0x92, 65, 120}},
        {"answer D", [](SoundCues& c) { c.answerPress(3, 120); }, {0x92, 70, 120}},
        {"time tick 99", [](SoundCues& c) { c.timeTick(99); }, {0x93, 95, 127}},
        {"time tick 96", [](SoundCues& c) { c.timeTick(96); }, {0x93, 94, 127}},
        {"time tick 1", [](SoundCues& c) { c.timeTick(1); }, {0x93, 71, 127}},
        {"time tick 0", [](SoundCues& c) { c.timeTick(0); }, {0x93, 70, 127}},
        {"spin step 0", [](SoundCues& c) { c.spinStep(0); }, {0x94, 15, 127}},
        {"spin step 4", [](SoundCues& c) { c.spinStep(4); }, {0x94, 75, 127}},
        {"spin step 16", [](SoundCues& c) { c.spinStep(16); }, {0x94, 255, 127}},
        {"spin step 17", [](SoundCues& c) { c.spinStep(17); }, {0x94, 14, 127}}, // low byte
        {"fall run", [](SoundCues& c) { c.fallRun(74); }, {0x95, 74, 127}},
        {"prize $1", [](SoundCues& c) { c.prizeFlash(1); }, {0x96, 48, 127}},
        {"prize $50", [](SoundCues& c) { c.prizeFlash(4); }, {0x96, 72, 127}},
        {"prize Lose", [](SoundCues& c) { c.prizeFlash(5); }, {0x96, 80, 127}},
        {"correct lit", [](SoundCues& c) { c.correctFlash(1); }, {0x97, 75, 127}},
        {"correct unlit", [](SoundCues& c) { c.correctFlash(0); }, {0x97, 45, 127}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.clearShorts();
        c.fire(cues);
        EXPECT_EQ(platform.shorts(), std::vector<Msg>{c.expected});
    }
}

// A full run of the gauge from 100 to 0 sends 100 ticks falling a semitone every four, 95 to 70.
TEST_F(SoundCuesTest, FullGaugeRunFallsFrom95To70) {
    setUpQuietly();
    for (int p = 99; p >= 0; --p)
        cues.timeTick(p);
    const auto& shorts = platform.shorts();
    ASSERT_EQ(shorts.size(), 100u);
    for (std::size_t i = 0; i < shorts.size(); ++i) {
        const int p = 99 - static_cast<int>(i);
        EXPECT_EQ(shorts[i], (Msg{0x93, static_cast<std::uint8_t>(95 - (100 - p) / 4), 127}));
    }
    EXPECT_EQ(shorts.front().data1, 95);
    EXPECT_EQ(shorts[3].data1, 94);
    EXPECT_EQ(shorts.back().data1, 70);
}

// With sound off no cue sends anything; the switch is read at every cue, so turning it on
// makes the very next cue sound.
TEST_F(SoundCuesTest, SoundOffSendsNothingAndIsReadPerCue) {
    setUpQuietly();
    sound.setWanted(false);
    cues.typingClick();
    cues.answerPress(2, 120);
    cues.timeTick(50);
    cues.spinStep(3);
    cues.fallRun(60);
    cues.prizeFlash(2);
    cues.correctFlash(1);
    EXPECT_TRUE(platform.shorts().empty());
    sound.setWanted(true);
    cues.typingClick();
    sound.setWanted(false);
    cues.typingClick();
    EXPECT_EQ(platform.shorts(), (std::vector<Msg>{{0x9E, 60, 127}}));
}
