#include "SpokenTexts.h"

namespace {
// Control characters would reach the engine as they are; speak them as spaces.
QString clean(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c.category() == QChar::Other_Control) c = QLatin1Char(' ');
    return out.simplified();
}

QString playerName(int slot, const QString& name) {
    const QString spoken = clean(name);
    if (!spoken.isEmpty()) return spoken;
    static const char* const captions[] = {"Player One", "Player Two", "Player Three",
                                           "Player Four"};
    if (slot >= 1 && slot <= 4) return QString::fromLatin1(captions[slot - 1]);
    return QStringLiteral("Player %1").arg(slot);
}

QString dollars(int amount) {
    return amount == 1 ? QStringLiteral("1 dollar") : QStringLiteral("%1 dollars").arg(amount);
}
} // namespace

namespace SpokenTexts {

QString question(const QString& text) {
    return clean(text);
}

QString answers(const QStringList& shown) {
    QStringList parts;
    for (int i = 0; i < shown.size(); ++i)
        parts << QStringLiteral("%1: %2").arg(QChar(u'A' + i), clean(shown[i]));
    return parts.join(QStringLiteral(", "));
}

QString correct() {
    return QStringLiteral("Correct");
}

QString wrong(const QString& correctAnswer) {
    return QStringLiteral("Wrong — the answer was ") + clean(correctAnswer);
}

QString timeOut(const QString& correctAnswer) {
    return QStringLiteral("Time out — the answer was ") + clean(correctAnswer);
}

QString prize(int amount) {
    if (amount <= 0) return QStringLiteral("No prize");
    return QStringLiteral("You win ") + dollars(amount);
}

QString turn(int slot, const QString& name) {
    QString who = playerName(slot, name);
    return who + (who.endsWith(u's') ? QStringLiteral("' turn") : QStringLiteral("'s turn"));
}

QString playerOut(int slot, const QString& name) {
    return playerName(slot, name) + QStringLiteral(" is out");
}

QString playerEntry() {
    return QStringLiteral("Type the players' names, then press Enter");
}

QString nameEntry(const QString& player, const QString& place) {
    return QStringLiteral("%1, %2 place in the hall of fame: type your name, then press Enter")
        .arg(player, place);
}

QString ladder() {
    return QStringLiteral("Press Stop");
}

QString gameOver() {
    return QStringLiteral("Game over");
}

QString finalScores(const QList<PlayerScore>& players) {
    if (players.isEmpty()) return gameOver();
    if (players.size() == 1) return QStringLiteral("Final score: %1").arg(players[0].score);
    QStringList rows;
    for (const PlayerScore& p : players)
        rows << QStringLiteral("%1: %2").arg(playerName(p.slot, p.name)).arg(p.score);
    return QStringLiteral("Final scores. ") + rows.join(QStringLiteral(". "));
}

} // namespace SpokenTexts
