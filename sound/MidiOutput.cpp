#include "MidiOutput.h"

#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <cstring>

// Receives the port's completion notices, from whatever thread the port calls from, and posts
// them to the component's own thread.
class MidiOutput::CallbackWindow final : public MidiNoticeTarget {
public:
    explicit CallbackWindow(MidiOutput& owner) : m_owner(owner) {}

    void done(MidiHeader& header) override {
        MidiHeader* done = &header;
        MidiOutput* owner = &m_owner;
        // A notice still queued when the component goes away is dropped with it; the
        // component frees the buffer itself then.
        QMetaObject::invokeMethod(
            owner, [owner, done] { owner->midiOutputDone(done); }, Qt::QueuedConnection);
    }

private:
    MidiOutput& m_owner;
};

MidiOutput::MidiOutput(MidiPlatform& platform, QObject* owner)
    : QObject(owner), m_platform(platform),
      m_callbackWindow(std::make_unique<CallbackWindow>(*this)) {
    m_deviceCount = static_cast<std::uint16_t>(std::max(0, m_platform.portCount()));
}

MidiOutput::~MidiOutput() {
    if (m_state == MidiOutputState::Open) {
        // A destructor must not raise: a port that refuses the reset is still closed.
        try {
            close();
        } catch (const MidiOutputError&) {
            m_lastError = m_platform.close(m_handle);
            m_handle = 0;
            m_state = MidiOutputState::Closed;
        }
    }
}

void MidiOutput::open() {
    try {
        MidiHandle handle = 0;
        m_lastError = m_platform.open(m_deviceId, *m_callbackWindow, handle);
        if (m_lastError != MidiResult::NoError) return;
        m_handle = handle;
        m_state = MidiOutputState::Open;
    } catch (...) {
        // Opening never raises; the port simply stays closed.
        m_lastError = MidiResult::Error;
    }
}

void MidiOutput::close() {
    if (m_state == MidiOutputState::Open) {
        m_lastError = m_platform.reset(m_handle);
        if (m_lastError != MidiResult::NoError) raiseError(m_lastError);
        m_lastError = m_platform.close(m_handle);
        if (m_lastError != MidiResult::NoError) raiseError(m_lastError);
    }
    m_handle = 0;
    m_state = MidiOutputState::Closed;
}

void MidiOutput::sendEvent(const MidiEvent& ev) {
    if (m_state == MidiOutputState::Closed) throw MidiOutputError("MIDI Output device not open");
    if (ev.sysex != nullptr)
        sendLong(ev.sysex, ev.length);
    else
        sendShort(ev.status, ev.data1, ev.data2);
}

void MidiOutput::sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const std::uint32_t message =
        std::uint32_t{status} | (std::uint32_t{data1} << 8) | (std::uint32_t{data2} << 16);
    m_lastError = m_platform.shortMsg(m_handle, message);
}

void MidiOutput::sendLong(const void* data, std::uint16_t length) {
    // An empty message has no buffer to hand to the port.
    if (length == 0 || data == nullptr) {
        m_lastError = MidiResult::InvalidParam;
        raiseError(m_lastError);
    }
    auto hdr = std::make_unique<MidiHeaderBuffer>(length);
    MidiHeader* header = hdr->header();
    if (header == nullptr || hdr->data() == nullptr) {
        m_lastError = MidiResult::NoMemory;
        raiseError(m_lastError);
    }
    std::memcpy(hdr->data(), data, length);
    header->user = hdr.get();

    m_lastError = m_platform.prepareHeader(m_handle, *header);
    if (m_lastError != MidiResult::NoError) raiseError(m_lastError);
    // The port may report the buffer done before longMsg returns, so it is listed first.
    m_pending.push_back(std::move(hdr));
    m_lastError = m_platform.longMsg(m_handle, *header);
    if (m_lastError != MidiResult::NoError) {
        // No notice will come for a buffer the port refused: release it here.
        const std::uint16_t code = m_lastError;
        m_platform.unprepareHeader(m_handle, *header);
        std::erase_if(m_pending, [header](const auto& p) { return p->header() == header; });
        m_lastError = code;
        raiseError(code);
    }
}

void MidiOutput::midiOutputDone(MidiHeader* header) {
    const auto it = std::find_if(m_pending.begin(), m_pending.end(),
                                 [header](const auto& p) { return p->header() == header; });
    if (it == m_pending.end()) return;
    m_platform.unprepareHeader(m_handle, *header);
    m_pending.erase(it);
    if (m_onMidiOutput) m_onMidiOutput(*this);
}

void MidiOutput::setDeviceId(int id) {
    if (m_state == MidiOutputState::Open)
        throw MidiOutputError("Change to DeviceID while device was open");
    if (id != -1 && (id < 0 || id >= m_platform.portCount()))
        throw MidiOutputError("Invalid device ID");
    m_deviceId = id;
    MidiOutCaps caps;
    m_lastError = m_platform.caps(id, caps);
    if (m_lastError != MidiResult::NoError) return;
    m_productName = caps.productName.substr(0, MidiOutCaps::MaxProductName);
    m_driverVersion = caps.driverVersion;
    m_technology = static_cast<std::uint8_t>(caps.technology & 0xFF);
    m_voices = caps.voices;
    m_notes = caps.notes;
    m_channelMask = caps.channelMask;
    m_support = caps.support;
}

void MidiOutput::setProductName(const std::string& name) {
    if (m_state == MidiOutputState::Open)
        throw MidiOutputError("Change to ProductName while device was open");
    const int count = m_platform.portCount();
    int id = -1;
    for (; id < count; ++id) {
        MidiOutCaps caps;
        m_lastError = m_platform.caps(id, caps);
        if (m_lastError != MidiResult::NoError) raiseError(m_lastError);
        if (caps.productName.substr(0, MidiOutCaps::MaxProductName) == name) {
            m_productName = name;
            break;
        }
    }
    if (m_productName != name)
        throw MidiOutputError("MIDI output Device " + name + " not installed");
    // A name it already held passes the check above even when the search found no port of
    // that name; the id is then one past the last port and is refused as invalid.
    setDeviceId(id);
}

std::string MidiOutput::errorText(std::uint16_t code) const {
    std::string text;
    if (!m_platform.errorText(code, text)) return "Specified error number is out of range";
    // The platform's text buffer holds 128 characters with its terminator.
    if (text.size() > 127) text.resize(127);
    return text;
}

void MidiOutput::raiseError(std::uint16_t code) const {
    throw MidiOutputError(errorText(code));
}
