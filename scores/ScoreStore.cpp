#include "ScoreStore.h"

#include "Cp1252.h"
#include "QuestionRecord.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTextBoundaryFinder>
#include <QVariant>

#include <algorithm>

namespace {

// How long a write may wait for another program that holds the database: short, so a
// second copy of the game writing at the same moment never holds this one up for long.
constexpr int BusyWaitMs = 250;
// Opening may wait longer: another copy may be recovering its log after a crash.
constexpr int OpenBusyWaitMs = 2000;
constexpr int SchemaVersion = 1;
const QString DatabaseFileName = QStringLiteral("scores.sqlite");
const QString Driver = QStringLiteral("QSQLITE");
const QString Memory = QStringLiteral(":memory:");

// SQLite's primary result codes that say the file itself is at fault.
constexpr int SqliteIoError = 10;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteCantOpen = 14;
constexpr int SqliteNotADatabase = 26;

QAtomicInt connectionCount;

// What went wrong, in SQLite's words where it has some.
QString reasonOf(const QSqlError& error) {
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

QString scoresTable(qint64 id) {
    return QStringLiteral("scores_%1").arg(id);
}
QString questionsTable(qint64 id) {
    return QStringLiteral("questions_%1").arg(id);
}

} // namespace

// One use of the connection: runs statements, keeps the first error, and rolls back a
// transaction it began and did not commit.
class ScoreStore::Session {
public:
    explicit Session(const QString& connection) : db(QSqlDatabase::database(connection, false)) {}
    ~Session() {
        if (inTransaction) QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Prepares sql into query, binds the values in order and runs it.
    bool exec(QSqlQuery& query, const QString& sql, const QVariantList& values = {}) {
        query.setForwardOnly(true);
        if (query.prepare(sql)) {
            for (const QVariant& value : values)
                query.addBindValue(value);
            if (query.exec()) return true;
        }
        error = query.lastError();
        return false;
    }
    bool exec(const QString& sql, const QVariantList& values = {}) {
        QSqlQuery query(db);
        return exec(query, sql, values);
    }
    // The first column of the first row of sql's result, or a null value.
    bool value(const QString& sql, QVariant& out) {
        QSqlQuery query(db);
        if (!exec(query, sql)) return false;
        out = query.next() ? query.value(0) : QVariant();
        return true;
    }

    // Takes the write lock at once, so that what a write reads first stays true until it
    // commits.
    bool begin() {
        inTransaction = exec(QStringLiteral("BEGIN IMMEDIATE"));
        return inTransaction;
    }
    bool commit() {
        if (!exec(QStringLiteral("COMMIT"))) return false;
        inTransaction = false;
        return true;
    }

    // The number of the set's tables, or 0 when it has none and create is false.
    bool setId(const QuestionSet& set, bool create, qint64& id) {
        id = 0;
        const QVariantList key{set.fileName(), set.header()};
        QSqlQuery query(db);
        if (!exec(query,
                  QStringLiteral("SELECT id FROM question_sets WHERE file_name = ? AND header = ?"),
                  key))
            return false;
        if (query.next()) {
            id = query.value(0).toLongLong();
            return true;
        }
        if (!create) return true;
        if (!exec(query,
                  QStringLiteral("INSERT INTO question_sets (file_name, header) VALUES (?, ?)"),
                  key))
            return false;
        id = query.lastInsertId().toLongLong();
        return exec(QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, name TEXT NOT NULL, "
                                   "score INTEGER NOT NULL, questions INTEGER NOT NULL, "
                                   "entered TEXT NOT NULL)")
                        .arg(scoresTable(id))) &&
               exec(QStringLiteral("CREATE INDEX %1_rank ON %1 (score DESC, id)")
                        .arg(scoresTable(id))) &&
               exec(QStringLiteral("CREATE TABLE %1 (question TEXT PRIMARY KEY, "
                                   "asked INTEGER NOT NULL, answered_right INTEGER NOT NULL) "
                                   "WITHOUT ROWID")
                        .arg(questionsTable(id)));
    }

    // Runs the query that sql makes for the set's tables (from their number) and hands each
    // row to row; a set that has no tables yet gives no rows.
    bool select(const QuestionSet& set, const std::function<QString(qint64)>& sql,
                const QVariantList& values, const std::function<void(const QSqlQuery&)>& row) {
        qint64 id = 0;
        if (!setId(set, false, id)) return false;
        if (id == 0) return true;
        QSqlQuery query(db);
        if (!exec(query, sql(id), values)) return false;
        while (query.next())
            row(query);
        return true;
    }

