#include "SystemMidiPlatform.h"

#include "AlsaMidiPlatform.h"
#include "FluidMidiPlatform.h"

#include <map>

namespace {

// The mapper (-1) from the built-in synthesizer, the numbered ports from the ALSA sequencer.
class SystemMidiPlatform final : public MidiPlatform {
public:
    int portCount() override { return m_alsa.portCount(); }

    std::uint16_t caps(int id, MidiOutCaps& caps) override {
        return platformFor(id).caps(id, caps);
    }

    bool errorText(std::uint16_t code, std::string& text) override {
        return standardMidiErrorText(code, text);
    }

    std::uint16_t open(int id, MidiNoticeTarget& target, MidiHandle& handle) override {
        MidiPlatform& platform = platformFor(id);
        MidiHandle inner = 0;
        const std::uint16_t result = platform.open(id, target, inner);
        if (result != MidiResult::NoError) return result;
        handle = m_nextHandle++;
        m_open[handle] = {&platform, inner};
        return result;
    }

    std::uint16_t shortMsg(MidiHandle handle, std::uint32_t message) override {
        const auto it = m_open.find(handle);
        if (it == m_open.end()) return MidiResult::InvalidHandle;
        return it->second.platform->shortMsg(it->second.handle, message);
    }

    std::uint16_t prepareHeader(MidiHandle handle, MidiHeader& header) override {
        const auto it = m_open.find(handle);
        if (it == m_open.end()) return MidiResult::InvalidHandle;
        return it->second.platform->prepareHeader(it->second.handle, header);
    }

    std::uint16_t longMsg(MidiHandle handle, MidiHeader& header) override {
        const auto it = m_open.find(handle);
        if (it == m_open.end()) return MidiResult::InvalidHandle;
        return it->second.platform->longMsg(it->second.handle, header);
    }

    std::uint16_t unprepareHeader(MidiHandle handle, MidiHeader& header) override {
        const auto it = m_open.find(handle);
        if (it == m_open.end()) return MidiResult::InvalidHandle;
        return it->second.platform->unprepareHeader(it->second.handle, header);
    }

    std::uint16_t reset(MidiHandle handle) override {
        const auto it = m_open.find(handle);
        if (it == m_open.end()) return MidiResult::InvalidHandle;
        return it->second.platform->reset(it->second.handle);
    }

    void setSoundOn(bool on) override { m_mapper.setSoundOn(on); }

    std::uint16_t close(MidiHandle handle) override {
        const auto it = m_open.find(handle);
        if (it == m_open.end()) return MidiResult::InvalidHandle;
        const std::uint16_t result = it->second.platform->close(it->second.handle);
        if (result == MidiResult::NoError) m_open.erase(it);
        return result;
    }

private:
    struct OpenPort {
        MidiPlatform* platform;
        MidiHandle handle;
    };

    MidiPlatform& platformFor(int id) {
        if (id == -1) return m_mapper;
        return m_alsa;
    }

    FluidMidiPlatform m_mapper;
    AlsaMidiPlatform m_alsa;
    std::map<MidiHandle, OpenPort> m_open;
    MidiHandle m_nextHandle = 1;
};

} // namespace

std::unique_ptr<MidiPlatform> makeSystemMidiPlatform() {
    return std::make_unique<SystemMidiPlatform>();
}
