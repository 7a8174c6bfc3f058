#pragma once

#include "QuizGame.h"

#include <QObject>

#include <array>

class Gauge;
class ImageView;
class Label;
class Panel;
class QWidget;
class Shape;

// The question area of the play area: the question typed out at the top, the four answer rows
// (a letter and the answer on a row that lights blue while it is judged), and the strip at the
// bottom with the time gauge and the credit meter's five LED digits. It shows itself while a
// question is typed, open or judged, and follows the game's letters, time and credit.
class QuestionArea : public QObject {
    Q_OBJECT
public:
    QuestionArea(QWidget& playArea, QuizGame& game);

    // Places the parts for the play area's size.
    void layOut(int width, int height);
    void showTypedQuestion(const QString& typed);
    void showTimeLeft(int left, int msPerStep);
    // The meter shows the credit right-aligned in five digits without leading zeros, cut to the
    // first five characters of its text; an exhausted credit leaves it as it was.
    void showCredit(int credit);
    // Puts a digit's picture into the holder the meter copies from: 0 blank or lit, 1-9 lit;
    // any other value leaves the holder as it is.
    void loadDigitHolder(unsigned digit, bool blank);

    Label* questionLabel = nullptr;
    std::array<Panel*, 4> answerFrames{}; // outlines over the rows, A to D
    Panel* answerDivider = nullptr;       // between the letters and the answers
    std::array<Shape*, 4> answerRows{};   // the clickable row behind each answer
    std::array<Label*, 4> answerLetters{};
    std::array<Label*, 4> answerTexts{};
    Panel* timeStrip = nullptr;
    Label* timeCaption = nullptr; // "Time :" and its shadow
    Label* timeCaptionShadow = nullptr;
    Panel* timeGaugeFrame = nullptr;
    Gauge* timeGauge = nullptr;
    Label* creditCaption = nullptr; // "Credit : " and its shadow
    Label* creditCaptionShadow = nullptr;
    Panel* creditMeter = nullptr;
    std::array<ImageView*, 5> creditDigits{};    // left to right
    std::array<ImageView*, 10> digitPictures{};  // the LED digits 0 to 9 (hidden holders)
    ImageView* blankDigitPicture = nullptr;
    ImageView* digitHolder = nullptr;

private:
    void showPhase(QuizGame::Phase phase);
    void showParts(bool question, bool answers);

    QuizGame& game;
};
