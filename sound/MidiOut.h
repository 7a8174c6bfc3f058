#pragma once

#include "EmidioutputError.h"
#include "MidiEvent.h"
#include "MidiPlatform.h"
#include "MyMidiHdr.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum class TMidiOutputState : std::uint8_t { Closed, Open };

// The MIDI output component: owns one output port of the platform and sends MIDI messages to
// it. Select the port with SetDeviceID (-1 is the MIDI mapper) or SetProductName, then Open.
// Open and SendShort never raise: their failures only land in LastError(). Everything else
// that fails raises EmidioutputError with the text of the failure.
//
// Lives on the thread that created it (the GUI thread); the completion notice of a long
// message is delivered there through the Qt event loop.
class TMidiOutput : public QObject {
    Q_OBJECT

public:
    // Called after the port has finished with a long-message buffer.
    using TMidiOutputEvent = std::function<void(TMidiOutput& sender)>;

    explicit TMidiOutput(TMidiPlatform& platform, QObject* owner = nullptr);
    // Resets and closes the port if it is open.
    ~TMidiOutput() override;

    // Opens the port named by DeviceID(). Never raises; on failure LastError() holds the code
    // and State() stays Closed.
    virtual void Open();
    // Resets and closes an open port; a failure of either raises and leaves the state as it
    // was. On a closed port it does nothing.
    virtual void Close();
    // Raises "MIDI Output device not open" when closed; sends ev.Sysex as a long message if set,
    // else the short message of ev.
    virtual void SendEvent(const TMidiEvent& ev);
    // Sends status, data1, data2 as one short message. Never raises and does not test the
    // state: a failure only sets LastError().
    virtual void SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // Copies length bytes from data and sends them as one long message; returns at once.
    // Onmidioutput is called once the port has finished with them.
    virtual void SendLong(const void* data, std::uint16_t length);

    // -1 (the MIDI mapper) or 0 .. number of ports - 1. Raises "Invalid device ID" for any
    // other id and "Change to DeviceID while device was open" while open. Copies the port's
    // capabilities into the fields below when the platform gives them.
    void SetDeviceID(int id);
    int DeviceID() const { return FDeviceID; }
    // Selects the port of that exact product name (the mapper is searched first). Raises
    // "MIDI output Device <name> not installed" when no port has it.
    void SetProductName(const std::string& name);
    const std::string& ProductName() const { return FProductName; }
    void SetOnmidioutput(TMidiOutputEvent handler) { FOnmidioutput = std::move(handler); }
    const TMidiOutputEvent& Onmidioutput() const { return FOnmidioutput; }

    // The text of a platform result code, or "Specified error number is out of range".
    std::string ErrorText(std::uint16_t code) const;

    TMidiHandle Handle() const { return FHandle; }
    TMidiOutputState State() const { return FState; }
    // Result code of the last platform call, 0 for success.
    std::uint16_t LastError() const { return FLastError; }
    std::uint32_t DriverVersion() const { return FDriverVersion; }
    std::uint8_t Technology() const { return FTechnology; }
    std::uint16_t Voices() const { return FVoices; }
    std::uint16_t Notes() const { return FNotes; }
    std::uint16_t ChannelMask() const { return FChannelMask; }
    std::uint32_t Support() const { return FSupport; }
    // Number of output ports when the component was made.
    std::uint16_t DeviceCount() const { return FDeviceCount; }

private:
    class TCallbackWindow;

    // The port has finished with header: release it and tell Onmidioutput.
    void MidiOutputDone(TMidiHeader* header);
    void RaiseError(std::uint16_t code) const;

    TMidiPlatform& FPlatform;
    std::unique_ptr<TCallbackWindow> FCallbackWindow;
    int FDeviceID = 0;
    TMidiHandle FHandle = 0;
    TMidiOutputState FState = TMidiOutputState::Closed;
    std::uint16_t FLastError = 0;
    std::uint32_t FDriverVersion = 0;
    std::string FProductName;
    std::uint8_t FTechnology = 0;
    std::uint16_t FVoices = 0;
    std::uint16_t FNotes = 0;
    std::uint16_t FChannelMask = 0;
    std::uint32_t FSupport = 0;
    std::uint16_t FDeviceCount = 0;
    TMidiOutputEvent FOnmidioutput;
    // Long-message buffers sent and not yet reported done.
    std::vector<std::unique_ptr<TMyMidiHdr>> FPending;
};
