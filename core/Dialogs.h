#pragma once

#include <QList>
#include <QString>

class QWidget;

enum class TMsgKind { Warning, Information, Confirmation, Error };
enum class TMsgButton { Ok, Yes, No, Help, Cancel };

// What a file dialog asks for.
struct TFileDialogSpec {
    QString Title;
    QString Filter;        // "Mindaro Questions|*.QST" style: description|patterns
    QString DefaultSuffix; // without the dot
    QString InitialDir;    // empty: the current directory
};

// Message boxes and file dialogs of the program. The program shows real Qt dialogs; tests
// script the answers and read back every text shown.
class TDialogs {
public:
    virtual ~TDialogs() = default;

    // A modal message box; returns the button pressed. helpContext is the help topic of a
    // Help button (0: none).
    virtual TMsgButton Message(QWidget* parent, TMsgKind kind, const QString& text,
                               const QList<TMsgButton>& buttons, int helpContext = 0) = 0;

    // Modal open/save dialogs; an empty result means the user cancelled. A chosen file makes
    // its folder the current directory.
    virtual QString OpenFile(QWidget* parent, const TFileDialogSpec& spec) = 0;
    virtual QString SaveFile(QWidget* parent, const TFileDialogSpec& spec) = 0;

    // Shorthands for the common boxes.
    void Warning(QWidget* parent, const QString& text) {
        Message(parent, TMsgKind::Warning, text, {TMsgButton::Ok});
    }
    void Information(QWidget* parent, const QString& text) {
        Message(parent, TMsgKind::Information, text, {TMsgButton::Ok});
    }
    bool Confirm(QWidget* parent, const QString& text,
                 TMsgKind kind = TMsgKind::Confirmation) {
        return Message(parent, kind, text, {TMsgButton::Yes, TMsgButton::No}) ==
               TMsgButton::Yes;
    }
    // The application's general error box, naming a failure no handler deals with itself.
    void Error(QWidget* parent, const QString& text) {
        Message(parent, TMsgKind::Error, text, {TMsgButton::Ok});
    }
};
