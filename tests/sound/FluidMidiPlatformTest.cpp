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

bool haveSoundfont() {
    for (const auto& path : FluidMidiPlatform::defaultSoundfonts())
        if (std::filesystem::exists(path)) return true;
    return false;
}

float peak(const std::vector<float>& samples) {
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

constexpr int Ms300 = FluidMidiPlatform::SampleRate * 3 / 10;
constexpr float Audible = 1e-3f;

class FluidMidiPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
    }

    FluidMidiPlatform platform{FluidMidiPlatform::Output::Offline};
};

} // namespace

// After the set-up every channel holds its instrument, and every cue sounds on its own channel.
TEST_F(FluidMidiPlatformTest, EachCueSoundsOnItsChannelWithItsInstrument) {
    MidiOutput out(platform);
    const SoundSwitch sound(true);
    SoundCues cues(out, sound);
    cues.setUp();
    ASSERT_EQ(out.state(), MidiOutputState::Open) << out.errorText(out.lastError());
    EXPECT_EQ(out.productName(), "Trivora GM Synthesizer");
    const MidiHandle handle = out.handle();

    struct Instrument {
        int channel, program;
    };
    for (const Instrument i :
         {Instrument{2, 39}, Instrument{3, 55}, Instrument{4, 118}, Instrument{5, 26},
          Instrument{6, 100}, Instrument{7, 15}, Instrument{8, 1}, Instrument{15, 0}}) {
        SCOPED_TRACE(i.channel);
        EXPECT_EQ(platform.channelProgram(handle, i.channel), i.program);
        EXPECT_FALSE(platform.channelInstrument(handle, i.channel).empty());
    }

    struct Cue {
        const char* name;
        int channel;
        std::function<void()> fire;
    };
    const std::vector<Cue> table{
        {"typing click", 15, [&] { cues.typingClick(); }},
        {"answer press", 3, [&] { cues.answerPress(1, 120); }},
        {"time tick", 4, [&] { cues.timeTick(60); }},
        {"spin step", 5, [&] { cues.spinStep(2); }},
        {"fall run", 6, [&] { cues.fallRun(60); }},
        {"prize flash", 7, [&] { cues.prizeFlash(3); }},
        {"correct flash", 8, [&] { cues.correctFlash(1); }},
    };
    std::vector<std::vector<float>> channels;
    for (const Cue& c : table) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(platform.renderChannels(handle, 2048, channels));
        EXPECT_LT(peak(channels[c.channel - 1]), Audible) << "channel sounded before its cue";
        c.fire();
        EXPECT_EQ(out.lastError(), 0);
        ASSERT_TRUE(platform.renderChannels(handle, Ms300, channels));
        EXPECT_GT(peak(channels[c.channel - 1]), Audible);
    }
    // Channel 2 is set up but never played.
    EXPECT_LT(peak(channels[1]), Audible);
}

// Without a soundfont the mapper does not open; the cues then fail quietly.
TEST(FluidMidiPlatformNoSoundfont, OpenFailsWithAReason) {
    FluidMidiPlatform platform(FluidMidiPlatform::Output::Offline, {"/nonexistent/none.sf2"});
    MidiOutput out(platform);
    const SoundSwitch sound(true);
    SoundCues cues(out, sound);
    EXPECT_NO_THROW(cues.setUp());
    EXPECT_EQ(out.state(), MidiOutputState::Closed);
    EXPECT_EQ(out.errorText(MidiResult::NoSoundfont), "No General MIDI soundfont found");
    EXPECT_NO_THROW(cues.timeTick(50));
    EXPECT_EQ(out.lastError(), MidiResult::InvalidHandle);
}

// The synthesizer refuses messages that are not complete MIDI messages.
TEST_F(FluidMidiPlatformTest, RefusesMalformedShortMessages) {
    MidiOutput out(platform);
    out.setDeviceId(-1);
    out.open();
    ASSERT_EQ(out.state(), MidiOutputState::Open);
    struct Case {
        std::uint8_t status, data1, data2;
        std::uint16_t result;
    };
    for (const Case c :
         {Case{0x90, 60, 100, MidiResult::NoError}, Case{0x80, 60, 0, MidiResult::NoError},
          Case{0x3C, 60, 100, MidiResult::InvalidParam},  // no status byte
          Case{0x90, 200, 100, MidiResult::InvalidParam}, // 8-bit data
          Case{0xF0, 0, 0, MidiResult::InvalidParam}}) {  // exclusive as short
        out.sendShort(c.status, c.data1, c.data2);
        EXPECT_EQ(out.lastError(), c.result) << int{c.status} << " " << int{c.data1};
    }
}

