#pragma once

#include "Dialogs.h"

class TShell;

// The real message boxes and file dialogs.
class TQtDialogs final : public TDialogs {
public:
    // shell shows the help topic of a Help button; may be null.
    explicit TQtDialogs(TShell* shell = nullptr) : FShell(shell) {}

    TMsgButton Message(QWidget* parent, TMsgKind kind, const QString& text,
                       const QList<TMsgButton>& buttons, int helpContext = 0) override;
    QString OpenFile(QWidget* parent, const TFileDialogSpec& spec) override;
    QString SaveFile(QWidget* parent, const TFileDialogSpec& spec) override;

    // "Description|*.A;*.B" to Qt's "Description (*.A *.a *.B *.b)": both letter cases match.
    static QString QtFilter(const QString& filter);

private:
    TShell* FShell;
};
