#include "MidiOut.h"
#include "RecordingMidiPlatform.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

// Completion notices travel through the Qt event loop.
void ProcessEvents() {
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

std::vector<std::string> CallsFrom(const TRecordingMidiPlatform& platform, std::size_t first) {
    const auto& calls = platform.Calls();
    return {calls.begin() + static_cast<std::ptrdiff_t>(first), calls.end()};
}

template <typename F> std::string RaisedText(F&& f) {
    try {
        f();
    } catch (const EmidioutputError& e) {
        return e.what();
    }
    return "(nothing raised)";
}

class MidiOutTest : public ::testing::Test {
protected:
    MidiOutTest() {
        ProcessEvents(); // makes sure the application object exists
        Platform.SetPorts({"Port Zero", "Port One"});
        Out = std::make_unique<TMidiOutput>(Platform);
    }

    void OpenPort(int id) {
        Out->SetDeviceID(id);
        Out->Open();
        ASSERT_EQ(Out->State(), TMidiOutputState::Open);
    }

    TRecordingMidiPlatform Platform;
    std::unique_ptr<TMidiOutput> Out;
};

} // namespace

// A new component is closed on port 0 and knows how many ports there were.
TEST_F(MidiOutTest, StartsClosedOnPortZero) {
    EXPECT_EQ(Out->State(), TMidiOutputState::Closed);
    EXPECT_EQ(Out->DeviceID(), 0);
    EXPECT_EQ(Out->Handle(), 0u);
    EXPECT_EQ(Out->DeviceCount(), 2);
    EXPECT_EQ(Out->ProductName(), "");
}

