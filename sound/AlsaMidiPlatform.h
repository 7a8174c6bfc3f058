#pragma once

#include "MidiPlatform.h"

#include <map>
#include <memory>
#include <string>

class RtMidiOut;

// The ALSA sequencer's output ports as MIDI ports 0 .. n-1 (no mapper). Without a sequencer
// there are no ports. Messages go out at once.
class TAlsaMidiPlatform : public TMidiPlatform {
public:
    TAlsaMidiPlatform();
    ~TAlsaMidiPlatform() override;

    int PortCount() override;
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
    struct TPort;

    // The sequencer client that lists the ports; null without a sequencer.
    RtMidiOut* Lister();
    TPort* Find(TMidiHandle handle) const;

    std::unique_ptr<RtMidiOut> FLister;
    std::map<TMidiHandle, std::unique_ptr<TPort>> FPorts;
    TMidiHandle FNextHandle = 1;
};
