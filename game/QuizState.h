#pragma once

#include "QuestionRecord.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

// The game screen's state: what every handler of the game reads and writes. Array indices
// are 0-based: PlayerCredit[0] is player 1, AnswerSlot[0] is answer A.
struct TQuizState {
    // A game is in progress: from the first turn start until the reset after the final scores.
    bool GameRunning = false;
    // The question is typed out and the four answers can be chosen.
    bool AnswersOpen = false;
    // Question of the drawn record; empty: no question drawn, the next question tick draws.
    QString QuestionText;
    // The four answers after the shuffle, shown as A to D.
    std::array<QString, 4> AnswerSlot;
    // The drawn record's correct answer, taken before the shuffle.
    QString CorrectAnswer;
    // Number of the record drawn last.
    int DrawnRecord = 0;
    // The record read last from the question file.
    TQuestionRecord RecordBuffer;
    // Full path of the game's question file; "N/A" when no usable file is selected.
    QString QuestionFileName;
    // Note counter of the fall-run sound.
    std::uint8_t FallNote = 0;
    // Velocity of the answer-press sound.
    std::uint8_t ClickVelocity = 0;

    // Credit of the player at the controls; -1: exhausted.
    int Credit = 500;
    // Each player's own credit in a game of several players.
    std::array<int, 4> PlayerCredit{-1, -1, -1, -1};
    // 0 in a one-player game, else the player whose turn it is (1 to 4).
    int CurrentPlayer = 0;
    // Number of named player slots.
    int PlayerCount = 0;
    // Highest credit each player reached in the game.
    std::array<int, 4> PlayerScore{0, 0, 0, 0};
    // The answer buttons A to D show their lit picture.
    std::array<int, 4> ButtonLit{0, 0, 0, 0};
    // START shows its lit picture.
    int StartLit = 0;
    // Which picture of the correct-answer flash shows next.
    int CorrectPhase = 0;

    // The draw history: record numbers drawn recently, oldest first; never cleared.
    QStringList DrawHistory;

    // Prize ladder: the lamp lit last (1 $1, 2 $5, 3 $15, 4 $50; 0 before the first spin).
    int LadderStep = 0;
    // The lamps $1, $5, $15, $50, LOSE show their On picture.
    std::array<int, 5> LampLit{0, 0, 0, 0, 0};
    // STOP shows its lit picture; during a spin: the spin has been stopped.
    int StopLit = 0;
    // Prize of the last stop: 1 $1, 2 $5, 3 $15, 4 $50, 5 LOSE.
    std::uint8_t PrizeIndex = 0;

    // Attract mode: which answer button the next cycle tick lights (0 A ... 3 D).
    int ButtonCycle = 0;
    // Stage of the attract picture sequence and ticks since the stage began.
    int AttractStage = 0;
    int AttractTicks = 0;
    // Which title logo the top panel shows: 1 the lit one, 0 the other.
    int LogoPhase = 0;

    // Sound is wished for (the stored "PlaySound" option, or the player's last choice).
    bool SoundWanted = true;
};
