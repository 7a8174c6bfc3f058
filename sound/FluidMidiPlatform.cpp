#include "FluidMidiPlatform.h"

#include "PulseAudioOutput.h"

#include <SDL.h>
#include <alsa/asoundlib.h>
#include <fluidsynth.h>
#include <pthread.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// The synthesizer and the sound libraries report failures through result codes; they write
// nothing on the terminal.
void silenceLibraryLogs() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
        snd_lib_error_set_handler(ignoreAlsaError);
    });
}

struct SettingsDeleter {
    void operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
};
struct SynthDeleter {
    void operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }
};
struct DriverDeleter {
    void operator()(fluid_audio_driver_t* d) const { delete_fluid_audio_driver(d); }
};
struct SequencerDeleter {
    void operator()(fluid_sequencer_t* s) const { delete_fluid_sequencer(s); }
};
struct EventDeleter {
    void operator()(fluid_event_t* e) const { delete_fluid_event(e); }
};

constexpr const char* ProductName = "Trivora GM Synthesizer";
constexpr int Polyphony = 256;
constexpr double Gain = 0.12;
// Added to every instrument's release time, in timecents: -2400 is a quarter of the time.
constexpr float ReleaseOffset = -2400.0f;
// A block whose samples all stay below this (-80 dBFS) is silence.
constexpr float SilenceLevel = 1e-4f;
// After an audio output failed to open, notes wait this long before it is tried again.
constexpr int RetryOutputAfterMs = 2000;

std::int64_t steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

namespace {

// An audio output of the synthesizer library: it cannot pause, so it is closed after a silence.
class DriverOutput final : public FluidMidiPlatform::AudioOutput {
public:
    static std::unique_ptr<FluidMidiPlatform::AudioOutput>
    open(const FluidMidiPlatform::Render& render, const FluidMidiPlatform::OutputBuffer& buffer) {
        auto out = std::make_unique<DriverOutput>(render);
        if (out->tryOpen(buffer)) return out;
        return nullptr;
    }

    explicit DriverOutput(FluidMidiPlatform::Render render)
        : m_render(std::move(render)), m_settings(new_fluid_settings()) {}

