#pragma once

// The lamps of the prize ladder, in the order the light visits the prizes; None: no lamp.
// The numbers are the lamps' places on the ladder ($1 first, LOSE last), as the sound of a
// prize's flash and the phones' pages count them.
enum class Lamp { None = 0, OneDollar = 1, FiveDollars = 2, FifteenDollars = 3, FiftyDollars = 4, Lose = 5 };

// The five lamps, top to bottom of the ladder.
inline constexpr Lamp ladderLamps[] = {Lamp::OneDollar, Lamp::FiveDollars, Lamp::FifteenDollars,
                                       Lamp::FiftyDollars, Lamp::Lose};

// Dollars a lamp pays: $1, $5, $15, $50; LOSE and None pay nothing.
constexpr int dollarsOf(Lamp lamp) {
    switch (lamp) {
    case Lamp::OneDollar:
        return 1;
    case Lamp::FiveDollars:
        return 5;
    case Lamp::FifteenDollars:
        return 15;
    case Lamp::FiftyDollars:
        return 50;
    case Lamp::None:
    case Lamp::Lose:
        break;
    }
    return 0;
}

// A lamp's place on the ladder (0 for None).
constexpr int placeOf(Lamp lamp) {
    return static_cast<int>(lamp);
}
