#include "OtdbSource.h"

#include "HtmlEntities.h"
#include "JsonValue.h"

namespace {

using TKind = TJsonValue::TKind;

// Reads one entry of "results" into row, or says why it cannot be a question.
std::string ReadEntry(const TJsonValue& entry, TSourceRow& row) {
    if (entry.Kind != TKind::Object) return "entry is not an object";
    if (const TJsonValue* type = entry.Find("type")) {
        if (type->Kind != TKind::String) return "\"type\" is not a string";
        if (type->Text == "boolean") return "true/false question";
        if (type->Text != "multiple") return "unknown question type \"" + type->Text + "\"";
    }
    const TJsonValue* question = entry.Find("question");
    const TJsonValue* correct = entry.Find("correct_answer");
    const TJsonValue* wrong = entry.Find("incorrect_answers");
    if (!question || question->Kind != TKind::String) return "no \"question\" text";
    if (!correct || correct->Kind != TKind::String) return "no \"correct_answer\" text";
    if (!wrong || wrong->Kind != TKind::Array) return "no \"incorrect_answers\" list";
    if (wrong->Items.size() != 3)
        return "\"incorrect_answers\" holds " + std::to_string(wrong->Items.size()) +
               " answers (3 needed)";
    for (const auto& w : wrong->Items)
        if (w.Kind != TKind::String) return "\"incorrect_answers\" holds a value that is not text";
    row.Fields[0] = HtmlEntities::Decode(question->Text);
    row.Fields[1] = HtmlEntities::Decode(correct->Text);
    for (std::size_t k = 0; k < 3; ++k)
        row.Fields[2 + k] = HtmlEntities::Decode(wrong->Items[k].Text);
    return {};
}

} // namespace

TParsedSource ParseOtdbSource(std::string_view utf8) {
    TParsedSource out;
    TJsonValue doc;
    if (!TJsonValue::Parse(utf8, doc, out.Error, out.ErrorLine)) {
        out.Error = "not valid JSON: " + out.Error;
        return out;
    }
    const char* shape = "not an Open Trivia Database document (expected an object with a "
                        "\"results\" list)";
    if (doc.Kind != TKind::Object) {
        out.Error = shape;
        out.ErrorLine = doc.Line;
        return out;
    }
    if (const TJsonValue* code = doc.Find("response_code")) {
        if (code->Kind != TKind::Number || code->Text != "0") {
            out.Error = "response_code is " +
                        (code->Kind == TKind::Number ? code->Text : "not a number") +
                        ", not 0: the download holds no questions";
            out.ErrorLine = code->Line;
            return out;
        }
    }
    const TJsonValue* results = doc.Find("results");
    if (!results || results->Kind != TKind::Array) {
        out.Error = shape;
        out.ErrorLine = results ? results->Line : doc.Line;
        return out;
    }
    for (const TJsonValue& entry : results->Items) {
        TSourceRow row;
        row.Line = entry.Line;
        std::string why = ReadEntry(entry, row);
        if (why.empty())
            out.Rows.push_back(std::move(row));
        else
            out.Skipped.push_back({entry.Line, std::move(why)});
    }
    return out;
}
