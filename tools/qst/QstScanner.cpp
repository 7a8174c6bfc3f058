#include "QstScanner.h"

#include "QstText.h"
#include "QuestionRecord.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
constexpr std::size_t RecordsPerRead = 1024;
}

TQstScanner::~TQstScanner() {
    if (FFd >= 0) ::close(FFd);
}

bool TQstScanner::Open(const std::string& path) {
    FPath = path;
    std::int64_t size = 0;
    if (!QstText::OpenRegularFile(path, FFd, size, FError, FNotRegular)) return false;
    FCount = size / static_cast<std::int64_t>(TQuestionRecord::Size);
    FTrailing = size % static_cast<std::int64_t>(TQuestionRecord::Size);
    FBuffer.resize(RecordsPerRead * TQuestionRecord::Size);
    return true;
}

const std::uint8_t* TQstScanner::Next() {
    if (FFd < 0 || FIndex + 1 >= FCount) return nullptr;
    constexpr std::size_t Size = TQuestionRecord::Size;
    if (FHave - FAt < Size) {
        // Refill with whole records only, never more than the file's whole records.
        const std::int64_t left = FCount - (FIndex + 1);
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::int64_t>(left, RecordsPerRead)) * Size;
        const std::size_t keep = FHave - FAt;
        std::memmove(FBuffer.data(), FBuffer.data() + FAt, keep);
        FHave = keep;
        FAt = 0;
        while (FHave < want) {
            const ssize_t r = ::read(FFd, FBuffer.data() + FHave, want - FHave);
            if (r < 0) {
                if (errno == EINTR) continue;
                FError = FPath + ": " + std::strerror(errno);
                return nullptr;
            }
            if (r == 0) {
                FError = FPath + ": file ended early (it changed while being read)";
                return nullptr;
            }
            FHave += static_cast<std::size_t>(r);
        }
    }
    const std::uint8_t* at = FBuffer.data() + FAt;
    FAt += Size;
    ++FIndex;
    return at;
}
