#pragma once

#include <QString>

#include <array>

// The six buttons of the cabinet's control panel: the four answer buttons A (red), B (green),
// C (blue) and D (yellow), START and STOP.
enum class CabinetButton { A, B, C, D, Start, Stop };

// Every cabinet button, in the order a player is asked for them when setting up controls.
inline constexpr std::array<CabinetButton, 6> allCabinetButtons{
    CabinetButton::A, CabinetButton::B,     CabinetButton::C,
    CabinetButton::D, CabinetButton::Start, CabinetButton::Stop};

// The button's name as shown to the player and used as its key in Trivora.conf:
// "A", "B", "C", "D", "START", "STOP".
QString cabinetButtonName(CabinetButton button);