    // The set's ten best scores, best first.
    bool bestScores(qint64 id, QList<int>& scores) {
        scores.clear();
        QSqlQuery query(db);
        if (!exec(query, QStringLiteral("SELECT score FROM %1 ORDER BY score DESC, id LIMIT %2")
                             .arg(scoresTable(id))
                             .arg(HallSize)))
            return false;
        while (query.next())
            scores.append(query.value(0).toInt());
        return true;
    }

    QSqlDatabase db;
    QSqlError error;

private:
    bool inTransaction = false;
};

QString ScoreStore::defaultPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + DatabaseFileName;
}

ScoreStore::ScoreStore(const QString& path, const QString& connectionName,
                       std::function<QDateTime()> clock)
    : path_(path), connection(connectionName), now(std::move(clock)) {
    if (!now) now = [] { return QDateTime::currentDateTime(); };
    // A name already in use stays with its store: this one takes a name of its own.
    if (connection.isEmpty() || QSqlDatabase::contains(connection))
        connection = QStringLiteral("%1-trivora-scores-%2")
                         .arg(connection)
                         .arg(connectionCount.fetchAndAddRelaxed(1));
    start();
}

ScoreStore::~ScoreStore() {
    close();
}

QStringList ScoreStore::takeMessages() {
    return std::exchange(messages, {});
}

void ScoreStore::start() {
    if (!QSqlDatabase::isDriverAvailable(Driver)) {
        messages << QStringLiteral("Scores cannot be kept: the SQLite driver of Qt SQL is "
                                   "missing (Debian package libqt6sql6-sqlite).");
        return;
    }
    if (path_.isEmpty()) return useMemory(QStringLiteral("there is no folder for it"));
    QString reason;
    Failure failure = Failure::Unusable;
    if (!QDir().mkpath(QFileInfo(path_).absolutePath()))
        reason = QStringLiteral("its folder cannot be made");
    else
        failure = open(path_, reason);
    if (failure == Failure::None) {
        available = lasting = true;
        return;
    }
    close();
    if (failure == Failure::Damaged)
        replaceDamaged(reason);
    else
        useMemory(reason);
}

ScoreStore::Failure ScoreStore::open(const QString& databaseName, QString& reason) {
    const bool file = databaseName != Memory;
    if (file) {
        const QFileInfo info(databaseName);
        if (info.exists() && !info.isFile()) {
            reason = QStringLiteral("it is not a file");
            return Failure::Damaged;
        }
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(Driver, connection);
    db.setDatabaseName(databaseName);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(OpenBusyWaitMs));
    if (!db.open()) {
        reason = reasonOf(db.lastError());
        return classify(db.lastError());
    }
    Session s(connection);
    QVariant answer;
    const auto fail = [&] {
        reason = reasonOf(s.error);
        return classify(s.error);
    };
    if (file) {
        // The log keeps every committed transaction through a crash of the program. Normal
        // synchronisation writes the log to the disk only at checkpoints, not at every
        // commit: a commit costs no wait for the disk, and what a power cut can take is the
        // last few games, never the database itself.
        if (!s.value(QStringLiteral("PRAGMA journal_mode = WAL"), answer)) return fail();
        if (answer.toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
            reason = QStringLiteral("it cannot keep a write-ahead log");
            return Failure::Unusable;
        }
        if (!s.exec(QStringLiteral("PRAGMA synchronous = NORMAL"))) return fail();
        if (!s.value(QStringLiteral("PRAGMA quick_check"), answer)) return fail();
        if (answer.toString() != QLatin1String("ok")) {
            reason = QStringLiteral("it is damaged");
            return Failure::Damaged;
        }
    }
    if (!s.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(BusyWaitMs)) || !s.begin() ||
        !s.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS question_sets (id INTEGER PRIMARY "
                               "KEY, file_name TEXT NOT NULL, header BLOB NOT NULL, "
                               "UNIQUE (file_name, header))")) ||
        !s.value(QStringLiteral("PRAGMA user_version"), answer))
        return fail();
    if (answer.toInt() == 0 &&
        !s.exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion)))
        return fail();
    if (!s.commit()) return fail();
    // A database of another shape is not ours to write into.
    if (!s.exec(QStringLiteral("SELECT id, file_name, header FROM question_sets LIMIT 0"))) {
        reason = reasonOf(s.error);
        return Failure::Damaged;
    }
    return Failure::None;
}

void ScoreStore::close() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        if (db.isOpen()) db.close();
    }
    if (QSqlDatabase::contains(connection)) QSqlDatabase::removeDatabase(connection);
    available = lasting = false;
}

