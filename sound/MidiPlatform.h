#pragma once

#include <cstdint>
#include <string>

class MidiHeaderBuffer;

// Result codes of the MIDI platform calls; 0 is success. A platform may return codes of its
// own above these; it names each code it returns through MidiPlatform::errorText.
namespace MidiResult {
inline constexpr std::uint16_t NoError = 0;
inline constexpr std::uint16_t Error = 1;          // unspecified failure
inline constexpr std::uint16_t BadDeviceId = 2;    // no port with that id
inline constexpr std::uint16_t Allocated = 4;      // the port is in use
inline constexpr std::uint16_t InvalidHandle = 5;  // not an open port
inline constexpr std::uint16_t NoDriver = 6;       // no driver behind the port
inline constexpr std::uint16_t NoMemory = 7;       // out of memory
inline constexpr std::uint16_t InvalidParam = 11;  // a message or header the port cannot take
inline constexpr std::uint16_t Unprepared = 64;    // long message on an unprepared header
inline constexpr std::uint16_t StillPlaying = 65;  // header still owned by the port
inline constexpr std::uint16_t NoSoundfont = 96;   // synthesizer: no General MIDI soundfont
inline constexpr std::uint16_t NoAudioOutput = 97; // synthesizer: no audio output opened
} // namespace MidiResult

// Technology codes of a port.
namespace MidiTechnology {
inline constexpr std::uint16_t Port = 1;          // a hardware or software MIDI port
inline constexpr std::uint16_t Synth = 2;         // a generic internal synthesizer
inline constexpr std::uint16_t Mapper = 5;        // the MIDI mapper
inline constexpr std::uint16_t SoftwareSynth = 7; // a synthesizer running in software
} // namespace MidiTechnology

// What a port says about itself.
struct MidiOutCaps {
    std::uint16_t manufacturerId = 0;
    std::uint16_t productId = 0;
    std::uint32_t driverVersion = 0;
    std::string productName; // at most MaxProductName characters
    std::uint16_t technology = 0;
    std::uint16_t voices = 0;
    std::uint16_t notes = 0;
    std::uint16_t channelMask = 0;
    std::uint32_t support = 0;

    static constexpr std::size_t MaxProductName = 31;
};

// The platform's record of one long-message buffer. The port owns it from a successful
// longMsg until it reports the buffer done.
struct MidiHeader {
    std::uint8_t* data = nullptr;
    std::uint32_t bufferLength = 0;
    MidiHeaderBuffer* user = nullptr; // the object that owns this header and its data
    std::uint32_t flags = 0;

    static constexpr std::uint32_t Done = 0x1;     // the port has finished with the buffer
    static constexpr std::uint32_t Prepared = 0x2; // prepared on a port
    static constexpr std::uint32_t InQueue = 0x4;  // owned by the port
};

// An open port: 0 means none.
using MidiHandle = std::uintptr_t;

// Where a port reports the long-message buffers it has finished with. A port may call Done from
// any thread, including from within longMsg; the receiver hands the notice on to its own thread.
class MidiNoticeTarget {
public:
    virtual ~MidiNoticeTarget() = default;
    virtual void done(MidiHeader& header) = 0;
};

// The operating system's MIDI output service, as the MIDI output component uses it. Port ids
// run from 0 to portCount() - 1; id -1 is the MIDI mapper, which every platform may offer
// besides its ports. Every call returns a result code (MidiResult) unless it says otherwise.
class MidiPlatform {
public:
    virtual ~MidiPlatform() = default;

    // Number of output ports (the mapper not counted).
    virtual int portCount() = 0;
    // Capabilities of a port, or of the mapper for id -1.
    virtual std::uint16_t caps(int id, MidiOutCaps& caps) = 0;
    // Text for a result code; false when the platform has no text for that code.
    virtual bool errorText(std::uint16_t code, std::string& text) = 0;

    // Opens a port; on success handle holds it. Finished long-message buffers are reported to
    // target, which must outlive the open port.
    virtual std::uint16_t open(int id, MidiNoticeTarget& target, MidiHandle& handle) = 0;
    // Sends one packed short message: status in bits 0-7, data 1 in bits 8-15, data 2 in 16-23.
    virtual std::uint16_t shortMsg(MidiHandle handle, std::uint32_t message) = 0;
    virtual std::uint16_t prepareHeader(MidiHandle handle, MidiHeader& header) = 0;
    // Queues a prepared header; the port reports it done through the open's notice target.
    virtual std::uint16_t longMsg(MidiHandle handle, MidiHeader& header) = 0;
    virtual std::uint16_t unprepareHeader(MidiHandle handle, MidiHeader& header) = 0;
    // Silences every note on every channel and returns every queued buffer as done.
    virtual std::uint16_t reset(MidiHandle handle) = 0;
    virtual std::uint16_t close(MidiHandle handle) = 0;

    // Sound has been switched on or off; at start-up, whether it starts on. A platform whose
    // ports play through an audio output may keep that output ready while sound is on, so
    // that even the first note plays at once, and let it go while sound is off. Changes no
    // port's state and returns at once; it may be told before any port is open.
    virtual void setSoundOn(bool on) { static_cast<void>(on); }
};

// The program's own text for the result codes of MidiResult; false for any other code.
bool standardMidiErrorText(std::uint16_t code, std::string& text);
