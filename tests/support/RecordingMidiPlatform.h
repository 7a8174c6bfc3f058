#pragma once

#include "MidiPlatform.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A MIDI platform for tests: it keeps every call and every message a port accepted, offers a
// configurable list of ports, and fails any call with a chosen result code on request.
class TRecordingMidiPlatform : public TMidiPlatform {
public:
    struct TShortMsg {
        std::uint8_t Status, Data1, Data2;
        bool operator==(const TShortMsg&) const = default;
    };

    TRecordingMidiPlatform();

    // Product names of ports 0 .. n-1; the mapper (-1) is named MapperName.
    void SetPorts(std::vector<std::string> names) { FPorts = std::move(names); }
    std::string MapperName = "Recording MIDI Mapper";

    // Result codes that the next calls return (0 = succeed as usual).
    std::uint16_t OpenResult = 0;
    std::uint16_t CapsResult = 0;
    std::uint16_t ResetResult = 0;
    std::uint16_t CloseResult = 0;
    std::uint16_t PrepareResult = 0;
    std::uint16_t LongResult = 0;
    // Codes with a text; any other code has none.
    std::map<std::uint16_t, std::string> ErrorTexts;
    // When set, long messages stay with the port until CompleteLongs(); otherwise each is
    // reported done from within LongMsg, as a synthesizer does.
    bool HoldLongs = false;

    // Every call in order, e.g. "PortCount", "Caps -1", "Open 0", "ShortMsg", "Reset", "Close".
    const std::vector<std::string>& Calls() const { return FCalls; }
    void ClearCalls() { FCalls.clear(); }
    // Short messages accepted by an open port, unpacked.
    const std::vector<TShortMsg>& Shorts() const { return FShorts; }
    void ClearShorts() {
        FShorts.clear();
        FWords.clear();
    }
    // The same messages as the packed words the port received.
    const std::vector<std::uint32_t>& Words() const { return FWords; }
    // Long messages accepted by an open port.
    const std::vector<std::vector<std::uint8_t>>& Longs() const { return FLongs; }
    // Reports every held long message done.
    void CompleteLongs();
    bool IsOpen(TMidiHandle handle) const;

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
    struct TPort {
        TMidiNoticeTarget* Target;
        std::vector<TMidiHeader*> Held;
    };

    std::vector<std::string> FPorts;
    std::vector<std::string> FCalls;
    std::vector<TShortMsg> FShorts;
    std::vector<std::uint32_t> FWords;
    std::vector<std::vector<std::uint8_t>> FLongs;
    std::map<TMidiHandle, TPort> FOpen;
    TMidiHandle FNextHandle = 1;
};
