#include "ButtonBand.h"

#include "ImageView.h"
#include "PlayAreaStyle.h"
#include "ScreenState.h"

#include <QHBoxLayout>

ButtonBand::ButtonBand(QWidget* parent, ScreenState& display)
    : Panel(parent, QStringLiteral("bottomBand")), display(display) {
    setFixedHeight(89);
    setColor(PlayAreaStyle::cabinetMetal);
    setBevelOuter(Bevel::Raised);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 8, 6, 9);
    row->setSpacing(4);

    const auto button = [this](const char* name, const QString& accessible) {
        auto* b = new ImageView(this, QString::fromLatin1(name));
        b->setFixedSize(ButtonSize);
        b->setAccessibleName(accessible);
        b->setCursor(Qt::PointingHandCursor);
        b->setPressable(true);
        return b;
    };
    answerButtonA = button("answerButtonA", QStringLiteral("Answer A"));
    answerButtonB = button("answerButtonB", QStringLiteral("Answer B"));
    answerButtonC = button("answerButtonC", QStringLiteral("Answer C"));
    answerButtonD = button("answerButtonD", QStringLiteral("Answer D"));
    auto* gap = new Panel(this, QStringLiteral("bottomBandGap"));
    gap->setTransparent(true);
    stopButton = button("stopButton", QStringLiteral("Stop"));
    startButton = button("startButton", QStringLiteral("Start"));
    for (ImageView* b : {answerButtonA, answerButtonB, answerButtonC, answerButtonD})
        row->addWidget(b);
    row->addWidget(gap, 1);
    row->addWidget(stopButton);
    row->addWidget(startButton);

    const auto holder = [this](const char* name, const char* artwork) {
        return PlayAreaStyle::pictureHolder(this, QString::fromLatin1(name),
                                            QString::fromLatin1(artwork), ButtonSize);
    };
    answerALitPicture = holder("answerALitPicture", "button-a-lit");
    answerAPicture = holder("answerAPicture", "button-a");
    answerBLitPicture = holder("answerBLitPicture", "button-b-lit");
    answerBPicture = holder("answerBPicture", "button-b");
    answerCLitPicture = holder("answerCLitPicture", "button-c-lit");
    answerCPicture = holder("answerCPicture", "button-c");
    answerDLitPicture = holder("answerDLitPicture", "button-d-lit");
    answerDPicture = holder("answerDPicture", "button-d");
    startLitPicture = holder("startLitPicture", "button-start-lit");
    startPicture = holder("startPicture", "button-start");
    stopLitPicture = holder("stopLitPicture", "button-stop-lit");
    stopPicture = holder("stopPicture", "button-stop");

    // The buttons start unlit.
    light(false, false, false, false, false);
    stopButton->copyPicture(*stopPicture);
}

void ButtonBand::light(bool a, bool b, bool c, bool d, bool start) {
    const struct {
        ImageView* button;
        ImageView* litPicture;
        ImageView* unlitPicture;
        int& lit;
        bool on;
    } buttons[] = {
        {answerButtonA, answerALitPicture, answerAPicture, display.buttonLit[0], a},
        {answerButtonB, answerBLitPicture, answerBPicture, display.buttonLit[1], b},
        {answerButtonC, answerCLitPicture, answerCPicture, display.buttonLit[2], c},
        {answerButtonD, answerDLitPicture, answerDPicture, display.buttonLit[3], d},
        {startButton, startLitPicture, startPicture, display.startLit, start},
    };
    for (const auto& button : buttons) {
        button.button->copyPicture(button.on ? *button.litPicture : *button.unlitPicture);
        button.lit = button.on ? 1 : 0;
    }
}

void ButtonBand::lightStop(bool lit) {
    stopButton->copyPicture(lit ? *stopLitPicture : *stopPicture);
    display.stopLit = lit ? 1 : 0;
}

ImageView* ButtonBand::answerButton(int index) const {
    const std::array<ImageView*, 4> buttons{answerButtonA, answerButtonB, answerButtonC,
                                            answerButtonD};
    return buttons.at(static_cast<std::size_t>(index));
}
