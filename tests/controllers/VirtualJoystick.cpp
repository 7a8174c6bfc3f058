#include "VirtualJoystick.h"

#include <gtest/gtest.h>

VirtualJoystick VirtualJoystick::gamepad(const std::string& name) {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    return VirtualJoystick(desc, name);
}

VirtualJoystick VirtualJoystick::plain(int buttons, int hats, int axes, const std::string& name) {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.type = SDL_JOYSTICK_TYPE_ARCADE_STICK;
    desc.nbuttons = static_cast<Uint16>(buttons);
    desc.nhats = static_cast<Uint16>(hats);
    desc.naxes = static_cast<Uint16>(axes);
    return VirtualJoystick(desc, name);
}

VirtualJoystick::VirtualJoystick(const SDL_VirtualJoystickDesc& desc, std::string name)
    : desc(desc), name(std::move(name)) {
    this->desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    attach();
}

VirtualJoystick::VirtualJoystick(VirtualJoystick&& other) noexcept
    : desc(other.desc), name(std::move(other.name)), handle(other.handle) {
    other.handle = nullptr;
}

VirtualJoystick::~VirtualJoystick() {
    detach();
}

void VirtualJoystick::attach() {
    if (handle) return;
    desc.name = name.c_str();
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    handle = SDL_JoystickOpen(index);
    ASSERT_NE(handle, nullptr) << SDL_GetError();
}

void VirtualJoystick::detach() {
    if (!handle) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(handle);
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
        if (SDL_JoystickGetDeviceInstanceID(index) == id) SDL_JoystickDetachVirtual(index);
    SDL_JoystickClose(handle);
    handle = nullptr;
}

void VirtualJoystick::setButton(int button, bool down) {
    ASSERT_EQ(SDL_JoystickSetVirtualButton(handle, button, down ? 1 : 0), 0) << SDL_GetError();
}

void VirtualJoystick::setHat(int hat, Uint8 value) {
    ASSERT_EQ(SDL_JoystickSetVirtualHat(handle, hat, value), 0) << SDL_GetError();
}

void VirtualJoystick::setAxis(int axis, Sint16 value) {
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(handle, axis, value), 0) << SDL_GetError();
}
