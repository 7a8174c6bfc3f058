#pragma once

#include "ManualClock.h"
#include "QstFixtures.h"
#include "ScriptedDialogs.h"
#include "Setques.h"
#include "Settings.h"
#include "TempDir.h"
#include "TestSettings.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QStringList>

#include <functional>
#include <string>

// A question editor on a manual clock, with scripted dialogs, a recording shell, temporary
// settings and a temporary folder that is the current directory for the test.
class TEditorFixture : public ::testing::Test {
protected:
    TEditorFixture();
    ~TEditorFixture() override;

    // Creates the window over the set named by FileName (its creation opens the set), then
    // lets the timer tick once.
    void Open();
    // One tick of the editor's timer.
    void Tick() { Clock.Advance(TSetQuestions::TimerIntervalMs); }
    // Types the five texts into the fields (as the user does, one change at a time).
    void Type(const QStringList& texts);
    QStringList FieldTexts() const;
    // A file in the test's folder.
    std::string Path(const std::string& name) const { return Dir.File(name); }
    QString QPath(const std::string& name) const { return QString::fromStdString(Path(name)); }
    // The bytes of a set: the header and these records, exactly as the editor writes them.
    static std::string SetBytes(const std::vector<TQuestionRecord>& questions);
    // Closes the window and lets it be destroyed.
    void CloseEditor();

    TTestSettingsFolder SettingsFolder;
    TManualClock Clock;
    TScriptedDialogs Dialogs;
    TRecordingShell Shell;
    TSettings Settings;
    TTempDir Dir;
    TEditorState State;
    QString FileName;
    QPointer<TSetQuestions> Editor;

private:
    QString FOldDir;
};

// Runs check in a child process as an ordinary user when the test runs as root (which
// ignores file modes); else runs it here. True when check returned 0.
bool RunAsOrdinaryUser(const std::function<int()>& check);
