#pragma once

#include "QuizGame.h"

#include <QString>
#include <QStringList>

#include <array>

// Sets a game up at a position a test needs (a last credit, a set gone bad, a drawn question)
// without playing up to it. Only tests use it; the game itself moves only by its commands and
// timers.
class GamePosition {
public:
    static void setCredit(QuizGame& game, int credit) { game.m_players.m_credit = credit; }
    static void setPlayerCredits(QuizGame& game, const std::array<int, 4>& credits) {
        game.m_players.m_credits = credits;
    }
    static void setPlayerCredit(QuizGame& game, int slot, int credit) {
        game.m_players.m_credits[static_cast<std::size_t>(slot - 1)] = credit;
    }
    static void setPlayerScores(QuizGame& game, const std::array<int, 4>& scores) {
        game.m_players.m_scores = scores;
    }
    static void setQuestionsPlayed(QuizGame& game, const std::array<int, 4>& played) {
        game.m_players.m_questionsPlayed = played;
    }
    static void setQuestionFile(QuizGame& game, const QString& path) { game.m_draw.m_file = path; }
    static void setDrawHistory(QuizGame& game, const QStringList& history) {
        game.m_draw.m_history = history;
    }
    // A drawn question: its text, the four answers as shown A to D, and the correct one.
    static void setQuestion(QuizGame& game, const QString& question,
                            const std::array<QString, 4>& answers, const QString& correct) {
        game.m_draw.m_question = question;
        game.m_draw.m_answers = answers;
        game.m_draw.m_correctAnswer = correct;
    }
    static void setPrize(QuizGame& game, Lamp prize) { game.m_ladder.m_prize = prize; }
    // The game jumps to a phase, as its own rules would take it there.
    static void enterPhase(QuizGame& game, QuizGame::Phase phase) { game.setPhase(phase); }
    // A timer's handler runs now, as if it fired late.
    static void fireTimer(QuizGame& game, QuizGame::GameTimer timer) {
        game.m_timers[static_cast<std::size_t>(timer)]->fire();
    }
    // The note the falling run under Wrong and TimeOut plays next.
    static int fallNote(const QuizGame& game) { return game.m_fallNote; }

    // The same for the value types on their own.
    static void setCredits(Players& players, int shown, const std::array<int, 4>& credits,
                           int current) {
        players.m_credit = shown;
        players.m_credits = credits;
        players.m_current = current;
    }
    static void setScores(Players& players, const std::array<int, 4>& scores) {
        players.m_scores = scores;
    }
    static void setHistory(QuestionDraw& draw, const QStringList& history) {
        draw.m_history = history;
    }
};
