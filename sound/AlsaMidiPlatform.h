#pragma once

#include "MidiPlatform.h"

#include <map>
#include <memory>
#include <string>

class RtMidiOut;

// The ALSA sequencer's output ports as MIDI ports 0 .. n-1 (no mapper). Without a sequencer
// there are no ports. Messages go out at once.
class AlsaMidiPlatform : public MidiPlatform {
public:
    AlsaMidiPlatform();
    ~AlsaMidiPlatform() override;

    int portCount() override;
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
    struct OpenedPort;

    // The sequencer client that lists the ports; null without a sequencer.
    RtMidiOut* portLister();
    OpenedPort* find(MidiHandle handle) const;

    std::unique_ptr<RtMidiOut> m_portLister;
    std::map<MidiHandle, std::unique_ptr<OpenedPort>> m_ports;
    MidiHandle m_nextHandle = 1;
};
