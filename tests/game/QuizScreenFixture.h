#pragma once

#include "AttractShow.h"
#include "Banners.h"
#include "ButtonBand.h"
#include "ImageView.h"
#include "Label.h"
#include "ManualClock.h"
#include "QstFixtures.h"
#include "QuizScreen.h"
#include "RecordingMidiPlatform.h"
#include "ScoreKeeper.h"
#include "RecordingSpeaker.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "Shape.h"
#include "TestSettings.h"
#include "TitleBand.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The timers that pause and resume with the screen: attract mode's and the game's.
inline std::vector<const Timer*> pausingTimers(const QuizScreen& screen) {
    std::vector<const Timer*> all{screen.attract->buttonTimer.get(),
                                  screen.attract->sequenceTimer.get()};
    for (const Timer* t : screen.game.timers())
        all.push_back(t);
    return all;
}

// A game screen on a manual clock, with scripted dialogs, a recording shell, MIDI port and
// speaker, temporary settings and a program directory holding a REGD.QST of numbered questions.
class QuizScreenFixture : public ::testing::Test {
protected:
    // Writes `questions` numbered questions to REGD.QST (none: no file), then creates the
    // screen and runs its creation handler.
    void create(int questions = 20);
    // Creates the screen over whatever the program directory holds now.
    void createScreen();
    // Opens the hall of fame in the temporary data folder, as the program does at start,
    // dated by scoresNow; the screen made next keeps its scores there.
    void openScores();
    QString scoresPath() const { return ScoreStore::defaultPath(); }
    // The scores as the file holds them once the work handed over so far is done.
    std::unique_ptr<ScoreStore> storedScores();
    QString programDir() const { return dir.path(); }
    std::string startupFile() const {
        return (dir.path() + QStringLiteral("/REGD.QST")).toStdString();
    }

    // Advances the manual clock.
    void advance(std::int64_t ms) { clock.advance(ms); }
    // The control shows the picture of that holder.
    static bool shows(const ImageView* control, const ImageView* holder) {
        return control->currentPicture().cacheKey() == holder->currentPicture().cacheKey();
    }
    // The control's own visible flag (what the game sets), whatever its parents show.
    static bool visible(const QWidget* w) { return !w->isHidden(); }
    // Note-ons sent since the last ClearMidi(), as (status, note, velocity).
    const std::vector<RecordingMidiPlatform::ShortMsg>& sent() const { return midi.shorts(); }
    void clearMidi() { midi.clearShorts(); }

    TestSettingsFolder settingsFolder;
    ManualClock clock;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    Settings settings;
    RecordingMidiPlatform midi;
    // Spoken play's speaker; speech stays off unless a test switches it on.
    RecordingSpeaker speaker{clock};
    std::uint32_t seed = 12345;
    QDateTime scoresNow{QDate(2026, 12, 10), QTime(14, 30), Qt::UTC};
    std::unique_ptr<ScoreKeeper> scores;
    std::unique_ptr<QuizScreen> screen;

private:
    TempDir dir;
};
