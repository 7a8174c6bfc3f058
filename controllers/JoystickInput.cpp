#include "JoystickInput.h"

#include <QStringList>

#include <array>

namespace {
struct HatName {
    JoystickInput::HatDirection direction;
    const char* name;
};
constexpr std::array<HatName, 4> hatNames{{{JoystickInput::HatUp, "up"},
                                           {JoystickInput::HatRight, "right"},
                                           {JoystickInput::HatDown, "down"},
                                           {JoystickInput::HatLeft, "left"}}};

// A decimal index from 0 to maxIndex, digits only (no sign, no blanks).
std::optional<int> parseIndex(const QString& text) {
    if (text.isEmpty() || text.size() > 4) return std::nullopt;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    const int value = text.toInt();
    if (value > JoystickInput::maxIndex) return std::nullopt;
    return value;
}
} // namespace

QString JoystickInput::toText() const {
    switch (kind) {
    case Kind::Button:
        return QStringLiteral("button:%1").arg(index);
    case Kind::Hat:
        for (const HatName& hatName : hatNames)
            if (hatName.direction == direction)
                return QStringLiteral("hat:%1:%2").arg(index).arg(QLatin1String(hatName.name));
        break;
    case Kind::Axis:
        return QStringLiteral("axis:%1:%2")
            .arg(index)
            .arg(direction < 0 ? QLatin1String("-") : QLatin1String("+"));
    }
    return QString();
}

std::optional<JoystickInput> JoystickInput::fromText(const QString& text) {
    const QStringList parts = text.trimmed().toLower().split(QLatin1Char(':'));
    if (parts.size() < 2) return std::nullopt;
    const std::optional<int> index = parseIndex(parts[1]);
    if (!index) return std::nullopt;
    const QString& kind = parts[0];
    if (kind == QLatin1String("button") && parts.size() == 2) return button(*index);
    if (parts.size() != 3) return std::nullopt;
    if (kind == QLatin1String("hat")) {
        for (const HatName& hatName : hatNames)
            if (parts[2] == QLatin1String(hatName.name)) return hat(*index, hatName.direction);
        return std::nullopt;
    }
    if (kind == QLatin1String("axis")) {
        if (parts[2] == QLatin1String("+")) return axis(*index, 1);
        if (parts[2] == QLatin1String("-")) return axis(*index, -1);
    }
    return std::nullopt;
}
