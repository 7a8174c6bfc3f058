#include "MidiOutput.h"
#include "RecordingMidiPlatform.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

// Completion notices travel through the Qt event loop.
void processEvents() {
    static int argc = 1;
    static char name[] = "test_sound";
    static char* argv[] = {name, nullptr};
    // The application object lives until the process ends: Qt's own globals are gone by the
    // time static objects are destroyed.
    static QCoreApplication* app = nullptr;
    if (!QCoreApplication::instance()) app = new QCoreApplication(argc, argv);
    (void)app;
    QCoreApplication::processEvents();
}

std::vector<std::string> callsFrom(const RecordingMidiPlatform& platform, std::size_t first) {
    const auto& calls = platform.calls();
    return {calls.begin() + static_cast<std::ptrdiff_t>(first), calls.end()};
}

template <typename F> std::string raisedText(F&& f) {
    try {
        f();
    } catch (const MidiOutputError& e) {
        return e.what();
    }
    return "(nothing raised)";
}

class MidiOutputTest : public ::testing::Test {
protected:
    MidiOutputTest() {
        processEvents(); // makes sure the application object exists
        platform.setPorts({"Port Zero", "Port One"});
        out = std::make_unique<MidiOutput>(platform);
    }

    void openPort(int id) {
        out->setDeviceId(id);
        out->open();
        ASSERT_EQ(out->state(), MidiOutputState::Open);
    }

    RecordingMidiPlatform platform;
    std::unique_ptr<MidiOutput> out;
};

} // namespace

// A new component is closed on port 0 and knows how many ports there were.
TEST_F(MidiOutputTest, StartsClosedOnPortZero) {
    EXPECT_EQ(out->state(), MidiOutputState::Closed);
    EXPECT_EQ(out->deviceId(), 0);
    EXPECT_EQ(out->handle(), 0u);
    EXPECT_EQ(out->deviceCount(), 2);
    EXPECT_EQ(out->productName(), "");
}

