#include "QuestionArea.h"

#include "Gauge.h"
#include "ImageView.h"
#include "Label.h"
#include "Panel.h"
#include "PlayAreaStyle.h"
#include "Shape.h"

using namespace PlayAreaStyle;

namespace {
constexpr QSize digitSize(24, 37);
const QColor rowNavy(0x00, 0x00, 0x80);
const QColor rowBlue(0x00, 0x00, 0xFF);
const QColor shadow(0x40, 0x40, 0x40);
const QColor letterColors[4] = {QColor(0xFF, 0x30, 0x30), QColor(0x30, 0xE0, 0x30),
                                QColor(0x40, 0x90, 0xFF), QColor(0xFF, 0xE0, 0x00)};
} // namespace

QuestionArea::QuestionArea(QWidget& playArea, QuizGame& game) : QObject(&playArea), game(game) {
    QWidget* play = &playArea;
    questionLabel = label(play, QStringLiteral("questionLabel"), QString(), 13, Qt::white);
    questionLabel->setWordWrap(true);
    questionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (std::size_t i = 0; i < 4; ++i) {
        const QChar letter(u'A' + static_cast<char16_t>(i));
        answerFrames[i] = new Panel(play, QStringLiteral("answerFrame") + letter);
        answerFrames[i]->setColor(Qt::black);
        answerFrames[i]->setBevelOuter(Bevel::Lowered);
    }
    answerDivider = new Panel(play, QStringLiteral("answerDivider"));
    answerDivider->setColor(silver);
    // The divider between the letters and the answers belongs to the row under it.
    answerDivider->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (std::size_t i = 0; i < 4; ++i) {
        const QChar letter(u'A' + static_cast<char16_t>(i));
        answerRows[i] = new Shape(play, QStringLiteral("answerRow") + letter);
        answerRows[i]->setBrushColor(navy);
        answerRows[i]->stackUnder(answerFrames[i]);
        answerLetters[i] = label(play, QStringLiteral("answerLetter") + letter, QString(letter), 14,
                                 letterColors[i]);
        answerLetters[i]->setAlignment(Qt::AlignCenter);
        answerLetters[i]->setAccessibleDescription(QStringLiteral("Letter %1").arg(letter));
        answerTexts[i] =
            label(play, QStringLiteral("answerText") + letter, QString(), 10, Qt::white);
        answerTexts[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // The widest answers (75 capitals) are shown whole in a smaller font.
        answerTexts[i]->setShrinkToFit(true);
        // The frames are only outlines over their covers.
        answerFrames[i]->setTransparent(true);
    }

    timeStrip = new Panel(play, QStringLiteral("timeStrip"));
    timeStrip->setColor(Qt::black);
    // The captions have their design sizes: the time strip is laid out around them. Each has
    // a dark shadow one pixel up and left, beneath it.
    const auto caption = [this](const QString& name, const QString& text, int width,
                                Label*& shadowLabel) {
        Label* l = label(timeStrip, name, text, 11, Qt::white);
        shadowLabel = label(timeStrip, name + QStringLiteral("Shadow"), text, 11, shadow);
        l->resize(width, 20);
        shadowLabel->resize(width, 20);
        shadowLabel->stackUnder(l);
        return l;
    };
    timeCaption = caption(QStringLiteral("timeCaption"), QStringLiteral("Time :"), 52,
                          timeCaptionShadow);
    timeGaugeFrame = new Panel(timeStrip, QStringLiteral("timeGaugeFrame"));
    timeGaugeFrame->setColor(silver);
    timeGauge = new Gauge(timeGaugeFrame);
    timeGauge->setObjectName(QStringLiteral("timeGauge"));
    timeGauge->setShowText(false);
    timeGauge->setForeColor(QColor(0x00, 0x00, 0xFF));
    timeGauge->setBackColor(navy);
    timeGauge->setColor(silver);
    timeGauge->setProgress(100);
    timeGauge->setGeometry(8, 4, 337, 14);
    timeGauge->setAccessibleName(QStringLiteral("Time left"));
    creditCaption = caption(QStringLiteral("creditCaption"), QStringLiteral("Credit : "), 67,
                            creditCaptionShadow);
    creditMeter = new Panel(timeStrip, QStringLiteral("creditMeter"));
    creditMeter->setColor(Qt::black);
    creditMeter->setBevelOuter(Bevel::Lowered);
    creditMeter->resize(128, 47);
    creditMeter->setAccessibleName(QStringLiteral("Credit"));

    for (std::size_t d = 0; d < 10; ++d)
        digitPictures[d] = PlayAreaStyle::pictureHolder(
            play, QStringLiteral("digitPicture%1").arg(d), QStringLiteral("digit-%1").arg(d),
            digitSize);
    blankDigitPicture = PlayAreaStyle::pictureHolder(play, QStringLiteral("blankDigitPicture"),
                                                     QStringLiteral("digit-blank"), digitSize);
    digitHolder = new ImageView(play, QStringLiteral("digitHolder"));
    digitHolder->hide();
    for (std::size_t i = 0; i < 5; ++i) {
        creditDigits[i] =
            new ImageView(creditMeter, QStringLiteral("creditDigit%1").arg(static_cast<int>(i) + 1));
        creditDigits[i]->setGeometry(4 + static_cast<int>(i) * digitSize.width(), 5,
                                     digitSize.width(), digitSize.height());
        creditDigits[i]->copyPicture(*blankDigitPicture);
    }
    showParts(false, false);

    connect(&game, &QuizGame::phaseChanged, this, &QuestionArea::showPhase);
    connect(&game, &QuizGame::letterTyped, this, &QuestionArea::showTypedQuestion);
    connect(&game, &QuizGame::timeChanged, this, &QuestionArea::showTimeLeft);
    connect(&game, &QuizGame::creditChanged, this, &QuestionArea::showCredit);
}

void QuestionArea::showParts(bool question, bool answers) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{timeCaption, timeGauge, timeStrip, creditCaption,
                                         questionLabel, answerDivider})
        w->setVisible(question);
    for (std::size_t i = 0; i < 4; ++i) {
        answerFrames[i]->setVisible(question);
        answerRows[i]->setVisible(answers);
        answerLetters[i]->setVisible(answers);
        answerTexts[i]->setVisible(answers);
    }
}

