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

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// The synthesizer and the sound libraries report failures through result codes; they write
// nothing on the terminal.
void SilenceLibraryLogs() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
        snd_lib_error_set_handler(IgnoreAlsaError);
    });
}

struct TSettingsDeleter {
    void operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
};
struct TSynthDeleter {
    void operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }
};
struct TDriverDeleter {
    void operator()(fluid_audio_driver_t* d) const { delete_fluid_audio_driver(d); }
};
struct TSequencerDeleter {
    void operator()(fluid_sequencer_t* s) const { delete_fluid_sequencer(s); }
};
struct TEventDeleter {
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

std::int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

namespace {

// An audio output of the synthesizer library: it cannot pause, so it is closed after a silence.
class TDriverOutput final : public TFluidMidiPlatform::AudioOutput {
public:
    static std::unique_ptr<TFluidMidiPlatform::AudioOutput>
    Open(const TFluidMidiPlatform::Render& render, const TFluidMidiPlatform::OutputBuffer& buffer) {
        auto out = std::make_unique<TDriverOutput>(render);
        if (out->TryOpen(buffer)) return out;
        return nullptr;
    }

    explicit TDriverOutput(TFluidMidiPlatform::Render render)
        : FRender(std::move(render)), FSettings(new_fluid_settings()) {}

