#pragma once

#include <QString>

#include <string>

// Question-file text at the user-interface edge: Windows-1252 bytes to and from QString.
namespace QtText {

QString fromRecord(const std::string& bytes);
// False when the text holds a character Windows-1252 cannot hold, or half of a UTF-16
// surrogate pair; *bad receives the character (U+FFFD for the half pair). Nothing is ever
// stored in place of such a character.
bool toRecord(const QString& text, std::string& bytes, QString* bad = nullptr);

} // namespace QtText
