#include "RecordingMidiPlatform.h"

RecordingMidiPlatform::RecordingMidiPlatform() {
    errorTexts[MidiResult::Error] = "Unspecified MIDI error";
    errorTexts[MidiResult::BadDeviceId] = "No MIDI port with that id";
    errorTexts[MidiResult::InvalidHandle] = "Not an open MIDI port";
    errorTexts[MidiResult::InvalidParam] = "Invalid MIDI message";
    errorTexts[MidiResult::Unprepared] = "MIDI header not prepared";
}

int RecordingMidiPlatform::portCount() {
    m_calls.push_back("PortCount");
    return static_cast<int>(m_ports.size());
}

std::uint16_t RecordingMidiPlatform::caps(int id, MidiOutCaps& caps) {
    m_calls.push_back("Caps " + std::to_string(id));
    if (capsResult != 0) return capsResult;
    if (id < -1 || id >= static_cast<int>(m_ports.size())) return MidiResult::BadDeviceId;
    caps = MidiOutCaps{};
    caps.productName = id == -1 ? mapperName : m_ports[static_cast<std::size_t>(id)];
    caps.driverVersion = 0x0100 + static_cast<std::uint32_t>(id + 1);
    caps.technology = id == -1 ? 0x0105 : 0x0101; // high byte is not part of the code
    caps.voices = static_cast<std::uint16_t>(16 + id);
    caps.notes = static_cast<std::uint16_t>(32 + id);
    caps.channelMask = 0xFFFF;
    caps.support = 0x3;
    return 0;
}

bool RecordingMidiPlatform::errorText(std::uint16_t code, std::string& text) {
    m_calls.push_back("ErrorText " + std::to_string(code));
    const auto it = errorTexts.find(code);
    if (it == errorTexts.end()) return false;
    text = it->second;
    return true;
}

std::uint16_t RecordingMidiPlatform::open(int id, MidiNoticeTarget& target, MidiHandle& handle) {
    m_calls.push_back("Open " + std::to_string(id));
    if (openResult != 0) return openResult;
    if (id < -1 || id >= static_cast<int>(m_ports.size())) return MidiResult::BadDeviceId;
    handle = m_nextHandle++;
    m_open[handle] = OpenedPort{&target, {}};
    return 0;
}

bool RecordingMidiPlatform::isOpen(MidiHandle handle) const {
    return m_open.contains(handle);
}

std::uint16_t RecordingMidiPlatform::shortMsg(MidiHandle handle, std::uint32_t message) {
    m_calls.push_back("ShortMsg");
    if (!isOpen(handle)) return MidiResult::InvalidHandle;
    m_words.push_back(message);
    m_shorts.push_back({static_cast<std::uint8_t>(message & 0xFF),
                        static_cast<std::uint8_t>((message >> 8) & 0xFF),
                        static_cast<std::uint8_t>((message >> 16) & 0xFF)});
    // Bits 24-31 must be clear.
    if ((message >> 24) != 0) return MidiResult::InvalidParam;
    return 0;
}

std::uint16_t RecordingMidiPlatform::prepareHeader(MidiHandle handle, MidiHeader& header) {
    m_calls.push_back("PrepareHeader");
    if (prepareResult != 0) return prepareResult;
    if (!isOpen(handle)) return MidiResult::InvalidHandle;
    header.flags |= MidiHeader::Prepared;
    return 0;
}

std::uint16_t RecordingMidiPlatform::longMsg(MidiHandle handle, MidiHeader& header) {
    m_calls.push_back("LongMsg");
    if (longResult != 0) return longResult;
    if (!isOpen(handle)) return MidiResult::InvalidHandle;
    if ((header.flags & MidiHeader::Prepared) == 0) return MidiResult::Unprepared;
    m_longs.emplace_back(header.data, header.data + header.bufferLength);
    OpenedPort& port = m_open[handle];
    if (holdLongs) {
        header.flags = (header.flags | MidiHeader::InQueue) & ~MidiHeader::Done;
        port.held.push_back(&header);
    } else {
        header.flags |= MidiHeader::Done;
        port.target->done(header);
    }
    return 0;
}

std::uint16_t RecordingMidiPlatform::unprepareHeader(MidiHandle handle, MidiHeader& header) {
    m_calls.push_back("UnprepareHeader");
    if (!isOpen(handle)) return MidiResult::InvalidHandle;
    if ((header.flags & MidiHeader::InQueue) != 0) return MidiResult::StillPlaying;
    header.flags &= ~MidiHeader::Prepared;
    return 0;
}

void RecordingMidiPlatform::completeLongs() {
    for (auto& [handle, port] : m_open) {
        for (MidiHeader* header : port.held) {
            header->flags = (header->flags & ~MidiHeader::InQueue) | MidiHeader::Done;
            port.target->done(*header);
        }
        port.held.clear();
    }
}

std::uint16_t RecordingMidiPlatform::reset(MidiHandle handle) {
    m_calls.push_back("Reset");
    if (resetResult != 0) return resetResult;
    if (!isOpen(handle)) return MidiResult::InvalidHandle;
    OpenedPort& port = m_open[handle];
    for (MidiHeader* header : port.held) {
        header->flags = (header->flags & ~MidiHeader::InQueue) | MidiHeader::Done;
        port.target->done(*header);
    }
    port.held.clear();
    return 0;
}

std::uint16_t RecordingMidiPlatform::close(MidiHandle handle) {
    m_calls.push_back("Close");
    if (closeResult != 0) return closeResult;
    if (!isOpen(handle)) return MidiResult::InvalidHandle;
    if (!m_open[handle].held.empty()) return MidiResult::StillPlaying;
    m_open.erase(handle);
    return 0;
}
