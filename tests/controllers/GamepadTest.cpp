#include "ControllerRecorder.h"
#include "VirtualJoystick.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <signal.h>

using Presses = std::vector<CabinetButton>;

class GamepadTest : public ControllerTest {};

// Face buttons answer A-D by colour (right red, bottom green, left blue, top yellow), Start
// presses START, either shoulder presses STOP, every other button presses nothing; the
// joystick mapping (button 0 is A by default) does not press anything on top.
TEST_F(GamepadTest, EachButtonReachesItsCabinetButton) {
    VirtualJoystick pad = VirtualJoystick::gamepad("Test pad");
    rec.settle();
    ASSERT_EQ(rec.input.connectedNames(), QStringList{QStringLiteral("Test pad")});

    const struct {
        SDL_GameControllerButton padButton;
        std::optional<CabinetButton> expected;
    } cases[] = {
        {SDL_CONTROLLER_BUTTON_B, CabinetButton::A},
        {SDL_CONTROLLER_BUTTON_A, CabinetButton::B},
        {SDL_CONTROLLER_BUTTON_X, CabinetButton::C},
        {SDL_CONTROLLER_BUTTON_Y, CabinetButton::D},
        {SDL_CONTROLLER_BUTTON_START, CabinetButton::Start},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, CabinetButton::Stop},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, CabinetButton::Stop},
        {SDL_CONTROLLER_BUTTON_BACK, std::nullopt},
        {SDL_CONTROLLER_BUTTON_GUIDE, std::nullopt},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, std::nullopt},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SDL_GameControllerGetStringForButton(c.padButton));
        pad.press(c.padButton);
        rec.poll();
        EXPECT_EQ(rec.takePresses(), c.expected ? Presses{*c.expected} : Presses{});
        pad.release(c.padButton);
        rec.poll();
        EXPECT_TRUE(rec.takePresses().empty()) << "a release pressed something";
    }
}

// A controller plugged in, out and in again is taken up and let go without a restart, also
// when it goes while a button is held; the poll runs quickly only while one is connected.
TEST_F(GamepadTest, HotPlugAttachDetachAttachAgain) {
    std::vector<QString> log;
    QObject::connect(&rec.input, &ControllerInput::deviceConnected,
                     [&](const QString& name) { log.push_back(QStringLiteral("+") + name); });
    QObject::connect(&rec.input, &ControllerInput::deviceDisconnected,
                     [&](const QString& name) { log.push_back(QStringLiteral("-") + name); });
    rec.settle();
    EXPECT_EQ(rec.pollTimerInterval(), ControllerInput::hotplugInterval);

    VirtualJoystick pad = VirtualJoystick::gamepad("Pad");
    rec.clock.advance(ControllerInput::hotplugInterval - 1);
    EXPECT_TRUE(rec.input.connectedNames().isEmpty()) << "noticed before the idle poll";
    rec.clock.advance(1);
    EXPECT_EQ(rec.input.connectedNames(), QStringList{QStringLiteral("Pad")});
    EXPECT_EQ(rec.pollTimerInterval(), ControllerInput::pollInterval);

    pad.press(SDL_CONTROLLER_BUTTON_START);
    rec.poll();
    EXPECT_EQ(rec.takePresses(), Presses{CabinetButton::Start});

    // Unplugged while START is still held.
    pad.detach();
    rec.poll();
    EXPECT_TRUE(rec.input.connectedNames().isEmpty());
    EXPECT_EQ(rec.pollTimerInterval(), ControllerInput::hotplugInterval);

    pad.attach();
    rec.settle();
    EXPECT_EQ(rec.input.connectedNames(), QStringList{QStringLiteral("Pad")});
    for (auto button : {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_Y}) {
        pad.press(button);
        rec.poll();
        pad.release(button);
        rec.poll();
    }
    EXPECT_EQ(rec.takePresses(), (Presses{CabinetButton::Start, CabinetButton::D}));
    EXPECT_EQ(log, (std::vector<QString>{QStringLiteral("+Pad"), QStringLiteral("-Pad"),
                                         QStringLiteral("+Pad")}));
}

