#include "FluidMidiPlatform.h"
#include "SoundCues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace {

bool HaveSoundfont() {
    for (const auto& path : TFluidMidiPlatform::DefaultSoundfonts())
        if (std::filesystem::exists(path)) return true;
    return false;
}

float Peak(const std::vector<float>& samples) {
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

constexpr int Ms300 = TFluidMidiPlatform::SampleRate * 3 / 10;
constexpr float Audible = 1e-3f;

class FluidMidiPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
    }

    TFluidMidiPlatform Platform{TFluidMidiPlatform::TOutput::Offline};
};

} // namespace

// After the set-up every channel holds its instrument, and every cue sounds on its own channel.
TEST_F(FluidMidiPlatformTest, EachCueSoundsOnItsChannelWithItsInstrument) {
    TMidiOutput out(Platform);
    TSoundCues cues(out, [] { return true; });
    cues.SetUp();
    ASSERT_EQ(out.State(), TMidiOutputState::Open) << out.ErrorText(out.LastError());
    EXPECT_EQ(out.ProductName(), "Trivora GM Synthesizer");
    const TMidiHandle handle = out.Handle();

    struct Instrument {
        int Channel, Program;
    };
    for (const Instrument i :
         {Instrument{2, 39}, Instrument{3, 55}, Instrument{4, 118}, Instrument{5, 26},
          Instrument{6, 100}, Instrument{7, 15}, Instrument{8, 1}, Instrument{15, 0}}) {
        SCOPED_TRACE(i.Channel);
        EXPECT_EQ(Platform.ChannelProgram(handle, i.Channel), i.Program);
        EXPECT_FALSE(Platform.ChannelInstrument(handle, i.Channel).empty());
    }

    struct Cue {
        const char* Name;
        int Channel;
        std::function<void()> Fire;
    };
    const std::vector<Cue> table{
        {"typing click", 15, [&] { cues.TypingClick(); }},
        {"answer press", 3, [&] { cues.AnswerPress(1, 120); }},
        {"time tick", 4, [&] { cues.TimeTick(60); }},
        {"spin step", 5, [&] { cues.SpinStep(2); }},
        {"fall run", 6, [&] { cues.FallRun(60); }},
        {"prize flash", 7, [&] { cues.PrizeFlash(3); }},
        {"correct flash", 8, [&] { cues.CorrectFlash(1); }},
    };
    std::vector<std::vector<float>> channels;
    for (const Cue& c : table) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(Platform.RenderChannels(handle, 2048, channels));
        EXPECT_LT(Peak(channels[c.Channel - 1]), Audible) << "channel sounded before its cue";
        c.Fire();
        EXPECT_EQ(out.LastError(), 0);
        ASSERT_TRUE(Platform.RenderChannels(handle, Ms300, channels));
        EXPECT_GT(Peak(channels[c.Channel - 1]), Audible);
    }
    // Channel 2 is set up but never played.
    EXPECT_LT(Peak(channels[1]), Audible);
}

// Without a soundfont the mapper does not open; the cues then fail quietly.
TEST(FluidMidiPlatformNoSoundfont, OpenFailsWithAReason) {
    TFluidMidiPlatform platform(TFluidMidiPlatform::TOutput::Offline, {"/nonexistent/none.sf2"});
    TMidiOutput out(platform);
    TSoundCues cues(out, [] { return true; });
    EXPECT_NO_THROW(cues.SetUp());
    EXPECT_EQ(out.State(), TMidiOutputState::Closed);
    EXPECT_EQ(out.ErrorText(MidiResult::NoSoundfont), "No General MIDI soundfont found");
    EXPECT_NO_THROW(cues.TimeTick(50));
    EXPECT_EQ(out.LastError(), MidiResult::InvalidHandle);
}

// The synthesizer refuses messages that are not complete MIDI messages.
TEST_F(FluidMidiPlatformTest, RefusesMalformedShortMessages) {
    TMidiOutput out(Platform);
    out.SetDeviceID(-1);
    out.Open();
    ASSERT_EQ(out.State(), TMidiOutputState::Open);
    struct Case {
        std::uint8_t Status, Data1, Data2;
        std::uint16_t Result;
    };
    for (const Case c :
         {Case{0x90, 60, 100, MidiResult::NoError}, Case{0x80, 60, 0, MidiResult::NoError},
          Case{0x3C, 60, 100, MidiResult::InvalidParam},  // no status byte
          Case{0x90, 200, 100, MidiResult::InvalidParam}, // 8-bit data
          Case{0xF0, 0, 0, MidiResult::InvalidParam}}) {  // exclusive as short
        out.SendShort(c.Status, c.Data1, c.Data2);
        EXPECT_EQ(out.LastError(), c.Result) << int{c.Status} << " " << int{c.Data1};
    }
}

