#pragma once

#include "ManualClock.h"
#include "QstFixtures.h"
#include "Quiz.h"
#include "RecordingMidiPlatform.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestSettings.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>

// A game screen on a manual clock, with scripted dialogs, a recording shell and MIDI port,
// temporary settings and a program directory holding a REGD.QST of numbered questions.
class TQuizFixture : public ::testing::Test {
protected:
    // Writes `questions` numbered questions to REGD.QST (none: no file), then creates the
    // screen and runs its creation handler.
    void Create(int questions = 20);
    // Creates the screen over whatever the program directory holds now.
    void CreateScreen();
    QString ProgramDir() const { return FDir.path(); }
    std::string StartupFile() const {
        return (FDir.path() + QStringLiteral("/REGD.QST")).toStdString();
    }

    // Advances the manual clock.
    void Advance(std::int64_t ms) { Clock.Advance(ms); }
    // The control shows the picture of that holder.
    static bool Shows(const TImage* control, const TImage* holder) {
        return control->Picture().cacheKey() == holder->Picture().cacheKey();
    }
    // The control's own visible flag (what the game sets), whatever its parents show.
    static bool Visible(const QWidget* w) { return !w->isHidden(); }
    // Note-ons sent since the last ClearMidi(), as (status, note, velocity).
    const std::vector<TRecordingMidiPlatform::TShortMsg>& Sent() const { return Midi.Shorts(); }
    void ClearMidi() { Midi.ClearShorts(); }

    TTestSettingsFolder SettingsFolder;
    TManualClock Clock;
    TScriptedDialogs Dialogs;
    TRecordingShell Shell;
    TSettings Settings;
    TRecordingMidiPlatform Midi;
    std::uint32_t Seed = 12345;
    std::unique_ptr<TQuizScreen> Screen;

private:
    TTempDir FDir;
};
