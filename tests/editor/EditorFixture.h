#pragma once

#include "QstFixtures.h"
#include "QuestionEditor.h"
#include "QuestionEditorModel.h"
#include "ScoreStore.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TempDir.h"
#include "TestSettings.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A temporary folder that is the current directory for the test, scripted dialogs and the
// editor's state that outlives its windows.
class EditorFolderFixture : public ::testing::Test {
protected:
    EditorFolderFixture();
    ~EditorFolderFixture() override;

    // A file in the test's folder.
    std::string path(const std::string& name) const { return dir.file(name); }
    QString qPath(const std::string& name) const { return QString::fromStdString(path(name)); }
    // The bytes of a set: the header and these records, exactly as the editor writes them.
    static std::string setBytes(const std::vector<QuestionRecord>& questions);

    ScriptedDialogs dialogs;
    TempDir dir;
    QuestionEditorState state;
    QString fileName;

private:
    QString oldDir;
};

// The editor model alone, without a window: the rules of the editor.
class EditorModelFixture : public EditorFolderFixture {
protected:
    // Creates the model over the set named by fileName and opens it as a new window would.
    void open();
    // Types the texts into the fields, one field after the other.
    void type(const QStringList& texts);
    QStringList fieldTexts() const;
    // What the model last told the window to show.
    const QuestionEditorModel::View& view() const { return model->view(); }

    // The questions' figures the model reads; none by default.
    ScoreStore* scores = nullptr;
    std::unique_ptr<QuestionEditorModel> model;
};

// The editor window with a recording shell and temporary settings.
class EditorWindowFixture : public EditorFolderFixture {
protected:
    ~EditorWindowFixture() override;

    // Creates the window over the set named by fileName (its creation opens the set).
    void open();
    // Sets the texts of the edit boxes.
    void type(const QStringList& texts);
    QStringList fieldTexts() const;
    // Closes the window and lets it be destroyed.
    void closeEditor();

    TestSettingsFolder settingsFolder;
    RecordingShell shell;
    Settings settings;
    // The questions' figures the window shows; none by default.
    ScoreStore* scores = nullptr;
    QPointer<QuestionEditor> editor;
};

// The editor's two save prompts.
inline const QString saveQuestion = QStringLiteral("Save Changes to current record?");
inline const QString discardQuestion = QStringLiteral("Discard partially complete record?");
// Five texts of a new question.
inline const QStringList newTexts = {QStringLiteral("Capital of France?"), QStringLiteral("Paris"),
                                     QStringLiteral("Lyon"), QStringLiteral("Nice"),
                                     QStringLiteral("Lille")};

// The five texts of the numbered test question n.
QStringList textsOf(int n);
QuestionRecord recordOf(const QStringList& texts);
std::vector<QuestionRecord> numberedRecords(int n);

// Counts the openings of one file from its creation on. Both the file and its folder are
// watched: the kernel merges two identical notices in a row, and the folder's notice of each
// opening keeps the file's own notices apart.
class OpenCounter {
public:
    explicit OpenCounter(const std::string& path);
    ~OpenCounter();
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;

    // The openings so far.
    int opens();

private:
    int fd;
    int fileWatch;
    int count = 0;
};

// Runs check in a child process as an ordinary user when the test runs as root (which
// ignores file modes); else runs it here. True when check returned 0.
bool runAsOrdinaryUser(const std::function<int()>& check);