    ~DriverOutput() override {
        m_driver.reset();
        if (m_sdl) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    std::string name() const override { return m_name; }

private:
    bool tryOpen(const FluidMidiPlatform::OutputBuffer& buffer) {
        fluid_settings_t* settings = m_settings.get();
        if (!settings) return false;
        if (fluid_settings_setstr(settings, "audio.driver", buffer.driver) != FLUID_OK)
            return false;
        fluid_settings_setnum(settings, "synth.sample-rate", FluidMidiPlatform::SampleRate);
        fluid_settings_setint(settings, "audio.period-size", buffer.periodSize);
        fluid_settings_setint(settings, "audio.periods", buffer.periods);
        const bool sdl = std::string_view(buffer.driver) == "sdl2";
        if (sdl && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        m_driver.reset(new_fluid_audio_driver2(settings, &DriverOutput::pull, this));
        if (!m_driver) {
            if (sdl) SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        m_sdl = sdl;
        m_name = buffer.driver;
        return true;
    }

    // Runs on the driver's audio thread.
    static int pull(void* data, int len, int, float*[], int nout, float* out[]) {
        if (nout < 2) return FLUID_FAILED;
        static_cast<DriverOutput*>(data)->m_render(len, out[0], out[1]);
        return FLUID_OK;
    }

    FluidMidiPlatform::Render m_render;
    std::unique_ptr<fluid_settings_t, SettingsDeleter> m_settings;
    std::unique_ptr<fluid_audio_driver_t, DriverDeleter> m_driver;
    std::string m_name;
    bool m_sdl = false;
};

// The first audio output of audioOutputs() that opens; paused, only the sound server's stream
// (the library's drivers start playing as they open).
std::unique_ptr<FluidMidiPlatform::AudioOutput>
openSystemAudio(const FluidMidiPlatform::Render& render, bool paused) {
    for (const auto& buffer : FluidMidiPlatform::audioOutputs()) {
        std::unique_ptr<FluidMidiPlatform::AudioOutput> out;
        if (std::string_view(buffer.driver) == "pulseaudio")
            out = PulseAudioOutput::open(render, FluidMidiPlatform::SampleRate,
                                         buffer.bufferedFrames, paused);
        else if (!paused)
            out = DriverOutput::open(render, buffer);
        if (out) return out;
    }
    return nullptr;
}

} // namespace

// One open port: a synthesizer with its settings, soundfont and audio output.
class FluidMidiPlatform::Synthesizer {
public:
    ~Synthesizer() {
        // The audio output goes first: its thread reads the synthesizer and runs the sequencer.
        stopKeeper();
        sequencer.reset();
        fluidSynth.reset();
        settings.reset();
    }

    // Sets up the release of held notes; false when the synthesizer has no sequencer.
    bool startReleaser() {
        sequencer.reset(new_fluid_sequencer2(0));
        releaseEvent.reset(new_fluid_event());
        if (!sequencer || !releaseEvent) return false;
        if (fluid_sequencer_register_fluidsynth(sequencer.get(), fluidSynth.get()) == FLUID_FAILED)
            return false;
        for (auto& key : lastKey)
            key = -1;
        for (int chan = 0; chan < 16; ++chan)
            fluid_synth_set_gen(fluidSynth.get(), chan, GEN_VOLENVRELEASE, ReleaseOffset);
        releaser = fluid_sequencer_register_client(sequencer.get(), "Trivora note release",
                                                   &Synthesizer::releaseHeldNote, this);
        return releaser != FLUID_FAILED;
    }

    // Plays one channel message; false when the synthesizer refuses it.
    //
    // No cue ever ends its note, and some instruments hold a note for as long as its key is
    // down; quick runs of notes would pile up into a roar that clips. So each channel plays
    // one note at a time: a new note ends the channel's earlier one, and a note still held
    // after MaxHoldMs is released. Releases are shortened so that an ended note fades quickly.
    bool play(std::uint8_t status, std::uint8_t d1, std::uint8_t d2) {
        fluid_synth_t* synth = fluidSynth.get();
        const int chan = status & 0x0F;
        switch (status & 0xF0) {
        case 0x80:
            noteOff(chan, d1);
            return true;
        case 0x90: {
            if (d2 == 0) {
                noteOff(chan, d1);
                return true;
            }
            const int last = lastKey[chan].exchange(d1);
            if (last >= 0) noteOff(chan, last);
            noteOff(chan, d1);
            if (fluid_synth_noteon(synth, chan, d1, d2) != FLUID_OK) return false;
            scheduleRelease(chan, d1);
            wakeOutput();
            return true;
        }
        case 0xA0:
            return fluid_synth_key_pressure(synth, chan, d1, d2) == FLUID_OK;
        case 0xB0:
            return fluid_synth_cc(synth, chan, d1, d2) == FLUID_OK;
        case 0xC0:
            return fluid_synth_program_change(synth, chan, d1) == FLUID_OK;
        case 0xD0:
            return fluid_synth_channel_pressure(synth, chan, d1) == FLUID_OK;
        case 0xE0:
            return fluid_synth_pitch_bend(synth, chan, d1 | (d2 << 7)) == FLUID_OK;
        default:
            break;
        }
        // System messages: only a system reset means anything to a synthesizer.
        if (status == 0xFF) return fluid_synth_system_reset(synth) == FLUID_OK;
        return true;
    }

    // With an audio output: the note needs it running. Starts it on the keeper thread when it
    // is stopped or about to stop; otherwise only counts the note for the silence watch.
    void wakeOutput() {
        if (!live) return;
        std::lock_guard lock(keeperLock);
        ++noteCount;
        if (running && !stopWanted) {
            if (!m_output || m_output->alive()) return;
            running = false; // lost: start anew
        }
        if (!running && failedAt != 0 && steadyNs() - failedAt < RetryOutputAfterMs * 1000000LL)
            return;
        if (!startWanted) wokenAt = steadyNs();
        startWanted = true;
        if (!keeper.joinable()) keeper = std::thread([this] { keep(); });
        keeperWake.notify_one();
    }

    // Sound switched on: the output is to be open, paused while nothing plays. Off: a stopped
    // output is closed, and none is opened before a note.
    void switchSound(bool on) {
        if (!live) return;
        std::lock_guard lock(keeperLock);
        soundOff = !on;
        soundSwitched = true;
        if (!keeper.joinable()) {
            if (!on) return; // no keeper, no output
            keeper = std::thread([this] { keep(); });
        }
        keeperWake.notify_one();
    }

    FluidMidiPlatform::OutputStats stats() const {
        std::lock_guard lock(keeperLock);
        OutputStats stats = counted;
        stats.open = m_output != nullptr || closing;
        stats.running = running && !stopWanted;
        stats.blocks = blocks.load();
        stats.underflows = m_output ? m_output->underflows() : 0;
        const std::int64_t playsAt = running && m_output ? m_output->firstSoundPlaysAtNs() : -1;
        if (stats.lastStartDelayMs >= 0 && playsAt >= 0)
            stats.lastStartOutputDelayMs = static_cast<double>(playsAt - wokenAt) / 1e6;
        return stats;
    }

    std::string driverName() const {
        std::lock_guard lock(keeperLock);
        return running && m_output ? m_output->name() : std::string();
    }

    // Opens the audio output; empty offline (then only renderChannels renders).
    OpenAudio openOutputWith;
    bool live = false;

    std::unique_ptr<fluid_settings_t, SettingsDeleter> settings;

    std::unique_ptr<fluid_synth_t, SynthDeleter> fluidSynth;
    // Releases held notes after MaxHoldMs, on the synthesizer's own sample clock.
    std::unique_ptr<fluid_sequencer_t, SequencerDeleter> sequencer;
    std::unique_ptr<fluid_event_t, EventDeleter> releaseEvent;
    fluid_seq_id_t releaser = -1;
    // Strikes per channel and key: a pending release applies only to the strike it was made for.
    std::array<std::atomic<std::uint32_t>, 16 * 128> strikes{};
    // The key each channel struck last, or -1.
    std::array<std::atomic<int>, 16> lastKey{};
    std::string soundfont;
    MidiNoticeTarget* target = nullptr;

private:
    // The keeper thread: starts the audio output when a note wants it, stops it when the
    // audio thread has heard enough silence, and keeps it open and paused, or closed, as
    // sound is switched on or off. All this takes its time (a server connection or round
    // trip, a thread to join), so it never runs under the lock nor on the thread that sends
    // the notes.
    void keep() {
        pthread_setname_np(pthread_self(), "sound-keeper");
        std::unique_lock lock(keeperLock);
        for (;;) {
            keeperWake.wait(lock,
                            [this] { return quit || startWanted || stopWanted || soundSwitched; });
            if (quit) break;
            if (stopWanted) {
                stopWanted = false;
                running = false;
                AudioOutput* out = m_output.get();
                const bool keep = !soundOff;
                lock.unlock();
                const bool paused = keep && out && out->pause();
                lock.lock();
                if (!paused) closeOutput(lock);
            }
            if (startWanted) {
                startWanted = false;
                counted.lastStartDelayMs = -1;
                ++m_generation;
                AudioOutput* out = m_output.get();
                lock.unlock();
                bool started = out && out->resume();
                if (!started) {
                    {
                        std::unique_lock closing(keeperLock);
                        closeOutput(closing);
                    }
                    started = openOutput();
                }
                lock.lock();
                running = started;
                failedAt = started ? 0 : steadyNs();
                if (started) ++counted.starts;
            }
            if (soundSwitched) {
                soundSwitched = false;
                // A playing output carries on until its silence; a note waiting to start it
                // comes first.
                if (!running && !startWanted) {
                    if (soundOff) {
                        closeOutput(lock);
                    } else if (!m_output) {
                        lock.unlock();
                        openOutput(true); // without a paused output, the first note opens one
                        lock.lock();
                    }
                }
            }
        }
        closeOutput(lock);
    }

    // Opens an audio output, playing or paused; true when one did.
    bool openOutput(bool paused = false) {
        auto output =
            openOutputWith([this](int frames, float* left,
                                  float* right) { return renderBlock(frames, left, right); },
                           paused);
        if (!output) return false;
        std::lock_guard lock(keeperLock);
        m_output = std::move(output);
        ++counted.opens;
        return true;
    }

    // Closes the audio output, with the lock held on entry and on return.
    void closeOutput(std::unique_lock<std::mutex>& lock) {
        auto output = std::move(m_output);
        if (!output) return;
        closing = true;
        lock.unlock();
        output.reset();
        lock.lock();
        closing = false;
    }

    void stopKeeper() {
        {
            std::lock_guard lock(keeperLock);
            quit = true;
        }
        keeperWake.notify_one();
        if (keeper.joinable()) keeper.join();
    }

    // The audio thread's render: the synthesizer's sound, effects mixed in, and the watch for
    // silence that stops the output.
    // True for the first block with sound since the output was started.
    bool renderBlock(int frames, float* left, float* right) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
        float* out[2] = {left, right};
        fluid_synth_process(fluidSynth.get(), frames, 2, out, 2, out);
        ++blocks;
        float peak = 0;
        for (const float* channel : out)
            for (int i = 0; i < frames; ++i)
                peak = std::max(peak, std::abs(channel[i]));
        return watch(frames, peak >= SilenceLevel);
    }

    // Audio thread: counts silent frames since the last sound or note, and asks the keeper to
    // stop the output once there were enough. True for the first audible block since a start.
    bool watch(int frames, bool audible) {
        const std::uint64_t generation = m_generation.load();
        if (generation != watchedGeneration) {
            // The output has just been started: a new watch.
            watchedGeneration = generation;
            silent = 0;
            heardAt = -1;
        }
        const std::uint64_t notes = noteCount.load();
        bool first = false;
        if (audible) {
            if (heardAt < 0) {
                std::lock_guard lock(keeperLock);
                heardAt = steadyNs();
                counted.lastStartDelayMs = static_cast<double>(heardAt - wokenAt) / 1e6;
                first = true;
            }
            silent = 0;
        } else if (notes != notesWatched) {
            silent = 0;
        } else if (silent < StopAfterSilenceMs * (SampleRate / 1000)) {
            silent += frames;
            if (silent >= StopAfterSilenceMs * (SampleRate / 1000)) {
                std::lock_guard lock(keeperLock);
                // A note sent since this block was rendered keeps the output open.
                if (noteCount.load() == notes && !startWanted) {
                    stopWanted = true;
                    ++counted.stops;
                    keeperWake.notify_one();
                }
            }
        }
        notesWatched = notes;
        return first;
    }

    mutable std::mutex keeperLock;
    std::condition_variable keeperWake;
    std::thread keeper;
    // Under keeperLock.
    std::unique_ptr<AudioOutput> m_output;
    bool running = false;
    bool startWanted = false;
    bool stopWanted = false;
    // Sound is switched off; soundSwitched: the keeper has yet to act on a switch.
    bool soundOff = false;
    bool soundSwitched = false;
    // An output is being closed (it has left Output, and not yet ended).
    bool closing = false;
    bool quit = false;
    std::int64_t failedAt = 0;
    std::int64_t wokenAt = 0;
    OutputStats counted;
    // Note-ons played; changed under keeperLock, read anywhere.
    std::atomic<std::uint64_t> noteCount{0};
    std::atomic<std::int64_t> blocks{0};
    // Starts of the output so far.
    std::atomic<std::uint64_t> m_generation{0};
    // Audio thread only.
    std::uint64_t watchedGeneration = 0;
    int silent = 0;
    std::uint64_t notesWatched = 0;
    std::int64_t heardAt = -1;

    std::atomic<std::uint32_t>& strike(int chan, int key) { return strikes[chan * 128 + key]; }

    // Ends a key's sound and cancels its pending release (a note that is not sounding is no
    // fault).
    void noteOff(int chan, int key) {
        ++strike(chan, key);
        fluid_synth_noteoff(fluidSynth.get(), chan, key);
    }

    void scheduleRelease(int chan, int key) {
        if (releaser == -1) return;
        const std::uintptr_t code = (std::uintptr_t{strike(chan, key).load()} << 11) |
                                    (static_cast<std::uintptr_t>(chan) << 7) |
                                    static_cast<std::uintptr_t>(key);
        std::lock_guard lock(eventLock);
        fluid_event_t* ev = releaseEvent.get();
        fluid_event_timer(ev, reinterpret_cast<void*>(code));
        fluid_event_set_source(ev, -1);
        fluid_event_set_dest(ev, releaser);
        fluid_sequencer_send_at(sequencer.get(), ev, MaxHoldMs, 0);
    }

    // Runs on the synthesizer's thread when a hold time is up.
    static void releaseHeldNote(unsigned int, fluid_event_t* event, fluid_sequencer_t*,
                                void* data) {
        if (fluid_event_get_type(event) != FLUID_SEQ_TIMER) return;
        auto* self = static_cast<Synthesizer*>(data);
        const auto code = reinterpret_cast<std::uintptr_t>(fluid_event_get_data(event));
        const int chan = static_cast<int>((code >> 7) & 0x0F);
        const int key = static_cast<int>(code & 0x7F);
        if (self->strike(chan, key).load() == static_cast<std::uint32_t>(code >> 11))
            fluid_synth_noteoff(self->fluidSynth.get(), chan, key);
    }

    std::mutex eventLock;
};

FluidMidiPlatform::FluidMidiPlatform(Output output, std::vector<std::string> soundfonts)
    : m_output(output), m_soundfonts(std::move(soundfonts)) {
    silenceLibraryLogs();
    if (output == Output::AudioDriver) m_openAudio = &openSystemAudio;
}

FluidMidiPlatform::FluidMidiPlatform(OpenAudio openAudio, std::vector<std::string> soundfonts)
    : m_output(Output::AudioDriver), m_openAudio(std::move(openAudio)),
      m_soundfonts(std::move(soundfonts)) {
    silenceLibraryLogs();
}

FluidMidiPlatform::~FluidMidiPlatform() = default;

std::vector<std::string> FluidMidiPlatform::defaultSoundfonts() {
    return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"};
}

const std::vector<FluidMidiPlatform::OutputBuffer>& FluidMidiPlatform::audioOutputs() {
    // PipeWire desktops serve the pulseaudio protocol too. The sound server keeps 512 frames,
    // its own latency included, and asks for as much as it likes at a time; ALSA holds all its
    // periods; SDL one buffer of the period size. Each stays under 12 ms, with periods long
    // enough that the audio thread wakes a few hundred times a second at most.
    static const std::vector<OutputBuffer> outputs{
        {"pulseaudio", 0, 0, 512},
        {"alsa", 256, 2, 512},
        {"sdl2", 512, 2, 512},
    };
    return outputs;
}

double FluidMidiPlatform::configuredLatencyMs(const std::string& driver) {
    int frames = 0;
    for (const OutputBuffer& out : audioOutputs())
        if (driver.empty() || driver == out.driver) frames = std::max(frames, out.bufferedFrames);
    return 1000.0 * frames / SampleRate;
}

FluidMidiPlatform::Synthesizer* FluidMidiPlatform::find(MidiHandle handle) const {
    const auto it = m_synths.find(handle);
    return it == m_synths.end() ? nullptr : it->second.get();
}

std::string FluidMidiPlatform::audioDriverName(MidiHandle handle) const {
    const Synthesizer* s = find(handle);
    return s ? s->driverName() : std::string();
}

FluidMidiPlatform::OutputStats FluidMidiPlatform::stats(MidiHandle handle) const {
    const Synthesizer* s = find(handle);
    return s ? s->stats() : OutputStats{};
}

std::string FluidMidiPlatform::soundfontPath(MidiHandle handle) const {
    const Synthesizer* s = find(handle);
    return s ? s->soundfont : std::string();
}

std::uint16_t FluidMidiPlatform::caps(int id, MidiOutCaps& caps) {
    if (id != -1) return MidiResult::BadDeviceId;
    int major = 0, minor = 0, micro = 0;
    fluid_version(&major, &minor, &micro);
    caps = MidiOutCaps{};
    caps.driverVersion = static_cast<std::uint32_t>((major << 8) | minor);
    caps.productName = ProductName;
    caps.technology = MidiTechnology::Mapper;
    caps.voices = Polyphony;
    caps.notes = Polyphony;
    caps.channelMask = 0xFFFF;
    caps.support = 0;
    return MidiResult::NoError;
}

bool FluidMidiPlatform::errorText(std::uint16_t code, std::string& text) {
    return standardMidiErrorText(code, text);
}

std::uint16_t FluidMidiPlatform::open(int id, MidiNoticeTarget& target, MidiHandle& handle) {
    if (id != -1) return MidiResult::BadDeviceId;
    auto s = std::make_unique<Synthesizer>();
    s->target = &target;
    s->settings.reset(new_fluid_settings());
    if (!s->settings) return MidiResult::NoMemory;
    fluid_settings_t* settings = s->settings.get();
    fluid_settings_setnum(settings, "synth.sample-rate", SampleRate);
    fluid_settings_setint(settings, "synth.polyphony", Polyphony);
    // Headroom: a low pad through the reverb comes near full scale at the default gain.
    fluid_settings_setnum(settings, "synth.gain", Gain);
    // Only the instruments the channels select are read into memory, not the whole soundfont.
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    if (m_output == Output::Offline) {
        // Every MIDI channel to a stereo pair of its own.
        fluid_settings_setint(settings, "synth.audio-channels", Channels);
        fluid_settings_setint(settings, "synth.audio-groups", Channels);
    }

    s->fluidSynth.reset(new_fluid_synth(settings));
    if (!s->fluidSynth) return MidiResult::NoMemory;
    for (const std::string& path : m_soundfonts) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) continue;
        if (fluid_synth_sfload(s->fluidSynth.get(), path.c_str(), 1) != FLUID_FAILED) {
            s->soundfont = path;
            break;
        }
    }
    if (s->soundfont.empty()) return MidiResult::NoSoundfont;
    if (!s->startReleaser()) return MidiResult::NoMemory;

