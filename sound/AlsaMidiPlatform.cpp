#include "AlsaMidiPlatform.h"

#include <alsa/asoundlib.h>
#include <rtmidi/RtMidi.h>

#include <array>

namespace {

constexpr const char* ClientName = "Trivora";

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Errors come back as result codes, never as messages on the terminal.
void noteError(RtMidiError::Type, const std::string&, void* failed) {
    if (failed) *static_cast<bool*>(failed) = true;
}

// A client on the ALSA sequencer only (the JACK back end would need a running server), or null.
std::unique_ptr<RtMidiOut> makeClient() {
    // Without a sequencer the client library would complain on the terminal; ask quietly first.
    snd_seq_t* probe = nullptr;
    if (snd_seq_open(&probe, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) return nullptr;
    snd_seq_close(probe);
    try {
        auto out = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, ClientName);
        if (out->getCurrentApi() != RtMidi::LINUX_ALSA) return nullptr;
        out->setErrorCallback(noteError, nullptr);
        return out;
    } catch (...) {
        return nullptr;
    }
}

int messageLength(std::uint8_t status) {
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

struct AlsaMidiPlatform::OpenedPort {
    std::unique_ptr<RtMidiOut> out;
    MidiNoticeTarget* target = nullptr;
    bool failed = false;

    // Sends bytes; false when the sequencer refused them.
    bool send(const std::uint8_t* data, std::size_t n) {
        failed = false;
        try {
            out->sendMessage(data, n);
        } catch (...) {
            return false;
        }
        return !failed;
    }
};

AlsaMidiPlatform::AlsaMidiPlatform() {
    snd_lib_error_set_handler(ignoreAlsaError);
}
AlsaMidiPlatform::~AlsaMidiPlatform() = default;

RtMidiOut* AlsaMidiPlatform::portLister() {
    if (!m_portLister) m_portLister = makeClient();
    return m_portLister.get();
}

AlsaMidiPlatform::OpenedPort* AlsaMidiPlatform::find(MidiHandle handle) const {
    const auto it = m_ports.find(handle);
    return it == m_ports.end() ? nullptr : it->second.get();
}

int AlsaMidiPlatform::portCount() {
    RtMidiOut* lister = portLister();
    if (!lister) return 0;
    try {
        return static_cast<int>(lister->getPortCount());
    } catch (...) {
        return 0;
    }
}

std::uint16_t AlsaMidiPlatform::caps(int id, MidiOutCaps& caps) {
    if (id < 0 || id >= portCount()) return MidiResult::BadDeviceId;
    std::string name;
    try {
        name = portLister()->getPortName(static_cast<unsigned>(id));
    } catch (...) {
        return MidiResult::BadDeviceId;
    }
    if (name.empty()) return MidiResult::BadDeviceId;
    caps = MidiOutCaps{};
    caps.productName = name.substr(0, MidiOutCaps::MaxProductName);
    caps.driverVersion = 0x0500;
    caps.technology = MidiTechnology::Port;
    caps.channelMask = 0xFFFF;
    return MidiResult::NoError;
}

bool AlsaMidiPlatform::errorText(std::uint16_t code, std::string& text) {
    return standardMidiErrorText(code, text);
}

std::uint16_t AlsaMidiPlatform::open(int id, MidiNoticeTarget& target, MidiHandle& handle) {
    if (id < 0 || id >= portCount()) return MidiResult::BadDeviceId;
    auto port = std::make_unique<OpenedPort>();
    port->out = makeClient();
    if (!port->out) return MidiResult::NoDriver;
    port->out->setErrorCallback(noteError, &port->failed);
    try {
        port->out->openPort(static_cast<unsigned>(id), "Trivora output");
    } catch (...) {
        return MidiResult::BadDeviceId;
    }
    if (port->failed || !port->out->isPortOpen()) return MidiResult::BadDeviceId;
    port->target = &target;
    handle = m_nextHandle++;
    m_ports.emplace(handle, std::move(port));
    return MidiResult::NoError;
}

std::uint16_t AlsaMidiPlatform::shortMsg(MidiHandle handle, std::uint32_t message) {
    OpenedPort* port = find(handle);
    if (!port) return MidiResult::InvalidHandle;
    const std::array<std::uint8_t, 3> bytes{static_cast<std::uint8_t>(message & 0xFF),
                                            static_cast<std::uint8_t>((message >> 8) & 0xFF),
                                            static_cast<std::uint8_t>((message >> 16) & 0xFF)};
    if (bytes[0] < 0x80 || bytes[0] == 0xF0) return MidiResult::InvalidParam;
    const int n = messageLength(bytes[0]);
    for (int i = 1; i < n; ++i)
        if (bytes[i] > 0x7F) return MidiResult::InvalidParam;
    return port->send(bytes.data(), static_cast<std::size_t>(n)) ? MidiResult::NoError
                                                                 : MidiResult::Error;
}

std::uint16_t AlsaMidiPlatform::prepareHeader(MidiHandle handle, MidiHeader& header) {
    if (!find(handle)) return MidiResult::InvalidHandle;
    if (header.data == nullptr || header.bufferLength == 0) return MidiResult::InvalidParam;
    header.flags = (header.flags | MidiHeader::Prepared) & ~MidiHeader::Done;
    return MidiResult::NoError;
}

std::uint16_t AlsaMidiPlatform::longMsg(MidiHandle handle, MidiHeader& header) {
    OpenedPort* port = find(handle);
    if (!port) return MidiResult::InvalidHandle;
    if ((header.flags & MidiHeader::Prepared) == 0) return MidiResult::Unprepared;
    if (!port->send(header.data, header.bufferLength)) return MidiResult::Error;
    header.flags |= MidiHeader::Done;
    port->target->done(header);
    return MidiResult::NoError;
}

std::uint16_t AlsaMidiPlatform::unprepareHeader(MidiHandle handle, MidiHeader& header) {
    if (!find(handle)) return MidiResult::InvalidHandle;
    header.flags &= ~MidiHeader::Prepared;
    return MidiResult::NoError;
}

std::uint16_t AlsaMidiPlatform::reset(MidiHandle handle) {
    OpenedPort* port = find(handle);
    if (!port) return MidiResult::InvalidHandle;
    // All sound off, then all notes off, on every channel.
    bool ok = true;
    for (std::uint8_t chan = 0; chan < 16; ++chan) {
        const std::array<std::uint8_t, 3> soundOff{static_cast<std::uint8_t>(0xB0 | chan), 120, 0};
        const std::array<std::uint8_t, 3> notesOff{static_cast<std::uint8_t>(0xB0 | chan), 123, 0};
        ok = port->send(soundOff.data(), 3) && ok;
        ok = port->send(notesOff.data(), 3) && ok;
    }
    return ok ? MidiResult::NoError : MidiResult::Error;
}

std::uint16_t AlsaMidiPlatform::close(MidiHandle handle) {
    OpenedPort* port = find(handle);
    if (!port) return MidiResult::InvalidHandle;
    try {
        port->out->closePort();
    } catch (...) {
    }
    m_ports.erase(handle);
    return MidiResult::NoError;
}
