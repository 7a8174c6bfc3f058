#include "VerdictPanel.h"

#include "ImageView.h"
#include "Label.h"
#include "PlayAreaStyle.h"

using namespace PlayAreaStyle;

VerdictPanel::VerdictPanel(QWidget* playArea, QuizGame& game, Kind kind)
    : ConfirmPanel(playArea, kind == Kind::Wrong ? QStringLiteral("wrongPanel")
                                                 : QStringLiteral("timeOutPanel")),
      game(game), kind(kind) {
    const QString prefix = kind == Kind::Wrong ? QStringLiteral("wrong") : QStringLiteral("timeOut");
    const QString title = kind == Kind::Wrong ? QStringLiteral("Wrong") : QStringLiteral("Time out");
    setAccessibleName(title);
    heading = new ImageView(this, prefix + QStringLiteral("Heading"));
    heading->setFixedHeight(headingSize.height());
    heading->setAccessibleName(title);
    heading->setArtwork(kind == Kind::Wrong ? QStringLiteral("wrong") : QStringLiteral("time-out"),
                        headingSize);

    const auto caption = [this, &prefix](const char* name, const QString& text) {
        Label* l = label(this, prefix + QString::fromLatin1(name), text, 10, Qt::white);
        l->setFixedHeight(20);
        l->setIndent(24);
        return l;
    };
    const auto value = [this, &prefix](const char* name, const QColor& background) {
        Label* l = label(this, prefix + QString::fromLatin1(name), QString(), 10, Qt::white,
                         background);
        l->setFixedHeight(20);
        l->setIndent(6);
        l->setShrinkToFit(true);
        return l;
    };
    questionCaption = caption("QuestionCaption", QStringLiteral("I asked you the question:"));
    question = value("Question", maroon);
    if (kind == Kind::Wrong) {
        chosenCaption =
            caption("ChosenCaption", QStringLiteral("You selected the following answer:"));
        chosen = value("Chosen", green);
    }
    correctCaption = caption("CorrectCaption", QStringLiteral("The correct answer is:"));
    correct = value("Correct", navy);
    addOkButton(prefix + QStringLiteral("PanelOkFrame"), prefix + QStringLiteral("PanelOk"));
    connect(&game, &QuizGame::phaseChanged, this, &VerdictPanel::showPhase);
    hide();
}

void VerdictPanel::showPhase(QuizGame::Phase phase) {
    const QuizGame::Phase own =
        kind == Kind::Wrong ? QuizGame::Phase::Wrong : QuizGame::Phase::TimeOut;
    if (phase != own) {
        hide();
        return;
    }
    question->setCaption(game.typedQuestion());
    if (chosen && game.chosenAnswer() >= 0)
        chosen->setCaption(game.draw().answers()[static_cast<std::size_t>(game.chosenAnswer())]);
    correct->setCaption(game.draw().correctAnswer());
    flattenOk();
    show();
}

void VerdictPanel::layOut(int width, int height) {
    setGeometry(0, 0, width, height);
    heading->setGeometry(0, heading->y(), width, heading->height());
    placeBottomRight(okFrame, width, height);
    if (kind == Kind::Wrong) {
        const int d = (okFrame->y() - bottomOf(heading)) / 3;
        Label* captions[3] = {questionCaption, chosenCaption, correctCaption};
        Label* values[3] = {question, chosen, correct};
        for (int i = 0; i < 3; ++i) {
            captions[i]->setGeometry(0, bottomOf(heading) + i * d, width, captions[i]->height());
            values[i]->setGeometry(24, bottomOf(captions[i]) + 3, width - 48, values[i]->height());
        }
        return;
    }
    const int d = (okFrame->y() - bottomOf(heading)) / 5;
    questionCaption->setGeometry(0, bottomOf(heading) + d, width, questionCaption->height());
    question->setGeometry(24, bottomOf(questionCaption) + 3, width - 48, question->height());
    correctCaption->setGeometry(0, bottomOf(heading) + 3 * d, width, correctCaption->height());
    correct->setGeometry(24, bottomOf(correctCaption) + 3, width - 48, correct->height());
}

void VerdictPanel::confirm() {
    game.confirmPanel();
}
