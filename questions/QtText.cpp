#include "QtText.h"

#include "Cp1252.h"

namespace QtText {

QString FromRecord(const std::string& bytes) {
    return QString::fromStdString(Cp1252::ToUtf8(bytes));
}

bool ToRecord(const QString& text, std::string& bytes, QString* bad) {
    char32_t cp = 0;
    if (Cp1252::FromUtf8(text.toStdString(), bytes, &cp)) return true;
    if (bad) *bad = QString::fromUcs4(&cp, 1);
    return false;
}

} // namespace QtText
