#pragma once

#include "Dialogs.h"

class Shell;

// The real message boxes and file dialogs.
class QtDialogs final : public Dialogs {
public:
    // shell shows the help topic of a Help button; may be null.
    explicit QtDialogs(Shell* shell = nullptr) : m_shell(shell) {}

    MsgButton message(QWidget* parent, MsgKind kind, const QString& text,
                      const QList<MsgButton>& buttons, int helpContext = 0) override;
    QString openFile(QWidget* parent, const FileDialogSpec& spec) override;
    QString saveFile(QWidget* parent, const FileDialogSpec& spec) override;

    // "Description|*.A;*.B" to Qt's "Description (*.A *.a *.B *.b)": both letter cases match.
    static QString qtFilter(const QString& filter);

private:
    Shell* m_shell;
};
