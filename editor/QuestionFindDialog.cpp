#include "QuestionFindDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QuestionFindDialog::QuestionFindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("findDialog"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    // The game stays paused while this box is the active window, as for the editor itself.
    setProperty("trivoraPausesGame", true);

    auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findEdit = new QLineEdit(this);
    findEdit->setObjectName(QStringLiteral("findEdit"));
    findEdit->setMinimumWidth(220);
    label->setBuddy(findEdit);
    findNextButton = new QPushButton(QStringLiteral("&Find Next"), this);
    findNextButton->setObjectName(QStringLiteral("findNextButton"));
    findNextButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(findEdit, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNextButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch(1);
    auto* text = new QVBoxLayout;
    text->addLayout(row);
    text->addStretch(1);
    auto* all = new QHBoxLayout(this);
    all->addLayout(text, 1);
    all->addLayout(buttons);

    connect(findNextButton, &QPushButton::clicked, this, [this] {
        if (findNextButton->isEnabled()) emit findNextRequested();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::hide);
    connect(findEdit, &QLineEdit::textChanged, this, [this] { updateFindNextButton(); });
    updateFindNextButton();
}

QString QuestionFindDialog::findText() const {
    return findEdit->text();
}

void QuestionFindDialog::setFindText(const QString& text) {
    findEdit->setText(text);
}

void QuestionFindDialog::setSearchAllowed(bool allowed) {
    if (allowed == searchAllowed) return;
    searchAllowed = allowed;
    updateFindNextButton();
}

void QuestionFindDialog::updateFindNextButton() {
    findNextButton->setEnabled(searchAllowed && !findEdit->text().isEmpty());
}
