#include "SystemMidiPlatform.h"

#include "AlsaMidiPlatform.h"
#include "FluidMidiPlatform.h"

#include <map>

namespace {

// The mapper (-1) from the built-in synthesizer, the numbered ports from the ALSA sequencer.
class TSystemMidiPlatform final : public TMidiPlatform {
public:
    int PortCount() override { return FAlsa.PortCount(); }

    std::uint16_t Caps(int id, TMidiOutCaps& caps) override { return For(id).Caps(id, caps); }

    bool ErrorText(std::uint16_t code, std::string& text) override {
        return StandardMidiErrorText(code, text);
    }

    std::uint16_t Open(int id, TMidiNoticeTarget& target, TMidiHandle& handle) override {
        TMidiPlatform& platform = For(id);
        TMidiHandle inner = 0;
        const std::uint16_t result = platform.Open(id, target, inner);
        if (result != MidiResult::NoError) return result;
        handle = FNextHandle++;
        FOpen[handle] = {&platform, inner};
        return result;
    }

    std::uint16_t ShortMsg(TMidiHandle handle, std::uint32_t message) override {
        const auto it = FOpen.find(handle);
        if (it == FOpen.end()) return MidiResult::InvalidHandle;
        return it->second.Platform->ShortMsg(it->second.Handle, message);
    }

    std::uint16_t PrepareHeader(TMidiHandle handle, TMidiHeader& header) override {
        const auto it = FOpen.find(handle);
        if (it == FOpen.end()) return MidiResult::InvalidHandle;
        return it->second.Platform->PrepareHeader(it->second.Handle, header);
    }

    std::uint16_t LongMsg(TMidiHandle handle, TMidiHeader& header) override {
        const auto it = FOpen.find(handle);
        if (it == FOpen.end()) return MidiResult::InvalidHandle;
        return it->second.Platform->LongMsg(it->second.Handle, header);
    }

    std::uint16_t UnprepareHeader(TMidiHandle handle, TMidiHeader& header) override {
        const auto it = FOpen.find(handle);
        if (it == FOpen.end()) return MidiResult::InvalidHandle;
        return it->second.Platform->UnprepareHeader(it->second.Handle, header);
    }

    std::uint16_t Reset(TMidiHandle handle) override {
        const auto it = FOpen.find(handle);
        if (it == FOpen.end()) return MidiResult::InvalidHandle;
        return it->second.Platform->Reset(it->second.Handle);
    }

    void setSoundOn(bool on) override { FMapper.setSoundOn(on); }

    std::uint16_t Close(TMidiHandle handle) override {
        const auto it = FOpen.find(handle);
        if (it == FOpen.end()) return MidiResult::InvalidHandle;
        const std::uint16_t result = it->second.Platform->Close(it->second.Handle);
        if (result == MidiResult::NoError) FOpen.erase(it);
        return result;
    }

private:
    struct TOpenPort {
        TMidiPlatform* Platform;
        TMidiHandle Handle;
    };

    TMidiPlatform& For(int id) {
        if (id == -1) return FMapper;
        return FAlsa;
    }

    TFluidMidiPlatform FMapper;
    TAlsaMidiPlatform FAlsa;
    std::map<TMidiHandle, TOpenPort> FOpen;
    TMidiHandle FNextHandle = 1;
};

} // namespace

std::unique_ptr<TMidiPlatform> MakeSystemMidiPlatform() {
    return std::make_unique<TSystemMidiPlatform>();
}
