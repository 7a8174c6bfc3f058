#pragma once

#include <QList>
#include <QString>

class QWidget;

enum class MsgKind { Warning, Information, Confirmation, Error };
enum class MsgButton { Ok, Yes, No, Help, Cancel };

// What a file dialog asks for.
struct FileDialogSpec {
    QString title;
    QString filter;        // "Mindaro Questions|*.QST" style: description|patterns
    QString defaultSuffix; // without the dot
    QString initialDir;    // empty: the current directory
};

// The file dialogs for question sets, as the game and the editor show them.
namespace QuestionSetDialogs {
inline const QString filter = QStringLiteral("Mindaro Questions|*.QST");
inline const QString suffix = QStringLiteral("QST");
// Opening a set, starting in initialDir.
inline FileDialogSpec load(const QString& initialDir) {
    return {QStringLiteral("Mindaro : Load Questions"), filter, suffix, initialDir};
}
} // namespace QuestionSetDialogs

// Message boxes and file dialogs of the program. The program shows real Qt dialogs; tests
// script the answers and read back every text shown.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box; returns the button pressed. helpContext is the help topic of a
    // Help button (0: none).
    virtual MsgButton message(QWidget* parent, MsgKind kind, const QString& text,
                              const QList<MsgButton>& buttons, int helpContext = 0) = 0;

    // Modal open/save dialogs; an empty result means the user cancelled. A chosen file makes
    // its folder the current directory.
    virtual QString openFile(QWidget* parent, const FileDialogSpec& spec) = 0;
    virtual QString saveFile(QWidget* parent, const FileDialogSpec& spec) = 0;

    // Shorthands for the common boxes.
    void warning(QWidget* parent, const QString& text) {
        message(parent, MsgKind::Warning, text, {MsgButton::Ok});
    }
    void information(QWidget* parent, const QString& text) {
        message(parent, MsgKind::Information, text, {MsgButton::Ok});
    }
    bool confirm(QWidget* parent, const QString& text, MsgKind kind = MsgKind::Confirmation) {
        return message(parent, kind, text, {MsgButton::Yes, MsgButton::No}) == MsgButton::Yes;
    }
    // The application's general error box, naming a failure no handler deals with itself.
    void error(QWidget* parent, const QString& text) {
        message(parent, MsgKind::Error, text, {MsgButton::Ok});
    }
};
