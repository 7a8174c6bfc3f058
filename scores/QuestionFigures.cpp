#include "QuestionFigures.h"

int QuestionFigures::percentRight() const {
    if (asked <= 0) return 0;
    return static_cast<int>((static_cast<qint64>(right) * 200 + asked) / (2 * qint64(asked)));
}

QString QuestionFigures::text() const {
    if (asked <= 0) return QStringLiteral("not asked yet");
    const QString times =
        asked == 1 ? QStringLiteral("once") : QStringLiteral("%1 times").arg(asked);
    return QStringLiteral("asked %1, %2 % right").arg(times).arg(percentRight());
}
