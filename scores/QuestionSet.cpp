#include "QuestionSet.h"

#include "QstFile.h"
#include "QuestionRecord.h"

#include <QFileInfo>

QuestionSet::QuestionSet(const QString& fileName, const TQuestionRecord& header)
    : fileName_(fileName) {
    for (std::size_t i = 0; i < TQuestionRecord::FieldCount; ++i) {
        const std::string& text = header.Field(i);
        header_.append(static_cast<char>(text.size()));
        header_.append(text.data(), static_cast<qsizetype>(text.size()));
    }
}

QuestionSet QuestionSet::fromFile(const QString& path, QString* error) {
    TQstFile file;
    TQuestionRecord header;
    QString problem;
    if (!file.Open(path.toStdString(), TQstFile::TAccess::Read) || !file.Read(0, header))
        problem = QString::fromStdString(file.ErrorText());
    else if (!header.IsHeader())
        problem = QStringLiteral("%1 is not a question set").arg(path);
    if (problem.isEmpty()) return QuestionSet(QFileInfo(path).fileName(), header);
    if (error) *error = problem;
    return {};
}
