#pragma once

#include "MidiPlatform.h"

#include <cstdint>
#include <memory>

// One long-message buffer: a platform header and the data it points at. The header's User
// refers back to this object, so that the port's completion notice can find and free it.
class TMyMidiHdr {
public:
    // A buffer of size bytes, zero-filled. Size 0 allocates nothing; an allocation that fails
    // leaves its pointer null.
    explicit TMyMidiHdr(std::uint16_t size);
    ~TMyMidiHdr();
    TMyMidiHdr(const TMyMidiHdr&) = delete;
    TMyMidiHdr& operator=(const TMyMidiHdr&) = delete;

    TMidiHeader* Header() const { return FHeader.get(); }
    std::uint8_t* Data() const { return FData.get(); }

private:
    std::unique_ptr<TMidiHeader> FHeader;
    std::unique_ptr<std::uint8_t[]> FData;
};
