#include "FluidMidiPlatform.h"

#include <SDL.h>
#include <alsa/asoundlib.h>
#include <fluidsynth.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <mutex>

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

} // namespace

// One open port: a synthesizer with its settings, soundfont and audio output.
class TFluidMidiPlatform::TSynth {
public:
    ~TSynth() {
        // The audio thread goes first: it reads the synthesizer and runs the sequencer.
        Driver.reset();
        Sequencer.reset();
        Synth.reset();
        Settings.reset();
        if (SdlAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
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

    std::unique_ptr<fluid_settings_t, TSettingsDeleter> Settings;

    std::unique_ptr<fluid_synth_t, TSynthDeleter> Synth;
    std::unique_ptr<fluid_audio_driver_t, TDriverDeleter> Driver;
    // Releases held notes after MaxHoldMs, on the synthesizer's own sample clock.
    std::unique_ptr<fluid_sequencer_t, TSequencerDeleter> Sequencer;
    std::unique_ptr<fluid_event_t, TEventDeleter> ReleaseEvent;
    fluid_seq_id_t Releaser = -1;
    // Strikes per channel and key: a pending release applies only to the strike it was made for.
    std::array<std::atomic<std::uint32_t>, 16 * 128> Strikes{};
    // The key each channel struck last, or -1.
    std::array<std::atomic<int>, 16> LastKey{};
    std::string DriverName;
    std::string Soundfont;
    TMidiNoticeTarget* Target = nullptr;
    bool SdlAudio = false;

private:
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
}

TFluidMidiPlatform::~TFluidMidiPlatform() = default;

std::vector<std::string> TFluidMidiPlatform::DefaultSoundfonts() {
    return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"};
}

std::vector<std::string> TFluidMidiPlatform::AudioDrivers() {
    // PipeWire desktops serve the pulseaudio protocol too.
    return {"pulseaudio", "alsa", "sdl2"};
}

TFluidMidiPlatform::TSynth* TFluidMidiPlatform::Find(TMidiHandle handle) const {
    const auto it = FSynths.find(handle);
    return it == FSynths.end() ? nullptr : it->second.get();
}

std::string TFluidMidiPlatform::AudioDriverName(TMidiHandle handle) const {
    const TSynth* s = Find(handle);
    return s ? s->DriverName : std::string();
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
    fluid_settings_setint(settings, "audio.period-size", PeriodSize);
    fluid_settings_setint(settings, "audio.periods", Periods);
    fluid_settings_setint(settings, "audio.pulseaudio.adjust-latency", 0);
    fluid_settings_setstr(settings, "audio.pulseaudio.media-role", "game");
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

    if (FOutput == TOutput::AudioDriver) {
        for (const std::string& name : AudioDrivers()) {
            if (fluid_settings_setstr(settings, "audio.driver", name.c_str()) != FLUID_OK) continue;
            const bool sdl = name == "sdl2";
            if (sdl && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) continue;
            s->Driver.reset(new_fluid_audio_driver(settings, s->Synth.get()));
            if (s->Driver) {
                s->DriverName = name;
                s->SdlAudio = sdl;
                break;
            }
            if (sdl) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        if (!s->Driver) return MidiResult::NoAudioOutput;
    }

    handle = FNextHandle++;
    FSynths.emplace(handle, std::move(s));
    return MidiResult::NoError;
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