// A long message is played as a stream of messages, running status included, and is
// reported done.
TEST_F(FluidMidiPlatformTest, PlaysLongMessageStreams) {
    struct TTarget : TMidiNoticeTarget {
        int Done_ = 0;
        void Done(TMidiHeader&) override { ++Done_; }
    } target;
    TMidiHandle handle = 0;
    ASSERT_EQ(Platform.Open(-1, target, handle), MidiResult::NoError);
    std::uint8_t data[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0xC2, 40, 0xC3, 41, 42 /*run*/};
    TMidiHeader header;
    header.Data = data;
    header.BufferLength = sizeof data;
    EXPECT_EQ(Platform.LongMsg(handle, header), MidiResult::Unprepared);
    ASSERT_EQ(Platform.PrepareHeader(handle, header), MidiResult::NoError);
    ASSERT_EQ(Platform.LongMsg(handle, header), MidiResult::NoError);
    EXPECT_EQ(target.Done_, 1);
    EXPECT_NE(header.Flags & TMidiHeader::Done, 0u);
    EXPECT_EQ(Platform.ChannelProgram(handle, 3), 40);
    EXPECT_EQ(Platform.ChannelProgram(handle, 4), 42);
    EXPECT_EQ(Platform.Close(handle), MidiResult::NoError);
    EXPECT_EQ(Platform.Close(handle), MidiResult::InvalidHandle);
}

// Notes that are never switched off neither pile up nor sound forever: a quick run on one
// channel stays at the level of a single note, and a held pad falls silent after its hold time.
TEST_F(FluidMidiPlatformTest, HeldNotesNeitherPileUpNorDrone) {
    TMidiOutput out(Platform);
    TSoundCues cues(out, [] { return true; });
    cues.SetUp();
    ASSERT_EQ(out.State(), TMidiOutputState::Open);
    const TMidiHandle handle = out.Handle();
    std::vector<std::vector<float>> channels;
    const auto peakOf = [&](int channel, int frames) {
        EXPECT_TRUE(Platform.RenderChannels(handle, frames, channels));
        return Peak(channels[channel - 1]);
    };

    cues.TypingClick();
    const float single = peakOf(15, Ms300);
    peakOf(15, TFluidMidiPlatform::SampleRate); // let it die away
    float run = 0;
    for (int i = 0; i < 40; ++i) {
        cues.TypingClick();
        run = std::max(run, peakOf(15, 750)); // one letter every 17 ms
    }
    EXPECT_LT(run, 1.5f * single);

    cues.FallRun(40); // FX 5 holds its note for as long as the key is down
    EXPECT_GT(peakOf(6, Ms300), Audible);
    peakOf(6, 2 * TFluidMidiPlatform::SampleRate);
    EXPECT_LT(peakOf(6, Ms300), Audible);
}

namespace {

// Audio outputs that the test pulls by hand, as an audio thread would; they count how often
// they were opened, closed, paused and resumed.
class HandPulledOutputs {
public:
    struct Counts {
        int opened = 0, closed = 0, paused = 0, resumed = 0, openedPaused = 0;
    };

    bool CanPause = false;
    bool Fail = false;
    std::atomic<bool> Lost{false};

    TFluidMidiPlatform::OpenAudio Opener() {
        return [this](const TFluidMidiPlatform::Render& render,
                      bool paused) -> std::unique_ptr<TFluidMidiPlatform::AudioOutput> {
            std::lock_guard lock(Lock);
            ++Counted.opened;
            if (paused) ++Counted.openedPaused;
            if (Fail || (paused && !CanPause)) return nullptr;
            Current = render;
            return std::make_unique<Output>(*this);
        };
    }

    Counts counts() {
        std::lock_guard lock(Lock);
        return Counted;
    }

    // Pulls frames from the open output, if any, and returns their peak.
    float pull(int frames) {
        TFluidMidiPlatform::Render render;
        {
            std::lock_guard lock(Lock);
            render = Current;
        }
        if (!render) return 0;
        std::vector<float> left(frames), right(frames);
        render(frames, left.data(), right.data());
        return std::max(Peak(left), Peak(right));
    }

private:
    class Output : public TFluidMidiPlatform::AudioOutput {
    public:
        explicit Output(HandPulledOutputs& owner) : Owner(owner) {}
        ~Output() override {
            std::lock_guard lock(Owner.Lock);
            ++Owner.Counted.closed;
            Owner.Current = nullptr;
        }
        std::string name() const override { return "by hand"; }
        bool pause() override {
            std::lock_guard lock(Owner.Lock);
            if (!Owner.CanPause) return false;
            ++Owner.Counted.paused;
            return true;
        }
        bool resume() override {
            std::lock_guard lock(Owner.Lock);
            ++Owner.Counted.resumed;
            return !Owner.Lost;
        }
        bool alive() const override { return !Owner.Lost; }

