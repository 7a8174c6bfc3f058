#pragma once

#include "QuestionEditorModel.h"
#include "QuestionEditorServices.h"

#include <QMainWindow>

#include <array>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QuestionFindDialog;
class ImageView;
class Label;
class Panel;

// The question editor's window, "Question Database". It shows the editor model (the set, the
// question and its five texts) and turns clicks, keys and menu entries into the model's
// commands. The model tells it what to show (the labels and which controls may be used)
// whenever that changes; the window also remembers whether it was maximized.
class QuestionEditor : public QMainWindow {
    Q_OBJECT
public:
    // questionFile is the set the game uses ("N/A": none); the editor works on its own copy.
    // state outlives the window. Creation opens the set.
    QuestionEditor(QuestionEditorServices services, QuestionEditorState& state,
                   const QString& questionFile, QWidget* parent = nullptr);
    ~QuestionEditor() override;

    QuestionEditorModel& model() { return editorModel; }

    bool resizeSeen() const { return sizeChangeSeen; }

    // ---- Controls
    Panel* backPanel = nullptr;
    Panel* logoFrame = nullptr;
    ImageView* logoImage = nullptr;
    Panel* entryPanel = nullptr;
    Label* setNameLabel = nullptr;
    Label* positionLabel = nullptr;
    // Black twins of the two labels beneath them, for the embossed look.
    Label* setNameShadow = nullptr;
    Label* positionShadow = nullptr;
    // How the question shown has fared in games, under its number.
    Label* figuresLabel = nullptr;
    QLineEdit* questionEdit = nullptr;
    QLineEdit* answerEdit = nullptr;
    QLineEdit* wrongEdit1 = nullptr;
    QLineEdit* wrongEdit2 = nullptr;
    QLineEdit* wrongEdit3 = nullptr;
    QPushButton* previousButton = nullptr;
    QPushButton* nextButton = nullptr;
    QPushButton* searchButton = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* storeButton = nullptr;
    QPushButton* cancelButton = nullptr;
    // A parking place for the keyboard focus, hidden behind the back panel.
    QLineEdit* focusParking = nullptr;
    QuestionFindDialog* findDialog = nullptr;

    QMenu* fileMenu = nullptr;
    QAction* newSetAction = nullptr;  // "&New Question Set"
    QAction* loadSetAction = nullptr; // "&Load Question Set"
    QAction* closeAction = nullptr;   // "&Close"
    QMenu* helpMenu = nullptr;
    QAction* instructionsAction = nullptr; // "&Instructions"

    // The five edit boxes in record order: question, answer, three wrong answers.
    std::array<QLineEdit*, QuestionEditorModel::fieldCount> fieldEdits() const {
        return {questionEdit, answerEdit, wrongEdit1, wrongEdit2, wrongEdit3};
    }

    static constexpr int clientWidth = 640;
    static constexpr int clientHeight = 442;

signals:
    // The window has closed; it is destroyed right after.
    void closed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void createControls();
    void createMenu();
    void connectControls();

    // The labels and which controls may be used, as the model's view says.
    void showView(const QuestionEditorModel::View& view);
    // The window takes the size it was last left in ("Pocko.Ini"): maximized or normal.
    void applyRememberedSize();
    // Add moves to an empty question; typing starts in its question box.
    void startNewQuestion();
    void showFindDialog();
    void findNext();
    void showInstructions();
    // The model's texts into the edit boxes.
    void showFields();
    // Remembers a change between maximized and normal size, and centres the back panel.
    void placeBackPanel();

    QuestionEditorServices services;
    QuestionEditorModel editorModel;
    bool sizeChangeSeen = false;
    // The edit boxes are being set from the model, not typed into.
    bool showingFields = false;
};
