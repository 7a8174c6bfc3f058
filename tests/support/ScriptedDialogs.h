#pragma once

#include "Dialogs.h"
#include "Shell.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Dialogs for tests: every box is recorded; answers come from a script (Yes/No questions
// answer No, file dialogs cancel, when the script has run out).
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        MsgKind kind;
        QString text;
        QList<MsgButton> buttons;
        int helpContext;
    };

    MsgButton message(QWidget* parent, MsgKind kind, const QString& text,
                      const QList<MsgButton>& buttons, int helpContext = 0) override;
    QString openFile(QWidget* parent, const FileDialogSpec& spec) override;
    QString saveFile(QWidget* parent, const FileDialogSpec& spec) override;

    // Queue the answer to the next message box that asks a question.
    void answer(MsgButton b) { m_answers.push_back(b); }
    // Queue the path the next open or save dialog returns (empty: cancel).
    void chooseFile(const QString& path) { m_files.push_back(path); }

    const std::vector<Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    const std::vector<FileDialogSpec>& fileDialogs() const { return m_fileSpecs; }
    void clear() {
        m_shown.clear();
        m_fileSpecs.clear();
    }

    // Runs while a message box is shown, as the user or another program might act then.
    std::function<void(const QString& text)> onMessage;

private:
    std::vector<Shown> m_shown;
    std::vector<FileDialogSpec> m_fileSpecs;
    std::deque<MsgButton> m_answers;
    std::deque<QString> m_files;
};

// A shell for tests that records what the program asked of the desktop.
class RecordingShell final : public Shell {
public:
    void showHelp(int context) override { calls << QStringLiteral("help:%1").arg(context); }
    void minimizeApp() override { calls << QStringLiteral("minimize"); }
    void openUrl(const QString& url) override { calls << QStringLiteral("url:") + url; }
    QStringList calls;
};
