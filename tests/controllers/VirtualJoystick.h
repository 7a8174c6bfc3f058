#pragma once

#include <SDL.h>

#include <string>

// A joystick made up inside SDL, seen by the program like one plugged in: either a game
// controller with the standard layout (its buttons numbered like SDL's controller buttons)
// or a plain joystick with the given buttons, hats and axes. Needs SDL's joystick support
// started (a ControllerInput does that). Attached when made, detached when it goes.
class VirtualJoystick {
public:
    static VirtualJoystick gamepad(const std::string& name = "Virtual gamepad");
    static VirtualJoystick plain(int buttons, int hats, int axes,
                                 const std::string& name = "Virtual encoder board");
    VirtualJoystick(VirtualJoystick&& other) noexcept;
    VirtualJoystick(const VirtualJoystick&) = delete;
    VirtualJoystick& operator=(const VirtualJoystick&) = delete;
    ~VirtualJoystick();

    // Plugs the device in (again); unplugs it.
    void attach();
    void detach();
    bool attached() const { return handle != nullptr; }

    // New values reach the program at its next poll.
    void setButton(int button, bool down);
    void press(int button) { setButton(button, true); }
    void release(int button) { setButton(button, false); }
    void setHat(int hat, Uint8 value);
    void setAxis(int axis, Sint16 value);

private:
    explicit VirtualJoystick(const SDL_VirtualJoystickDesc& desc, std::string name);

    SDL_VirtualJoystickDesc desc;
    std::string name;
    SDL_Joystick* handle = nullptr;
};
