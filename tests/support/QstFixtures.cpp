#include "QstFixtures.h"

#include "Cp1252.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace QstFixtures {

QuestionRecord question(const std::string& question, const std::string& answer,
                        const std::string& wrong1, const std::string& wrong2,
                        const std::string& wrong3) {
    QuestionRecord r;
    const std::string* in[5] = {&question, &answer, &wrong1, &wrong2, &wrong3};
    for (std::size_t i = 0; i < 5; ++i)
        if (!Cp1252::fromUtf8(*in[i], r.field(i))) throw std::invalid_argument("not Windows-1252");
    return r;
}

QuestionRecord numbered(int n) {
    const std::string k = std::to_string(n);
    return question("Question " + k, "Right " + k, "Wrong " + k + ".1", "Wrong " + k + ".2",
                    "Wrong " + k + ".3");
}

std::string setBytes(const std::vector<QuestionRecord>& questions) {
    std::string bytes;
    const auto append = [&bytes](const QuestionRecord& r) {
        const auto b = r.encode();
        bytes.append(reinterpret_cast<const char*>(b.data()), b.size());
    };
    append(QuestionRecord::header());
    for (const QuestionRecord& q : questions)
        append(q);
    return bytes;
}

void writeSet(const std::string& path, const std::vector<QuestionRecord>& questions) {
    writeBytes(path, setBytes(questions));
}

void writeNumberedSet(const std::string& path, int n) {
    std::vector<QuestionRecord> qs;
    for (int i = 1; i <= n; ++i)
        qs.push_back(numbered(i));
    writeSet(path, qs);
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace QstFixtures
