#pragma once

#include "PlayAreaPanel.h"
#include "ScoreEntry.h"

#include <QList>

#include <array>

class Label;
class ScoreKeeper;

// The attract page HALL OF FAME: the ten best of a question set, each line with its place,
// name, score and date, or a line saying that nobody has scored yet. A cabinet of a venue
// shows the house's ten best with the cabinet of each, and a small "offline" mark while the
// venue's server cannot be reached (the hall is then the last one read).
class HallOfFamePage : public PlayAreaPanel {
    Q_OBJECT
public:
    explicit HallOfFamePage(QWidget* playArea);

    // Fills the page with the ten best of the set in the question file at path. False, with
    // the page left as it was, when the file is no question set the hall of fame can know,
    // or while its hall has not been read yet.
    bool load(ScoreKeeper& store, const QString& questionFile);
    // Shows these entries (best first; at most ten) of the set with this file name; with the
    // cabinet of each for a venue, and the offline mark when offline.
    void showEntries(const QString& setName, const QList<ScoreEntry>& entries,
                     bool venue = false, bool offline = false);

    // "1st", "2nd", "3rd", "4th" ... "10th".
    static QString ordinal(int place);
    // The date of an entry as the page shows it, in local time: "10 Dec 2026".
    static QString dateText(const QDateTime& date);
    // What assistive technology reads for one line: "1st, Anna, 55 points, 10 Dec 2026".
    static QString entryText(int place, const ScoreEntry& entry);

    // One line of the page.
    struct Row {
        Panel* line = nullptr; // the stripe behind it; its accessible name reads the line
        Label* place = nullptr;
        Label* name = nullptr;
        Label* score = nullptr;
        Label* cabinet = nullptr; // shown for a venue
        Label* date = nullptr;
    };

    Label* setLabel = nullptr;  // the set's file name, beside the heading
    Label* emptyLine = nullptr; // shown while the hall is empty
    Label* offlineMark = nullptr; // shown while the venue's server cannot be reached
    std::array<Row, 10> rows{};

protected:
    bool venue = false;
    void layOut(int width, int height) override;
};
