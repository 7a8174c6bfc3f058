#include "QuestionDraw.h"

#include "Cp1252.h"
#include "QuestionRecord.h"

#include <algorithm>
#include <limits>
#include <vector>

const QString QuestionDraw::noQuestionFile = QStringLiteral("N/A");
const QString QuestionDraw::selectQuestionFileMessage =
    QStringLiteral("Please select question file.");
const QString QuestionDraw::noQuestionToAskMessage =
    QStringLiteral("Every question in this question set is empty, so there is nothing to ask. "
                   "Please select another question file.");

namespace {
// Question-set text (Windows-1252) as shown.
QString recordText(const std::string& bytes) {
    return QString::fromStdString(Cp1252::toUtf8(bytes));
}

// Whole history entries are record numbers; anything else can match no record.
int historyNumber(const QString& entry) {
    bool ok = false;
    const int n = entry.toInt(&ok);
    return ok ? n : -1;
}

// Record numbers 1 .. questions that the history holds, sorted and without repeats.
std::vector<int> takenNumbers(const QStringList& history, int questions) {
    std::vector<int> taken;
    taken.reserve(static_cast<std::size_t>(history.size()));
    for (const QString& entry : history) {
        const int n = historyNumber(entry);
        if (n >= 1 && n <= questions) taken.push_back(n);
    }
    std::sort(taken.begin(), taken.end());
    taken.erase(std::unique(taken.begin(), taken.end()), taken.end());
    return taken;
}

// Random candidates tried before the draw picks among the free numbers directly.
constexpr int candidateTries = 64;
} // namespace

QuestionDraw::QuestionDraw(QString startupFile) : m_startupFile(std::move(startupFile)) {}

QString QuestionDraw::select(const QString& path, const ReaderRuleSet& rules) {
    const QstCheckResult check = checkQuestionFile(path.toStdString(), rules);
    if (check.status == QstCheck::Accepted) {
        m_file = path;
        return {};
    }
    m_file = noQuestionFile;
    // The game only reads; a read-only set fails only when it cannot be read at all.
    return QString::fromLatin1(check.status == QstCheck::NotFound ? rules.notFoundMessage
                                                                  : rules.damagedMessage);
}

QString QuestionDraw::drawNext() {
    // No set to draw from: the game ends cleanly rather than wait for a question.
    if (!hasFile()) return selectQuestionFileMessage;
    if (draw()) {
        // An empty question is passed over and another drawn; a set of nothing but empty
        // questions would draw for ever, so it is dropped and the game ends.
        if (!m_question.isEmpty() || setHoldsAQuestion()) return {};
        m_file = noQuestionFile;
        return noQuestionToAskMessage;
    }
    // The set went bad after it was checked (removed, cut short or locked): it is dropped and
    // the game ends so the scores still show.
    const bool startup = m_file == m_startupFile;
    m_file = noQuestionFile;
    return QString::fromLatin1(startup ? ReaderRules::GameStartup.damagedMessage
                                       : ReaderRules::GameChange.damagedMessage);
}

bool QuestionDraw::setHoldsAQuestion() const {
    QstFile file;
    if (!file.open(m_file.toStdString(), QstFile::Access::Read)) return false;
    QuestionRecord r;
    for (std::int64_t n = 1; n < file.recordCount(); ++n)
        if (file.read(n, r) && !r.question.empty()) return true;
    return false;
}

bool QuestionDraw::draw() {
    QstFile file;
    if (!file.open(m_file.toStdString(), QstFile::Access::Read)) return false;
    const std::int64_t records = file.recordCount();
    if (records < 2 || records - 1 > std::numeric_limits<int>::max()) return false;
    const int n = static_cast<int>(records);
    const int questions = n - 1;

    int drawn = random(questions) + 1;
    if (n > 3) {
        // A history that holds every question of the set (after a switch to a smaller set)
        // forgets its oldest entries until a question is free again.
        std::vector<int> taken = takenNumbers(m_history, questions);
        while (static_cast<int>(taken.size()) >= questions && !m_history.isEmpty()) {
            m_history.removeFirst();
            taken = takenNumbers(m_history, questions);
        }
        const auto inHistory = [&taken](int candidate) {
            return std::binary_search(taken.begin(), taken.end(), candidate);
        };
        int tries = 1;
        while (inHistory(drawn) && tries < candidateTries) {
            drawn = random(questions) + 1;
            ++tries;
        }
        if (inHistory(drawn)) {
            // Unlucky so far: take the r-th free number, which is just as uniform.
            drawn = random(questions - static_cast<int>(taken.size())) + 1;
            for (int t : taken) {
                if (t > drawn) break;
                ++drawn;
            }
        }
    }

    // Trim: at most one entry goes per draw.
    const int h = static_cast<int>(m_history.size());
    if (h >= 1 && (h - 1 >= questions / 2 || h >= 50)) m_history.removeFirst();
    m_history.append(QString::number(drawn));
    m_drawnRecord = drawn;

    QuestionRecord record;
    if (!file.read(drawn, record)) return false;
    m_question = recordText(record.question);
    m_answers = {recordText(record.answer), recordText(record.wrong1), recordText(record.wrong2),
                 recordText(record.wrong3)};
    m_correctAnswer = m_answers[0];

    // Ten passes of four coin-flip swaps around the ring of slots.
    for (int pass = 0; pass < 10; ++pass) {
        for (std::size_t i = 0; i < 4; ++i)
            if (random(10) >= 5) std::swap(m_answers[i], m_answers[(i + 1) % 4]);
    }
    return true;
}

void QuestionDraw::clear() {
    m_question.clear();
    for (QString& answer : m_answers)
        answer.clear();
}

int QuestionDraw::random(int n) {
    if (n <= 1) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(m_generator);
}

int QuestionDraw::correctSlot() const {
    for (int i = 0; i < 4; ++i)
        if (m_answers[static_cast<std::size_t>(i)] == m_correctAnswer) return i;
    return -1;
}
