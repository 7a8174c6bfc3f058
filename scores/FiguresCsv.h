#pragma once

#include <QString>

class QIODevice;
class ScoreStore;

// Writes how each question of the set at path fared, as CSV in UTF-8 with LF line ends: the
// header row number,question,asked,right,percent right, then one row per question in the
// set's order (its number in the set, its text, the times asked, the times answered right
// and the share right in whole percent, empty when never asked). Fields that hold a comma,
// a double quote, a line break or a blank at either end are quoted. Returns false, with
// *error saying why, when the set cannot be read or the output cannot be written.
bool writeFiguresCsv(ScoreStore& store, const QString& path, QIODevice& out,
                     QString* error = nullptr);