// A long message is played as a stream of messages, running status included, and is
// reported done.
TEST_F(FluidMidiPlatformTest, PlaysLongMessageStreams) {
    struct Target : MidiNoticeTarget {
        int Done_ = 0;
        void done(MidiHeader&) override { ++Done_; }
    } target;
    MidiHandle handle = 0;
    ASSERT_EQ(platform.open(-1, target, handle), MidiResult::NoError);
    std::uint8_t data[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0xC2, 40, 0xC3, 41, 42 /*run*/};
    MidiHeader header;
    header.data = data;
    header.bufferLength = sizeof data;
    EXPECT_EQ(platform.longMsg(handle, header), MidiResult::Unprepared);
    ASSERT_EQ(platform.prepareHeader(handle, header), MidiResult::NoError);
    ASSERT_EQ(platform.longMsg(handle, header), MidiResult::NoError);
    EXPECT_EQ(target.Done_, 1);
    EXPECT_NE(header.flags & MidiHeader::Done, 0u);
    EXPECT_EQ(platform.channelProgram(handle, 3), 40);
    EXPECT_EQ(platform.channelProgram(handle, 4), 42);
    EXPECT_EQ(platform.close(handle), MidiResult::NoError);
    EXPECT_EQ(platform.close(handle), MidiResult::InvalidHandle);
}

// Notes that are never switched off neither pile up nor sound forever: a quick run on one
// channel stays at the level of a single note, and a held pad falls silent after its hold time.
TEST_F(FluidMidiPlatformTest, HeldNotesNeitherPileUpNorDrone) {
    MidiOutput out(platform);
    const SoundSwitch sound(true);
    SoundCues cues(out, sound);
    cues.setUp();
    ASSERT_EQ(out.state(), MidiOutputState::Open);
    const MidiHandle handle = out.handle();
    std::vector<std::vector<float>> channels;
    const auto peakOf = [&](int channel, int frames) {
        EXPECT_TRUE(platform.renderChannels(handle, frames, channels));
        return peak(channels[channel - 1]);
    };

    cues.typingClick();
    const float single = peakOf(15, Ms300);
    peakOf(15, FluidMidiPlatform::SampleRate); // let it die away
    float run = 0;
    for (int i = 0; i < 40; ++i) {
        cues.typingClick();
        run = std::max(run, peakOf(15, 750)); // one letter every 17 ms
    }
    EXPECT_LT(run, 1.5f * single);

    cues.fallRun(40); // FX 5 holds its note for as long as the key is down
    EXPECT_GT(peakOf(6, Ms300), Audible);
    peakOf(6, 2 * FluidMidiPlatform::SampleRate);
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

    bool canPause = false;
    bool fail = false;
    std::atomic<bool> lost{false};

    FluidMidiPlatform::OpenAudio opener() {
        return [this](const FluidMidiPlatform::Render& render,
                      bool paused) -> std::unique_ptr<FluidMidiPlatform::AudioOutput> {
            std::lock_guard lock(m_lock);
            ++counted.opened;
            if (paused) ++counted.openedPaused;
            if (fail || (paused && !canPause)) return nullptr;
            current = render;
            return std::make_unique<Output>(*this);
        };
    }

    Counts counts() {
        std::lock_guard lock(m_lock);
        return counted;
    }

    // Pulls frames from the open output, if any, and returns their peak.
    float pull(int frames) {
        FluidMidiPlatform::Render render;
        {
            std::lock_guard lock(m_lock);
            render = current;
        }
        if (!render) return 0;
        std::vector<float> left(frames), right(frames);
        render(frames, left.data(), right.data());
        return std::max(peak(left), peak(right));
    }

private:
    class Output : public FluidMidiPlatform::AudioOutput {
    public:
        explicit Output(HandPulledOutputs& owner) : m_owner(owner) {}
        ~Output() override {
            std::lock_guard lock(m_owner.m_lock);
            ++m_owner.counted.closed;
            m_owner.current = nullptr;
        }
        std::string name() const override { return "by hand"; }
        bool pause() override {
            std::lock_guard lock(m_owner.m_lock);
            if (!m_owner.canPause) return false;
            ++m_owner.counted.paused;
            return true;
        }
        bool resume() override {
            std::lock_guard lock(m_owner.m_lock);
            ++m_owner.counted.resumed;
            return !m_owner.lost;
        }
        bool alive() const override { return !m_owner.lost; }

    private:
        HandPulledOutputs& m_owner;
    };

    std::mutex m_lock;
    Counts counted;
    FluidMidiPlatform::Render current;
};

