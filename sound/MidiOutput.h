#pragma once

#include "MidiEvent.h"
#include "MidiHeaderBuffer.h"
#include "MidiOutputError.h"
#include "MidiPlatform.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum class MidiOutputState : std::uint8_t { Closed, Open };

// The MIDI output component: owns one output port of the platform and sends MIDI messages to
// it. Select the port with setDeviceId (-1 is the MIDI mapper) or setProductName, then Open.
// Open and sendShort never raise: their failures only land in lastError(). Everything else
// that fails raises MidiOutputError with the text of the failure.
//
// Lives on the thread that created it (the GUI thread); the completion notice of a long
// message is delivered there through the Qt event loop.
class MidiOutput : public QObject {
    Q_OBJECT

public:
    // Called after the port has finished with a long-message buffer.
    using MidiOutputHandler = std::function<void(MidiOutput& sender)>;

    explicit MidiOutput(MidiPlatform& platform, QObject* owner = nullptr);
    // Resets and closes the port if it is open.
    ~MidiOutput() override;

    // Opens the port named by deviceId(). Never raises; on failure lastError() holds the code
    // and state() stays Closed.
    virtual void open();
    // Resets and closes an open port; a failure of either raises and leaves the state as it
    // was. On a closed port it does nothing.
    virtual void close();
    // Raises "MIDI Output device not open" when closed; sends ev.Sysex as a long message if set,
    // else the short message of ev.
    virtual void sendEvent(const MidiEvent& ev);
    // Sends status, data1, data2 as one short message. Never raises and does not test the
    // state: a failure only sets lastError().
    virtual void sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // Copies length bytes from data and sends them as one long message; returns at once.
    // Onmidioutput is called once the port has finished with them.
    virtual void sendLong(const void* data, std::uint16_t length);

    // -1 (the MIDI mapper) or 0 .. number of ports - 1. Raises "Invalid device ID" for any
    // other id and "Change to DeviceID while device was open" while open. Copies the port's
    // capabilities into the fields below when the platform gives them.
    void setDeviceId(int id);
    int deviceId() const { return m_deviceId; }
    // Selects the port of that exact product name (the mapper is searched first). Raises
    // "MIDI output Device <name> not installed" when no port has it.
    void setProductName(const std::string& name);
    const std::string& productName() const { return m_productName; }
    void setOnMidiOutput(MidiOutputHandler handler) { m_onMidiOutput = std::move(handler); }
    const MidiOutputHandler& onMidiOutput() const { return m_onMidiOutput; }

    // The text of a platform result code, or "Specified error number is out of range".
    std::string errorText(std::uint16_t code) const;

    MidiHandle handle() const { return m_handle; }
    MidiOutputState state() const { return m_state; }
    // Result code of the last platform call, 0 for success.
    std::uint16_t lastError() const { return m_lastError; }
    std::uint32_t driverVersion() const { return m_driverVersion; }
    std::uint8_t technology() const { return m_technology; }
    std::uint16_t voices() const { return m_voices; }
    std::uint16_t notes() const { return m_notes; }
    std::uint16_t channelMask() const { return m_channelMask; }
    std::uint32_t support() const { return m_support; }
    // Number of output ports when the component was made.
    std::uint16_t deviceCount() const { return m_deviceCount; }

private:
    class CallbackWindow;

    // The port has finished with header: release it and tell Onmidioutput.
    void midiOutputDone(MidiHeader* header);
    void raiseError(std::uint16_t code) const;

    MidiPlatform& m_platform;
    std::unique_ptr<CallbackWindow> m_callbackWindow;
    int m_deviceId = 0;
    MidiHandle m_handle = 0;
    MidiOutputState m_state = MidiOutputState::Closed;
    std::uint16_t m_lastError = 0;
    std::uint32_t m_driverVersion = 0;
    std::string m_productName;
    std::uint8_t m_technology = 0;
    std::uint16_t m_voices = 0;
    std::uint16_t m_notes = 0;
    std::uint16_t m_channelMask = 0;
    std::uint32_t m_support = 0;
    std::uint16_t m_deviceCount = 0;
    MidiOutputHandler m_onMidiOutput;
    // Long-message buffers sent and not yet reported done.
    std::vector<std::unique_ptr<MidiHeaderBuffer>> m_pending;
};
