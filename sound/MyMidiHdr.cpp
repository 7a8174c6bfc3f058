#include "MyMidiHdr.h"

#include <new>

TMyMidiHdr::TMyMidiHdr(std::uint16_t size) {
    if (size == 0) return;
    FHeader.reset(new (std::nothrow) TMidiHeader{});
    FData.reset(new (std::nothrow) std::uint8_t[size]());
    if (FHeader) {
        FHeader->Data = FData.get();
        FHeader->BufferLength = FData ? size : 0;
    }
}

TMyMidiHdr::~TMyMidiHdr() = default;