// Waits for the port's helper thread to act; false if it has not after a generous while.
bool eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 5000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

int threadCount() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task"))
        ++n;
    return n;
}

constexpr int Block = 256;
constexpr int QuietBlocks = 40;
constexpr int SilenceFrames =
    FluidMidiPlatform::StopAfterSilenceMs * (FluidMidiPlatform::SampleRate / 1000);

class FluidAudioOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
        runningThreads = threadCount();
        cues.setUp();
        ASSERT_EQ(out.state(), MidiOutputState::Open);
    }

    FluidMidiPlatform::OutputStats stats() { return platform.stats(out.handle()); }
    bool started(int times) {
        return eventually([&] { return stats().starts == times && stats().running; });
    }
    // Pulls until the sound has died away (its reverberation fades unevenly, so QuietBlocks
    // silent blocks in a row); the number of frames pulled.
    int pullUntilSilent() {
        int frames = 0, quiet = 0;
        while (quiet < QuietBlocks && frames < 10 * FluidMidiPlatform::SampleRate) {
            quiet = outputs.pull(Block) < 1e-4f ? quiet + 1 : 0;
            frames += Block;
        }
        return frames;
    }

    // After pullUntilSilent (whose last block was silent): silence just short of the limit.
    void pullSilenceBelowTheLimit() {
        for (int f = (QuietBlocks + 1) * Block; f < SilenceFrames; f += Block)
            outputs.pull(Block);
    }

    int runningThreads = 0;
    HandPulledOutputs outputs;
    FluidMidiPlatform platform{outputs.opener()};
    MidiOutput out{platform};
    SoundSwitch sound{true};
    SoundCues cues{out, sound};
};

} // namespace

// The set-up and cues with sound off open no audio output and start no thread; the first note
// opens it.
TEST_F(FluidAudioOutputTest, OutputOpensAtTheFirstNote) {
    sound.setWanted(false);
    cues.typingClick();
    EXPECT_EQ(outputs.counts().opened, 0);
    EXPECT_EQ(threadCount(), runningThreads);
    EXPECT_EQ(platform.audioDriverName(out.handle()), "");

    sound.setWanted(true);
    cues.typingClick();
    ASSERT_TRUE(started(1));
    EXPECT_EQ(outputs.counts().opened, 1);
    EXPECT_EQ(platform.audioDriverName(out.handle()), "by hand");
    EXPECT_GT(outputs.pull(Block), 1e-3f) << "the note that opened the output is its first sound";
}

// A silence of StopAfterSilenceMs stops the output (paused when it can pause, else closed), a
// note just before the limit keeps it going, and the next note starts it again with its sound.
TEST_F(FluidAudioOutputTest, SilenceStopsTheOutputAndTheNextNoteStartsIt) {
    for (const bool canPause : {false, true}) {
        SCOPED_TRACE(canPause ? "output pauses" : "output closes");
        outputs.canPause = canPause;
        const auto before = outputs.counts();
        const int starts = stats().starts;
        cues.correctFlash(1);
        ASSERT_TRUE(started(starts + 1));
        EXPECT_GT(pullUntilSilent(), 0);

        // A note in the silence counts the silence anew.
        pullSilenceBelowTheLimit();
        cues.timeTick(50);
        pullUntilSilent();
        pullSilenceBelowTheLimit();
        EXPECT_TRUE(stats().running);
        outputs.pull(2 * Block);
        EXPECT_FALSE(stats().running);
        const int stops = stats().stops;

        ASSERT_TRUE(eventually([&] {
            const auto now = outputs.counts();
            return canPause ? now.paused == before.paused + 1 : now.closed == before.closed + 1;
        }));
        cues.answerPress(2, 120);
        ASSERT_TRUE(started(starts + 2));
        const auto after = outputs.counts();
        EXPECT_EQ(after.opened, before.opened + (canPause ? 1 : 2));
        EXPECT_GT(outputs.pull(Block), 1e-3f);
        EXPECT_EQ(stats().stops, stops);
        pullUntilSilent();
        for (int f = 0; f <= SilenceFrames; f += Block)
            outputs.pull(Block);
        ASSERT_TRUE(eventually([&] {
            return outputs.counts().paused + outputs.counts().closed ==
                   after.paused + after.closed + 1;
        }));
    }
}

