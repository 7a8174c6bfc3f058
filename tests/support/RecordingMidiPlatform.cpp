#include "RecordingMidiPlatform.h"

TRecordingMidiPlatform::TRecordingMidiPlatform() {
    ErrorTexts[MidiResult::Error] = "Unspecified MIDI error";
    ErrorTexts[MidiResult::BadDeviceId] = "No MIDI port with that id";
    ErrorTexts[MidiResult::InvalidHandle] = "Not an open MIDI port";
    ErrorTexts[MidiResult::InvalidParam] = "Invalid MIDI message";
    ErrorTexts[MidiResult::Unprepared] = "MIDI header not prepared";
}

int TRecordingMidiPlatform::PortCount() {
    FCalls.push_back("PortCount");
    return static_cast<int>(FPorts.size());
}

std::uint16_t TRecordingMidiPlatform::Caps(int id, TMidiOutCaps& caps) {
    FCalls.push_back("Caps " + std::to_string(id));
    if (CapsResult != 0) return CapsResult;
    if (id < -1 || id >= static_cast<int>(FPorts.size())) return MidiResult::BadDeviceId;
    caps = TMidiOutCaps{};
    caps.ProductName = id == -1 ? MapperName : FPorts[static_cast<std::size_t>(id)];
    caps.DriverVersion = 0x0100 + static_cast<std::uint32_t>(id + 1);
    caps.Technology = id == -1 ? 0x0105 : 0x0101; // high byte is not part of the code
    caps.Voices = static_cast<std::uint16_t>(16 + id);
    caps.Notes = static_cast<std::uint16_t>(32 + id);
    caps.ChannelMask = 0xFFFF;
    caps.Support = 0x3;
    return 0;
}

bool TRecordingMidiPlatform::ErrorText(std::uint16_t code, std::string& text) {
    FCalls.push_back("ErrorText " + std::to_string(code));
    const auto it = ErrorTexts.find(code);
    if (it == ErrorTexts.end()) return false;
    text = it->second;
    return true;
}

std::uint16_t TRecordingMidiPlatform::Open(int id, TMidiNoticeTarget& target, TMidiHandle& handle) {
    FCalls.push_back("Open " + std::to_string(id));
    if (OpenResult != 0) return OpenResult;
    if (id < -1 || id >= static_cast<int>(FPorts.size())) return MidiResult::BadDeviceId;
    handle = FNextHandle++;
    FOpen[handle] = TPort{&target, {}};
    return 0;
}

bool TRecordingMidiPlatform::IsOpen(TMidiHandle handle) const {
    return FOpen.contains(handle);
}

std::uint16_t TRecordingMidiPlatform::ShortMsg(TMidiHandle handle, std::uint32_t message) {
    FCalls.push_back("ShortMsg");
    if (!IsOpen(handle)) return MidiResult::InvalidHandle;
    FWords.push_back(message);
    FShorts.push_back({static_cast<std::uint8_t>(message & 0xFF),
                       static_cast<std::uint8_t>((message >> 8) & 0xFF),
                       static_cast<std::uint8_t>((message >> 16) & 0xFF)});
    // Bits 24-31 must be clear.
    if ((message >> 24) != 0) return MidiResult::InvalidParam;
    return 0;
}

std::uint16_t TRecordingMidiPlatform::PrepareHeader(TMidiHandle handle, TMidiHeader& header) {
    FCalls.push_back("PrepareHeader");
    if (PrepareResult != 0) return PrepareResult;
    if (!IsOpen(handle)) return MidiResult::InvalidHandle;
    header.Flags |= TMidiHeader::Prepared;
    return 0;
}

std::uint16_t TRecordingMidiPlatform::LongMsg(TMidiHandle handle, TMidiHeader& header) {
    FCalls.push_back("LongMsg");
    if (LongResult != 0) return LongResult;
    if (!IsOpen(handle)) return MidiResult::InvalidHandle;
    if ((header.Flags & TMidiHeader::Prepared) == 0) return MidiResult::Unprepared;
    FLongs.emplace_back(header.Data, header.Data + header.BufferLength);
    TPort& port = FOpen[handle];
    if (HoldLongs) {
        header.Flags = (header.Flags | TMidiHeader::InQueue) & ~TMidiHeader::Done;
        port.Held.push_back(&header);
    } else {
        header.Flags |= TMidiHeader::Done;
        port.Target->Done(header);
    }
    return 0;
}

std::uint16_t TRecordingMidiPlatform::UnprepareHeader(TMidiHandle handle, TMidiHeader& header) {
    FCalls.push_back("UnprepareHeader");
    if (!IsOpen(handle)) return MidiResult::InvalidHandle;
    if ((header.Flags & TMidiHeader::InQueue) != 0) return MidiResult::StillPlaying;
    header.Flags &= ~TMidiHeader::Prepared;
    return 0;
}

void TRecordingMidiPlatform::CompleteLongs() {
    for (auto& [handle, port] : FOpen) {
        for (TMidiHeader* header : port.Held) {
            header->Flags = (header->Flags & ~TMidiHeader::InQueue) | TMidiHeader::Done;
            port.Target->Done(*header);
        }
        port.Held.clear();
    }
}

std::uint16_t TRecordingMidiPlatform::Reset(TMidiHandle handle) {
    FCalls.push_back("Reset");
    if (ResetResult != 0) return ResetResult;
    if (!IsOpen(handle)) return MidiResult::InvalidHandle;
    TPort& port = FOpen[handle];
    for (TMidiHeader* header : port.Held) {
        header->Flags = (header->Flags & ~TMidiHeader::InQueue) | TMidiHeader::Done;
        port.Target->Done(*header);
    }
    port.Held.clear();
    return 0;
}

std::uint16_t TRecordingMidiPlatform::Close(TMidiHandle handle) {
    FCalls.push_back("Close");
    if (CloseResult != 0) return CloseResult;
    if (!IsOpen(handle)) return MidiResult::InvalidHandle;
    if (!FOpen[handle].Held.empty()) return MidiResult::StillPlaying;
    FOpen.erase(handle);
    return 0;
}