    // The audio output opens now, paused, when sound is on; else at the first note.
    s->openOutputWith = m_openAudio;
    s->live = static_cast<bool>(m_openAudio);
    if (soundOn != -1) s->switchSound(soundOn == 1);

    handle = m_nextHandle++;
    m_synths.emplace(handle, std::move(s));
    return MidiResult::NoError;
}

void FluidMidiPlatform::setSoundOn(bool on) {
    soundOn = on ? 1 : 0;
    for (auto& [handle, synth] : m_synths)
        synth->switchSound(on);
}

namespace {

// Data bytes that follow a status byte.
int dataLength(std::uint8_t status) {
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 1;
    case 0xF0:
        if (status == 0xF2) return 2;
        if (status == 0xF1 || status == 0xF3) return 1;
        return 0;
    default:
        return 2;
    }
}

} // namespace

std::uint16_t FluidMidiPlatform::shortMsg(MidiHandle handle, std::uint32_t message) {
    Synthesizer* s = find(handle);
    if (!s) return MidiResult::InvalidHandle;
    const auto status = static_cast<std::uint8_t>(message & 0xFF);
    const auto d1 = static_cast<std::uint8_t>((message >> 8) & 0xFF);
    const auto d2 = static_cast<std::uint8_t>((message >> 16) & 0xFF);
    // Every message carries its own status byte, and data bytes are 7-bit.
    if (status < 0x80 || status == 0xF0 || d1 > 0x7F || d2 > 0x7F) return MidiResult::InvalidParam;
    return s->play(status, d1, d2) ? MidiResult::NoError : MidiResult::InvalidParam;
}

