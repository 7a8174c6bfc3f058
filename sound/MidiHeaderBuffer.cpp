#include "MidiHeaderBuffer.h"

#include <new>

MidiHeaderBuffer::MidiHeaderBuffer(std::uint16_t size) {
    if (size == 0) return;
    m_header.reset(new (std::nothrow) MidiHeader{});
    m_data.reset(new (std::nothrow) std::uint8_t[size]());
    if (m_header) {
        m_header->data = m_data.get();
        m_header->bufferLength = m_data ? size : 0;
    }
}

MidiHeaderBuffer::~MidiHeaderBuffer() = default;
