#include "ControllerInput.h"

#include "AxisEdge.h"

#include "Timer.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {
// Events taken from SDL's queue at a time.
constexpr int eventBatch = 64;

// Face buttons go by position (SDL names them after the common layout); see the class comment.
std::optional<CabinetButton> padButton(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_B:
        return CabinetButton::A;
    case SDL_CONTROLLER_BUTTON_A:
        return CabinetButton::B;
    case SDL_CONTROLLER_BUTTON_X:
        return CabinetButton::C;
    case SDL_CONTROLLER_BUTTON_Y:
        return CabinetButton::D;
    case SDL_CONTROLLER_BUTTON_START:
        return CabinetButton::Start;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return CabinetButton::Stop;
    default:
        return std::nullopt;
    }
}

// SDL events this class has no use for, turned off so that they never fill the queue.
constexpr std::array<Uint32, 6> unusedEvents{
    SDL_CONTROLLERAXISMOTION,     SDL_CONTROLLERSENSORUPDATE, SDL_CONTROLLERTOUCHPADDOWN,
    SDL_CONTROLLERTOUCHPADMOTION, SDL_CONTROLLERTOUCHPADUP,   SDL_JOYBALLMOTION};

// The text form of the kind of device at that index (SDL's GUID, 32 hex digits).
QString deviceKind(int deviceIndex) {
    char text[33] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(deviceIndex), text, sizeof text);
    return QString::fromLatin1(text);
}

// The current index of the device with that instance, or -1.
int deviceIndexOf(SDL_JoystickID id) {
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
        if (SDL_JoystickGetDeviceInstanceID(index) == id) return index;
    return -1;
}

// One connected device: a game controller with a known layout, or a device read through the
// mapping (a plain joystick, or a game controller of the kind the mapping was set up on).
struct Device {
    SDL_JoystickID id = -1;
    QString name;
    QString kind;
    SDL_GameController* pad = nullptr;
    SDL_Joystick* stick = nullptr;
    // The last value of each hat, and each axis once it has moved.
    std::vector<Uint8> hats;
    std::vector<std::optional<AxisEdge>> axes;

    Device() = default;
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    ~Device() {
        if (pad) SDL_GameControllerClose(pad);
        if (stick) SDL_JoystickClose(stick);
    }

    bool byMapping() const { return stick != nullptr; }
    SDL_Joystick* joystick() const { return pad ? SDL_GameControllerGetJoystick(pad) : stick; }
};

// Opens the device at that index, as a game controller unless SDL knows no layout for it or
// it is of the mapped kind.
std::unique_ptr<Device> openDevice(int deviceIndex, const QString& mappedKind) {
    auto device = std::make_unique<Device>();
    device->kind = deviceKind(deviceIndex);
    if (SDL_IsGameController(deviceIndex) && device->kind != mappedKind)
        device->pad = SDL_GameControllerOpen(deviceIndex);
    if (!device->pad) device->stick = SDL_JoystickOpen(deviceIndex);
    SDL_Joystick* joystick = device->joystick();
    if (!joystick) return nullptr;
    device->id = SDL_JoystickInstanceID(joystick);
    device->name = QString::fromUtf8(device->pad ? SDL_GameControllerName(device->pad)
                                                 : SDL_JoystickName(joystick));
    device->hats.resize(std::max(SDL_JoystickNumHats(joystick), 0));
    for (std::size_t i = 0; i < device->hats.size(); ++i)
        device->hats[i] = SDL_JoystickGetHat(joystick, static_cast<int>(i));
    device->axes.resize(std::max(SDL_JoystickNumAxes(joystick), 0));
    return device;
}
} // namespace

struct ControllerInput::Private {
    ControllerInput& q;
    bool available = false;
    QString errorText;
    JoystickMapping mapping;
    bool capturing = false;
    std::vector<std::unique_ptr<Device>> devices;
    Timer pollTimer;

    Private(ControllerInput& owner, Clock& clock)
        : q(owner),
          pollTimer(clock, "controllerPoll", hotplugInterval, false, 0, [this] { q.poll(); }) {}

    Device* find(SDL_JoystickID id) const {
        for (const auto& device : devices)
            if (device->id == id) return device.get();
        return nullptr;
    }

    void handle(const SDL_Event& event);
    void deviceAdded(int deviceIndex);
    void deviceRemoved(SDL_JoystickID id);
    void reopenForMapping();
    void padButtonDown(const SDL_ControllerButtonEvent& event);
    void hatMoved(const SDL_JoyHatEvent& event);
    void axisMoved(const SDL_JoyAxisEvent& event);
    void inputDown(SDL_JoystickID id, const JoystickInput& input);
};

void ControllerInput::Private::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYDEVICEADDED:
        deviceAdded(event.jdevice.which);
        break;
    case SDL_JOYDEVICEREMOVED:
        deviceRemoved(event.jdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        padButtonDown(event.cbutton);
        break;
    case SDL_JOYBUTTONDOWN:
        inputDown(event.jbutton.which, JoystickInput::button(event.jbutton.button));
        break;
    case SDL_JOYHATMOTION:
        hatMoved(event.jhat);
        break;
    case SDL_JOYAXISMOTION:
        axisMoved(event.jaxis);
        break;
    default:
        // Nothing else reads SDL's queue in this program: whatever else turns up is dropped
        // here, so it cannot fill the queue and crowd out the controllers' events.
        break;
    }
}

