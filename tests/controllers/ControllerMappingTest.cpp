#include "AxisEdge.h"
#include "ControllerRecorder.h"
#include "ControlsCapture.h"
#include "ControlsSettings.h"
#include "TestSettings.h"
#include "VirtualJoystick.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using Presses = std::vector<CabinetButton>;

class ControllerMappingTest : public ControllerTest {};

namespace {
void writeOptionsFile(const TestSettingsFolder& folder, const QByteArray& text) {
    QFile file(folder.optionsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray readOptionsFile(const TestSettingsFolder& folder) {
    QFile file(folder.optionsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A mapping that uses every kind of input.
JoystickMapping mixedMapping() {
    JoystickMapping mapping;
    mapping.setInput(CabinetButton::A, JoystickInput::button(7));
    mapping.setInput(CabinetButton::B, JoystickInput::hat(0, JoystickInput::HatUp));
    mapping.setInput(CabinetButton::C, JoystickInput::axis(1, +1));
    mapping.setInput(CabinetButton::D, JoystickInput::axis(1, -1));
    mapping.setInput(CabinetButton::Start, JoystickInput::button(0));
    mapping.setInput(CabinetButton::Stop, JoystickInput::axis(2, +1));
    return mapping;
}
} // namespace

// The stored forms of controller inputs read back as written, tolerate blanks and case, and
// anything else is refused.
TEST(ControllerRulesTest, InputTextFormsReadStrictly) {
    const struct {
        const char* text;
        const char* readAs; // nullptr: refused
    } cases[] = {
        {"button:3", "button:3"},
        {" Button:12 ", "button:12"},
        {"button:1023", "button:1023"},
        {"hat:0:up", "hat:0:up"},
        {"HAT:1:Left", "hat:1:left"},
        {"hat:2:down", "hat:2:down"},
        {"hat:0:right", "hat:0:right"},
        {"axis:1:+", "axis:1:+"},
        {"axis:0:-", "axis:0:-"},
        {"", nullptr},
        {"button", nullptr},
        {"button:", nullptr},
        {"button:-1", nullptr},
        {"button:+3", nullptr},
        {"button: 3", nullptr},
        {"button:1024", nullptr},
        {"button:0x3", nullptr},
        {"button:3:up", nullptr},
        {"hat:0", nullptr},
        {"hat:0:north", nullptr},
        {"hat:0:up:1", nullptr},
        {"axis:1", nullptr},
        {"axis:1:*", nullptr},
        {"key:3", nullptr},
        {"button:99999999999", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<JoystickInput> input =
            JoystickInput::fromText(QString::fromUtf8(c.text));
        if (!c.readAs) {
            EXPECT_FALSE(input) << c.text;
            continue;
        }
        ASSERT_TRUE(input) << c.text;
        EXPECT_EQ(input->toText().toStdString(), c.readAs);
    }
}

// A mapping stored in Trivora.conf's [Controls] reads back and plays a plain joystick:
// buttons, hat directions and both ends of an axis press their cabinet buttons; a wobble near
// the edge presses once; inputs outside the mapping press nothing. Without a stored mapping the
// defaults play.
TEST_F(ControllerMappingTest, StoredMappingPlaysAPlainJoystick) {
    TestSettingsFolder folder;
    {
        const ControlsSettings::Loaded none = ControlsSettings::load();
        EXPECT_EQ(none.mapping, JoystickMapping());
        EXPECT_TRUE(none.message.isEmpty());
    }
    ASSERT_TRUE(ControlsSettings::save(mixedMapping()));
    const QByteArray stored = readOptionsFile(folder);
    EXPECT_TRUE(stored.contains("[Controls]")) << stored.constData();
    EXPECT_TRUE(stored.contains("START=button:0")) << stored.constData();
    const ControlsSettings::Loaded loaded = ControlsSettings::load();
    EXPECT_TRUE(loaded.message.isEmpty()) << loaded.message.toStdString();
    ASSERT_EQ(loaded.mapping, mixedMapping());

    rec.input.setMapping(loaded.mapping);
    VirtualJoystick board = VirtualJoystick::plain(8, 1, 3);
    rec.settle();
    ASSERT_EQ(rec.input.connectedNames().size(), 1);

    const auto step = [&](auto&& change) {
        change();
        rec.poll();
    };
    step([&] { board.press(7); });
    step([&] { board.release(7); });
    step([&] { board.press(3); }); // not in the mapping
    step([&] { board.release(3); });
    step([&] { board.setHat(0, SDL_HAT_UP); });
    step([&] { board.setHat(0, SDL_HAT_RIGHTUP); });
    step([&] { board.setHat(0, SDL_HAT_CENTERED); });
    step([&] { board.setAxis(1, 30000); });
    step([&] { board.setAxis(1, 12000); }); // wobble: not back at rest
    step([&] { board.setAxis(1, 20000); });
    step([&] { board.setAxis(1, 0); });
    step([&] { board.setAxis(1, -30000); });
    step([&] { board.setAxis(1, 0); });
    step([&] { board.setAxis(2, SDL_JOYSTICK_AXIS_MAX); });
    step([&] { board.setAxis(2, 0); });
    step([&] { board.press(0); });
    step([&] { board.release(0); });
    EXPECT_EQ(rec.takePresses(),
              (Presses{CabinetButton::A, CabinetButton::B, CabinetButton::C, CabinetButton::D,
                       CabinetButton::Stop, CabinetButton::Start}));
    const std::vector<JoystickInput> inputs = rec.takeInputs();
    ASSERT_EQ(inputs.size(), 8u);
    EXPECT_EQ(inputs[1], JoystickInput::button(3));
    EXPECT_EQ(inputs[3], JoystickInput::hat(0, JoystickInput::HatRight));

    // Back to the defaults: buttons 0-3 answer A-D, 4 is STOP, 5 is START.
    rec.input.setMapping(JoystickMapping());
    for (int button = 0; button < 6; ++button) {
        step([&] { board.press(button); });
        step([&] { board.release(button); });
    }
    EXPECT_EQ(rec.takePresses(),
              (Presses{CabinetButton::A, CabinetButton::B, CabinetButton::C, CabinetButton::D,
                       CabinetButton::Stop, CabinetButton::Start}));
}

// An axis presses when pushed past the edge into a direction, once however it wobbles there;
// an axis resting at one end (a trigger) presses only at the other end, not on its way back.
TEST(ControllerRulesTest, AxisPressesOncePerPushAwayFromRest) {
    const struct {
        int rest;
        std::vector<int> values;
        std::vector<int> presses;
    } cases[] = {
        {0, {30000, 0, -30000, 0}, {1, -1}},
        {0, {16383, -16383}, {}},
        {0, {16384, 0, -16384}, {1, -1}},
        {0, {30000, 12000, 20000, 8192, 16384, 8191, 16384}, {1, 1}},
        {0, {30000, -30000}, {1, -1}},
        {-32768, {-32768, 0, 32767, 0, -32768, 32767}, {1, 1}},
        {32767, {32767, -32768, 32767}, {-1}},
    };
    for (const auto& c : cases) {
        AxisEdge axis(c.rest);
        std::vector<int> presses;
        for (int value : c.values)
            if (const int direction = axis.press(value)) presses.push_back(direction);
        EXPECT_EQ(presses, c.presses) << "rest " << c.rest << ", " << c.values.size() << " values";
    }
}

// A damaged [Controls] group gives the default mapping and a message naming the fault,
// and leaves the stored text for the player to set again.
TEST(ControllerRulesTest, DamagedMappingFallsBackToDefaultsWithAMessage) {
    const QByteArray complete = "A=button:7\nB=button:6\nC=button:5\nD=button:4\n";
    const struct {
        const char* why;
        QByteArray controls;
        const char* named; // a part of the message
    } cases[] = {
        {"a key missing", complete + "START=button:3\n", "STOP is missing"},
        {"unreadable input", complete + "START=button:3\nSTOP=button:x\n", "STOP=button:x"},
        {"empty input", complete + "START=\nSTOP=button:2\n", "START="},
        {"two buttons on one input", complete + "START=button:3\nSTOP=button:7\n",
         "STOP shares button:7"},
        {"a device kind that is none", complete + "START=button:3\nSTOP=button:2\nDevice=pad\n",
         "Device=pad"},
        {"a list", complete + "START=button:3, button:2\nSTOP=button:1\n", "START="},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        TestSettingsFolder folder;
        const QByteArray text = "[Options]\nPlaySound=YES\n\n[Controls]\n" + c.controls;
        writeOptionsFile(folder, text);
        const ControlsSettings::Loaded loaded = ControlsSettings::load();
        EXPECT_EQ(loaded.mapping, JoystickMapping());
        EXPECT_TRUE(loaded.message.contains(QStringLiteral("Trivora.conf")));
        EXPECT_TRUE(loaded.message.contains(QString::fromUtf8(c.named)))
            << loaded.message.toStdString();
        EXPECT_EQ(readOptionsFile(folder), text);
    }
}

// Setting up controls asks for A, B, C, D, START and STOP in turn on one device, refuses an
// input already taken and presses on another device, presses no cabinet button while asking
// (the last press included, and game controllers too), then plays with the new mapping and
// stores it.
TEST_F(ControllerMappingTest, ControllerCaptureAsksForEachButtonAndStoresTheMapping) {
    TestSettingsFolder folder;
    ControlsCapture capture(rec.input);
    std::vector<CabinetButton> asked;
    QStringList refused, finished;
    QObject::connect(&capture, &ControlsCapture::waitingForChanged,
                     [&](CabinetButton button) { asked.push_back(button); });
    QObject::connect(&capture, &ControlsCapture::rejected,
                     [&](const QString& message) { refused.append(message); });
    QObject::connect(&capture, &ControlsCapture::finished,
                     [&](const QString& message) { finished.append(message); });
    VirtualJoystick board = VirtualJoystick::plain(8, 1, 2);
    VirtualJoystick pad = VirtualJoystick::gamepad();
    rec.settle();

    const auto tap = [&](int button) {
        board.press(button);
        rec.poll();
        board.release(button);
        rec.poll();
    };
    EXPECT_FALSE(capture.waitingFor());
    capture.start();
    EXPECT_EQ(capture.waitingFor(), CabinetButton::A);
    tap(6);
    tap(6); // refused: already A
    EXPECT_EQ(refused.size(), 1);
    EXPECT_TRUE(refused.value(0).contains(QStringLiteral("for A")))
        << refused.value(0).toStdString();
    EXPECT_EQ(capture.waitingFor(), CabinetButton::B);
    pad.press(SDL_CONTROLLER_BUTTON_START); // refused: not the device A was pressed on
    rec.poll();
    EXPECT_EQ(capture.waitingFor(), CabinetButton::B);
    ASSERT_EQ(refused.size(), 2);
    EXPECT_TRUE(refused[1].contains(QStringLiteral("pressed A on"))) << refused[1].toStdString();
    board.setHat(0, SDL_HAT_LEFT);
    rec.poll();
    board.setHat(0, SDL_HAT_CENTERED);
    tap(0);
    tap(1);
    tap(2);
    EXPECT_EQ(capture.waitingFor(), CabinetButton::Stop);
    EXPECT_TRUE(finished.isEmpty());
    board.setAxis(0, 30000);
    rec.poll();
    board.setAxis(0, 0);
    rec.poll();

    EXPECT_EQ(asked,
              (std::vector<CabinetButton>(allCabinetButtons.begin(), allCabinetButtons.end())));
    EXPECT_EQ(finished, QStringList{QString()});
    EXPECT_FALSE(capture.waitingFor());
    EXPECT_FALSE(rec.input.capturing());
    EXPECT_TRUE(rec.takePresses().empty()) << "a press reached the game while asking";

    JoystickMapping expected;
    expected.setInput(CabinetButton::A, JoystickInput::button(6));
    expected.setInput(CabinetButton::B, JoystickInput::hat(0, JoystickInput::HatLeft));
    expected.setInput(CabinetButton::C, JoystickInput::button(0));
    expected.setInput(CabinetButton::D, JoystickInput::button(1));
    expected.setInput(CabinetButton::Start, JoystickInput::button(2));
    expected.setInput(CabinetButton::Stop, JoystickInput::axis(0, +1));
    EXPECT_EQ(rec.input.mapping().device().size(), 32);
    expected.setDevice(rec.input.mapping().device());
    EXPECT_EQ(rec.input.mapping(), expected);
    EXPECT_EQ(ControlsSettings::load().mapping, expected);
    tap(6);
    tap(2);
    pad.release(SDL_CONTROLLER_BUTTON_START);
    rec.poll();
    pad.press(SDL_CONTROLLER_BUTTON_START);
    rec.poll();
    EXPECT_EQ(rec.takePresses(),
              (Presses{CabinetButton::A, CabinetButton::Start, CabinetButton::Start}));

    // Cancelled half-way: nothing changes, and presses play again.
    capture.start();
    tap(3);
    capture.cancel();
    EXPECT_FALSE(rec.input.capturing());
    EXPECT_EQ(rec.input.mapping(), expected);
    EXPECT_EQ(ControlsSettings::load().mapping, expected);
    tap(6);
    EXPECT_EQ(rec.takePresses(), Presses{CabinetButton::A});
}

// A game controller set up by the player (as encoder boards that pass for game controllers
// need) plays by the player's buttons from then on, like every controller of its kind, also
// when plugged in later or stored and read at start; other kinds keep their layout, and the
// default mapping gives the layout back.
TEST_F(ControllerMappingTest, GamepadSetUpByThePlayerPlaysByTheMapping) {
    TestSettingsFolder folder;
    VirtualJoystick board = VirtualJoystick::gamepad("Encoder board");
    VirtualJoystick pad = VirtualJoystick::gamepad("Other pad");
    rec.settle();
    ControlsCapture capture(rec.input);
    capture.start();
    // The board's buttons in the order they are wired to the panel's A, B, C, D, START, STOP.
    const SDL_GameControllerButton wired[] = {
        SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_A,
        SDL_CONTROLLER_BUTTON_B,       SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_X};
    const auto tap = [&](VirtualJoystick& device, SDL_GameControllerButton button) {
        device.press(button);
        rec.poll();
        device.release(button);
        rec.poll();
    };
    for (auto button : wired)
        tap(board, button);
    ASSERT_FALSE(capture.waitingFor());
    EXPECT_TRUE(rec.takePresses().empty());

    const Presses panel{CabinetButton::A, CabinetButton::B,     CabinetButton::C,
                        CabinetButton::D, CabinetButton::Start, CabinetButton::Stop};
    const auto pressAll = [&](VirtualJoystick& device) {
        for (auto button : wired)
            tap(device, button);
        return rec.takePresses();
    };
    EXPECT_EQ(pressAll(board), panel);
    // The other kind keeps its layout: only A (green, B) and X (blue, C) press anything.
    EXPECT_EQ(pressAll(pad), (Presses{CabinetButton::B, CabinetButton::A, CabinetButton::C}));
    VirtualJoystick second = VirtualJoystick::gamepad("Encoder board");
    rec.settle();
    EXPECT_EQ(pressAll(second), panel);

    // Read at start: a new program takes the stored mapping before any device shows up.
    const ControlsSettings::Loaded loaded = ControlsSettings::load();
    ASSERT_TRUE(loaded.message.isEmpty()) << loaded.message.toStdString();
    EXPECT_EQ(loaded.mapping, rec.input.mapping());
    board.detach();
    second.detach();
    rec.input.setMapping(JoystickMapping());
    board.attach();
    rec.settle();
    EXPECT_EQ(pressAll(board), (Presses{CabinetButton::B, CabinetButton::A, CabinetButton::C}));
    rec.input.setMapping(loaded.mapping);
    EXPECT_EQ(pressAll(board), panel);
}

// When Trivora.conf cannot be written, setting up controls still plays with the new mapping
// and says that it was not stored.
TEST_F(ControllerMappingTest, ControllerCaptureReportsAStoreThatRefusesTheWrite) {
    TestSettingsFolder folder;
    ASSERT_TRUE(QDir().mkpath(folder.optionsFile())); // a folder where the file should be
    ControlsCapture capture(rec.input);
    QStringList finished;
    QObject::connect(&capture, &ControlsCapture::finished,
                     [&](const QString& message) { finished.append(message); });
    VirtualJoystick board = VirtualJoystick::plain(8, 0, 0);
    rec.settle();
    capture.start();
    for (int button : {5, 4, 3, 2, 1, 0}) {
        board.press(button);
        rec.poll();
        board.release(button);
        rec.poll();
    }
    ASSERT_EQ(finished.size(), 1);
    EXPECT_TRUE(finished[0].contains(QStringLiteral("could not be stored")))
        << finished[0].toStdString();
    EXPECT_EQ(rec.input.mapping().input(CabinetButton::A), JoystickInput::button(5));
}
