#pragma once

#include <QString>

// How often one question was asked, and how often it was answered right.
struct QuestionFigures {
    int asked = 0;
    int right = 0;

    // The share of right answers in whole percent, rounded to the nearest; 0 when never asked.
    int percentRight() const;
    // The line a question author reads: "asked 12 times, 25 % right", "asked once, 100 %
    // right" or "not asked yet".
    QString text() const;

    bool operator==(const QuestionFigures&) const = default;
};