    ~TDriverOutput() override {
        FDriver.reset();
        if (FSdl) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    std::string name() const override { return FName; }

private:
    bool TryOpen(const TFluidMidiPlatform::OutputBuffer& buffer) {
        fluid_settings_t* settings = FSettings.get();
        if (!settings) return false;
        if (fluid_settings_setstr(settings, "audio.driver", buffer.driver) != FLUID_OK)
            return false;
        fluid_settings_setnum(settings, "synth.sample-rate", TFluidMidiPlatform::SampleRate);
        fluid_settings_setint(settings, "audio.period-size", buffer.periodSize);
        fluid_settings_setint(settings, "audio.periods", buffer.periods);
        const bool sdl = std::string_view(buffer.driver) == "sdl2";
        if (sdl && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        FDriver.reset(new_fluid_audio_driver2(settings, &TDriverOutput::Pull, this));
        if (!FDriver) {
            if (sdl) SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        FSdl = sdl;
        FName = buffer.driver;
        return true;
    }

    // Runs on the driver's audio thread.
    static int Pull(void* data, int len, int, float*[], int nout, float* out[]) {
        if (nout < 2) return FLUID_FAILED;
        static_cast<TDriverOutput*>(data)->FRender(len, out[0], out[1]);
        return FLUID_OK;
    }

    TFluidMidiPlatform::Render FRender;
    std::unique_ptr<fluid_settings_t, TSettingsDeleter> FSettings;
    std::unique_ptr<fluid_audio_driver_t, TDriverDeleter> FDriver;
    std::string FName;
    bool FSdl = false;
};

// The first audio output of AudioOutputs() that opens; paused, only the sound server's stream
// (the library's drivers start playing as they open).
std::unique_ptr<TFluidMidiPlatform::AudioOutput>
OpenSystemAudio(const TFluidMidiPlatform::Render& render, bool paused) {
    for (const auto& buffer : TFluidMidiPlatform::AudioOutputs()) {
        std::unique_ptr<TFluidMidiPlatform::AudioOutput> out;
        if (std::string_view(buffer.driver) == "pulseaudio")
            out = PulseAudioOutput::open(render, TFluidMidiPlatform::SampleRate,
                                         buffer.bufferedFrames, paused);
        else if (!paused)
            out = TDriverOutput::Open(render, buffer);
        if (out) return out;
    }
    return nullptr;
}

} // namespace

// One open port: a synthesizer with its settings, soundfont and audio output.
class TFluidMidiPlatform::TSynth {
public:
    ~TSynth() {
        // The audio output goes first: its thread reads the synthesizer and runs the sequencer.
        StopKeeper();
        Sequencer.reset();
        Synth.reset();
        Settings.reset();
    }

    // Sets up the release of held notes; false when the synthesizer has no sequencer.
    bool StartReleaser() {
        Sequencer.reset(new_fluid_sequencer2(0));
        ReleaseEvent.reset(new_fluid_event());
        if (!Sequencer || !ReleaseEvent) return false;
        if (fluid_sequencer_register_fluidsynth(Sequencer.get(), Synth.get()) == FLUID_FAILED)
            return false;
        for (auto& key : LastKey)
            key = -1;
        for (int chan = 0; chan < 16; ++chan)
            fluid_synth_set_gen(Synth.get(), chan, GEN_VOLENVRELEASE, ReleaseOffset);
        Releaser = fluid_sequencer_register_client(Sequencer.get(), "Trivora note release",
                                                   &TSynth::ReleaseHeldNote, this);
        return Releaser != FLUID_FAILED;
    }

    // Plays one channel message; false when the synthesizer refuses it.
    //
    // No cue ever ends its note, and some instruments hold a note for as long as its key is
    // down; quick runs of notes would pile up into a roar that clips. So each channel plays
    // one note at a time: a new note ends the channel's earlier one, and a note still held
    // after MaxHoldMs is released. Releases are shortened so that an ended note fades quickly.
    bool Play(std::uint8_t status, std::uint8_t d1, std::uint8_t d2) {
        fluid_synth_t* synth = Synth.get();
        const int chan = status & 0x0F;
        switch (status & 0xF0) {
        case 0x80:
            NoteOff(chan, d1);
            return true;
        case 0x90: {
            if (d2 == 0) {
                NoteOff(chan, d1);
                return true;
            }
            const int last = LastKey[chan].exchange(d1);
            if (last >= 0) NoteOff(chan, last);
            NoteOff(chan, d1);
            if (fluid_synth_noteon(synth, chan, d1, d2) != FLUID_OK) return false;
            ScheduleRelease(chan, d1);
            WakeOutput();
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
    void WakeOutput() {
        if (!Live) return;
        std::lock_guard lock(KeeperLock);
        ++NoteCount;
        if (Running && !StopWanted) {
            if (!Output || Output->alive()) return;
            Running = false; // lost: start anew
        }
        if (!Running && FailedAt != 0 && SteadyNs() - FailedAt < RetryOutputAfterMs * 1000000LL)
            return;
        if (!StartWanted) WokenAt = SteadyNs();
        StartWanted = true;
        if (!Keeper.joinable()) Keeper = std::thread([this] { Keep(); });
        KeeperWake.notify_one();
    }

    // Sound switched on: the output is to be open, paused while nothing plays. Off: a stopped
    // output is closed, and none is opened before a note.
    void SwitchSound(bool on) {
        if (!Live) return;
        std::lock_guard lock(KeeperLock);
        SoundOff = !on;
        SoundSwitched = true;
        if (!Keeper.joinable()) {
            if (!on) return; // no keeper, no output
            Keeper = std::thread([this] { Keep(); });
        }
        KeeperWake.notify_one();
    }

    TFluidMidiPlatform::OutputStats Stats() const {
        std::lock_guard lock(KeeperLock);
        OutputStats stats = Counted;
        stats.open = Output != nullptr || Closing;
        stats.running = Running && !StopWanted;
        stats.blocks = Blocks.load();
        const std::int64_t playsAt = Running && Output ? Output->firstSoundPlaysAtNs() : -1;
        if (stats.lastStartDelayMs >= 0 && playsAt >= 0)
            stats.lastStartOutputDelayMs = static_cast<double>(playsAt - WokenAt) / 1e6;
        return stats;
    }

    std::string DriverName() const {
        std::lock_guard lock(KeeperLock);
        return Running && Output ? Output->name() : std::string();
    }

    // Opens the audio output; empty offline (then only RenderChannels renders).
    OpenAudio OpenOutputWith;
    bool Live = false;

    std::unique_ptr<fluid_settings_t, TSettingsDeleter> Settings;

    std::unique_ptr<fluid_synth_t, TSynthDeleter> Synth;
    // Releases held notes after MaxHoldMs, on the synthesizer's own sample clock.
    std::unique_ptr<fluid_sequencer_t, TSequencerDeleter> Sequencer;
    std::unique_ptr<fluid_event_t, TEventDeleter> ReleaseEvent;
    fluid_seq_id_t Releaser = -1;
    // Strikes per channel and key: a pending release applies only to the strike it was made for.
    std::array<std::atomic<std::uint32_t>, 16 * 128> Strikes{};
    // The key each channel struck last, or -1.
    std::array<std::atomic<int>, 16> LastKey{};
    std::string Soundfont;
    TMidiNoticeTarget* Target = nullptr;

private:
    // The keeper thread: starts the audio output when a note wants it, stops it when the
    // audio thread has heard enough silence, and keeps it open and paused, or closed, as
    // sound is switched on or off. All this takes its time (a server connection or round
    // trip, a thread to join), so it never runs under the lock nor on the thread that sends
    // the notes.
    void Keep() {
        pthread_setname_np(pthread_self(), "sound-keeper");
        std::unique_lock lock(KeeperLock);
        for (;;) {
            KeeperWake.wait(lock,
                            [this] { return Quit || StartWanted || StopWanted || SoundSwitched; });
            if (Quit) break;
            if (StopWanted) {
                StopWanted = false;
                Running = false;
                AudioOutput* out = Output.get();
                const bool keep = !SoundOff;
                lock.unlock();
                const bool paused = keep && out && out->pause();
                lock.lock();
                if (!paused) CloseOutput(lock);
            }
            if (StartWanted) {
                StartWanted = false;
                Counted.lastStartDelayMs = -1;
                ++Generation;
                AudioOutput* out = Output.get();
                lock.unlock();
                bool started = out && out->resume();
                if (!started) {
                    {
                        std::unique_lock closing(KeeperLock);
                        CloseOutput(closing);
                    }
                    started = OpenOutput();
                }
                lock.lock();
                Running = started;
                FailedAt = started ? 0 : SteadyNs();
                if (started) ++Counted.starts;
            }
            if (SoundSwitched) {
                SoundSwitched = false;
                // A playing output carries on until its silence; a note waiting to start it
                // comes first.
                if (!Running && !StartWanted) {
                    if (SoundOff) {
                        CloseOutput(lock);
                    } else if (!Output) {
                        lock.unlock();
                        OpenOutput(true); // without a paused output, the first note opens one
                        lock.lock();
                    }
                }
            }
        }
        CloseOutput(lock);
    }

    // Opens an audio output, playing or paused; true when one did.
    bool OpenOutput(bool paused = false) {
        auto output =
            OpenOutputWith([this](int frames, float* left,
                                  float* right) { return RenderBlock(frames, left, right); },
                           paused);
        if (!output) return false;
        std::lock_guard lock(KeeperLock);
        Output = std::move(output);
        ++Counted.opens;
        return true;
    }

    // Closes the audio output, with the lock held on entry and on return.
    void CloseOutput(std::unique_lock<std::mutex>& lock) {
        auto output = std::move(Output);
        if (!output) return;
        Closing = true;
        lock.unlock();
        output.reset();
        lock.lock();
        Closing = false;
    }

    void StopKeeper() {
        {
            std::lock_guard lock(KeeperLock);
            Quit = true;
        }
        KeeperWake.notify_one();
        if (Keeper.joinable()) Keeper.join();
    }

    // The audio thread's render: the synthesizer's sound, effects mixed in, and the watch for
    // silence that stops the output.
    // True for the first block with sound since the output was started.
    bool RenderBlock(int frames, float* left, float* right) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
        float* out[2] = {left, right};
        fluid_synth_process(Synth.get(), frames, 2, out, 2, out);
        ++Blocks;
        float peak = 0;
        for (const float* channel : out)
            for (int i = 0; i < frames; ++i)
                peak = std::max(peak, std::abs(channel[i]));
        return Watch(frames, peak >= SilenceLevel);
    }

    // Audio thread: counts silent frames since the last sound or note, and asks the keeper to
    // stop the output once there were enough. True for the first audible block since a start.
    bool Watch(int frames, bool audible) {
        const std::uint64_t generation = Generation.load();
        if (generation != WatchedGeneration) {
            // The output has just been started: a new watch.
            WatchedGeneration = generation;
            Silent = 0;
            HeardAt = -1;
        }
        const std::uint64_t notes = NoteCount.load();
        bool first = false;
        if (audible) {
            if (HeardAt < 0) {
                std::lock_guard lock(KeeperLock);
                HeardAt = SteadyNs();
                Counted.lastStartDelayMs = static_cast<double>(HeardAt - WokenAt) / 1e6;
                first = true;
            }
            Silent = 0;
        } else if (notes != NotesWatched) {
            Silent = 0;
        } else if (Silent < StopAfterSilenceMs * (SampleRate / 1000)) {
            Silent += frames;
            if (Silent >= StopAfterSilenceMs * (SampleRate / 1000)) {
                std::lock_guard lock(KeeperLock);
                // A note sent since this block was rendered keeps the output open.
                if (NoteCount.load() == notes && !StartWanted) {
                    StopWanted = true;
                    ++Counted.stops;
                    KeeperWake.notify_one();
                }
            }
        }
        NotesWatched = notes;
        return first;
    }

    mutable std::mutex KeeperLock;
    std::condition_variable KeeperWake;
    std::thread Keeper;
    // Under KeeperLock.
    std::unique_ptr<AudioOutput> Output;
    bool Running = false;
    bool StartWanted = false;
    bool StopWanted = false;
    // Sound is switched off; SoundSwitched: the keeper has yet to act on a switch.
    bool SoundOff = false;
    bool SoundSwitched = false;
    // An output is being closed (it has left Output, and not yet ended).
    bool Closing = false;
    bool Quit = false;
    std::int64_t FailedAt = 0;
    std::int64_t WokenAt = 0;
    OutputStats Counted;
    // Note-ons played; changed under KeeperLock, read anywhere.
    std::atomic<std::uint64_t> NoteCount{0};
    std::atomic<std::int64_t> Blocks{0};
    // Starts of the output so far.
    std::atomic<std::uint64_t> Generation{0};
    // Audio thread only.
    std::uint64_t WatchedGeneration = 0;
    int Silent = 0;
    std::uint64_t NotesWatched = 0;
    std::int64_t HeardAt = -1;

    std::atomic<std::uint32_t>& Strike(int chan, int key) { return Strikes[chan * 128 + key]; }

    // Ends a key's sound and cancels its pending release (a note that is not sounding is no
    // fault).
    void NoteOff(int chan, int key) {
        ++Strike(chan, key);
        fluid_synth_noteoff(Synth.get(), chan, key);
    }

    void ScheduleRelease(int chan, int key) {
        if (Releaser == -1) return;
        const std::uintptr_t code = (std::uintptr_t{Strike(chan, key).load()} << 11) |
                                    (static_cast<std::uintptr_t>(chan) << 7) |
                                    static_cast<std::uintptr_t>(key);
        std::lock_guard lock(EventLock);
        fluid_event_t* ev = ReleaseEvent.get();
        fluid_event_timer(ev, reinterpret_cast<void*>(code));
        fluid_event_set_source(ev, -1);
        fluid_event_set_dest(ev, Releaser);
        fluid_sequencer_send_at(Sequencer.get(), ev, MaxHoldMs, 0);
    }

    // Runs on the synthesizer's thread when a hold time is up.
    static void ReleaseHeldNote(unsigned int, fluid_event_t* event, fluid_sequencer_t*,
                                void* data) {
        if (fluid_event_get_type(event) != FLUID_SEQ_TIMER) return;
        auto* self = static_cast<TSynth*>(data);
        const auto code = reinterpret_cast<std::uintptr_t>(fluid_event_get_data(event));
        const int chan = static_cast<int>((code >> 7) & 0x0F);
        const int key = static_cast<int>(code & 0x7F);
        if (self->Strike(chan, key).load() == static_cast<std::uint32_t>(code >> 11))
            fluid_synth_noteoff(self->Synth.get(), chan, key);
    }

    std::mutex EventLock;
};

TFluidMidiPlatform::TFluidMidiPlatform(TOutput output, std::vector<std::string> soundfonts)
    : FOutput(output), FSoundfonts(std::move(soundfonts)) {
    SilenceLibraryLogs();
    if (output == TOutput::AudioDriver) FOpenAudio = &OpenSystemAudio;
}

TFluidMidiPlatform::TFluidMidiPlatform(OpenAudio openAudio, std::vector<std::string> soundfonts)
    : FOutput(TOutput::AudioDriver), FOpenAudio(std::move(openAudio)),
      FSoundfonts(std::move(soundfonts)) {
    SilenceLibraryLogs();
}

TFluidMidiPlatform::~TFluidMidiPlatform() = default;

std::vector<std::string> TFluidMidiPlatform::DefaultSoundfonts() {
    return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"};
}

const std::vector<TFluidMidiPlatform::OutputBuffer>& TFluidMidiPlatform::AudioOutputs() {
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

double TFluidMidiPlatform::ConfiguredLatencyMs(const std::string& driver) {
    int frames = 0;
    for (const OutputBuffer& out : AudioOutputs())
        if (driver.empty() || driver == out.driver) frames = std::max(frames, out.bufferedFrames);
    return 1000.0 * frames / SampleRate;
}

TFluidMidiPlatform::TSynth* TFluidMidiPlatform::Find(TMidiHandle handle) const {
    const auto it = FSynths.find(handle);
    return it == FSynths.end() ? nullptr : it->second.get();
}

std::string TFluidMidiPlatform::AudioDriverName(TMidiHandle handle) const {
    const TSynth* s = Find(handle);
    return s ? s->DriverName() : std::string();
}

TFluidMidiPlatform::OutputStats TFluidMidiPlatform::Stats(TMidiHandle handle) const {
    const TSynth* s = Find(handle);
    return s ? s->Stats() : OutputStats{};
}

std::string TFluidMidiPlatform::SoundfontPath(TMidiHandle handle) const {
    const TSynth* s = Find(handle);
    return s ? s->Soundfont : std::string();
}

std::uint16_t TFluidMidiPlatform::Caps(int id, TMidiOutCaps& caps) {
    if (id != -1) return MidiResult::BadDeviceId;
    int major = 0, minor = 0, micro = 0;
    fluid_version(&major, &minor, &micro);
    caps = TMidiOutCaps{};
    caps.DriverVersion = static_cast<std::uint32_t>((major << 8) | minor);
    caps.ProductName = ProductName;
    caps.Technology = MidiTechnology::Mapper;
    caps.Voices = Polyphony;
    caps.Notes = Polyphony;
    caps.ChannelMask = 0xFFFF;
    caps.Support = 0;
    return MidiResult::NoError;
}

bool TFluidMidiPlatform::ErrorText(std::uint16_t code, std::string& text) {
    return StandardMidiErrorText(code, text);
}

std::uint16_t TFluidMidiPlatform::Open(int id, TMidiNoticeTarget& target, TMidiHandle& handle) {
    if (id != -1) return MidiResult::BadDeviceId;
    auto s = std::make_unique<TSynth>();
    s->Target = &target;
    s->Settings.reset(new_fluid_settings());
    if (!s->Settings) return MidiResult::NoMemory;
    fluid_settings_t* settings = s->Settings.get();
    fluid_settings_setnum(settings, "synth.sample-rate", SampleRate);
    fluid_settings_setint(settings, "synth.polyphony", Polyphony);
    // Headroom: a low pad through the reverb comes near full scale at the default gain.
    fluid_settings_setnum(settings, "synth.gain", Gain);
    // Only the instruments the channels select are read into memory, not the whole soundfont.
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    if (FOutput == TOutput::Offline) {
        // Every MIDI channel to a stereo pair of its own.
        fluid_settings_setint(settings, "synth.audio-channels", Channels);
        fluid_settings_setint(settings, "synth.audio-groups", Channels);
    }

    s->Synth.reset(new_fluid_synth(settings));
    if (!s->Synth) return MidiResult::NoMemory;
    for (const std::string& path : FSoundfonts) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) continue;
        if (fluid_synth_sfload(s->Synth.get(), path.c_str(), 1) != FLUID_FAILED) {
            s->Soundfont = path;
            break;
        }
    }
    if (s->Soundfont.empty()) return MidiResult::NoSoundfont;
    if (!s->StartReleaser()) return MidiResult::NoMemory;

    // The audio output opens now, paused, when sound is on; else at the first note.
    s->OpenOutputWith = FOpenAudio;
    s->Live = static_cast<bool>(FOpenAudio);
    if (soundOn != -1) s->SwitchSound(soundOn == 1);

    handle = FNextHandle++;
    FSynths.emplace(handle, std::move(s));
    return MidiResult::NoError;
}

void TFluidMidiPlatform::setSoundOn(bool on) {
    soundOn = on ? 1 : 0;
    for (auto& [handle, synth] : FSynths)
        synth->SwitchSound(on);
}

namespace {

// Data bytes that follow a status byte.
int DataLength(std::uint8_t status) {
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

std::uint16_t TFluidMidiPlatform::ShortMsg(TMidiHandle handle, std::uint32_t message) {
    TSynth* s = Find(handle);
    if (!s) return MidiResult::InvalidHandle;
    const auto status = static_cast<std::uint8_t>(message & 0xFF);
    const auto d1 = static_cast<std::uint8_t>((message >> 8) & 0xFF);
    const auto d2 = static_cast<std::uint8_t>((message >> 16) & 0xFF);
    // Every message carries its own status byte, and data bytes are 7-bit.
    if (status < 0x80 || status == 0xF0 || d1 > 0x7F || d2 > 0x7F) return MidiResult::InvalidParam;
    return s->Play(status, d1, d2) ? MidiResult::NoError : MidiResult::InvalidParam;
}

std::uint16_t TFluidMidiPlatform::PrepareHeader(TMidiHandle handle, TMidiHeader& header) {
    if (!Find(handle)) return MidiResult::InvalidHandle;
    if (header.Data == nullptr || header.BufferLength == 0) return MidiResult::InvalidParam;
    header.Flags = (header.Flags | TMidiHeader::Prepared) & ~TMidiHeader::Done;
    return MidiResult::NoError;
}

std::uint16_t TFluidMidiPlatform::LongMsg(TMidiHandle handle, TMidiHeader& header) {
    TSynth* s = Find(handle);
    if (!s) return MidiResult::InvalidHandle;
    if ((header.Flags & TMidiHeader::Prepared) == 0) return MidiResult::Unprepared;
    // The buffer is a stream of messages: system-exclusive blocks and channel messages, these
    // with running status.
    const std::uint8_t* p = header.Data;
    const std::uint8_t* end = p + header.BufferLength;
    std::uint8_t running = 0;
    while (p < end) {
        if (*p == 0xF0) {
            const std::uint8_t* q = p + 1;
            while (q < end && *q != 0xF7)
                ++q;
            fluid_synth_sysex(s->Synth.get(), reinterpret_cast<const char*>(p + 1),
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
        const int n = DataLength(status);
        if (end - p < n) break;
        const std::uint8_t d1 = n > 0 ? p[0] : 0;
        const std::uint8_t d2 = n > 1 ? p[1] : 0;
        p += n;
        s->Play(status, d1 & 0x7F, d2 & 0x7F);
    }
    header.Flags |= TMidiHeader::Done;
    s->Target->Done(header);
    return MidiResult::NoError;
}

std::uint16_t TFluidMidiPlatform::UnprepareHeader(TMidiHandle handle, TMidiHeader& header) {
    if (!Find(handle)) return MidiResult::InvalidHandle;
    header.Flags &= ~TMidiHeader::Prepared;
    return MidiResult::NoError;
}

std::uint16_t TFluidMidiPlatform::Reset(TMidiHandle handle) {
    TSynth* s = Find(handle);
    if (!s) return MidiResult::InvalidHandle;
    fluid_synth_all_sounds_off(s->Synth.get(), -1);
    return MidiResult::NoError;
}

std::uint16_t TFluidMidiPlatform::Close(TMidiHandle handle) {
    if (FSynths.erase(handle) == 0) return MidiResult::InvalidHandle;
    return MidiResult::NoError;
}

bool TFluidMidiPlatform::RenderChannels(TMidiHandle handle, int frames,
                                        std::vector<std::vector<float>>& channels) {
    TSynth* s = Find(handle);
    if (!s || FOutput != TOutput::Offline || frames < 0) return false;
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
        if (fluid_synth_process(s->Synth.get(), n, 0, nullptr, static_cast<int>(at.size()),
                                at.data()) != FLUID_OK)
            return false;
    }
    channels.assign(Channels, std::vector<float>(frames, 0.0f));
    for (int c = 0; c < Channels; ++c)
        for (int i = 0; i < frames; ++i)
            channels[c][i] = pairs[2 * c][i] + pairs[2 * c + 1][i];
    return true;
}

int TFluidMidiPlatform::ChannelProgram(TMidiHandle handle, int channel) const {
    const TSynth* s = Find(handle);
    if (!s || channel < 1 || channel > Channels) return -1;
    if (!fluid_synth_get_channel_preset(s->Synth.get(), channel - 1)) return -1;
    int sfont = 0, bank = 0, program = 0;
    if (fluid_synth_get_program(s->Synth.get(), channel - 1, &sfont, &bank, &program) != FLUID_OK)
        return -1;
    return program;
}

std::string TFluidMidiPlatform::ChannelInstrument(TMidiHandle handle, int channel) const {
    const TSynth* s = Find(handle);
    if (!s || channel < 1 || channel > Channels) return {};
    fluid_preset_t* preset = fluid_synth_get_channel_preset(s->Synth.get(), channel - 1);
    const char* name = preset ? fluid_preset_get_name(preset) : nullptr;
    return name ? name : std::string();
}
