#include "FiguresCsv.h"

#include "CsvField.h"
#include "QstFile.h"
#include "QuestionRecord.h"
#include "ScoreStore.h"

#include <QFileInfo>
#include <QIODevice>

#include <string>

namespace {

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

} // namespace

bool writeFiguresCsv(ScoreStore& store, const QString& path, QIODevice& out, QString* error) {
    QstFile file;
    QuestionRecord record;
    if (!file.open(path.toStdString(), QstFile::Access::Read))
        return fail(error, QString::fromStdString(file.errorText()));
    const std::int64_t count = file.recordCount();
    if (count < 1)
        return fail(error, QStringLiteral("%1 is not a question set (shorter than one record)")
                               .arg(path));
    if (!file.read(0, record)) return fail(error, QString::fromStdString(file.errorText()));
    if (!record.isHeader())
        return fail(error, QStringLiteral("%1 is not a question set").arg(path));

    const QHash<QString, QuestionFigures> figures =
        store.allFigures(QuestionSet(QFileInfo(path).fileName(), record));
    std::string text = "number,question,asked,right,percent right\n";
    for (std::int64_t n = 1; n < count; ++n) {
        if (!file.read(n, record)) return fail(error, QString::fromStdString(file.errorText()));
        const QString question = ScoreStore::questionText(record);
        const QuestionFigures f = figures.value(question);
        text += std::to_string(n) + ',';
        Csv::appendField(text, question.toStdString());
        text += ',' + std::to_string(f.asked) + ',' + std::to_string(f.right) + ',';
        if (f.asked > 0) text += std::to_string(f.percentRight());
        text += '\n';
    }
    if (out.write(text.data(), static_cast<qint64>(text.size())) !=
        static_cast<qint64>(text.size()))
        return fail(error, QStringLiteral("cannot write the figures: %1").arg(out.errorString()));
    return true;
}
