#pragma once

#include <cstdint>
#include <string>

class TMyMidiHdr;

// Result codes of the MIDI platform calls; 0 is success. A platform may return codes of its
// own above these; it names each code it returns through TMidiPlatform::ErrorText.
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
struct TMidiOutCaps {
    std::uint16_t ManufacturerId = 0;
    std::uint16_t ProductId = 0;
    std::uint32_t DriverVersion = 0;
    std::string ProductName; // at most MaxProductName characters
    std::uint16_t Technology = 0;
    std::uint16_t Voices = 0;
    std::uint16_t Notes = 0;
    std::uint16_t ChannelMask = 0;
    std::uint32_t Support = 0;

    static constexpr std::size_t MaxProductName = 31;
};

// The platform's record of one long-message buffer. The port owns it from a successful
// LongMsg until it reports the buffer done.
struct TMidiHeader {
    std::uint8_t* Data = nullptr;
    std::uint32_t BufferLength = 0;
    TMyMidiHdr* User = nullptr; // the object that owns this header and its data
    std::uint32_t Flags = 0;

    static constexpr std::uint32_t Done = 0x1;     // the port has finished with the buffer
    static constexpr std::uint32_t Prepared = 0x2; // prepared on a port
    static constexpr std::uint32_t InQueue = 0x4;  // owned by the port
};

// An open port: 0 means none.
using TMidiHandle = std::uintptr_t;

// Where a port reports the long-message buffers it has finished with. A port may call Done from
// any thread, including from within LongMsg; the receiver hands the notice on to its own thread.
class TMidiNoticeTarget {
public:
    virtual ~TMidiNoticeTarget() = default;
    virtual void Done(TMidiHeader& header) = 0;
};

// The operating system's MIDI output service, as the MIDI output component uses it. Port ids
// run from 0 to PortCount() - 1; id -1 is the MIDI mapper, which every platform may offer
// besides its ports. Every call returns a result code (MidiResult) unless it says otherwise.
class TMidiPlatform {
public:
    virtual ~TMidiPlatform() = default;

    // Number of output ports (the mapper not counted).
    virtual int PortCount() = 0;
    // Capabilities of a port, or of the mapper for id -1.
    virtual std::uint16_t Caps(int id, TMidiOutCaps& caps) = 0;
    // Text for a result code; false when the platform has no text for that code.
    virtual bool ErrorText(std::uint16_t code, std::string& text) = 0;

    // Opens a port; on success handle holds it. Finished long-message buffers are reported to
    // target, which must outlive the open port.
    virtual std::uint16_t Open(int id, TMidiNoticeTarget& target, TMidiHandle& handle) = 0;
    // Sends one packed short message: status in bits 0-7, data 1 in bits 8-15, data 2 in 16-23.
    virtual std::uint16_t ShortMsg(TMidiHandle handle, std::uint32_t message) = 0;
    virtual std::uint16_t PrepareHeader(TMidiHandle handle, TMidiHeader& header) = 0;
    // Queues a prepared header; the port reports it done through the open's notice target.
    virtual std::uint16_t LongMsg(TMidiHandle handle, TMidiHeader& header) = 0;
    virtual std::uint16_t UnprepareHeader(TMidiHandle handle, TMidiHeader& header) = 0;
    // Silences every note on every channel and returns every queued buffer as done.
    virtual std::uint16_t Reset(TMidiHandle handle) = 0;
    virtual std::uint16_t Close(TMidiHandle handle) = 0;

    // Sound has been switched on or off; at start-up, whether it starts on. A platform whose
    // ports play through an audio output may keep that output ready while sound is on, so
    // that even the first note plays at once, and let it go while sound is off. Changes no
    // port's state and returns at once; it may be told before any port is open.
    virtual void setSoundOn(bool on) { static_cast<void>(on); }
};

// The program's own text for the result codes of MidiResult; false for any other code.
bool StandardMidiErrorText(std::uint16_t code, std::string& text);
