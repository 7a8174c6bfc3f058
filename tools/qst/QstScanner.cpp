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

QstScanner::~QstScanner() {
    if (m_fd >= 0) ::close(m_fd);
}

bool QstScanner::open(const std::string& path) {
    m_stdPath = path;
    std::int64_t size = 0;
    if (!QstText::openRegularFile(path, m_fd, size, m_error, m_notRegular)) return false;
    m_count = size / static_cast<std::int64_t>(QuestionRecord::Size);
    m_trailing = size % static_cast<std::int64_t>(QuestionRecord::Size);
    // No larger than the file's records: a small set costs a small buffer.
    m_buffer.resize(static_cast<std::size_t>(
                        std::min<std::int64_t>(m_count, RecordsPerRead)) *
                    QuestionRecord::Size);
    return true;
}

const std::uint8_t* QstScanner::next() {
    if (m_fd < 0 || m_index + 1 >= m_count) return nullptr;
    constexpr std::size_t Size = QuestionRecord::Size;
    if (m_have - m_at < Size) {
        // Refill with whole records only, never more than the file's whole records.
        const std::int64_t left = m_count - (m_index + 1);
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::int64_t>(left, RecordsPerRead)) * Size;
        const std::size_t keep = m_have - m_at;
        std::memmove(m_buffer.data(), m_buffer.data() + m_at, keep);
        m_have = keep;
        m_at = 0;
        while (m_have < want) {
            const ssize_t r = ::read(m_fd, m_buffer.data() + m_have, want - m_have);
            if (r < 0) {
                if (errno == EINTR) continue;
                m_error = m_stdPath + ": " + std::strerror(errno);
                return nullptr;
            }
            if (r == 0) {
                m_error = m_stdPath + ": file ended early (it changed while being read)";
                return nullptr;
            }
            m_have += static_cast<std::size_t>(r);
        }
    }
    const std::uint8_t* at = m_buffer.data() + m_at;
    m_at += Size;
    ++m_index;
    return at;
}