    private:
        HandPulledOutputs& Owner;
    };

    std::mutex Lock;
    Counts Counted;
    TFluidMidiPlatform::Render Current;
};

// Waits for the port's helper thread to act; false if it has not after a generous while.
bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 5000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

int ThreadCount() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task"))
        ++n;
    return n;
}

constexpr int Block = 256;
constexpr int QuietBlocks = 40;
constexpr int SilenceFrames =
    TFluidMidiPlatform::StopAfterSilenceMs * (TFluidMidiPlatform::SampleRate / 1000);

class FluidAudioOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
        Threads = ThreadCount();
        Cues.SetUp();
        ASSERT_EQ(Out.State(), TMidiOutputState::Open);
    }

    TFluidMidiPlatform::OutputStats stats() { return Platform.Stats(Out.Handle()); }
    bool started(int times) {
        return Eventually([&] { return stats().starts == times && stats().running; });
    }
    // Pulls until the sound has died away (its reverberation fades unevenly, so QuietBlocks
    // silent blocks in a row); the number of frames pulled.
    int pullUntilSilent() {
        int frames = 0, quiet = 0;
        while (quiet < QuietBlocks && frames < 10 * TFluidMidiPlatform::SampleRate) {
            quiet = Outputs.pull(Block) < 1e-4f ? quiet + 1 : 0;
            frames += Block;
        }
        return frames;
    }

    // After pullUntilSilent (whose last block was silent): silence just short of the limit.
    void pullSilenceBelowTheLimit() {
        for (int f = (QuietBlocks + 1) * Block; f < SilenceFrames; f += Block)
            Outputs.pull(Block);
    }

    int Threads = 0;
    HandPulledOutputs Outputs;
    TFluidMidiPlatform Platform{Outputs.Opener()};
    TMidiOutput Out{Platform};
    bool SoundOn = true;
    TSoundCues Cues{Out, [this] { return SoundOn; }};
};

} // namespace

// The set-up and cues with sound off open no audio output and start no thread; the first note
// opens it.
TEST_F(FluidAudioOutputTest, OutputOpensAtTheFirstNote) {
    SoundOn = false;
    Cues.TypingClick();
    EXPECT_EQ(Outputs.counts().opened, 0);
    EXPECT_EQ(ThreadCount(), Threads);
    EXPECT_EQ(Platform.AudioDriverName(Out.Handle()), "");

    SoundOn = true;
    Cues.TypingClick();
    ASSERT_TRUE(started(1));
    EXPECT_EQ(Outputs.counts().opened, 1);
    EXPECT_EQ(Platform.AudioDriverName(Out.Handle()), "by hand");
    EXPECT_GT(Outputs.pull(Block), 1e-3f) << "the note that opened the output is its first sound";
}

// A silence of StopAfterSilenceMs stops the output (paused when it can pause, else closed), a
// note just before the limit keeps it going, and the next note starts it again with its sound.
TEST_F(FluidAudioOutputTest, SilenceStopsTheOutputAndTheNextNoteStartsIt) {
    for (const bool canPause : {false, true}) {
        SCOPED_TRACE(canPause ? "output pauses" : "output closes");
        Outputs.CanPause = canPause;
        const auto before = Outputs.counts();
        const int starts = stats().starts;
        Cues.CorrectFlash(1);
        ASSERT_TRUE(started(starts + 1));
        EXPECT_GT(pullUntilSilent(), 0);

        // A note in the silence counts the silence anew.
        pullSilenceBelowTheLimit();
        Cues.TimeTick(50);
        pullUntilSilent();
        pullSilenceBelowTheLimit();
        EXPECT_TRUE(stats().running);
        Outputs.pull(2 * Block);
        EXPECT_FALSE(stats().running);
        const int stops = stats().stops;

        ASSERT_TRUE(Eventually([&] {
            const auto now = Outputs.counts();
            return canPause ? now.paused == before.paused + 1 : now.closed == before.closed + 1;
        }));
        Cues.AnswerPress(2, 120);
        ASSERT_TRUE(started(starts + 2));
        const auto after = Outputs.counts();
        EXPECT_EQ(after.opened, before.opened + (canPause ? 1 : 2));
        EXPECT_GT(Outputs.pull(Block), 1e-3f);
        EXPECT_EQ(stats().stops, stops);
        pullUntilSilent();
        for (int f = 0; f <= SilenceFrames; f += Block)
            Outputs.pull(Block);
        ASSERT_TRUE(Eventually([&] {
            return Outputs.counts().paused + Outputs.counts().closed ==
                   after.paused + after.closed + 1;
        }));
    }
}

