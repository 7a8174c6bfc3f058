#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The editor's find box: a text and "Find Next", searching downward only. It is modeless,
// stays open beside the editor until it is closed and keeps its text between searches.
class QuestionFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit QuestionFindDialog(QWidget* parent = nullptr);

    QString findText() const;
    void setFindText(const QString& text);
    // Whether Find Next may be pressed (the editor allows it while a search can run).
    void setSearchAllowed(bool allowed);

    QLineEdit* findEdit = nullptr;
    QPushButton* findNextButton = nullptr;
    QPushButton* cancelButton = nullptr;

signals:
    // Find Next was pressed.
    void findNextRequested();

private:
    void updateFindNextButton();
    bool searchAllowed = true;
};
