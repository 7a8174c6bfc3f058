#pragma once

#include "Dialogs.h"
#include "Shell.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Dialogs for tests: every box is recorded; answers come from a script (Yes/No questions
// answer No, file dialogs cancel, when the script has run out).
class TScriptedDialogs final : public TDialogs {
public:
    struct TShown {
        TMsgKind Kind;
        QString Text;
        QList<TMsgButton> Buttons;
        int HelpContext;
    };

    TMsgButton Message(QWidget* parent, TMsgKind kind, const QString& text,
                       const QList<TMsgButton>& buttons, int helpContext = 0) override;
    QString OpenFile(QWidget* parent, const TFileDialogSpec& spec) override;
    QString SaveFile(QWidget* parent, const TFileDialogSpec& spec) override;

    // Queue the answer to the next message box that asks a question.
    void Answer(TMsgButton b) { FAnswers.push_back(b); }
    // Queue the path the next open or save dialog returns (empty: cancel).
    void ChooseFile(const QString& path) { FFiles.push_back(path); }

    const std::vector<TShown>& Shown() const { return FShown; }
    QStringList Texts() const;
    const std::vector<TFileDialogSpec>& FileDialogs() const { return FFileSpecs; }
    void Clear() {
        FShown.clear();
        FFileSpecs.clear();
    }

    // Runs while a message box is shown, as the user or another program might act then.
    std::function<void(const QString& text)> OnMessage;

private:
    std::vector<TShown> FShown;
    std::vector<TFileDialogSpec> FFileSpecs;
    std::deque<TMsgButton> FAnswers;
    std::deque<QString> FFiles;
};

// A shell for tests that records what the program asked of the desktop.
class TRecordingShell final : public TShell {
public:
    void ShowHelp(int context) override { Calls << QStringLiteral("help:%1").arg(context); }
    void MinimizeApp() override { Calls << QStringLiteral("minimize"); }
    void OpenUrl(const QString& url) override { Calls << QStringLiteral("url:") + url; }
    QStringList Calls;
};
