#include "SoundCues.h"
#include "RecordingMidiPlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using TMsg = TRecordingMidiPlatform::TShortMsg;

class SoundCuesTest : public ::testing::Test {
protected:
    SoundCuesTest() : Out(Platform), Cues(Out, [this] { return SoundOn; }) {}

    // Sets up and forgets the set-up messages, so a test sees only its cues.
    void SetUpQuietly() {
        Cues.SetUp();
        Platform.ClearShorts();
    }

    TRecordingMidiPlatform Platform;
    TMidiOutput Out;
    bool SoundOn = true;
    TSoundCues Cues;
};

const std::vector<TMsg> SetUpMessages{{0xC1, 39, 0}, {0xC2, 55, 0},  {0xC3, 118, 0}, {0xE3, 127, 0},
                                      {0xC4, 26, 0}, {0xC5, 100, 0}, {0xC6, 15, 0},  {0xC7, 1, 0}};

} // namespace

// The set-up opens the mapper and sends the eight instrument messages in order, sound on or off.
TEST_F(SoundCuesTest, SetUpOpensTheMapperAndSendsTheInstruments) {
    for (const bool on : {true, false}) {
        TRecordingMidiPlatform platform;
        TMidiOutput out(platform);
        TSoundCues cues(out, [on] { return on; });
        cues.SetUp();
        EXPECT_EQ(out.DeviceID(), -1);
        EXPECT_EQ(out.State(), TMidiOutputState::Open);
        EXPECT_EQ(platform.Calls()[platform.Calls().size() - 9], "Open -1");
        EXPECT_EQ(platform.Shorts(), SetUpMessages);
    }
}

// A mapper that cannot be opened raises nothing: the set-up and the cues fail quietly.
TEST_F(SoundCuesTest, UnopenedMapperSilencesEverythingWithoutRaising) {
    Platform.OpenResult = MidiResult::NoSoundfont;
    EXPECT_NO_THROW(Cues.SetUp());
    EXPECT_EQ(Out.State(), TMidiOutputState::Closed);
    EXPECT_NO_THROW(Cues.TypingClick());
    EXPECT_EQ(Out.LastError(), MidiResult::InvalidHandle);
    EXPECT_TRUE(Platform.Shorts().empty());
}

// A set-up step that raises is let out to the game screen, with the rest of the set-up skipped.
TEST_F(SoundCuesTest, SetUpLetsARaisingStepOut) {
    Cues.SetUp();
    Platform.ClearShorts();
    EXPECT_THROW(Cues.SetUp(), EmidioutputError); // the device id cannot change while open
    EXPECT_TRUE(Platform.Shorts().empty());
}

// Each cue sends one note-on on its own channel with its note and velocity.
TEST_F(SoundCuesTest, EachCueSendsItsNote) {
    SetUpQuietly();
    struct Case {
        const char* Name;
        std::function<void(TSoundCues&)> Fire;
        TMsg Expected;
    };
    const std::vector<Case> cases{
        {"typing click", [](TSoundCues& c) { c.TypingClick(); }, {0x9E, 60, 127}},
        {"answer A", [](TSoundCues& c) { c.AnswerPress(0, 120); }, {0x92, 55, 120}},
        {"answer B", [](TSoundCues& c) { c.AnswerPress(1, 120); }, {0x92, 60, 120}},
        {"answer C", [](TSoundCues& c) { c.AnswerPress(2, 120); }, {0x92, 65, 120}},
        {"answer D", [](TSoundCues& c) { c.AnswerPress(3, 120); }, {0x92, 70, 120}},
        {"time tick 99", [](TSoundCues& c) { c.TimeTick(99); }, {0x93, 95, 127}},
        {"time tick 96", [](TSoundCues& c) { c.TimeTick(96); }, {0x93, 94, 127}},
        {"time tick 1", [](TSoundCues& c) { c.TimeTick(1); }, {0x93, 71, 127}},
        {"time tick 0", [](TSoundCues& c) { c.TimeTick(0); }, {0x93, 70, 127}},
        {"spin step 0", [](TSoundCues& c) { c.SpinStep(0); }, {0x94, 15, 127}},
        {"spin step 4", [](TSoundCues& c) { c.SpinStep(4); }, {0x94, 75, 127}},
        {"spin step 16", [](TSoundCues& c) { c.SpinStep(16); }, {0x94, 255, 127}},
        {"spin step 17", [](TSoundCues& c) { c.SpinStep(17); }, {0x94, 14, 127}}, // low byte
        {"fall run", [](TSoundCues& c) { c.FallRun(74); }, {0x95, 74, 127}},
        {"prize $1", [](TSoundCues& c) { c.PrizeFlash(1); }, {0x96, 48, 127}},
        {"prize $50", [](TSoundCues& c) { c.PrizeFlash(4); }, {0x96, 72, 127}},
        {"prize Lose", [](TSoundCues& c) { c.PrizeFlash(5); }, {0x96, 80, 127}},
        {"correct lit", [](TSoundCues& c) { c.CorrectFlash(1); }, {0x97, 75, 127}},
        {"correct unlit", [](TSoundCues& c) { c.CorrectFlash(0); }, {0x97, 45, 127}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Platform.ClearShorts();
        c.Fire(Cues);
        EXPECT_EQ(Platform.Shorts(), std::vector<TMsg>{c.Expected});
    }
}

// A full run of the gauge from 100 to 0 sends 100 ticks falling a semitone every four, 95 to 70.
TEST_F(SoundCuesTest, FullGaugeRunFallsFrom95To70) {
    SetUpQuietly();
    for (int p = 99; p >= 0; --p)
        Cues.TimeTick(p);
    const auto& shorts = Platform.Shorts();
    ASSERT_EQ(shorts.size(), 100u);
    for (std::size_t i = 0; i < shorts.size(); ++i) {
        const int p = 99 - static_cast<int>(i);
        EXPECT_EQ(shorts[i], (TMsg{0x93, static_cast<std::uint8_t>(95 - (100 - p) / 4), 127}));
    }
    EXPECT_EQ(shorts.front().Data1, 95);
    EXPECT_EQ(shorts[3].Data1, 94);
    EXPECT_EQ(shorts.back().Data1, 70);
}

// With sound off no cue sends anything; the switch is read at every cue, so turning it on
// makes the very next cue sound.
TEST_F(SoundCuesTest, SoundOffSendsNothingAndIsReadPerCue) {
    SetUpQuietly();
    SoundOn = false;
    Cues.TypingClick();
    Cues.AnswerPress(2, 120);
    Cues.TimeTick(50);
    Cues.SpinStep(3);
    Cues.FallRun(60);
    Cues.PrizeFlash(2);
    Cues.CorrectFlash(1);
    EXPECT_TRUE(Platform.Shorts().empty());
    SoundOn = true;
    Cues.TypingClick();
    SoundOn = false;
    Cues.TypingClick();
    EXPECT_EQ(Platform.Shorts(), (std::vector<TMsg>{{0x9E, 60, 127}}));
}