void QuestionArea::showPhase(QuizGame::Phase phase) {
    using Phase = QuizGame::Phase;
    const int chosen = game.chosenAnswer();
    for (std::size_t i = 0; i < 4; ++i)
        answerRows[i]->setBrushColor(
            phase == Phase::Judging && static_cast<int>(i) == chosen ? rowBlue : rowNavy);
    const bool question =
        phase == Phase::Typing || phase == Phase::AnswersOpen || phase == Phase::Judging;
    const bool answers = question && phase != Phase::Typing;
    showParts(question, answers);
    if (phase == Phase::Attract) {
        questionLabel->setCaption(QString());
        showTimeLeft(game.timeLeft(), game.gaugeStepMs());
    }
    if (!question) return;
    showTypedQuestion(game.typedQuestion());
    if (!answers) return;
    const auto& shown = game.draw().answers();
    for (std::size_t i = 0; i < 4; ++i) {
        answerTexts[i]->setCaption(shown[i]);
        answerTexts[i]->setAccessibleName(QStringLiteral("%1: %2")
                                              .arg(QChar(u'A' + static_cast<char16_t>(i)))
                                              .arg(shown[i]));
    }
}

void QuestionArea::layOut(int width, int height) {
    // The question at the top, the time and credit strip at the bottom.
    questionLabel->setGeometry(4, 4, width - 8, width / 12);
    timeStrip->setGeometry(questionLabel->x(), height - questionLabel->height() - 4,
                           questionLabel->width(), questionLabel->height());
    const int lineW = timeStrip->width();
    const int lineH = timeStrip->height();
    timeCaption->move(4, (lineH - timeCaption->height()) / 2);
    timeCaptionShadow->move(timeCaption->x() - 1, timeCaption->y() - 1);
    creditMeter->setGeometry(lineW - 128 - 8, (lineH - 47) / 2 - 2, 128, 47);
    creditCaption->move(creditMeter->x() - 8 - creditCaption->width(),
                        (lineH - creditCaption->height()) / 2);
    creditCaptionShadow->move(creditCaption->x() - 1, creditCaption->y() - 1);
    const int left = rightOf(timeCaption) + 15;
    timeGaugeFrame->setGeometry(left, (lineH - 32) / 2, creditCaption->x() - 20 - left, 32);
    timeGauge->setGeometry(4, 4, timeGaugeFrame->width() - 10, timeGaugeFrame->height() - 10);

    // The answer area between them: four frames sharing their border lines, a divider
    // between the letters and the answers.
    const int h = (timeStrip->y() - bottomOf(questionLabel)) / 6;
    int top = bottomOf(questionLabel) + h;
    for (std::size_t i = 0; i < 4; ++i) {
        Panel* frame = answerFrames[i];
        frame->setGeometry(6, top, width - 12, h);
        answerLetters[i]->setGeometry(6 + (45 - 6 - 19) / 2, frame->y() + (h - 25) / 2, 19, 25);
        answerTexts[i]->setGeometry(54, frame->y() + (h - 15) / 2, rightOf(frame) - 45 - 8, 15);
        answerRows[i]->setGeometry(frame->x() + 2, frame->y() + 2, frame->width() - 4,
                                   frame->height() - 4);
        top += h - 1;
    }
    answerDivider->setGeometry(45, answerFrames[0]->y(), 2, 4 * h - 3);
}

void QuestionArea::showTypedQuestion(const QString& typed) {
    questionLabel->setCaption(typed);
}

void QuestionArea::showTimeLeft(int left, int msPerStep) {
    timeGauge->setProgress(left);
    timeGauge->setAccessibleDescription(
        QStringLiteral("%1 seconds left").arg(left * msPerStep / 1000.0, 0, 'f', 1));
}

void QuestionArea::loadDigitHolder(unsigned digit, bool blank) {
    if (digit == 0) {
        digitHolder->copyPicture(blank ? *blankDigitPicture : *digitPictures[0]);
    } else if (digit <= 9) {
        digitHolder->copyPicture(*digitPictures[digit]);
    }
}

void QuestionArea::showCredit(int credit) {
    // An exhausted credit leaves the meter as it was (showing 0).
    if (credit == Players::exhausted) return;
    const QString text = QString::number(credit).left(5);
    const QString padded = text.rightJustified(5, QLatin1Char(' '));
    for (int pos = 4; pos >= 0; --pos) {
        const QChar c = padded.at(pos);
        if (c == QLatin1Char(' '))
            loadDigitHolder(0, true);
        else
            loadDigitHolder(static_cast<unsigned>(c.digitValue()), false);
        creditDigits[static_cast<std::size_t>(pos)]->copyPicture(*digitHolder);
    }
    creditMeter->setAccessibleName(QStringLiteral("Credit %1").arg(credit));
}
