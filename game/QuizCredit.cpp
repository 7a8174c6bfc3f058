// The credit meter: five LED digits showing the credit of the player at the controls.
#include "Quiz.h"

void TQuizScreen::LoadHolder(unsigned digit, bool blank) {
    if (digit == 0) {
        Holder->CopyPicture(blank ? *NB : *N[0]);
    } else if (digit <= 9) {
        Holder->CopyPicture(*N[digit]);
    }
    // Any other value leaves the holder's picture as it is.
}

void TQuizScreen::DisplayCreditClick() {
    game.takeCreditOfPlayerAtControls();
    const QString text = QString::number(game.credit).left(5);
    // An exhausted credit leaves the meter as it was (showing 0).
    if (text == QStringLiteral("-1")) return;
    const QString padded = text.rightJustified(5, QLatin1Char(' '));
    for (int pos = 4; pos >= 0; --pos) {
        const QChar c = padded.at(pos);
        if (c == QLatin1Char(' '))
            LoadHolder(0, true);
        else
            LoadHolder(static_cast<unsigned>(c.digitValue()), false);
        Digit[static_cast<std::size_t>(pos)]->CopyPicture(*Holder);
    }
    CreditBlock->setAccessibleName(QStringLiteral("Credit %1").arg(game.credit));
}

void TQuizScreen::IncrementCreditClick() {
    game.addDollar();
    DisplayCreditClick();
}

void TQuizScreen::DecrementCreditClick() {
    game.chargeQuestion();
    DisplayCreditClick();
}
