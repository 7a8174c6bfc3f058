#pragma once

#include "Difficulty.h"

#include <optional>
#include <ostream>
#include <string>

// Difficulty marks learnt from play: the hall of fame counts, per question, how often it was
// asked and answered right, and the share right says how hard players found it.
//
// The rule: a question asked at least minAsked times (20 unless told) falls in the band of
// its share right: easy from 75 %, hard up to 40 %, medium between. A question without a mark
// gets its band's mark. A marked question gets another mark only when the figures clearly
// disagree with its own: when the 95 % Wilson score interval of its share right lies wholly
// outside its mark's band. A few unlucky games do not flip a mark; a question that players
// plainly find easier or harder than marked is moved.

// The 95 % Wilson score interval of a share right out of asked (asked > 0), as fractions.
struct ShareInterval {
    double low = 0;
    double high = 1;
};
ShareInterval wilsonInterval(int right, int asked);

// The band of a share right (a fraction): easy from 0.75, hard up to 0.40, medium between.
Difficulty bandOfShare(double share);

// The mark the figures propose for a question marked current (None for no mark); nothing
// when they propose no change: asked fewer than minAsked times, the band is the mark it has,
// or the figures do not clearly disagree with it.
std::optional<Difficulty> proposedMark(Difficulty current, int asked, int right, int minAsked);

// What "trivora-qst difficulty [--database DB] SET [--write] [--min-asked N]" is given.
struct DifficultyOptions {
    std::string set;      // the question set (.QST)
    std::string database; // the scores database; empty: the game's own
    bool write = false;   // write the proposals to the set's marks file
    int minAsked = DefaultMinAsked;
    static constexpr int DefaultMinAsked = 20;
};

// Prints the marks the figures of the set propose, one line per question whose mark would
// change, and a summary on err; with write, stores them in the set's marks file (every
// question's line, the others keeping their marks) in one step, so that a failed run leaves
// the file as it was. The figures are read as the figures command reads them. Returns 0, 1
// when a file cannot be read or written, 2 on misuse.
int proposeDifficulty(const DifficultyOptions& options, std::ostream& out, std::ostream& err);
