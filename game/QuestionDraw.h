#pragma once

#include "QstFile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <random>

// The question set a game draws from and the draw: the history rule that keeps recent
// questions from coming back, the random numbers seeded at every reset, and the question drawn
// with its four answers shuffled into the slots A to D.
class QuestionDraw {
public:
    // What "no usable set" is stored as.
    static const QString noQuestionFile;
    // The warning for a game without a set.
    static const QString selectQuestionFileMessage;
    // The warning for a set whose every question is empty: nothing can be asked.
    static const QString noQuestionToAskMessage;

    // startupFile: the set of a new attract mode ("REGD.QST" of the program directory); its
    // failures are worded as the start-up's.
    explicit QuestionDraw(QString startupFile = {});

    // Full path of the start-up set.
    const QString& startupFile() const { return m_startupFile; }
    // Full path of the set drawn from; "N/A" when no usable set is selected.
    const QString& file() const { return m_file; }
    bool hasFile() const { return m_file != noQuestionFile; }

    // Checks a set with a reader's rules and makes it the set, or no set at all when it fails.
    // Returns the warning to show; empty when the set is accepted.
    QString select(const QString& path, const ReaderRuleSet& rules);

    // Draws the next question. Returns the warning to show when there is no set, it went bad
    // since it was checked, or it holds nothing to ask (the set is then dropped and the game
    // must end); empty when a question was drawn (possibly an empty one, which the caller
    // passes over by drawing again).
    QString drawNext();
    // Draws a record with the history rule and the answer shuffle; false after an
    // input/output failure.
    bool draw();
    // No question is drawn.
    void clear();

    // The random numbers start again from this seed.
    void seed(std::uint32_t seed) { m_generator.seed(seed); }
    // A uniform random integer 0 <= r < n.
    int random(int n);

    // The question drawn; empty: none (or an empty record).
    const QString& question() const { return m_question; }
    // The four answers after the shuffle, shown as A to D.
    const std::array<QString, 4>& answers() const { return m_answers; }
    // The drawn record's correct answer, taken before the shuffle.
    const QString& correctAnswer() const { return m_correctAnswer; }
    // The slot (0..3) that shows the correct answer; -1 when none does.
    int correctSlot() const;
    // Number of the record drawn last.
    int drawnRecord() const { return m_drawnRecord; }
    // Record numbers drawn recently, oldest first; never cleared.
    const QStringList& history() const { return m_history; }

private:
    friend class GamePosition; // tests set up positions through it
    // Some record of the set holds a question with text.
    bool setHoldsAQuestion() const;

    QString m_startupFile;
    QString m_file = noQuestionFile;
    QStringList m_history;
    std::mt19937 m_generator;
    QString m_question;
    std::array<QString, 4> m_answers;
    QString m_correctAnswer;
    int m_drawnRecord = 0;
};
