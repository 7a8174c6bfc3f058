// The credit meter: five LED digits showing the credit of the player at the controls.
#include "QuizScreen.h"

void QuizScreen::loadDigitHolder(unsigned digit, bool blank) {
    if (digit == 0) {
        digitHolder->copyPicture(blank ? *blankDigitPicture : *digitPictures[0]);
    } else if (digit <= 9) {
        digitHolder->copyPicture(*digitPictures[digit]);
    }
    // Any other value leaves the holder's picture as it is.
}

void QuizScreen::showCredit() {
    game.takeCreditOfPlayerAtControls();
    const QString text = QString::number(game.credit).left(5);
    // An exhausted credit leaves the meter as it was (showing 0).
    if (text == QStringLiteral("-1")) return;
    const QString padded = text.rightJustified(5, QLatin1Char(' '));
    for (int pos = 4; pos >= 0; --pos) {
        const QChar c = padded.at(pos);
        if (c == QLatin1Char(' '))
            loadDigitHolder(0, true);
        else
            loadDigitHolder(static_cast<unsigned>(c.digitValue()), false);
        creditDigits[static_cast<std::size_t>(pos)]->copyPicture(*digitHolder);
    }
    creditMeter->setAccessibleName(QStringLiteral("Credit %1").arg(game.credit));
}

void QuizScreen::addCreditDollar() {
    game.addDollar();
    showCredit();
}

void QuizScreen::chargeQuestion() {
    game.chargeQuestion();
    showCredit();
}
