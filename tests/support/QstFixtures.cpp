#include "QstFixtures.h"

#include "Cp1252.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace QstFixtures {

TQuestionRecord Question(const std::string& question, const std::string& answer,
                         const std::string& wrong1, const std::string& wrong2,
                         const std::string& wrong3) {
    TQuestionRecord r;
    const std::string* in[5] = {&question, &answer, &wrong1, &wrong2, &wrong3};
    for (std::size_t i = 0; i < 5; ++i)
        if (!Cp1252::FromUtf8(*in[i], r.Field(i))) throw std::invalid_argument("not Windows-1252");
    return r;
}

TQuestionRecord Numbered(int n) {
    const std::string k = std::to_string(n);
    return Question("Question " + k, "Right " + k, "Wrong " + k + ".1", "Wrong " + k + ".2",
                    "Wrong " + k + ".3");
}

void WriteSet(const std::string& path, const std::vector<TQuestionRecord>& questions) {
    std::string bytes;
    const auto append = [&bytes](const TQuestionRecord& r) {
        const auto b = r.Encode();
        bytes.append(reinterpret_cast<const char*>(b.data()), b.size());
    };
    append(TQuestionRecord::Header());
    for (const TQuestionRecord& q : questions) append(q);
    WriteBytes(path, bytes);
}

void WriteNumberedSet(const std::string& path, int n) {
    std::vector<TQuestionRecord> qs;
    for (int i = 1; i <= n; ++i) qs.push_back(Numbered(i));
    WriteSet(path, qs);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace QstFixtures
