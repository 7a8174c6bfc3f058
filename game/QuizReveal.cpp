// The question tick: draws a question and types it out letter by letter.
#include "Quiz.h"

#include "Dialogs.h"
#include "QstFile.h"
#include "QtText.h"
#include "SoundCues.h"

#include <QAction>

#include <algorithm>
#include <limits>
#include <vector>

namespace {
const QString NoFile = QStringLiteral("N/A");

// Whole history entries are record numbers; anything else can match no record.
int HistoryNumber(const QString& entry) {
    bool ok = false;
    const int n = entry.toInt(&ok);
    return ok ? n : -1;
}

// Record numbers 1 .. questions that the history holds, sorted and without repeats.
std::vector<int> TakenNumbers(const QStringList& history, int questions) {
    std::vector<int> taken;
    taken.reserve(static_cast<std::size_t>(history.size()));
    for (const QString& entry : history) {
        const int n = HistoryNumber(entry);
        if (n >= 1 && n <= questions) taken.push_back(n);
    }
    std::sort(taken.begin(), taken.end());
    taken.erase(std::unique(taken.begin(), taken.end()), taken.end());
    return taken;
}

// Random candidates tried before the draw picks among the free numbers directly.
constexpr int CandidateTries = 64;
} // namespace

void TQuizScreen::Timer3Timer() {
    TQuizState& s = State;
    if (!s.GameRunning || s.AnswersOpen || s.Credit == -1) return;

    // A. Draw the next question.
    if (s.QuestionText.isEmpty()) {
        if (s.QuestionFileName == NoFile) {
            // No set to draw from: end the game cleanly rather than wait for a question.
            FServices.Dialogs.Warning(this, QStringLiteral("Please select question file."));
            GameOverStep();
            return;
        }
        if (!DrawQuestion()) {
            // The set went bad after it was checked (removed, cut short or locked): say so
            // once, drop the set and end the game so the scores still show.
            const bool startup =
                s.QuestionFileName == FServices.ProgramDir + QStringLiteral("/REGD.QST");
            s.QuestionFileName = NoFile;
            FServices.Dialogs.Warning(
                this, QString::fromLatin1(startup ? ReaderRules::GameStartup.DamagedMessage
                                                  : ReaderRules::GameChange.DamagedMessage));
            GameOverStep();
        }
        return;
    }

    // B. Type one letter, unless a Wrong or TimeOut panel holds the question.
    if (!Wrong->isHidden() || !TimeOut->isHidden()) return;

    QString caption = QuestionBlock->Caption();
    if (caption.isEmpty()) {
        // The question is charged at its first letter.
        DecrementCreditClick();
        if (s.Credit == -1) {
            GameOverStep();
            return;
        }
    }
    if (caption.size() < s.QuestionText.size()) caption.append(s.QuestionText.at(caption.size()));
    QuestionBlock->SetCaption(caption);

    if (caption == s.QuestionText) {
        for (std::size_t i = 0; i < 4; ++i) {
            Answer[i]->SetCaption(s.AnswerSlot[i]);
            Answer[i]->setAccessibleName(QStringLiteral("%1: %2")
                                             .arg(QChar(u'A' + static_cast<char16_t>(i)))
                                             .arg(s.AnswerSlot[i]));
        }
        s.AnswersOpen = true;
        for (TLabel* cap : Cap)
            cap->show();
        for (TLabel* answer : Answer)
            answer->show();
        for (TShape* cover : Cover)
            cover->show();
    } else {
        Cues().TypingClick();
    }
}

bool TQuizScreen::DrawQuestion() {
    TQuizState& s = State;
    TQstFile file;
    if (!file.Open(s.QuestionFileName.toStdString(), TQstFile::TAccess::Read)) return false;
    const std::int64_t records = file.RecordCount();
    if (records < 2 || records - 1 > std::numeric_limits<int>::max()) return false;
    const int n = static_cast<int>(records);
    const int questions = n - 1;

    int drawn = Random(questions) + 1;
    if (n > 3) {
        // A history that holds every question of the set (after a switch to a smaller set)
        // forgets its oldest entries until a question is free again.
        std::vector<int> taken = TakenNumbers(s.DrawHistory, questions);
        while (static_cast<int>(taken.size()) >= questions && !s.DrawHistory.isEmpty()) {
            s.DrawHistory.removeFirst();
            taken = TakenNumbers(s.DrawHistory, questions);
        }
        const auto inHistory = [&taken](int candidate) {
            return std::binary_search(taken.begin(), taken.end(), candidate);
        };
        int tries = 1;
        while (inHistory(drawn) && tries < CandidateTries) {
            drawn = Random(questions) + 1;
            ++tries;
        }
        if (inHistory(drawn)) {
            // Unlucky so far: take the r-th free number, which is just as uniform.
            drawn = Random(questions - static_cast<int>(taken.size())) + 1;
            for (int t : taken) {
                if (t > drawn) break;
                ++drawn;
            }
        }
    }

    // Trim: at most one entry goes per draw.
    const int h = static_cast<int>(s.DrawHistory.size());
    if (h >= 1 && (h - 1 >= questions / 2 || h >= 50)) s.DrawHistory.removeFirst();
    s.DrawHistory.append(QString::number(drawn));
    s.DrawnRecord = drawn;

    if (!file.Read(drawn, s.RecordBuffer)) return false;
    s.QuestionText = QtText::FromRecord(s.RecordBuffer.Question);
    s.AnswerSlot[0] = QtText::FromRecord(s.RecordBuffer.Answer);
    s.AnswerSlot[1] = QtText::FromRecord(s.RecordBuffer.Wrong1);
    s.AnswerSlot[2] = QtText::FromRecord(s.RecordBuffer.Wrong2);
    s.AnswerSlot[3] = QtText::FromRecord(s.RecordBuffer.Wrong3);
    s.CorrectAnswer = s.AnswerSlot[0];

    // Ten passes of four coin-flip swaps around the ring of slots.
    for (int pass = 0; pass < 10; ++pass) {
        for (std::size_t i = 0; i < 4; ++i)
            if (Random(10) >= 5) std::swap(s.AnswerSlot[i], s.AnswerSlot[(i + 1) % 4]);
    }
    return true;
}
