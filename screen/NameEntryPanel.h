#pragma once

#include "CabinetButton.h"
#include "PlayAreaPanel.h"

class Clock;
class ImageView;
class Label;
class QLineEdit;

// The name entry for the hall of fame: one player at a time enters a name of up to ten
// characters, offered pre-filled. The keyboard edits the name box and Enter accepts it; a
// cabinet without a keyboard picks letters with its buttons: A and B step back and forth
// through the letters, C takes the letter shown, D rubs out the last character and START
// accepts the name.
class NameEntryPanel : public PlayAreaPanel {
    Q_OBJECT
public:
    static constexpr int NameLength = 10;
    // The letters the cabinet buttons step through, in order (a blank first).
    static const QString letters;

    // The clock tells a click on OK from the second click of the double click that opened
    // the entry (the final scores' OK stands at the same spot).
    NameEntryPanel(QWidget* playArea, const Clock& clock);

    // Opens the entry for one player: who they are ("Player One" or the name they played
    // under), their place in the hall of fame, their score and the name offered.
    void start(const QString& player, int place, int score, const QString& offered);
    // A button of the cabinet, on screen or on a controller. True when the open entry used it.
    bool pressButton(CabinetButton button);
    // Accepts the name in the box (Enter, START, the OK button).
    void accept();
    // Accepts a name typed elsewhere (a player's phone) as if typed in the box: blanks at
    // either end removed, at most NameLength characters kept. Nothing when the entry is closed.
    void acceptName(const QString& typed);

    QString name() const;
    // The letter the cabinet buttons would take now.
    QChar pickedLetter() const;

    Label* playerLine = nullptr; // "PLAYER ONE - 3RD PLACE - 45"
    QLineEdit* nameBox = nullptr;
    Label* letterCaption = nullptr; // "Letter"
    Panel* letterPicker = nullptr;  // the letter A/B have chosen
    Label* hintLine = nullptr;      // how to enter a name
    Panel* okFrame = nullptr;
    ImageView* okButton = nullptr;

signals:
    // The player accepted this name (blanks at either end removed; possibly empty).
    void accepted(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void layOut(int width, int height) override;

private:
    void stepLetter(int step);
    void takeLetter();
    void rubOut();
    void showPickedLetter();

    // OK by the mouse: accepted unless it comes within a double click's time of the opening.
    void clickOk();

    const Clock& clock;
    std::int64_t shownAt = 0;
    int letterIndex = 1;
};