// An audio output that cannot be opened leaves the port open and its cues quiet failures of
// nobody's concern: no error, no output, and closing the port leaves no thread behind.
TEST_F(FluidAudioOutputTest, NoAudioOutputLeavesThePortUsable) {
    Outputs.Fail = true;
    Cues.TypingClick();
    ASSERT_TRUE(Eventually([&] { return Outputs.counts().opened == 1; }));
    Cues.TimeTick(40);
    EXPECT_EQ(Out.LastError(), MidiResult::NoError);
    EXPECT_EQ(stats().starts, 0);
    EXPECT_FALSE(stats().running);
    Out.Close();
    EXPECT_EQ(ThreadCount(), Threads);
}

// An output that its server has dropped is replaced by a new one at the next note.
TEST_F(FluidAudioOutputTest, ALostOutputIsOpenedAnewByTheNextNote) {
    Cues.TypingClick();
    ASSERT_TRUE(started(1));
    Outputs.Lost = true;
    Cues.TypingClick();
    ASSERT_TRUE(Eventually([&] { return Outputs.counts().closed == 1; }));
    Outputs.Lost = false;
    ASSERT_TRUE(started(2));
    EXPECT_EQ(Outputs.counts().opened, 2);
    EXPECT_GT(Outputs.pull(Block), 1e-3f);
}

// Closing the port while its output plays closes the output and ends the port's threads.
TEST_F(FluidAudioOutputTest, ClosingThePortEndsItsOutputAndThreads) {
    Cues.TypingClick();
    ASSERT_TRUE(started(1));
    Out.Close();
    EXPECT_EQ(Outputs.counts().closed, 1);
    EXPECT_EQ(ThreadCount(), Threads);
}

// Sound switched on opens the output paused ahead of any note, and the first note only resumes
// it; switched off, the stopped output is closed and a note with sound off opens nothing.
TEST_F(FluidAudioOutputTest, SoundSwitchedOnReadiesTheOutputPaused) {
    Outputs.CanPause = true;
    Platform.setSoundOn(true);
    ASSERT_TRUE(Eventually([&] { return stats().open; }));
    EXPECT_EQ(Outputs.counts().openedPaused, 1);
    EXPECT_FALSE(stats().running);

    Cues.TypingClick();
    ASSERT_TRUE(started(1));
    EXPECT_EQ(Outputs.counts().opened, 1) << "the first note resumes the open output";
    EXPECT_EQ(Outputs.counts().resumed, 1);
    EXPECT_GT(Outputs.pull(Block), 1e-3f);

    // Off while playing: the output plays out its sound, and the silence closes it.
    Platform.setSoundOn(false);
    SoundOn = false;
    pullUntilSilent();
    for (int f = 0; f <= SilenceFrames; f += Block)
        Outputs.pull(Block);
    ASSERT_TRUE(Eventually([&] { return !stats().open; }));
    EXPECT_EQ(Outputs.counts().closed, 1);
    EXPECT_EQ(Outputs.counts().opened, 1);

    // On and off faster than the output opens: the last switch wins.
    for (int i = 0; i < 20; ++i) {
        Platform.setSoundOn(true);
        Platform.setSoundOn(false);
    }
    ASSERT_TRUE(Eventually([&] { return !stats().open; }));
    Out.Close();
    EXPECT_EQ(ThreadCount(), Threads);
}

// A port opened while sound is on readies its output; while sound is off it opens none and
// starts no thread. An output that cannot start paused is left to the first note.
TEST(FluidAudioOutputSwitch, PortsFollowTheSwitchFromTheirOpening) {
    if (!HaveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
    for (const bool canPause : {true, false}) {
        SCOPED_TRACE(canPause ? "output pauses" : "output cannot pause");
        const int threads = ThreadCount();
        HandPulledOutputs outputs;
        outputs.CanPause = canPause;
        TFluidMidiPlatform platform{outputs.Opener()};
        platform.setSoundOn(false);
        {
            TMidiOutput out{platform};
            TSoundCues cues{out, [] { return true; }};
            cues.SetUp();
            EXPECT_EQ(ThreadCount(), threads);
        }
        platform.setSoundOn(true);
        TMidiOutput out{platform};
        TSoundCues cues{out, [] { return true; }};
        cues.SetUp();
        ASSERT_TRUE(Eventually([&] { return outputs.counts().openedPaused == 1; }));
        EXPECT_EQ(platform.Stats(out.Handle()).open, canPause);
        cues.TypingClick();
        ASSERT_TRUE(Eventually([&] { return platform.Stats(out.Handle()).running; }));
        EXPECT_EQ(outputs.counts().opened, canPause ? 1 : 2);
        EXPECT_GT(outputs.pull(Block), 1e-3f);
    }
}