// A short message is packed status, data 1, data 2 from the lowest byte up, top byte clear.
TEST_F(MidiOutTest, PacksShortMessages) {
    OpenPort(-1);
    struct Case {
        std::uint8_t Status, Data1, Data2;
        std::uint32_t Word;
    };
    const std::array<Case, 3> cases{{{0x92, 55, 120, 0x00783792u},
                                     {0xC1, 39, 0, 0x000027C1u},
                                     {0xFF, 0xFF, 0xFF, 0x00FFFFFFu}}};
    for (const Case& c : cases)
        Out->SendShort(c.Status, c.Data1, c.Data2);
    ASSERT_EQ(Platform.Words().size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(Platform.Words()[i], cases[i].Word);
    EXPECT_EQ(Out->LastError(), 0);
}

// The device id must be -1 or a port that exists now; the capabilities follow the selection.
TEST_F(MidiOutTest, DeviceIdSelectsAnExistingPortOrTheMapper) {
    struct Case {
        int Id;
        bool Accepted;
    };
    for (const Case c :
         {Case{-1, true}, Case{0, true}, Case{1, true}, Case{2, false}, Case{-2, false}}) {
        SCOPED_TRACE(c.Id);
        Out->SetDeviceID(0);
        if (c.Accepted) {
            Out->SetDeviceID(c.Id);
            EXPECT_EQ(Out->DeviceID(), c.Id);
        } else {
            EXPECT_EQ(RaisedText([&] { Out->SetDeviceID(c.Id); }), "Invalid device ID");
            EXPECT_EQ(Out->DeviceID(), 0);
        }
    }
    Out->SetDeviceID(-1);
    EXPECT_EQ(Out->ProductName(), "Recording MIDI Mapper");
    EXPECT_EQ(Out->Technology(), 0x05); // low byte of the technology code only
    EXPECT_EQ(Out->Voices(), 15);
    EXPECT_EQ(Out->Notes(), 31);
    EXPECT_EQ(Out->DriverVersion(), 0x0100u);
    EXPECT_EQ(Out->ChannelMask(), 0xFFFF);
    EXPECT_EQ(Out->Support(), 0x3u);

    // The number of ports is asked anew, not taken from DeviceCount.
    Platform.SetPorts({});
    Out->SetDeviceID(-1);
    EXPECT_EQ(RaisedText([&] { Out->SetDeviceID(0); }), "Invalid device ID");
}

// A port name longer than the platform's name field is cut to 31 characters.
TEST_F(MidiOutTest, ProductNameIsCutToThirtyOneCharacters) {
    Platform.SetPorts({std::string(40, 'x')});
    Out->SetDeviceID(0);
    EXPECT_EQ(Out->ProductName(), std::string(31, 'x'));
}

// A capabilities query that fails in the id setter changes the id but keeps the old fields.
TEST_F(MidiOutTest, FailedCapsKeepOldFields) {
    Out->SetDeviceID(0);
    Platform.CapsResult = MidiResult::Error;
    Out->SetDeviceID(1);
    EXPECT_EQ(Out->DeviceID(), 1);
    EXPECT_EQ(Out->LastError(), MidiResult::Error);
    EXPECT_EQ(Out->ProductName(), "Port Zero");
}

// Neither the id nor the name may change while the port is open.
TEST_F(MidiOutTest, SelectionIsLockedWhileOpen) {
    OpenPort(0);
    EXPECT_EQ(RaisedText([&] { Out->SetDeviceID(1); }), "Change to DeviceID while device was open");
    EXPECT_EQ(RaisedText([&] { Out->SetProductName("Port One"); }),
              "Change to ProductName while device was open");
    EXPECT_EQ(Out->DeviceID(), 0);
}

// The name lookup searches the mapper first, then the ports, by exact name.
TEST_F(MidiOutTest, ProductNameSelectsThePortOfThatName) {
    Out->SetProductName("Port One");
    EXPECT_EQ(Out->DeviceID(), 1);
    EXPECT_EQ(Out->ProductName(), "Port One");
    Platform.SetPorts({"Recording MIDI Mapper", "Port One"});
    Out->SetProductName("Recording MIDI Mapper");
    EXPECT_EQ(Out->DeviceID(), -1);
    const std::size_t before = Platform.Calls().size();
    Out->SetProductName("Port One");
    EXPECT_EQ(CallsFrom(Platform, before),
              (std::vector<std::string>{"PortCount", "Caps -1", "Caps 0", "Caps 1", "PortCount",
                                        "Caps 1"}));
}

// A name no port has raises naming it and leaves the selection as it was; so does a case miss.
TEST_F(MidiOutTest, UnknownProductNameRaisesAndKeepsSelection) {
    Out->SetDeviceID(1);
    for (const std::string name : {"Nowhere", "port one"}) {
        EXPECT_EQ(RaisedText([&] { Out->SetProductName(name); }),
                  "MIDI output Device " + name + " not installed");
        EXPECT_EQ(Out->DeviceID(), 1);
        EXPECT_EQ(Out->ProductName(), "Port One");
    }
}

// The name it already holds passes the name check even when that port is gone, and the search,
// ended one past the last port, is refused as an invalid id.
TEST_F(MidiOutTest, HeldNameOfAVanishedPortGivesInvalidDeviceId) {
    Out->SetDeviceID(1);
    Platform.SetPorts({"Port Zero"});
    EXPECT_EQ(RaisedText([&] { Out->SetProductName("Port One"); }), "Invalid device ID");
    EXPECT_EQ(Out->DeviceID(), 1);
}

// A capabilities failure during the lookup raises with the platform's text for the code.
TEST_F(MidiOutTest, CapsFailureDuringLookupRaisesItsText) {
    Platform.CapsResult = MidiResult::Error;
    EXPECT_EQ(RaisedText([&] { Out->SetProductName("Port One"); }), "Unspecified MIDI error");
    EXPECT_EQ(Out->LastError(), MidiResult::Error);
}

// Open never raises: a refusal leaves the component closed with the code in LastError.
TEST_F(MidiOutTest, OpenFailureIsOnlyRecorded) {
    Out->SetDeviceID(-1);
    Platform.OpenResult = MidiResult::Allocated;
    EXPECT_NO_THROW(Out->Open());
    EXPECT_EQ(Out->State(), TMidiOutputState::Closed);
    EXPECT_EQ(Out->LastError(), MidiResult::Allocated);
    Platform.OpenResult = 0;
    Out->Open();
    EXPECT_EQ(Out->State(), TMidiOutputState::Open);
    EXPECT_NE(Out->Handle(), 0u);
    EXPECT_EQ(Out->LastError(), 0);
}

// A short message while closed neither raises nor opens; LastError gets the platform's code.
TEST_F(MidiOutTest, ShortMessageWhileClosedOnlyRecordsTheError) {
    EXPECT_NO_THROW(Out->SendShort(0x92, 55, 120));
    EXPECT_EQ(Out->State(), TMidiOutputState::Closed);
    EXPECT_EQ(Out->LastError(), MidiResult::InvalidHandle);
    EXPECT_TRUE(Platform.Shorts().empty());
}

// Close resets and then closes an open port; on a closed one it does not touch the platform.
TEST_F(MidiOutTest, CloseResetsThenClosesOnlyWhenOpen) {
    OpenPort(0);
    std::size_t before = Platform.Calls().size();
    Out->Close();
    EXPECT_EQ(CallsFrom(Platform, before), (std::vector<std::string>{"Reset", "Close"}));
    EXPECT_EQ(Out->State(), TMidiOutputState::Closed);
    EXPECT_EQ(Out->Handle(), 0u);
    before = Platform.Calls().size();
    Out->Close();
    EXPECT_EQ(Platform.Calls().size(), before);
    EXPECT_EQ(Out->State(), TMidiOutputState::Closed);
}

// A failed reset raises before the close is tried; a failed close raises; both leave it open.
TEST_F(MidiOutTest, FailedResetOrCloseRaisesAndStaysOpen) {
    Platform.ErrorTexts[300] = "Port jammed";
    struct Case {
        std::uint16_t TRecordingMidiPlatform::*Switch;
        std::vector<std::string> Calls;
    };
    for (const Case& c :
         {Case{&TRecordingMidiPlatform::ResetResult, {"Reset", "ErrorText 300"}},
          Case{&TRecordingMidiPlatform::CloseResult, {"Reset", "Close", "ErrorText 300"}}}) {
        OpenPort(0);
        const TMidiHandle handle = Out->Handle();
        Platform.*c.Switch = 300;
        const std::size_t before = Platform.Calls().size();
        EXPECT_EQ(RaisedText([&] { Out->Close(); }), "Port jammed");
        EXPECT_EQ(CallsFrom(Platform, before), c.Calls);
        EXPECT_EQ(Out->State(), TMidiOutputState::Open);
        EXPECT_EQ(Out->Handle(), handle);
        EXPECT_EQ(Out->LastError(), 300);
        Platform.*c.Switch = 0;
        Out->Close();
    }
}

// A code the platform has no text for reads "Specified error number is out of range".
TEST_F(MidiOutTest, ErrorTextFallsBackForUnknownCodes) {
    EXPECT_EQ(Out->ErrorText(MidiResult::InvalidParam), "Invalid MIDI message");
    EXPECT_EQ(Out->ErrorText(999), "Specified error number is out of range");
    OpenPort(0);
    Platform.ResetResult = 999;
    EXPECT_EQ(RaisedText([&] { Out->Close(); }), "Specified error number is out of range");
    Platform.ResetResult = 0;
}

// Destroying an open component resets and closes the port, even when the reset fails.
TEST_F(MidiOutTest, DestroyingAnOpenComponentClosesThePort) {
    for (const std::uint16_t resetResult : {std::uint16_t{0}, std::uint16_t{300}}) {
        Out = std::make_unique<TMidiOutput>(Platform);
        OpenPort(0);
        const TMidiHandle handle = Out->Handle();
        Platform.ResetResult = resetResult;
        const std::size_t before = Platform.Calls().size();
        EXPECT_NO_THROW(Out.reset());
        const auto calls = CallsFrom(Platform, before);
        EXPECT_EQ(calls.front(), "Reset");
        EXPECT_EQ(calls.back(), "Close");
        EXPECT_FALSE(Platform.IsOpen(handle));
        Platform.ResetResult = 0;
    }
}

// SendEvent raises on a closed port; open, it sends the long message if the event has one,
// else the short message.
TEST_F(MidiOutTest, SendEventNeedsAnOpenPortAndPicksTheMessage) {
    TMidiEvent ev;
    ev.Status = 0x93;
    ev.Data1 = 70;
    ev.Data2 = 127;
    EXPECT_EQ(RaisedText([&] { Out->SendEvent(ev); }), "MIDI Output device not open");
    EXPECT_TRUE(Platform.Calls().empty() || Platform.Calls().back() != "ShortMsg");
    OpenPort(0);
    Out->SendEvent(ev);
    ASSERT_EQ(Platform.Shorts().size(), 1u);
    EXPECT_EQ(Platform.Shorts()[0], (TRecordingMidiPlatform::TShortMsg{0x93, 70, 127}));
    const std::array<std::uint8_t, 6> sysex{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    ev.Sysex = sysex.data();
    ev.Length = sysex.size();
    Out->SendEvent(ev);
    ASSERT_EQ(Platform.Longs().size(), 1u);
    EXPECT_EQ(Platform.Longs()[0], std::vector<std::uint8_t>(sysex.begin(), sysex.end()));
    EXPECT_EQ(Platform.Shorts().size(), 1u);
}

// A long message is copied, prepared and sent at once; the completion notice comes later on
// the component's thread, once per buffer, after the port has finished with it.
TEST_F(MidiOutTest, LongMessageCompletesThroughTheEventLoop) {
    OpenPort(0);
    int notices = 0;
    Out->SetOnmidioutput([&](TMidiOutput& sender) {
        EXPECT_EQ(&sender, Out.get());
        ++notices;
    });
    Platform.HoldLongs = true;
    std::array<std::uint8_t, 4> data{0xF0, 0x01, 0x02, 0xF7};
    Out->SendLong(data.data(), data.size());
    data.fill(0); // the component sent its own copy
    const std::size_t sent = Platform.Calls().size();
    EXPECT_EQ(Platform.Calls()[sent - 2], "PrepareHeader");
    EXPECT_EQ(Platform.Calls()[sent - 1], "LongMsg");
    ProcessEvents();
    EXPECT_EQ(notices, 0); // the port still holds it

    Platform.CompleteLongs();
    EXPECT_EQ(notices, 0); // the notice waits for the event loop
    ProcessEvents();
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(Platform.Calls().back(), "UnprepareHeader");
    EXPECT_EQ(Platform.Longs()[0], (std::vector<std::uint8_t>{0xF0, 0x01, 0x02, 0xF7}));

    // A port that finishes within the send still notifies through the event loop.
    Platform.HoldLongs = false;
    Out->SendLong(data.data(), 2);
    EXPECT_EQ(notices, 1);
    ProcessEvents();
    EXPECT_EQ(notices, 2);
}

// Buffers still held at Close are returned by the reset and released; nothing is left over.
TEST_F(MidiOutTest, CloseReturnsHeldBuffers) {
    OpenPort(0);
    int notices = 0;
    Out->SetOnmidioutput([&](TMidiOutput&) { ++notices; });
    Platform.HoldLongs = true;
    const std::uint8_t data[2] = {0xF0, 0xF7};
    Out->SendLong(data, 2);
    Out->Close();
    ProcessEvents();
    EXPECT_EQ(notices, 1);
    // Destroying with a buffer in flight releases it without a notice.
    OpenPort(0);
    Out->SendLong(data, 2);
    Out.reset();
    ProcessEvents();
    EXPECT_EQ(notices, 1);
}

// A refused prepare or send raises the code's text and sends no notice; an empty message is
// refused as an invalid parameter.
TEST_F(MidiOutTest, FailedLongMessageRaisesWithoutNotice) {
    OpenPort(0);
    int notices = 0;
    Out->SetOnmidioutput([&](TMidiOutput&) { ++notices; });
    const std::uint8_t data[2] = {0xF0, 0xF7};
    Platform.PrepareResult = MidiResult::Unprepared;
    EXPECT_EQ(RaisedText([&] { Out->SendLong(data, 2); }), "MIDI header not prepared");
    Platform.PrepareResult = 0;
    Platform.LongResult = MidiResult::Error;
    EXPECT_EQ(RaisedText([&] { Out->SendLong(data, 2); }), "Unspecified MIDI error");
    EXPECT_EQ(Out->LastError(), MidiResult::Error);
    Platform.LongResult = 0;
    EXPECT_EQ(RaisedText([&] { Out->SendLong(data, 0); }), "Invalid MIDI message");
    ProcessEvents();
    EXPECT_EQ(notices, 0);
    EXPECT_TRUE(Platform.Longs().empty());
    // SendLong does not test the state: a closed port refuses it.
    Out->Close();
    EXPECT_EQ(RaisedText([&] { Out->SendLong(data, 2); }), "Not an open MIDI port");
}

// A buffer header points at its zero-filled data; size 0 allocates nothing.
TEST(MyMidiHdrTest, WrapsHeaderAndData) {
    const TMyMidiHdr empty(0);
    EXPECT_EQ(empty.Header(), nullptr);
    EXPECT_EQ(empty.Data(), nullptr);
    const TMyMidiHdr hdr(5);
    ASSERT_NE(hdr.Header(), nullptr);
    EXPECT_EQ(hdr.Header()->Data, hdr.Data());
    EXPECT_EQ(hdr.Header()->BufferLength, 5u);
    EXPECT_TRUE(std::all_of(hdr.Data(), hdr.Data() + 5, [](std::uint8_t b) { return b == 0; }));
}