std::uint16_t FluidMidiPlatform::prepareHeader(MidiHandle handle, MidiHeader& header) {
    if (!find(handle)) return MidiResult::InvalidHandle;
    if (header.data == nullptr || header.bufferLength == 0) return MidiResult::InvalidParam;
    header.flags = (header.flags | MidiHeader::Prepared) & ~MidiHeader::Done;
    return MidiResult::NoError;
}

std::uint16_t FluidMidiPlatform::longMsg(MidiHandle handle, MidiHeader& header) {
    Synthesizer* s = find(handle);
    if (!s) return MidiResult::InvalidHandle;
    if ((header.flags & MidiHeader::Prepared) == 0) return MidiResult::Unprepared;
    // The buffer is a stream of messages: system-exclusive blocks and channel messages, these
    // with running status.
    const std::uint8_t* p = header.data;
    const std::uint8_t* end = p + header.bufferLength;
    std::uint8_t running = 0;
    while (p < end) {
        if (*p == 0xF0) {
            const std::uint8_t* q = p + 1;
            while (q < end && *q != 0xF7)
                ++q;
            fluid_synth_sysex(s->fluidSynth.get(), reinterpret_cast<const char*>(p + 1),
                              static_cast<int>(q - p - 1), nullptr, nullptr, nullptr, 0);
            p = q < end ? q + 1 : end;
            running = 0;
            continue;
        }
        std::uint8_t status = running;
        if (*p >= 0x80) {
            status = *p++;
            if (status < 0xF0) running = status;
        }
        if (status == 0) {
            ++p; // stray data byte
            continue;
        }
        const int n = dataLength(status);
        if (end - p < n) break;
        const std::uint8_t d1 = n > 0 ? p[0] : 0;
        const std::uint8_t d2 = n > 1 ? p[1] : 0;
        p += n;
        s->play(status, d1 & 0x7F, d2 & 0x7F);
    }
    header.flags |= MidiHeader::Done;
    s->target->done(header);
    return MidiResult::NoError;
}

