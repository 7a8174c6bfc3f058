#pragma once

#include "MidiPlatform.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A MIDI platform for tests: it keeps every call and every message a port accepted, offers a
// configurable list of ports, and fails any call with a chosen result code on request.
class RecordingMidiPlatform : public MidiPlatform {
public:
    struct ShortMsg {
        std::uint8_t status, data1, data2;
        bool operator==(const ShortMsg&) const = default;
    };

    RecordingMidiPlatform();

    // Product names of ports 0 .. n-1; the mapper (-1) is named mapperName.
    void setPorts(std::vector<std::string> names) { m_ports = std::move(names); }
    std::string mapperName = "Recording MIDI Mapper";

    // Result codes that the next calls return (0 = succeed as usual).
    std::uint16_t openResult = 0;
    std::uint16_t capsResult = 0;
    std::uint16_t resetResult = 0;
    std::uint16_t closeResult = 0;
    std::uint16_t prepareResult = 0;
    std::uint16_t longResult = 0;
    // Codes with a text; any other code has none.
    std::map<std::uint16_t, std::string> errorTexts;
    // When set, long messages stay with the port until completeLongs(); otherwise each is
    // reported done from within longMsg, as a synthesizer does.
    bool holdLongs = false;

    // Every call in order, e.g. "PortCount", "Caps -1", "Open 0", "ShortMsg", "Reset", "Close".
    const std::vector<std::string>& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    // Short messages accepted by an open port, unpacked.
    const std::vector<ShortMsg>& shorts() const { return m_shorts; }
    void clearShorts() {
        m_shorts.clear();
        m_words.clear();
    }
    // The same messages as the packed words the port received.
    const std::vector<std::uint32_t>& words() const { return m_words; }
    // Long messages accepted by an open port.
    const std::vector<std::vector<std::uint8_t>>& longs() const { return m_longs; }
    // Reports every held long message done.
    void completeLongs();
    bool isOpen(MidiHandle handle) const;

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
    struct OpenedPort {
        MidiNoticeTarget* target;
        std::vector<MidiHeader*> held;
    };

    std::vector<std::string> m_ports;
    std::vector<std::string> m_calls;
    std::vector<ShortMsg> m_shorts;
    std::vector<std::uint32_t> m_words;
    std::vector<std::vector<std::uint8_t>> m_longs;
    std::map<MidiHandle, OpenedPort> m_open;
    MidiHandle m_nextHandle = 1;
};
