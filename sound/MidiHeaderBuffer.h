#pragma once

#include "MidiPlatform.h"

#include <cstdint>
#include <memory>

// One long-message buffer: a platform header and the data it points at. The header's User
// refers back to this object, so that the port's completion notice can find and free it.
class MidiHeaderBuffer {
public:
    // A buffer of size bytes, zero-filled. Size 0 allocates nothing; an allocation that fails
    // leaves its pointer null.
    explicit MidiHeaderBuffer(std::uint16_t size);
    ~MidiHeaderBuffer();
    MidiHeaderBuffer(const MidiHeaderBuffer&) = delete;
    MidiHeaderBuffer& operator=(const MidiHeaderBuffer&) = delete;

    MidiHeader* header() const { return m_header.get(); }
    std::uint8_t* data() const { return m_data.get(); }

private:
    std::unique_ptr<MidiHeader> m_header;
    std::unique_ptr<std::uint8_t[]> m_data;
};
