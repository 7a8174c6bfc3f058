// The question editor's search: by question number, or the next question holding a text.
#include "Setques.h"

#include "Dialogs.h"
#include "EditorFindDialog.h"
#include "EditorScan.h"
#include "QtText.h"

#include <QApplication>
#include <QLineEdit>

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <string>

namespace {
// The busy cursor for the time of one search, restored however the search ends.
class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

// How a search text reads as a number.
struct TNumberText {
    bool IsNumber = false; // a decimal number: blanks before, a sign, a point, an exponent
    double Value = 0;
    std::optional<std::int64_t> Whole; // set when it is also a whole number that fits
};

TNumberText ReadNumber(const QString& text) {
    TNumberText out;
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
    out.IsNumber = true;
    out.Value = std::strtod(number.c_str(), nullptr);
    if (integral && !fraction && !exponent) {
        std::int64_t whole = 0;
        const char* first = number.c_str() + (number[0] == '+' ? 1 : 0);
        const char* last = number.c_str() + number.size();
        const auto [ptr, ec] = std::from_chars(first, last, whole);
        if (ec == std::errc() && ptr == last) out.Whole = whole;
    }
    return out;
}
} // namespace

void TSetQuestions::SearchClick() {
    FindDialog1->show();
    FindDialog1->raise();
    FindDialog1->activateWindow();
}

void TSetQuestions::FindDialog1Find() {
    const TBusyCursor busy;
    // Without a set, or while the fields hold texts not yet stored, there is nothing to search
    // (the dialog's Find Next is disabled then too).
    if (!SetLoaded() || FieldsDiffer(FState.EditorRecord)) return;
    const QString text = FindDialog1->FindText();
    const TNumberText number = ReadNumber(text);
    auto& s = FState;

    if (number.IsNumber && number.Value >= 1) {
        // Search by question number.
        const QString valid =
            QStringLiteral("Valid Numbers 1-%1").arg(std::max<std::int64_t>(s.RecordCount - 1, 0));
        if (!number.Whole) {
            // "2.5" or "1e2" is no question number: say which are, and move nothing.
            FServices.Dialogs.Information(this, valid);
            return;
        }
        const std::int64_t n = *number.Whole;
        if (text != s.LastSearchText) {
            s.LastSearchText = text;
            s.SearchPosition = 0;
        }
        if (n >= s.RecordCount) {
            FServices.Dialogs.Information(this, valid);
            return;
        }
        TQstFile file;
        if (OpenSet(file) && ShowRecord(file, n)) SetRecNum(n);
        return;
    }

    // Search for the text, from the question after the last hit.
    if (text != s.LastSearchText) {
        s.LastSearchText = text;
        s.SearchPosition = 0;
    }
    s.SearchPosition += 1;
    std::string pattern;
    const bool storable = QtText::ToRecord(s.LastSearchText, pattern);
    bool hit = false;
    const std::int64_t last = s.RecordCount - 1;
    if (s.SearchPosition <= last) {
        const TQuestionRecord before = s.EditorRecord;
        const TEditorScan::TResult scan =
            TEditorScan::Find(FilePath(), s.SearchPosition, last,
                              storable ? std::optional<std::string_view>(pattern) : std::nullopt);
        s.SearchPosition = scan.Position;
        if (!scan.Ok) {
            // The buffer stays with the record shown, so the window goes on as before.
            ReportError(scan.ErrorText);
            return;
        }
        if (scan.RecordRead) s.EditorRecord = scan.Record;
        hit = scan.Hit;
        if (hit) {
            SetRecNum(scan.Position);
            shownStored = scan.Record;
            ShowBuffer();
        } else {
            // Back to the record shown: its answers return, the question keeps its text.
            s.SearchPosition = 0;
            TQstFile file;
            if (!OpenSet(file)) return;
            const std::int64_t count = file.RecordCount();
            if (FRecNum >= 1 && FRecNum < count) {
                TQuestionRecord shown;
                if (!file.Read(FRecNum, shown)) {
                    ReportError(file.ErrorText());
                    return;
                }
                s.EditorRecord = shown;
                shownStored = shown;
                ShowBuffer(false);
            } else {
                // The append position has no record on the disk to return to.
                s.EditorRecord = before;
            }
        }
    }
    if (!hit) {
        FServices.Dialogs.Information(this, QStringLiteral("No match found"));
        s.LastSearchText = text;
        s.SearchPosition = 0;
    }
}