std::uint16_t FluidMidiPlatform::unprepareHeader(MidiHandle handle, MidiHeader& header) {
    if (!find(handle)) return MidiResult::InvalidHandle;
    header.flags &= ~MidiHeader::Prepared;
    return MidiResult::NoError;
}

std::uint16_t FluidMidiPlatform::reset(MidiHandle handle) {
    Synthesizer* s = find(handle);
    if (!s) return MidiResult::InvalidHandle;
    fluid_synth_all_sounds_off(s->fluidSynth.get(), -1);
    return MidiResult::NoError;
}

std::uint16_t FluidMidiPlatform::close(MidiHandle handle) {
    if (m_synths.erase(handle) == 0) return MidiResult::InvalidHandle;
    return MidiResult::NoError;
}

bool FluidMidiPlatform::renderChannels(MidiHandle handle, int frames,
                                       std::vector<std::vector<float>>& channels) {
    Synthesizer* s = find(handle);
    if (!s || m_output != Output::Offline || frames < 0) return false;
    std::vector<std::vector<float>> pairs(2 * Channels, std::vector<float>(frames, 0.0f));
    std::vector<float*> out;
    for (auto& buffer : pairs)
        out.push_back(buffer.data());
    // The synthesizer renders at most a few thousand frames per call.
    constexpr int Block = 1024;
    for (int done = 0; done < frames; done += Block) {
        const int n = std::min(Block, frames - done);
        std::vector<float*> at;
        for (float* b : out)
            at.push_back(b + done);
        if (fluid_synth_process(s->fluidSynth.get(), n, 0, nullptr, static_cast<int>(at.size()),
                                at.data()) != FLUID_OK)
            return false;
    }
    channels.assign(Channels, std::vector<float>(frames, 0.0f));
    for (int c = 0; c < Channels; ++c)
        for (int i = 0; i < frames; ++i)
            channels[c][i] = pairs[2 * c][i] + pairs[2 * c + 1][i];
    return true;
}

int FluidMidiPlatform::channelProgram(MidiHandle handle, int channel) const {
    const Synthesizer* s = find(handle);
    if (!s || channel < 1 || channel > Channels) return -1;
    if (!fluid_synth_get_channel_preset(s->fluidSynth.get(), channel - 1)) return -1;
    int sfont = 0, bank = 0, program = 0;
    if (fluid_synth_get_program(s->fluidSynth.get(), channel - 1, &sfont, &bank, &program) !=
        FLUID_OK)
        return -1;
    return program;
}

std::string FluidMidiPlatform::channelInstrument(MidiHandle handle, int channel) const {
    const Synthesizer* s = find(handle);
    if (!s || channel < 1 || channel > Channels) return {};
    fluid_preset_t* preset = fluid_synth_get_channel_preset(s->fluidSynth.get(), channel - 1);
    const char* name = preset ? fluid_preset_get_name(preset) : nullptr;
    return name ? name : std::string();
}