void ScoreStore::replaceDamaged(const QString& reason) {
    close();
    QString movedTo;
    if (!QFileInfo::exists(path_)) return useMemory(reason);
    if (!moveAside(movedTo))
        return useMemory(QStringLiteral("%1; it cannot be moved aside").arg(reason));
    messages << QStringLiteral("The hall of fame could not be read (%1). It was moved to %2 "
                               "and a new one has been started.")
                    .arg(reason, QDir::toNativeSeparators(movedTo));
    QString why;
    if (open(path_, why) == Failure::None) {
        available = lasting = true;
        return;
    }
    close();
    useMemory(why);
}

bool ScoreStore::moveAside(QString& movedTo) {
    const QString base =
        path_ + QStringLiteral(".damaged-") + now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    movedTo = base;
    for (int n = 2; QFileInfo::exists(movedTo) || QFileInfo(movedTo).isSymLink(); ++n)
        movedTo = base + QStringLiteral("-%1").arg(n);
    QDir dir;
    if (!dir.rename(path_, movedTo)) return false;
    // The log goes with its database (it may hold the last games); the shared-memory index
    // is rebuilt from the log and is of no use to a fresh database.
    for (const QString& companion : {QStringLiteral("-wal"), QStringLiteral("-journal")})
        if (QFileInfo::exists(path_ + companion))
            dir.rename(path_ + companion, movedTo + companion);
    QFile::remove(path_ + QStringLiteral("-shm"));
    return true;
}

void ScoreStore::useMemory(const QString& reason) {
    const QString where =
        path_.isEmpty() ? QString() : QStringLiteral(" in ") + QDir::toNativeSeparators(path_);
    messages << QStringLiteral("The hall of fame%1 cannot be used (%2). Scores of this session "
                               "will not be kept.")
                    .arg(where, reason);
    QString why;
    if (open(Memory, why) == Failure::None) {
        available = true;
        lasting = false;
        return;
    }
    close();
}

ScoreStore::Failure ScoreStore::classify(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    if (!ok) return Failure::Unusable;
    switch (code) {
    case SqliteIoError:
    case SqliteCorrupt:
    case SqliteCantOpen:
    case SqliteNotADatabase:
        return Failure::Damaged;
    default:
        return Failure::Unusable;
    }
}

bool ScoreStore::run(const std::function<bool(Session&)>& op, const char* failure) {
    if (!available) return false;
    QSqlError error;
    {
        Session s(connection);
        if (op(s)) return true;
        error = s.error;
    }
    if (lasting && classify(error) == Failure::Damaged) {
        replaceDamaged(reasonOf(error));
        if (available) {
            Session s(connection);
            if (op(s)) return true;
            error = s.error;
        }
    }
    if (failure) messages << QStringLiteral("%1: %2").arg(QLatin1String(failure), reasonOf(error));
    return false;
}

int ScoreStore::placeOf(const QuestionSet& set, int score) {
    return placesOf(set, {score}).value(0);
}

QList<int> ScoreStore::placesOf(const QuestionSet& set, const QList<int>& scores) {
    QList<int> best;
    // Without a hall of fame to read, no score is promised a place it cannot be given.
    if (!run([&](Session& s) {
            qint64 id = 0;
            return s.setId(set, false, id) && (id == 0 || s.bestScores(id, best));
        }))
        return QList<int>(scores.size(), 0);
    return placesAmong(best, scores);
}

QList<int> ScoreStore::placesAmong(const QList<int>& existing, const QList<int>& scores) {
    struct Item {
        int score;
        qsizetype game; // index in scores, or -1 for a score already entered
    };
    QList<Item> all;
    all.reserve(existing.size() + scores.size());
    for (int score : existing)
        all.append({score, -1});
    for (qsizetype i = 0; i < scores.size(); ++i)
        all.append({scores[i], i});
    std::stable_sort(all.begin(), all.end(),
                     [](const Item& a, const Item& b) { return a.score > b.score; });
    QList<int> places(scores.size(), 0);
    for (qsizetype pos = 0; pos < std::min<qsizetype>(all.size(), HallSize); ++pos)
        if (all[pos].game >= 0) places[all[pos].game] = static_cast<int>(pos + 1);
    return places;
}

