#include "EditorFindDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TEditorFindDialog::TEditorFindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FindDialog1"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    // The game stays paused while this box is the active window, as for the editor itself.
    setProperty("trivoraPausesGame", true);

    auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
    FindEdit = new QLineEdit(this);
    FindEdit->setObjectName(QStringLiteral("FindText"));
    FindEdit->setMinimumWidth(220);
    label->setBuddy(FindEdit);
    FindNext = new QPushButton(QStringLiteral("&Find Next"), this);
    FindNext->setObjectName(QStringLiteral("FindNext"));
    FindNext->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("Cancel"));

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(FindEdit, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(FindNext);
    buttons->addWidget(CancelButton);
    buttons->addStretch(1);
    auto* text = new QVBoxLayout;
    text->addLayout(row);
    text->addStretch(1);
    auto* all = new QHBoxLayout(this);
    all->addLayout(text, 1);
    all->addLayout(buttons);

    connect(FindNext, &QPushButton::clicked, this, [this] {
        if (FindNext->isEnabled()) emit Find();
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::hide);
    connect(FindEdit, &QLineEdit::textChanged, this, [this] { UpdateFindNext(); });
    UpdateFindNext();
}

QString TEditorFindDialog::FindText() const {
    return FindEdit->text();
}

void TEditorFindDialog::SetFindText(const QString& text) {
    FindEdit->setText(text);
}

void TEditorFindDialog::SetSearchAllowed(bool allowed) {
    if (allowed == FAllowed) return;
    FAllowed = allowed;
    UpdateFindNext();
}

void TEditorFindDialog::UpdateFindNext() {
    FindNext->setEnabled(FAllowed && !FindEdit->text().isEmpty());
}
