#pragma once

#include "MidiPlatform.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// The built-in General MIDI synthesizer as the MIDI mapper (id -1; it has no numbered ports).
// Each open port is one synthesizer with the first General MIDI soundfont found, playing through
// the first audio output that opens. Its audio runs on the driver's own thread; a message is
// one call into the synthesizer and returns at once.
//
// Offline, a port opens no audio output at all; its sound is pulled with RenderChannels
// instead, one stereo pair per MIDI channel (for rendering to a file, or checking the sound).
class TFluidMidiPlatform : public TMidiPlatform {
public:
    enum class TOutput { AudioDriver, Offline };

    static constexpr int SampleRate = 44100;
    // Frames per audio period and number of periods: together the output latency.
    static constexpr int PeriodSize = 64;
    static constexpr int Periods = 4;
    static constexpr int Channels = 16;
    // A note still held this long is released into its natural decay.
    static constexpr int MaxHoldMs = 300;

    // soundfonts: tried in order, the first that loads is used.
    explicit TFluidMidiPlatform(TOutput output = TOutput::AudioDriver,
                                std::vector<std::string> soundfonts = DefaultSoundfonts());
    ~TFluidMidiPlatform() override;

    static std::vector<std::string> DefaultSoundfonts();
    // Audio outputs in the order they are tried.
    static std::vector<std::string> AudioDrivers();
    // The output latency the audio driver is asked for, in milliseconds.
    static double ConfiguredLatencyMs() { return 1000.0 * PeriodSize * Periods / SampleRate; }

    // The audio output an open port plays through; empty offline or for no such port.
    std::string AudioDriverName(TMidiHandle handle) const;
    // The soundfont an open port loaded.
    std::string SoundfontPath(TMidiHandle handle) const;
    // Offline only: renders the next frames of an open port into channels, one buffer per MIDI
    // channel (index 0 = channel 1), left and right summed. False when not offline or not open.
    bool RenderChannels(TMidiHandle handle, int frames, std::vector<std::vector<float>>& channels);
    // The program a channel (1-16) of an open port plays, and the name of that instrument in the
    // soundfont; -1 and "" when the channel has no instrument.
    int ChannelProgram(TMidiHandle handle, int channel) const;
    std::string ChannelInstrument(TMidiHandle handle, int channel) const;

    int PortCount() override { return 0; }
    std::uint16_t Caps(int id, TMidiOutCaps& caps) override;
    bool ErrorText(std::uint16_t code, std::string& text) override;
    std::uint16_t Open(int id, TMidiNoticeTarget& target, TMidiHandle& handle) override;
    std::uint16_t ShortMsg(TMidiHandle handle, std::uint32_t message) override;
    std::uint16_t PrepareHeader(TMidiHandle handle, TMidiHeader& header) override;
    std::uint16_t LongMsg(TMidiHandle handle, TMidiHeader& header) override;
    std::uint16_t UnprepareHeader(TMidiHandle handle, TMidiHeader& header) override;
    std::uint16_t Reset(TMidiHandle handle) override;
    std::uint16_t Close(TMidiHandle handle) override;

private:
    class TSynth;

    TSynth* Find(TMidiHandle handle) const;

    TOutput FOutput;
    std::vector<std::string> FSoundfonts;
    std::map<TMidiHandle, std::unique_ptr<TSynth>> FSynths;
    TMidiHandle FNextHandle = 1;
};
