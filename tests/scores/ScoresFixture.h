#pragma once

#include "QuestionRecord.h"
#include "ScoreStore.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>

// A temporary data folder with a store on it, dated by a clock the test sets by hand.
class ScoresFixture : public ::testing::Test {
protected:
    QString dbPath() const { return dir.path() + QStringLiteral("/scores.sqlite"); }
    std::unique_ptr<ScoreStore> openStore(const QString& connection = QString()) {
        return std::make_unique<ScoreStore>(dbPath(), connection, [this] { return now; });
    }
    static QuestionSet set(const QString& fileName) {
        return QuestionSet(fileName, QuestionRecord::header());
    }
    static QStringList names(const QList<ScoreEntry>& entries) {
        QStringList out;
        for (const ScoreEntry& e : entries)
            out << e.name;
        return out;
    }

    TempDir dir;
    QDateTime now{QDate(2026, 12, 10), QTime(14, 30, 5), Qt::UTC};
};
