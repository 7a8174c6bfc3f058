#include "MidiOut.h"

#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <cstring>

// Receives the port's completion notices, from whatever thread the port calls from, and posts
// them to the component's own thread.
class TMidiOutput::TCallbackWindow final : public TMidiNoticeTarget {
public:
    explicit TCallbackWindow(TMidiOutput& owner) : FOwner(owner) {}

    void Done(TMidiHeader& header) override {
        TMidiHeader* done = &header;
        TMidiOutput* owner = &FOwner;
        // A notice still queued when the component goes away is dropped with it; the
        // component frees the buffer itself then.
        QMetaObject::invokeMethod(
            owner, [owner, done] { owner->MidiOutputDone(done); }, Qt::QueuedConnection);
    }

private:
    TMidiOutput& FOwner;
};

TMidiOutput::TMidiOutput(TMidiPlatform& platform, QObject* owner)
    : QObject(owner), FPlatform(platform),
      FCallbackWindow(std::make_unique<TCallbackWindow>(*this)) {
    FDeviceCount = static_cast<std::uint16_t>(std::max(0, FPlatform.PortCount()));
}

TMidiOutput::~TMidiOutput() {
    if (FState == TMidiOutputState::Open) {
        // A destructor must not raise: a port that refuses the reset is still closed.
        try {
            Close();
        } catch (const EmidioutputError&) {
            FLastError = FPlatform.Close(FHandle);
            FHandle = 0;
            FState = TMidiOutputState::Closed;
        }
    }
}

void TMidiOutput::Open() {
    try {
        TMidiHandle handle = 0;
        FLastError = FPlatform.Open(FDeviceID, *FCallbackWindow, handle);
        if (FLastError != MidiResult::NoError) return;
        FHandle = handle;
        FState = TMidiOutputState::Open;
    } catch (...) {
        // Opening never raises; the port simply stays closed.
        FLastError = MidiResult::Error;
    }
}

void TMidiOutput::Close() {
    if (FState == TMidiOutputState::Open) {
        FLastError = FPlatform.Reset(FHandle);
        if (FLastError != MidiResult::NoError) RaiseError(FLastError);
        FLastError = FPlatform.Close(FHandle);
        if (FLastError != MidiResult::NoError) RaiseError(FLastError);
    }
    FHandle = 0;
    FState = TMidiOutputState::Closed;
}

void TMidiOutput::SendEvent(const TMidiEvent& ev) {
    if (FState == TMidiOutputState::Closed) throw EmidioutputError("MIDI Output device not open");
    if (ev.Sysex != nullptr)
        SendLong(ev.Sysex, ev.Length);
    else
        SendShort(ev.Status, ev.Data1, ev.Data2);
}

void TMidiOutput::SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const std::uint32_t message =
        std::uint32_t{status} | (std::uint32_t{data1} << 8) | (std::uint32_t{data2} << 16);
    FLastError = FPlatform.ShortMsg(FHandle, message);
}

void TMidiOutput::SendLong(const void* data, std::uint16_t length) {
    // An empty message has no buffer to hand to the port.
    if (length == 0 || data == nullptr) {
        FLastError = MidiResult::InvalidParam;
        RaiseError(FLastError);
    }
    auto hdr = std::make_unique<TMyMidiHdr>(length);
    TMidiHeader* header = hdr->Header();
    if (header == nullptr || hdr->Data() == nullptr) {
        FLastError = MidiResult::NoMemory;
        RaiseError(FLastError);
    }
    std::memcpy(hdr->Data(), data, length);
    header->User = hdr.get();

    FLastError = FPlatform.PrepareHeader(FHandle, *header);
    if (FLastError != MidiResult::NoError) RaiseError(FLastError);
    // The port may report the buffer done before LongMsg returns, so it is listed first.
    FPending.push_back(std::move(hdr));
    FLastError = FPlatform.LongMsg(FHandle, *header);
    if (FLastError != MidiResult::NoError) {
        // No notice will come for a buffer the port refused: release it here.
        const std::uint16_t code = FLastError;
        FPlatform.UnprepareHeader(FHandle, *header);
        std::erase_if(FPending, [header](const auto& p) { return p->Header() == header; });
        FLastError = code;
        RaiseError(code);
    }
}

void TMidiOutput::MidiOutputDone(TMidiHeader* header) {
    const auto it = std::find_if(FPending.begin(), FPending.end(),
                                 [header](const auto& p) { return p->Header() == header; });
    if (it == FPending.end()) return;
    FPlatform.UnprepareHeader(FHandle, *header);
    FPending.erase(it);
    if (FOnmidioutput) FOnmidioutput(*this);
}

void TMidiOutput::SetDeviceID(int id) {
    if (FState == TMidiOutputState::Open)
        throw EmidioutputError("Change to DeviceID while device was open");
    if (id != -1 && (id < 0 || id >= FPlatform.PortCount()))
        throw EmidioutputError("Invalid device ID");
    FDeviceID = id;
    TMidiOutCaps caps;
    FLastError = FPlatform.Caps(id, caps);
    if (FLastError != MidiResult::NoError) return;
    FProductName = caps.ProductName.substr(0, TMidiOutCaps::MaxProductName);
    FDriverVersion = caps.DriverVersion;
    FTechnology = static_cast<std::uint8_t>(caps.Technology & 0xFF);
    FVoices = caps.Voices;
    FNotes = caps.Notes;
    FChannelMask = caps.ChannelMask;
    FSupport = caps.Support;
}

void TMidiOutput::SetProductName(const std::string& name) {
    if (FState == TMidiOutputState::Open)
        throw EmidioutputError("Change to ProductName while device was open");
    const int count = FPlatform.PortCount();
    int id = -1;
    for (; id < count; ++id) {
        TMidiOutCaps caps;
        FLastError = FPlatform.Caps(id, caps);
        if (FLastError != MidiResult::NoError) RaiseError(FLastError);
        if (caps.ProductName.substr(0, TMidiOutCaps::MaxProductName) == name) {
            FProductName = name;
            break;
        }
    }
    if (FProductName != name)
        throw EmidioutputError("MIDI output Device " + name + " not installed");
    // A name it already held passes the check above even when the search found no port of
    // that name; the id is then one past the last port and is refused as invalid.
    SetDeviceID(id);
}

std::string TMidiOutput::ErrorText(std::uint16_t code) const {
    std::string text;
    if (!FPlatform.ErrorText(code, text)) return "Specified error number is out of range";
    // The platform's text buffer holds 128 characters with its terminator.
    if (text.size() > 127) text.resize(127);
    return text;
}

void TMidiOutput::RaiseError(std::uint16_t code) const {
    throw EmidioutputError(ErrorText(code));
}
