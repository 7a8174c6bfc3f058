#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QString>

struct QuestionRecord;

// The question set that scores and figures belong to: its file name (without the folder, so
// a set that is moved or installed elsewhere keeps its hall of fame) and its header record.
class QuestionSet {
public:
    QuestionSet() = default;
    QuestionSet(const QString& fileName, const QuestionRecord& header);

    // The set in the question file at path, known by its header record. An unreadable file,
    // or one whose first record is not a header, gives an invalid set and *error says why.
    static QuestionSet fromFile(const QString& path, QString* error = nullptr);
    // The set as a store keeps it: its file name and header() as stored.
    static QuestionSet fromStored(const QString& fileName, const QByteArray& header);

    bool isValid() const { return !fileName_.isEmpty(); }
    const QString& fileName() const { return fileName_; }
    // The texts of the header's five fields, each after its length byte, as stored: the
    // bytes behind a text carry no meaning and are left out.
    const QByteArray& header() const { return header_; }

    bool operator==(const QuestionSet&) const = default;

private:
    QString fileName_;
    QByteArray header_;
};

inline size_t qHash(const QuestionSet& set, size_t seed = 0) {
    return qHashMulti(seed, set.fileName(), set.header());
}