bool ScoreStore::recordGame(const QuestionSet& set, const QList<PlayerResult>& results) {
    if (!set.isValid()) return false;
    QList<int> scores;
    for (const PlayerResult& r : results)
        scores.append(r.score);
    const QString entered = now().toUTC().toString(Qt::ISODateWithMs);
    return run(
        [&](Session& s) {
            qint64 id = 0;
            QList<int> best;
            if (!s.begin() || !s.setId(set, true, id) || !s.bestScores(id, best)) return false;
            const QList<int> places = placesAmong(best, scores);
            for (qsizetype i = 0; i < results.size(); ++i) {
                if (places[i] == 0) continue;
                const PlayerResult& r = results[i];
                if (!s.exec(QStringLiteral("INSERT INTO %1 (name, score, questions, entered) "
                                           "VALUES (?, ?, ?, ?)")
                                .arg(scoresTable(id)),
                            {cleanName(r.name), r.score, r.questionsPlayed, entered}))
                    return false;
            }
            return s.commit();
        },
        "The scores of this game could not be saved");
}

QList<ScoreEntry> ScoreStore::bestTen(const QuestionSet& set) {
    QList<ScoreEntry> entries;
    run([&](Session& s) {
        entries.clear();
        return s.select(
            set,
            [](qint64 id) {
                return QStringLiteral("SELECT name, score, questions, entered FROM %1 ORDER BY "
                                      "score DESC, id LIMIT %2")
                    .arg(scoresTable(id))
                    .arg(HallSize);
            },
            {},
            [&](const QSqlQuery& row) {
                ScoreEntry e;
                e.name = row.value(0).toString();
                e.score = row.value(1).toInt();
                e.questionsPlayed = row.value(2).toInt();
                e.date = QDateTime::fromString(row.value(3).toString(), Qt::ISODateWithMs);
                entries.append(e);
            });
    });
    return entries;
}

bool ScoreStore::clearHallOfFame() {
    return run(
        [&](Session& s) {
            QList<qint64> ids;
            {
                QSqlQuery query(s.db);
                if (!s.begin() || !s.exec(query, QStringLiteral("SELECT id FROM question_sets")))
                    return false;
                while (query.next())
                    ids.append(query.value(0).toLongLong());
            }
            for (qint64 id : ids)
                if (!s.exec(QStringLiteral("DELETE FROM %1").arg(scoresTable(id)))) return false;
            return s.commit();
        },
        "The hall of fame could not be cleared");
}

bool ScoreStore::clearHallOfFame(const QuestionSet& set) {
    return run(
        [&](Session& s) {
            qint64 id = 0;
            if (!s.begin() || !s.setId(set, false, id)) return false;
            if (id != 0 && !s.exec(QStringLiteral("DELETE FROM %1").arg(scoresTable(id))))
                return false;
            return s.commit();
        },
        "The hall of fame could not be cleared");
}

bool ScoreStore::recordAnswer(const QuestionSet& set, const QString& question, bool right) {
    if (!set.isValid()) return false;
    return run(
        [&](Session& s) {
            qint64 id = 0;
            return s.begin() && s.setId(set, true, id) &&
                   s.exec(QStringLiteral("INSERT INTO %1 (question, asked, answered_right) "
                                         "VALUES (?, 1, ?) ON CONFLICT (question) DO UPDATE "
                                         "SET asked = asked + 1, answered_right = "
                                         "answered_right + excluded.answered_right")
                              .arg(questionsTable(id)),
                          {question, right ? 1 : 0}) &&
                   s.commit();
        },
        "The question's figures could not be saved");
}

QuestionFigures ScoreStore::figures(const QuestionSet& set, const QString& question) {
    return allFigures(set, &question).value(question);
}

QHash<QString, QuestionFigures> ScoreStore::allFigures(const QuestionSet& set) {
    return allFigures(set, nullptr);
}

QHash<QString, QuestionFigures> ScoreStore::allFigures(const QuestionSet& set,
                                                       const QString* only) {
    QHash<QString, QuestionFigures> figures;
    const QVariantList values = only ? QVariantList{*only} : QVariantList{};
    run([&](Session& s) {
        figures.clear();
        return s.select(
            set,
            [only](qint64 id) {
                return QStringLiteral("SELECT question, asked, answered_right FROM %1%2")
                    .arg(questionsTable(id),
                         only ? QStringLiteral(" WHERE question = ?") : QString());
            },
            values,
            [&](const QSqlQuery& row) {
                figures.insert(row.value(0).toString(),
                               {row.value(1).toInt(), row.value(2).toInt()});
            });
    });
    return figures;
}

QString ScoreStore::questionText(const QuestionRecord& record) {
    return QString::fromStdString(Cp1252::toUtf8(record.question));
}

QString ScoreStore::cleanName(const QString& name) {
    QString kept;
    for (QChar c : name)
        if (c.category() != QChar::Other_Control) kept.append(c);
    kept = kept.trimmed();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, kept);
    int count = 0;
    while (graphemes.toNextBoundary() >= 0)
        if (++count == NameLength) return kept.left(graphemes.position()).trimmed();
    return kept;
}
