#include "QuestionSet.h"

#include "QstFile.h"
#include "QuestionRecord.h"

#include <QFileInfo>

QuestionSet::QuestionSet(const QString& fileName, const QuestionRecord& header)
    : fileName_(fileName) {
    for (std::size_t i = 0; i < QuestionRecord::FieldCount; ++i) {
        const std::string& text = header.field(i);
        header_.append(static_cast<char>(text.size()));
        header_.append(text.data(), static_cast<qsizetype>(text.size()));
    }
}

QuestionSet QuestionSet::fromFile(const QString& path, QString* error) {
    QstFile file;
    QuestionRecord header;
    QString problem;
    if (!file.open(path.toStdString(), QstFile::Access::Read) || !file.read(0, header))
        problem = QString::fromStdString(file.errorText());
    else if (!header.isHeader())
        problem = QStringLiteral("%1 is not a question set").arg(path);
    if (problem.isEmpty()) return QuestionSet(QFileInfo(path).fileName(), header);
    if (error) *error = problem;
    return {};
}

QuestionSet QuestionSet::fromStored(const QString& fileName, const QByteArray& header) {
    QuestionSet set;
    set.fileName_ = fileName;
    set.header_ = header;
    return set;
}