void ControllerInput::Private::deviceAdded(int deviceIndex) {
    // Devices present at start are announced like new ones; a device is taken up once.
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || find(id)) return;
    std::unique_ptr<Device> device = openDevice(deviceIndex, mapping.device());
    if (!device || find(device->id)) return;
    const QString name = device->name;
    devices.push_back(std::move(device));
    emit q.deviceConnected(name);
}

void ControllerInput::Private::deviceRemoved(SDL_JoystickID id) {
    const auto it = std::find_if(devices.begin(), devices.end(),
                                 [id](const auto& device) { return device->id == id; });
    if (it == devices.end()) return;
    const QString name = (*it)->name;
    devices.erase(it);
    emit q.deviceDisconnected(name);
}

void ControllerInput::Private::reopenForMapping() {
    for (auto& device : devices) {
        const int index = deviceIndexOf(device->id);
        if (index < 0) continue;
        const bool wantMapping = !SDL_IsGameController(index) || device->kind == mapping.device();
        if (wantMapping == device->byMapping()) continue;
        // Opened anew before the old handle closes, so SDL keeps the device open throughout.
        std::unique_ptr<Device> reopened = openDevice(index, mapping.device());
        if (reopened) device = std::move(reopened);
    }
}

void ControllerInput::Private::padButtonDown(const SDL_ControllerButtonEvent& event) {
    const Device* device = find(event.which);
    if (!device || !device->pad || capturing) return;
    if (const std::optional<CabinetButton> button = padButton(event.button))
        emit q.pressed(*button);
}

void ControllerInput::Private::hatMoved(const SDL_JoyHatEvent& event) {
    Device* device = find(event.which);
    if (!device || event.hat >= device->hats.size()) return;
    const Uint8 newlyPushed = event.value & ~device->hats[event.hat];
    device->hats[event.hat] = event.value;
    for (auto direction : {JoystickInput::HatUp, JoystickInput::HatRight, JoystickInput::HatDown,
                           JoystickInput::HatLeft})
        if (newlyPushed & direction)
            inputDown(event.which, JoystickInput::hat(event.hat, direction));
}

void ControllerInput::Private::axisMoved(const SDL_JoyAxisEvent& event) {
    Device* device = find(event.which);
    if (!device || event.axis >= device->axes.size()) return;
    std::optional<AxisEdge>& axis = device->axes[event.axis];
    if (!axis) {
        // SDL sends an axis's resting value before its first movement, and knows it by the
        // first update after opening.
        Sint16 initial = 0;
        const bool known =
            SDL_JoystickGetAxisInitialState(device->joystick(), event.axis, &initial);
        axis.emplace(known ? initial : event.value);
    }
    if (const int direction = axis->press(event.value))
        inputDown(event.which, JoystickInput::axis(event.axis, direction));
}

void ControllerInput::Private::inputDown(SDL_JoystickID id, const JoystickInput& input) {
    const Device* device = find(id);
    if (!device) return;
    const bool byMapping = device->byMapping();
    // Taken before the signal: the press that completes a capture ends capturing, and must
    // not then press a cabinet button as well.
    const bool wasCapturing = capturing;
    emit q.inputPressed(input, device->kind);
    if (wasCapturing || !byMapping) return;
    if (const std::optional<CabinetButton> button = mapping.buttonFor(input))
        emit q.pressed(*button);
}

ControllerInput::ControllerInput(Clock& clock, QObject* parent)
    : QObject(parent), d(std::make_unique<Private>(*this, clock)) {
    // Leave Ctrl+C and the like to the program, and read face buttons by position.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        d->errorText = QString::fromUtf8(SDL_GetError());
        return;
    }
    for (Uint32 type : unusedEvents)
        SDL_EventState(type, SDL_IGNORE);
    d->available = true;
    d->pollTimer.start();
}

ControllerInput::~ControllerInput() {
    if (!d->available) return;
    d->devices.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool ControllerInput::available() const {
    return d->available;
}

QString ControllerInput::errorText() const {
    return d->errorText;
}

QStringList ControllerInput::connectedNames() const {
    QStringList names;
    for (const auto& device : d->devices)
        names.append(device->name);
    return names;
}

const JoystickMapping& ControllerInput::mapping() const {
    return d->mapping;
}

void ControllerInput::setMapping(const JoystickMapping& mapping) {
    d->mapping = mapping;
    d->reopenForMapping();
}

bool ControllerInput::capturing() const {
    return d->capturing;
}

void ControllerInput::setCapturing(bool capturing) {
    d->capturing = capturing;
}

void ControllerInput::poll() {
    if (!d->available) return;
    SDL_PumpEvents();
    std::array<SDL_Event, eventBatch> events;
    for (;;) {
        const int count =
            SDL_PeepEvents(events.data(), eventBatch, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        for (int i = 0; i < count; ++i)
            d->handle(events[i]);
        if (count < eventBatch) break;
    }
    d->pollTimer.setInterval(d->devices.empty() ? hotplugInterval : pollInterval);
}
