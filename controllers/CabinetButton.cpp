#include "CabinetButton.h"

QString cabinetButtonName(CabinetButton button) {
    switch (button) {
    case CabinetButton::A:
        return QStringLiteral("A");
    case CabinetButton::B:
        return QStringLiteral("B");
    case CabinetButton::C:
        return QStringLiteral("C");
    case CabinetButton::D:
        return QStringLiteral("D");
    case CabinetButton::Start:
        return QStringLiteral("START");
    case CabinetButton::Stop:
        return QStringLiteral("STOP");
    }
    return QString();
}
