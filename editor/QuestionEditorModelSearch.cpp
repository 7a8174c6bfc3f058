// The question editor's search: by question number, or the next question holding a text.
// It reads the set from the file, never the texts on screen.
#include "QuestionEditorModel.h"

#include "Dialogs.h"
#include "QtText.h"
#include "QuestionScan.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <string>

namespace {
// How a search text reads as a number.
struct NumberText {
    bool isNumber = false; // a decimal number: blanks before, a sign, a point, an exponent
    double value = 0;
    std::optional<std::int64_t> whole; // set when it is also a whole number that fits
};

NumberText readNumber(const QString& text) {
    NumberText out;
    const QByteArray bytes = text.toUtf8();
    const char* s = bytes.constData();
    std::size_t i = 0, n = static_cast<std::size_t>(bytes.size());
    while (i < n && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i, ++digits;
    const bool integral = digits > 0;
    bool fraction = false;
    if (i < n && s[i] == '.') {
        fraction = true;
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i, ++digits;
    }
    if (digits == 0) return out;
    bool exponent = false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
        std::size_t expDigits = 0;
        while (j < n && std::isdigit(static_cast<unsigned char>(s[j])))
            ++j, ++expDigits;
        if (expDigits == 0) return out;
        exponent = true;
        i = j;
    }
    if (i != n) return out; // nothing may follow the number
    const std::string number(s + start, n - start);
    out.isNumber = true;
    out.value = std::strtod(number.c_str(), nullptr);
    if (integral && !fraction && !exponent) {
        std::int64_t whole = 0;
        const char* first = number.c_str() + (number[0] == '+' ? 1 : 0);
        const char* last = number.c_str() + number.size();
        const auto [ptr, ec] = std::from_chars(first, last, whole);
        if (ec == std::errc() && ptr == last) out.whole = whole;
    }
    return out;
}
} // namespace

void QuestionEditorModel::findNext(const QString& text) {
    const auto told = tellViewAtEnd();
    // Without a set, or while the texts are not stored, there is nothing to search (the
    // window offers no Find Next then either).
    if (!isSetLoaded() || fieldsDiffer(editorState.recordBuffer)) return;
    const NumberText number = readNumber(text);
    auto& s = editorState;

    if (number.isNumber && number.value >= 1) {
        // Search by question number.
        const QString valid =
            QStringLiteral("Valid Numbers 1-%1").arg(std::max<std::int64_t>(s.recordCount - 1, 0));
        if (!number.whole) {
            // "2.5" or "1e2" is no question number: say which are, and move nothing.
            dialogs().information(dialogParent, valid);
            return;
        }
        const std::int64_t n = *number.whole;
        if (text != s.lastSearchText) {
            s.lastSearchText = text;
            s.searchPosition = 0;
        }
        if (n >= s.recordCount) {
            dialogs().information(dialogParent, valid);
            return;
        }
        QstFile file;
        if (openSet(file) && showRecord(file, n)) showQuestionNumber(n);
        return;
    }

    // Search for the text, from the question after the last hit.
    if (text != s.lastSearchText) {
        s.lastSearchText = text;
        s.searchPosition = 0;
    }
    s.searchPosition += 1;
    std::string pattern;
    const bool storable = QtText::toRecord(s.lastSearchText, pattern);
    bool hit = false;
    const std::int64_t last = s.recordCount - 1;
    if (s.searchPosition <= last) {
        const QuestionRecord before = s.recordBuffer;
        const QuestionScan::Result scan =
            QuestionScan::find(filePath(), s.searchPosition, last,
                               storable ? std::optional<std::string_view>(pattern) : std::nullopt);
        s.searchPosition = scan.position;
        if (!scan.ok) {
            // The buffer stays with the record shown, so the editor goes on as before.
            reportError(scan.errorText);
            return;
        }
        if (scan.recordRead) s.recordBuffer = scan.record;
        hit = scan.hit;
        if (hit) {
            showQuestionNumber(scan.position);
            shownStored = scan.record;
            showRecordBuffer();
        } else {
            // Back to the record shown, read again: all five texts, so that what the window
            // shows is the record that Store will compare with, even when another program
            // changed it meanwhile.
            s.searchPosition = 0;
            QstFile file;
            if (!openSet(file)) return;
            const std::int64_t count = file.recordCount();
            if (shownRecord >= 1 && shownRecord < count) {
                QuestionRecord shown;
                if (!file.read(shownRecord, shown)) {
                    reportError(file.errorText());
                    return;
                }
                s.recordBuffer = shown;
                shownStored = shown;
                showRecordBuffer();
            } else {
                // The append position has no record on the disk to return to.
                s.recordBuffer = before;
            }
        }
    }
    if (!hit) {
        dialogs().information(dialogParent, QStringLiteral("No match found"));
        s.lastSearchText = text;
        s.searchPosition = 0;
    }
}