// Two controllers both play; buttons pressed together each count once; a storm of presses,
// many of them queued between two polls, loses none and leaves no button stuck; events that
// are not the controllers' are drained so they never fill SDL's queue.
TEST_F(GamepadTest, StormAndTwoButtonsAtOnceGetNothingStuck) {
    VirtualJoystick first = VirtualJoystick::gamepad("First");
    VirtualJoystick second = VirtualJoystick::gamepad("Second");
    rec.settle();
    ASSERT_EQ(rec.input.connectedNames().size(), 2);

    // Two at once on one controller, and one on each.
    first.press(SDL_CONTROLLER_BUTTON_B);
    first.press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    second.press(SDL_CONTROLLER_BUTTON_X);
    rec.poll();
    Presses together = rec.takePresses();
    std::sort(together.begin(), together.end());
    EXPECT_EQ(together, (Presses{CabinetButton::A, CabinetButton::C, CabinetButton::Stop}));

    // STOP stays held on the first controller through the storm; each press of the storm
    // is taken up by SDL (pumped) but only read by the program every 50 presses.
    constexpr int stormPresses = 600;
    const SDL_GameControllerButton stormButtons[] = {
        SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_START};
    first.release(SDL_CONTROLLER_BUTTON_B);
    second.release(SDL_CONTROLLER_BUTTON_X);
    rec.poll();
    rec.takePresses();
    for (int i = 0; i < stormPresses; ++i) {
        VirtualJoystick& pad = i % 2 ? second : first;
        const SDL_GameControllerButton button = stormButtons[i % 3];
        pad.press(button);
        SDL_PumpEvents();
        pad.release(button);
        SDL_PumpEvents();
        if (i % 50 == 49) rec.poll();
    }
    const CabinetButton stormExpected[] = {CabinetButton::B, CabinetButton::D,
                                           CabinetButton::Start};
    const Presses storm = rec.takePresses();
    ASSERT_EQ(storm.size(), static_cast<std::size_t>(stormPresses));
    for (int i = 0; i < stormPresses; ++i)
        EXPECT_EQ(storm[i], stormExpected[i % 3]) << "press " << i;

    // Foreign events left in the queue are taken away with the controllers' own.
    SDL_Event foreign;
    SDL_zero(foreign);
    foreign.type = SDL_USEREVENT;
    for (int i = 0; i < 1000; ++i)
        SDL_PushEvent(&foreign);
    rec.poll();
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 0);

    // Afterwards every button still presses once; the held one again after its release.
    first.release(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    rec.poll();
    for (auto button : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_X,
                        SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_START,
                        SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_LEFTSHOULDER}) {
        second.press(button);
        rec.poll();
        second.release(button);
        rec.poll();
    }
    EXPECT_EQ(rec.takePresses(),
              (Presses{CabinetButton::A, CabinetButton::B, CabinetButton::C, CabinetButton::D,
                       CabinetButton::Start, CabinetButton::Stop, CabinetButton::Stop}));
}

// Reading controllers leaves Ctrl+C and termination to the program: SDL installs no signal
// handlers of its own that would turn them into events nobody reads.
TEST(ControllerRulesTest, SignalsStayWithTheProgram) {
    struct sigaction before[2], after[2];
    const int watched[] = {SIGINT, SIGTERM};
    for (int i = 0; i < 2; ++i)
        sigaction(watched[i], nullptr, &before[i]);
    {
        ManualClock clock;
        ControllerInput input(clock);
        ASSERT_TRUE(input.available());
        for (int i = 0; i < 2; ++i)
            sigaction(watched[i], nullptr, &after[i]);
    }
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(after[i].sa_handler, before[i].sa_handler) << "signal " << watched[i];
}
