#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The editor's find box: a text and "Find Next", searching downward only. It is modeless,
// stays open beside the editor until it is closed and keeps its text between searches.
class TEditorFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TEditorFindDialog(QWidget* parent = nullptr);

    QString FindText() const;
    void SetFindText(const QString& text);
    // Whether Find Next may be pressed (the editor allows it while a search can run).
    void SetSearchAllowed(bool allowed);
    bool SearchAllowed() const { return FAllowed; }

    QLineEdit* FindEdit = nullptr;
    QPushButton* FindNext = nullptr;
    QPushButton* CancelButton = nullptr;

signals:
    // Find Next was pressed.
    void Find();

private:
    void UpdateFindNext();
    bool FAllowed = true;
};
