#include "AlsaMidiPlatform.h"

#include <alsa/asoundlib.h>
#include <rtmidi/RtMidi.h>

#include <array>

namespace {

constexpr const char* ClientName = "Trivora";

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Errors come back as result codes, never as messages on the terminal.
void NoteError(RtMidiError::Type, const std::string&, void* failed) {
    if (failed) *static_cast<bool*>(failed) = true;
}

// A client on the ALSA sequencer only (the JACK back end would need a running server), or null.
std::unique_ptr<RtMidiOut> MakeClient() {
    // Without a sequencer the client library would complain on the terminal; ask quietly first.
    snd_seq_t* probe = nullptr;
    if (snd_seq_open(&probe, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) return nullptr;
    snd_seq_close(probe);
    try {
        auto out = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, ClientName);
        if (out->getCurrentApi() != RtMidi::LINUX_ALSA) return nullptr;
        out->setErrorCallback(NoteError, nullptr);
        return out;
    } catch (...) {
        return nullptr;
    }
}

int MessageLength(std::uint8_t status) {
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 2;
    case 0xF0:
        if (status == 0xF2) return 3;
        if (status == 0xF1 || status == 0xF3) return 2;
        return 1;
    default:
        return 3;
    }
}

} // namespace

struct TAlsaMidiPlatform::TPort {
    std::unique_ptr<RtMidiOut> Out;
    TMidiNoticeTarget* Target = nullptr;
    bool Failed = false;

    // Sends bytes; false when the sequencer refused them.
    bool Send(const std::uint8_t* data, std::size_t n) {
        Failed = false;
        try {
            Out->sendMessage(data, n);
        } catch (...) {
            return false;
        }
        return !Failed;
    }
};

TAlsaMidiPlatform::TAlsaMidiPlatform() {
    snd_lib_error_set_handler(IgnoreAlsaError);
}
TAlsaMidiPlatform::~TAlsaMidiPlatform() = default;

RtMidiOut* TAlsaMidiPlatform::Lister() {
    if (!FLister) FLister = MakeClient();
    return FLister.get();
}

TAlsaMidiPlatform::TPort* TAlsaMidiPlatform::Find(TMidiHandle handle) const {
    const auto it = FPorts.find(handle);
    return it == FPorts.end() ? nullptr : it->second.get();
}

int TAlsaMidiPlatform::PortCount() {
    RtMidiOut* lister = Lister();
    if (!lister) return 0;
    try {
        return static_cast<int>(lister->getPortCount());
    } catch (...) {
        return 0;
    }
}

std::uint16_t TAlsaMidiPlatform::Caps(int id, TMidiOutCaps& caps) {
    if (id < 0 || id >= PortCount()) return MidiResult::BadDeviceId;
    std::string name;
    try {
        name = Lister()->getPortName(static_cast<unsigned>(id));
    } catch (...) {
        return MidiResult::BadDeviceId;
    }
    if (name.empty()) return MidiResult::BadDeviceId;
    caps = TMidiOutCaps{};
    caps.ProductName = name.substr(0, TMidiOutCaps::MaxProductName);
    caps.DriverVersion = 0x0500;
    caps.Technology = MidiTechnology::Port;
    caps.ChannelMask = 0xFFFF;
    return MidiResult::NoError;
}

bool TAlsaMidiPlatform::ErrorText(std::uint16_t code, std::string& text) {
    return StandardMidiErrorText(code, text);
}

std::uint16_t TAlsaMidiPlatform::Open(int id, TMidiNoticeTarget& target, TMidiHandle& handle) {
    if (id < 0 || id >= PortCount()) return MidiResult::BadDeviceId;
    auto port = std::make_unique<TPort>();
    port->Out = MakeClient();
    if (!port->Out) return MidiResult::NoDriver;
    port->Out->setErrorCallback(NoteError, &port->Failed);
    try {
        port->Out->openPort(static_cast<unsigned>(id), "Trivora output");
    } catch (...) {
        return MidiResult::BadDeviceId;
    }
    if (port->Failed || !port->Out->isPortOpen()) return MidiResult::BadDeviceId;
    port->Target = &target;
    handle = FNextHandle++;
    FPorts.emplace(handle, std::move(port));
    return MidiResult::NoError;
}

std::uint16_t TAlsaMidiPlatform::ShortMsg(TMidiHandle handle, std::uint32_t message) {
    TPort* port = Find(handle);
    if (!port) return MidiResult::InvalidHandle;
    const std::array<std::uint8_t, 3> bytes{static_cast<std::uint8_t>(message & 0xFF),
                                            static_cast<std::uint8_t>((message >> 8) & 0xFF),
                                            static_cast<std::uint8_t>((message >> 16) & 0xFF)};
    if (bytes[0] < 0x80 || bytes[0] == 0xF0) return MidiResult::InvalidParam;
    const int n = MessageLength(bytes[0]);
    for (int i = 1; i < n; ++i)
        if (bytes[i] > 0x7F) return MidiResult::InvalidParam;
    return port->Send(bytes.data(), static_cast<std::size_t>(n)) ? MidiResult::NoError
                                                                 : MidiResult::Error;
}

std::uint16_t TAlsaMidiPlatform::PrepareHeader(TMidiHandle handle, TMidiHeader& header) {
    if (!Find(handle)) return MidiResult::InvalidHandle;
    if (header.Data == nullptr || header.BufferLength == 0) return MidiResult::InvalidParam;
    header.Flags = (header.Flags | TMidiHeader::Prepared) & ~TMidiHeader::Done;
    return MidiResult::NoError;
}

std::uint16_t TAlsaMidiPlatform::LongMsg(TMidiHandle handle, TMidiHeader& header) {
    TPort* port = Find(handle);
    if (!port) return MidiResult::InvalidHandle;
    if ((header.Flags & TMidiHeader::Prepared) == 0) return MidiResult::Unprepared;
    if (!port->Send(header.Data, header.BufferLength)) return MidiResult::Error;
    header.Flags |= TMidiHeader::Done;
    port->Target->Done(header);
    return MidiResult::NoError;
}

std::uint16_t TAlsaMidiPlatform::UnprepareHeader(TMidiHandle handle, TMidiHeader& header) {
    if (!Find(handle)) return MidiResult::InvalidHandle;
    header.Flags &= ~TMidiHeader::Prepared;
    return MidiResult::NoError;
}

std::uint16_t TAlsaMidiPlatform::Reset(TMidiHandle handle) {
    TPort* port = Find(handle);
    if (!port) return MidiResult::InvalidHandle;
    // All sound off, then all notes off, on every channel.
    bool ok = true;
    for (std::uint8_t chan = 0; chan < 16; ++chan) {
        const std::array<std::uint8_t, 3> soundOff{static_cast<std::uint8_t>(0xB0 | chan), 120, 0};
        const std::array<std::uint8_t, 3> notesOff{static_cast<std::uint8_t>(0xB0 | chan), 123, 0};
        ok = port->Send(soundOff.data(), 3) && ok;
        ok = port->Send(notesOff.data(), 3) && ok;
    }
    return ok ? MidiResult::NoError : MidiResult::Error;
}

std::uint16_t TAlsaMidiPlatform::Close(TMidiHandle handle) {
    TPort* port = Find(handle);
    if (!port) return MidiResult::InvalidHandle;
    try {
        port->Out->closePort();
    } catch (...) {
    }
    FPorts.erase(handle);
    return MidiResult::NoError;
}
