#include "HallOfFamePage.h"

#include "CabinetText.h"
#include "ImageView.h"
#include "Label.h"
#include "ScoreKeeper.h"

#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace {
constexpr QSize HeadingSize(330, 46);
constexpr int MaxRowHeight = 30;
constexpr int MaxTableWidth = 560;
// Column widths of a line: place, name, score; the date takes the rest.
constexpr int PlaceWidth = 64;
constexpr int NameWidth = 190;
constexpr int ScoreWidth = 90;
// A venue's line gives part of the name's width to the cabinet.
constexpr int VenueNameWidth = 140;
constexpr int CabinetWidth = 120;
const QColor Stripe(0x10, 0x10, 0x48);
} // namespace

HallOfFamePage::HallOfFamePage(QWidget* playArea)
    : PlayAreaPanel(playArea, QStringLiteral("hallOfFamePage"), QStringLiteral("Hall of fame"),
                    QStringLiteral("hall-of-fame"), HeadingSize) {
    setLabel = CabinetText::label(this, QStringLiteral("hallOfFameSet"), 8, CabinetText::silver,
                                  Qt::AlignRight | Qt::AlignVCenter);
    emptyLine = CabinetText::label(this, QStringLiteral("hallOfFameEmpty"), 13, CabinetText::gold,
                                   Qt::AlignCenter);
    emptyLine->setCaption(QStringLiteral("NO SCORES YET - PLAY AND BE THE FIRST!"));
    offlineMark = CabinetText::label(this, QStringLiteral("hallOfFameOffline"), 8,
                                     CabinetText::silver, Qt::AlignLeft | Qt::AlignVCenter);
    offlineMark->setCaption(QStringLiteral("offline"));
    offlineMark->setAccessibleName(
        QStringLiteral("offline: the venue's hall of fame as last read"));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QString n = QString::number(i + 1);
        Row& row = rows[i];
        row.line = new Panel(this, QStringLiteral("hallOfFameLine") + n);
        row.line->setColor(i % 2 == 0 ? Stripe : QColor(Qt::black));
        row.place = CabinetText::label(row.line, QStringLiteral("hallOfFamePlace") + n, 11,
                                       CabinetText::gold, Qt::AlignRight | Qt::AlignVCenter);
        row.name =
            CabinetText::label(row.line, QStringLiteral("hallOfFameName") + n, 11, Qt::white);
        row.score = CabinetText::label(row.line, QStringLiteral("hallOfFameScore") + n, 11,
                                       CabinetText::gold, Qt::AlignRight | Qt::AlignVCenter);
        row.cabinet = CabinetText::label(row.line, QStringLiteral("hallOfFameCabinet") + n, 9,
                                         CabinetText::silver, Qt::AlignLeft | Qt::AlignVCenter);
        row.date = CabinetText::label(row.line, QStringLiteral("hallOfFameDate") + n, 10,
                                      CabinetText::silver, Qt::AlignRight | Qt::AlignVCenter);
        row.place->setCaption(ordinal(static_cast<int>(i) + 1));
    }
    showEntries(QString(), {});
    fitToPlayArea();
}

bool HallOfFamePage::load(ScoreKeeper& store, const QString& questionFile) {
    const QuestionSet set = QuestionSet::fromFile(questionFile);
    const std::optional<QList<ScoreEntry>> best = store.bestTen(set);
    if (!best) return false;
    showEntries(set.fileName(), *best, store.isVenue(), store.isOffline());
    return true;
}

void HallOfFamePage::showEntries(const QString& setName, const QList<ScoreEntry>& entries,
                                 bool forVenue, bool offline) {
    if (venue != forVenue) {
        venue = forVenue;
        fitToPlayArea();
    }
    offlineMark->setVisible(offline);
    setLabel->setCaption(setName);
    setAccessibleDescription(setName.isEmpty() ? QString()
                                               : QStringLiteral("Question set ") + setName);
    const qsizetype shown = std::min<qsizetype>(entries.size(), qsizetype(rows.size()));
    for (qsizetype i = 0; i < qsizetype(rows.size()); ++i) {
        Row& row = rows[static_cast<std::size_t>(i)];
        if (i >= shown) {
            row.line->hide();
            continue;
        }
        const ScoreEntry& e = entries[i];
        row.name->setCaption(e.name);
        row.score->setCaption(QString::number(e.score));
        row.date->setCaption(dateText(e.date));
        row.cabinet->setCaption(e.cabinet);
        row.cabinet->setVisible(venue);
        QString spoken = entryText(static_cast<int>(i) + 1, e);
        if (venue && !e.cabinet.isEmpty()) spoken += QStringLiteral(", on ") + e.cabinet;
        row.line->setAccessibleName(spoken);
        row.line->show();
    }
    emptyLine->setVisible(shown == 0);
}

QString HallOfFamePage::ordinal(int place) {
    const int lastTwo = place % 100;
    const int last = place % 10;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        if (last == 1) suffix = "st";
        if (last == 2) suffix = "nd";
        if (last == 3) suffix = "rd";
    }
    return QString::number(place) + QLatin1String(suffix);
}

QString HallOfFamePage::dateText(const QDateTime& date) {
    if (!date.isValid()) return QString();
    return QLocale(QLocale::English)
        .toString(date.toLocalTime().date(), QStringLiteral("d MMM yyyy"));
}

QString HallOfFamePage::entryText(int place, const ScoreEntry& entry) {
    QString text =
        QStringLiteral("%1, %2, %3 points").arg(ordinal(place), entry.name).arg(entry.score);
    const QString date = dateText(entry.date);
    if (!date.isEmpty()) text += QStringLiteral(", ") + date;
    return text;
}

void HallOfFamePage::layOut(int bw, int bh) {
    const int headingBottom = heading->y() + heading->height();
    const int tableWidth = std::min(MaxTableWidth, bw - 16);
    const int left = (bw - tableWidth) / 2;
    setLabel->setGeometry(heading->x() + heading->width() + 4, heading->y(),
                          std::max(0, left + tableWidth - heading->x() - heading->width() - 4),
                          heading->height());
    const int top = headingBottom + 2;
    const int rowHeight =
        std::clamp((bh - top - 2) / static_cast<int>(rows.size()), 1, MaxRowHeight);
    emptyLine->setGeometry(left, top, tableWidth, (bh - top) / 2);
    offlineMark->setGeometry(left, heading->y(), std::max(0, heading->x() - left - 4),
                             heading->height());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        row.line->setGeometry(left, top + static_cast<int>(i) * rowHeight, tableWidth, rowHeight);
        row.place->setGeometry(0, 0, PlaceWidth, rowHeight);
        const int nameWidth = venue ? VenueNameWidth : NameWidth;
        row.name->setGeometry(PlaceWidth + 18, 0, nameWidth, rowHeight);
        row.score->setGeometry(PlaceWidth + 18 + nameWidth, 0, ScoreWidth, rowHeight);
        const int cabinetLeft = PlaceWidth + 18 + nameWidth + ScoreWidth + 12;
        row.cabinet->setGeometry(cabinetLeft, 0, venue ? CabinetWidth : 0, rowHeight);
        const int dateLeft = cabinetLeft + (venue ? CabinetWidth : 0);
        row.date->setGeometry(dateLeft, 0, tableWidth - dateLeft - 10, rowHeight);
    }
}