// An audio output that cannot be opened leaves the port open and its cues quiet failures of
// nobody's concern: no error, no output, and closing the port leaves no thread behind.
TEST_F(FluidAudioOutputTest, NoAudioOutputLeavesThePortUsable) {
    outputs.fail = true;
    cues.typingClick();
    ASSERT_TRUE(eventually([&] { return outputs.counts().opened == 1; }));
    cues.timeTick(40);
    EXPECT_EQ(out.lastError(), MidiResult::NoError);
    EXPECT_EQ(stats().starts, 0);
    EXPECT_FALSE(stats().running);
    out.close();
    EXPECT_EQ(threadCount(), runningThreads);
}

// An output that its server has dropped is replaced by a new one at the next note.
TEST_F(FluidAudioOutputTest, ALostOutputIsOpenedAnewByTheNextNote) {
    cues.typingClick();
    ASSERT_TRUE(started(1));
    outputs.lost = true;
    cues.typingClick();
    ASSERT_TRUE(eventually([&] { return outputs.counts().closed == 1; }));
    outputs.lost = false;
    ASSERT_TRUE(started(2));
    EXPECT_EQ(outputs.counts().opened, 2);
    EXPECT_GT(outputs.pull(Block), 1e-3f);
}

// Closing the port while its output plays closes the output and ends the port's threads.
TEST_F(FluidAudioOutputTest, ClosingThePortEndsItsOutputAndThreads) {
    cues.typingClick();
    ASSERT_TRUE(started(1));
    out.close();
    EXPECT_EQ(outputs.counts().closed, 1);
    EXPECT_EQ(threadCount(), runningThreads);
}

// Sound switched on opens the output paused ahead of any note, and the first note only resumes
// it; switched off, the stopped output is closed and a note with sound off opens nothing.
TEST_F(FluidAudioOutputTest, SoundSwitchedOnReadiesTheOutputPaused) {
    outputs.canPause = true;
    platform.setSoundOn(true);
    ASSERT_TRUE(eventually([&] { return stats().open; }));
    EXPECT_EQ(outputs.counts().openedPaused, 1);
    EXPECT_FALSE(stats().running);

    cues.typingClick();
    ASSERT_TRUE(started(1));
    EXPECT_EQ(outputs.counts().opened, 1) << "the first note resumes the open output";
    EXPECT_EQ(outputs.counts().resumed, 1);
    EXPECT_GT(outputs.pull(Block), 1e-3f);

    // Off while playing: the output plays out its sound, and the silence closes it.
    platform.setSoundOn(false);
    sound.setWanted(false);
    pullUntilSilent();
    for (int f = 0; f <= SilenceFrames; f += Block)
        outputs.pull(Block);
    ASSERT_TRUE(eventually([&] { return !stats().open; }));
    EXPECT_EQ(outputs.counts().closed, 1);
    EXPECT_EQ(outputs.counts().opened, 1);

    // On and off faster than the output opens: the last switch wins.
    for (int i = 0; i < 20; ++i) {
        platform.setSoundOn(true);
        platform.setSoundOn(false);
    }
    ASSERT_TRUE(eventually([&] { return !stats().open; }));
    out.close();
    EXPECT_EQ(threadCount(), runningThreads);
}

// A port opened while sound is on readies its output; while sound is off it opens none and
// starts no thread. An output that cannot start paused is left to the first note.
TEST(FluidAudioOutputSwitch, PortsFollowTheSwitchFromTheirOpening) {
    if (!haveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
    for (const bool canPause : {true, false}) {
        SCOPED_TRACE(canPause ? "output pauses" : "output cannot pause");
        const int threads = threadCount();
        HandPulledOutputs outputs;
        outputs.canPause = canPause;
        FluidMidiPlatform platform{outputs.opener()};
        platform.setSoundOn(false);
        {
            MidiOutput out{platform};
            const SoundSwitch sound(true);
            SoundCues cues{out, sound};
            cues.setUp();
            EXPECT_EQ(threadCount(), threads);
        }
        platform.setSoundOn(true);
        MidiOutput out{platform};
        const SoundSwitch sound(true);
        SoundCues cues{out, sound};
        cues.setUp();
        ASSERT_TRUE(eventually([&] { return outputs.counts().openedPaused == 1; }));
        EXPECT_EQ(platform.stats(out.handle()).open, canPause);
        cues.typingClick();
        ASSERT_TRUE(eventually([&] { return platform.stats(out.handle()).running; }));
        EXPECT_EQ(outputs.counts().opened, canPause ? 1 : 2);
        EXPECT_GT(outputs.pull(Block), 1e-3f);
    }
}
