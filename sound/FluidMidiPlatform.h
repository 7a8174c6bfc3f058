#pragma once

#include "MidiPlatform.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The built-in General MIDI synthesizer as the MIDI mapper (id -1; it has no numbered ports).
// Each open port is one synthesizer with the first General MIDI soundfont found, playing through
// the first audio output that opens. A message is one call into the synthesizer and returns at
// once.
//
// The audio output costs nothing while nothing sounds: it is stopped after StopAfterSilenceMs
// of silence (an output that can pause, the sound server's stream, is paused; any other is
// closed) and the next note starts it again. While sound is switched on (setSoundOn), each
// port opens its output paused ahead of the first note, so that even that note only resumes
// it; while sound is off, or before the platform is told, a port opens it at its first note,
// and a stopped output of a port is closed once sound is switched off. Opening, pausing and
// closing happen on a helper thread of the port, never on the caller's thread.
//
// Offline, a port opens no audio output at all; its sound is pulled with renderChannels
// instead, one stereo pair per MIDI channel (for rendering to a file, or checking the sound).
class FluidMidiPlatform : public MidiPlatform {
public:
    enum class Output { AudioDriver, Offline };

    static constexpr int SampleRate = 44100;
    static constexpr int Channels = 16;
    // A note still held this long is released into its natural decay.
    static constexpr int MaxHoldMs = 300;
    // Silence after which the audio output is stopped.
    static constexpr int StopAfterSilenceMs = 1000;

    // How one audio output is asked to buffer: frames per period and periods.
    struct OutputBuffer {
        const char* driver;
        int periodSize; // unused by the pulseaudio output
        int periods;
        // Frames the output holds ahead of the speaker: what the driver is asked for.
        int bufferedFrames;
    };
    // Audio outputs in the order they are tried, with their buffering.
    static const std::vector<OutputBuffer>& audioOutputs();
    // The output latency an audio output is asked for, in milliseconds; the largest of all
    // outputs for an empty name.
    static double configuredLatencyMs(const std::string& driver = {});

    // What the audio output of an open port has done so far.
    struct OutputStats {
        int starts = 0;          // times the output was started (opened or resumed)
        int stops = 0;           // times a silence stopped it (closed or paused)
        int opens = 0;           // times an output was opened, playing or paused
        bool running = false;    // started and not stopped since
        bool open = false;       // an output is open, playing or paused
        std::int64_t blocks = 0; // blocks rendered for it
        int underflows = 0;      // times the open output ran out of sound while playing
        // From the note that opened the output to the first block with its sound, in
        // milliseconds, for the latest opening; -1 before any.
        double lastStartDelayMs = -1;
        // From that note to when the output plays that block, as the output reports it; -1
        // before any, and for an output that cannot tell.
        double lastStartOutputDelayMs = -1;
    };
    OutputStats stats(MidiHandle handle) const;

    // Renders the port's next frames into left and right (overwriting them). True when the
    // block holds the first sound since the output was started.
    using Render = std::function<bool(int frames, float* left, float* right)>;
    // An open audio output: it pulls the port's sound through the render it was opened with,
    // from a thread of its own, until it is destroyed.
    // An output that can pause keeps its connection while paused; one that cannot is closed
    // instead, and opened anew.
    class AudioOutput {
    public:
        virtual ~AudioOutput() = default;
        virtual std::string name() const = 0;
        // Stops pulling sound; false when this output cannot pause (then it cannot be opened
        // paused either).
        virtual bool pause() { return false; }
        // Pulls sound again after pause; false when it failed (the output is then closed).
        virtual bool resume() { return false; }
        // False once the output has been lost (its server went away): the next note then
        // opens a new one. Called from any thread.
        virtual bool alive() const { return true; }
        // When the first sound since the latest start reaches the speaker, on the steady
        // clock in nanoseconds; -1 while not known, and for an output that cannot tell.
        // Called from any thread.
        virtual std::int64_t firstSoundPlaysAtNs() const { return -1; }
        // Times the output ran out of sound while playing (the audio thread came too late);
        // 0 for an output that cannot tell. Called from any thread.
        virtual int underflows() const { return 0; }
    };
    // Opens an audio output for a port, playing, or paused when paused is set (pulling nothing
    // until resumed); null when none can be opened that way.
    using OpenAudio =
        std::function<std::unique_ptr<AudioOutput>(const Render& render, bool paused)>;

    // soundfonts: tried in order, the first that loads is used.
    explicit FluidMidiPlatform(Output output = Output::AudioDriver,
                               std::vector<std::string> soundfonts = defaultSoundfonts());
    // Plays through the audio outputs that openAudio opens.
    explicit FluidMidiPlatform(OpenAudio openAudio,
                               std::vector<std::string> soundfonts = defaultSoundfonts());
    ~FluidMidiPlatform() override;

    static std::vector<std::string> defaultSoundfonts();

    // The audio output an open port plays through: empty offline, for no such port, and before
    // its first note.
    std::string audioDriverName(MidiHandle handle) const;
    // The soundfont an open port loaded.
    std::string soundfontPath(MidiHandle handle) const;
    // Offline only: renders the next frames of an open port into channels, one buffer per MIDI
    // channel (index 0 = channel 1), left and right summed. False when not offline or not open.
    bool renderChannels(MidiHandle handle, int frames, std::vector<std::vector<float>>& channels);
    // The program a channel (1-16) of an open port plays, and the name of that instrument in the
    // soundfont; -1 and "" when the channel has no instrument.
    int channelProgram(MidiHandle handle, int channel) const;
    std::string channelInstrument(MidiHandle handle, int channel) const;

    void setSoundOn(bool on) override;

    int portCount() override { return 0; }
    std::uint16_t caps(int id, MidiOutCaps& caps) override;
    bool errorText(std::uint16_t code, std::string& text) override;
    std::uint16_t open(int id, MidiNoticeTarget& target, MidiHandle& handle) override;
    std::uint16_t shortMsg(MidiHandle handle, std::uint32_t message) override;
    std::uint16_t prepareHeader(MidiHandle handle, MidiHeader& header) override;
    std::uint16_t longMsg(MidiHandle handle, MidiHeader& header) override;
    std::uint16_t unprepareHeader(MidiHandle handle, MidiHeader& header) override;
    std::uint16_t reset(MidiHandle handle) override;
    std::uint16_t close(MidiHandle handle) override;

private:
    class Synthesizer;

    Synthesizer* find(MidiHandle handle) const;

    Output m_output;
    OpenAudio m_openAudio;
    std::vector<std::string> m_soundfonts;
    std::map<MidiHandle, std::unique_ptr<Synthesizer>> m_synths;
    MidiHandle m_nextHandle = 1;
    // What setSoundOn said last: 1 on, 0 off, -1 not told.
    int soundOn = -1;
};