// A short message is packed status, data 1, data 2 from the lowest byte up, top byte clear.
TEST_F(MidiOutputTest, PacksShortMessages) {
    openPort(-1);
    struct Case {
        std::uint8_t status, data1, data2;
        std::uint32_t word;
    };
    const std::array<Case, 3> cases{{{0x92, 55, 120, 0x00783792u},
                                     {0xC1, 39, 0, 0x000027C1u},
                                     {0xFF, 0xFF, 0xFF, 0x00FFFFFFu}}};
    for (const Case& c : cases)
        out->sendShort(c.status, c.data1, c.data2);
    ASSERT_EQ(platform.words().size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(platform.words()[i], cases[i].word);
    EXPECT_EQ(out->lastError(), 0);
}

// The device id must be -1 or a port that exists now; the capabilities follow the selection.
TEST_F(MidiOutputTest, DeviceIdSelectsAnExistingPortOrTheMapper) {
    struct Case {
        int id;
        bool accepted;
    };
    for (const Case c :
         {Case{-1, true}, Case{0, true}, Case{1, true}, Case{2, false}, Case{-2, false}}) {
        SCOPED_TRACE(c.id);
        out->setDeviceId(0);
        if (c.accepted) {
            out->setDeviceId(c.id);
            EXPECT_EQ(out->deviceId(), c.id);
        } else {
            EXPECT_EQ(raisedText([&] { out->setDeviceId(c.id); }), "Invalid device ID");
            EXPECT_EQ(out->deviceId(), 0);
        }
    }
    out->setDeviceId(-1);
    EXPECT_EQ(out->productName(), "Recording MIDI Mapper");
    EXPECT_EQ(out->technology(), 0x05); // low byte of the technology code only
    EXPECT_EQ(out->voices(), 15);
    EXPECT_EQ(out->notes(), 31);
    EXPECT_EQ(out->driverVersion(), 0x0100u);
    EXPECT_EQ(out->channelMask(), 0xFFFF);
    EXPECT_EQ(out->support(), 0x3u);

    // The number of ports is asked anew, not taken from deviceCount.
    platform.setPorts({});
    out->setDeviceId(-1);
    EXPECT_EQ(raisedText([&] { out->setDeviceId(0); }), "Invalid device ID");
}

// A port name longer than the platform's name field is cut to 31 characters.
TEST_F(MidiOutputTest, ProductNameIsCutToThirtyOneCharacters) {
    platform.setPorts({std::string(40, 'x')});
    out->setDeviceId(0);
    EXPECT_EQ(out->productName(), std::string(31, 'x'));
}

// A capabilities query that fails in the id setter changes the id but keeps the old fields.
TEST_F(MidiOutputTest, FailedCapsKeepOldFields) {
    out->setDeviceId(0);
    platform.capsResult = MidiResult::Error;
    out->setDeviceId(1);
    EXPECT_EQ(out->deviceId(), 1);
    EXPECT_EQ(out->lastError(), MidiResult::Error);
    EXPECT_EQ(out->productName(), "Port Zero");
}

// Neither the id nor the name may change while the port is open.
TEST_F(MidiOutputTest, SelectionIsLockedWhileOpen) {
    openPort(0);
    EXPECT_EQ(raisedText([&] { out->setDeviceId(1); }), "Change to DeviceID while device was open");
    EXPECT_EQ(raisedText([&] { out->setProductName("Port One"); }),
              "Change to ProductName while device was open");
    EXPECT_EQ(out->deviceId(), 0);
}

// The name lookup searches the mapper first, then the ports, by exact name.
TEST_F(MidiOutputTest, ProductNameSelectsThePortOfThatName) {
    out->setProductName("Port One");
    EXPECT_EQ(out->deviceId(), 1);
    EXPECT_EQ(out->productName(), "Port One");
    platform.setPorts({"Recording MIDI Mapper", "Port One"});
    out->setProductName("Recording MIDI Mapper");
    EXPECT_EQ(out->deviceId(), -1);
    const std::size_t before = platform.calls().size();
    out->setProductName("Port One");
    EXPECT_EQ(callsFrom(platform, before),
              (std::vector<std::string>{"PortCount", "Caps -1", "Caps 0", "Caps 1", "PortCount",
                                        "Caps 1"}));
}

// A name no port has raises naming it and leaves the selection as it was; so does a case miss.
TEST_F(MidiOutputTest, UnknownProductNameRaisesAndKeepsSelection) {
    out->setDeviceId(1);
    for (const std::string name : {"Nowhere", "port one"}) {
        EXPECT_EQ(raisedText([&] { out->setProductName(name); }),
                  "MIDI output Device " + name + " not installed");
        EXPECT_EQ(out->deviceId(), 1);
        EXPECT_EQ(out->productName(), "Port One");
    }
}

// The name it already holds passes the name check even when that port is gone, and the search,
// ended one past the last port, is refused as an invalid id.
TEST_F(MidiOutputTest, HeldNameOfAVanishedPortGivesInvalidDeviceId) {
    out->setDeviceId(1);
    platform.setPorts({"Port Zero"});
    EXPECT_EQ(raisedText([&] { out->setProductName("Port One"); }), "Invalid device ID");
    EXPECT_EQ(out->deviceId(), 1);
}

// A capabilities failure during the lookup raises with the platform's text for the code.
TEST_F(MidiOutputTest, CapsFailureDuringLookupRaisesItsText) {
    platform.capsResult = MidiResult::Error;
    EXPECT_EQ(raisedText([&] { out->setProductName("Port One"); }), "Unspecified MIDI error");
    EXPECT_EQ(out->lastError(), MidiResult::Error);
}

// Open never raises: a refusal leaves the component closed with the code in lastError.
TEST_F(MidiOutputTest, OpenFailureIsOnlyRecorded) {
    out->setDeviceId(-1);
    platform.openResult = MidiResult::Allocated;
    EXPECT_NO_THROW(out->open());
    EXPECT_EQ(out->state(), MidiOutputState::Closed);
    EXPECT_EQ(out->lastError(), MidiResult::Allocated);
    platform.openResult = 0;
    out->open();
    EXPECT_EQ(out->state(), MidiOutputState::Open);
    EXPECT_NE(out->handle(), 0u);
    EXPECT_EQ(out->lastError(), 0);
}

// A short message while closed neither raises nor opens; lastError gets the platform's code.
TEST_F(MidiOutputTest, ShortMessageWhileClosedOnlyRecordsTheError) {
    EXPECT_NO_THROW(out->sendShort(0x92, 55, 120));
    EXPECT_EQ(out->state(), MidiOutputState::Closed);
    EXPECT_EQ(out->lastError(), MidiResult::InvalidHandle);
    EXPECT_TRUE(platform.shorts().empty());
}

// Close resets and then closes an open port; on a closed one it does not touch the platform.
TEST_F(MidiOutputTest, CloseResetsThenClosesOnlyWhenOpen) {
    openPort(0);
    std::size_t before = platform.calls().size();
    out->close();
    EXPECT_EQ(callsFrom(platform, before), (std::vector<std::string>{"Reset", "Close"}));
    EXPECT_EQ(out->state(), MidiOutputState::Closed);
    EXPECT_EQ(out->handle(), 0u);
    before = platform.calls().size();
    out->close();
    EXPECT_EQ(platform.calls().size(), before);
    EXPECT_EQ(out->state(), MidiOutputState::Closed);
}

// A failed reset raises before the close is tried; a failed close raises; both leave it open.
TEST_F(MidiOutputTest, FailedResetOrCloseRaisesAndStaysOpen) {
    platform.errorTexts[300] = "Port jammed";
    struct Case {
        std::uint16_t RecordingMidiPlatform::*switchField;
        std::vector<std::string> calls;
    };
    for (const Case& c :
         {Case{&RecordingMidiPlatform::resetResult, {"Reset", "ErrorText 300"}},
          Case{&RecordingMidiPlatform::closeResult, {"Reset", "Close", "ErrorText 300"}}}) {
        openPort(0);
        const MidiHandle handle = out->handle();
        platform.*c.switchField = 300;
        const std::size_t before = platform.calls().size();
        EXPECT_EQ(raisedText([&] { out->close(); }), "Port jammed");
        EXPECT_EQ(callsFrom(platform, before), c.calls);
        EXPECT_EQ(out->state(), MidiOutputState::Open);
        EXPECT_EQ(out->handle(), handle);
        EXPECT_EQ(out->lastError(), 300);
        platform.*c.switchField = 0;
        out->close();
    }
}

// A code the platform has no text for reads "Specified error number is out of range".
TEST_F(MidiOutputTest, ErrorTextFallsBackForUnknownCodes) {
    EXPECT_EQ(out->errorText(MidiResult::InvalidParam), "Invalid MIDI message");
    EXPECT_EQ(out->errorText(999), "Specified error number is out of range");
    openPort(0);
    platform.resetResult = 999;
    EXPECT_EQ(raisedText([&] { out->close(); }), "Specified error number is out of range");
    platform.resetResult = 0;
}

// Destroying an open component resets and closes the port, even when the reset fails.
TEST_F(MidiOutputTest, DestroyingAnOpenComponentClosesThePort) {
    for (const std::uint16_t resetResult : {std::uint16_t{0}, std::uint16_t{300}}) {
        out = std::make_unique<MidiOutput>(platform);
        openPort(0);
        const MidiHandle handle = out->handle();
        platform.resetResult = resetResult;
        const std::size_t before = platform.calls().size();
        EXPECT_NO_THROW(out.reset());
        const auto calls = callsFrom(platform, before);
        EXPECT_EQ(calls.front(), "Reset");
        EXPECT_EQ(calls.back(), "Close");
        EXPECT_FALSE(platform.isOpen(handle));
        platform.resetResult = 0;
    }
}

// sendEvent raises on a closed port; open, it sends the long message if the event has one,
// else the short message.
TEST_F(MidiOutputTest, SendEventNeedsAnOpenPortAndPicksTheMessage) {
    MidiEvent ev;
    ev.status = 0x93;
    ev.data1 = 70;
    ev.data2 = 127;
    EXPECT_EQ(raisedText([&] { out->sendEvent(ev); }), "MIDI Output device not open");
    EXPECT_TRUE(platform.calls().empty() || platform.calls().back() != "ShortMsg");
    openPort(0);
    out->sendEvent(ev);
    ASSERT_EQ(platform.shorts().size(), 1u);
    EXPECT_EQ(platform.shorts()[0], (RecordingMidiPlatform::ShortMsg{0x93, 70, 127}));
    const std::array<std::uint8_t, 6> sysex{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    ev.sysex = sysex.data();
    ev.length = sysex.size();
    out->sendEvent(ev);
    ASSERT_EQ(platform.longs().size(), 1u);
    EXPECT_EQ(platform.longs()[0], std::vector<std::uint8_t>(sysex.begin(), sysex.end()));
    EXPECT_EQ(platform.shorts().size(), 1u);
}

// A long message is copied, prepared and sent at once; the completion notice comes later on
// the component's thread, once per buffer, after the port has finished with it.
TEST_F(MidiOutputTest, LongMessageCompletesThroughTheEventLoop) {
    openPort(0);
    int notices = 0;
    out->setOnMidiOutput([&](MidiOutput& sender) {
        EXPECT_EQ(&sender, out.get());
        ++notices;
    });
    platform.holdLongs = true;
    std::array<std::uint8_t, 4> data{0xF0, 0x01, 0x02, 0xF7};
    out->sendLong(data.data(), data.size());
    data.fill(0); // the component sent its own copy
    const std::size_t sent = platform.calls().size();
    EXPECT_EQ(platform.calls()[sent - 2], "PrepareHeader");
    EXPECT_EQ(platform.calls()[sent - 1], "LongMsg");
    processEvents();
    EXPECT_EQ(notices, 0); // the port still holds it

    platform.completeLongs();
    EXPECT_EQ(notices, 0); // the notice waits for the event loop
    processEvents();
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(platform.calls().back(), "UnprepareHeader");
    EXPECT_EQ(platform.longs()[0], (std::vector<std::uint8_t>{0xF0, 0x01, 0x02, 0xF7}));

    // A port that finishes within the send still notifies through the event loop.
    platform.holdLongs = false;
    out->sendLong(data.data(), 2);
    EXPECT_EQ(notices, 1);
    processEvents();
    EXPECT_EQ(notices, 2);
}

// Buffers still held at Close are returned by the reset and released; nothing is left over.
TEST_F(MidiOutputTest, CloseReturnsHeldBuffers) {
    openPort(0);
    int notices = 0;
    out->setOnMidiOutput([&](MidiOutput&) { ++notices; });
    platform.holdLongs = true;
    const std::uint8_t data[2] = {0xF0, 0xF7};
    out->sendLong(data, 2);
    out->close();
    processEvents();
    EXPECT_EQ(notices, 1);
    // Destroying with a buffer in flight releases it without a notice.
    openPort(0);
    out->sendLong(data, 2);
    out.reset();
    processEvents();
    EXPECT_EQ(notices, 1);
}

// A refused prepare or send raises the code's text and sends no notice; an empty message is
// refused as an invalid parameter.
TEST_F(MidiOutputTest, FailedLongMessageRaisesWithoutNotice) {
    openPort(0);
    int notices = 0;
    out->setOnMidiOutput([&](MidiOutput&) { ++notices; });
    const std::uint8_t data[2] = {0xF0, 0xF7};
    platform.prepareResult = MidiResult::Unprepared;
    EXPECT_EQ(raisedText([&] { out->sendLong(data, 2); }), "MIDI header not prepared");
    platform.prepareResult = 0;
    platform.longResult = MidiResult::Error;
    EXPECT_EQ(raisedText([&] { out->sendLong(data, 2); }), "Unspecified MIDI error");
    EXPECT_EQ(out->lastError(), MidiResult::Error);
    platform.longResult = 0;
    EXPECT_EQ(raisedText([&] { out->sendLong(data, 0); }), "Invalid MIDI message");
    processEvents();
    EXPECT_EQ(notices, 0);
    EXPECT_TRUE(platform.longs().empty());
    // sendLong does not test the state: a closed port refuses it.
    out->close();
    EXPECT_EQ(raisedText([&] { out->sendLong(data, 2); }), "Not an open MIDI port");
}

// A buffer header points at its zero-filled data; size 0 allocates nothing.
TEST(MidiHeaderBufferTest, WrapsHeaderAndData) {
    const MidiHeaderBuffer empty(0);
    EXPECT_EQ(empty.header(), nullptr);
    EXPECT_EQ(empty.data(), nullptr);
    const MidiHeaderBuffer hdr(5);
    ASSERT_NE(hdr.header(), nullptr);
    EXPECT_EQ(hdr.header()->data, hdr.data());
    EXPECT_EQ(hdr.header()->bufferLength, 5u);
    EXPECT_TRUE(std::all_of(hdr.data(), hdr.data() + 5, [](std::uint8_t b) { return b == 0; }));
}
