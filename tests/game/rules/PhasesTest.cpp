#include "GameRulesFixture.h"
#include "GamePosition.h"

#include <QSignalSpy>

#include <set>
#include <vector>

namespace {
using Phase = QuizGame::Phase;

// The game timers that run now, by name.
std::vector<std::string> running(QuizGame& game) {
    std::vector<std::string> names;
    for (const Timer* t : game.timers())
        if (t->enabled()) names.push_back(t->name());
    return names;
}
} // namespace

// The game's phases without a window: commands and timers move it, and each phase runs only
// the timers it owns.
class PhasesTest : public GameRulesFixture {
protected:
    void SetUp() override {
        create(20);
        spy = std::make_unique<QSignalSpy>(game.get(), &QuizGame::phaseChanged);
    }
    // The phases entered since the last call.
    std::vector<Phase> entered() {
        std::vector<Phase> phases;
        for (const QList<QVariant>& args : *spy)
            phases.push_back(args.at(0).value<Phase>());
        spy->clear();
        return phases;
    }
    // START and OK with these names.
    void startGame(const QStringList& names = {}) {
        game->pressStart();
        for (int k = 0; k < names.size(); ++k)
            game->setPlayerName(k + 1, names[k]);
        game->confirmPlayers();
    }
    void typeQuestion() {
        clock.advance(17 * static_cast<std::int64_t>(game->draw().question().size()));
        ASSERT_EQ(game->phase(), Phase::AnswersOpen);
    }
    int slotOf(bool right) const {
        for (int i = 0; i < 4; ++i)
            if ((game->draw().answers()[static_cast<std::size_t>(i)] == game->draw().correctAnswer()) == right)
                return i;
        return -1;
    }
    std::unique_ptr<QSignalSpy> spy;
};

// One player: right answer to the ladder and its prize, wrong answer to OK, a time out, down
// to the final scores and back to attract mode; each phase runs exactly its own timers.
TEST_F(PhasesTest, OnePlayerWalksEveryPhaseWithItsOwnTimers) {
    startGame({QStringLiteral("Ann")});
    EXPECT_EQ(entered(), (std::vector<Phase>{Phase::PlayerEntry, Phase::Typing}));
    EXPECT_FALSE(game->draw().question().isEmpty()); // drawn as the turn starts
    EXPECT_EQ(running(*game), std::vector<std::string>{"revealTimer"});

    typeQuestion();
    EXPECT_EQ(game->players().credit(), 4);
    EXPECT_EQ(running(*game), std::vector<std::string>{"timeGaugeTimer"});
    game->chooseAnswer(slotOf(true));
    game->chooseAnswer(slotOf(false)); // a second choice counts for nothing
    EXPECT_EQ(running(*game), std::vector<std::string>{"judgementTimer"});
    clock.advance(2499);
    EXPECT_EQ(game->phase(), Phase::Judging);
    clock.advance(1);
    EXPECT_EQ(running(*game), (std::vector<std::string>{"questionEndTimer", "correctFlashTimer"}));
    clock.advance(4000);
    EXPECT_EQ(game->phase(), Phase::Ladder);
    EXPECT_EQ(running(*game), (std::vector<std::string>{"ladderLightTimer", "ladderTimeLimit"}));
    clock.advance(300); // LOSE, $1, LOSE
    game->pressStop();
    EXPECT_EQ(game->phase(), Phase::Prize);
    EXPECT_EQ(running(*game), (std::vector<std::string>{"prizeDisplayTimer", "prizeFlashTimer"}));
    clock.advance(2000);
    EXPECT_EQ(entered(), (std::vector<Phase>{Phase::AnswersOpen, Phase::Judging, Phase::Correct,
                                             Phase::Ladder, Phase::Prize, Phase::Typing}));

    typeQuestion();
    game->chooseAnswer(slotOf(false));
    clock.advance(2500);
    EXPECT_EQ(game->phase(), Phase::Wrong);
    EXPECT_EQ(running(*game), std::vector<std::string>{"fallRunTimer"});
    game->pressStop(); // STOP does nothing here
    clock.advance(60000);
    EXPECT_EQ(game->phase(), Phase::Wrong); // waits for OK
    game->confirmPanel();
    EXPECT_EQ(game->phase(), Phase::Typing);

    typeQuestion();
    clock.advance(100 * 140);
    EXPECT_EQ(game->phase(), Phase::TimeOut);
    EXPECT_EQ(game->chosenAnswer(), -1);
    game->pressEnter();
    EXPECT_EQ(game->phase(), Phase::Typing);
    entered();

    game->endGame();
    EXPECT_EQ(game->phase(), Phase::FinalScores);
    EXPECT_TRUE(running(*game).empty());
    EXPECT_EQ(game->finalStandings()[0].name, QStringLiteral("Ann"));
    EXPECT_EQ(game->finalStandings()[0].questionsPlayed, 3); // the fourth was not charged yet
    EXPECT_TRUE(game->finalStandings()[0].played);
    EXPECT_FALSE(game->finalStandings()[1].played);
    game->pressEnter();
    EXPECT_EQ(entered(), (std::vector<Phase>{Phase::FinalScores, Phase::Attract}));
    EXPECT_FALSE(game->gameRunning());
    EXPECT_TRUE(running(*game).empty());
}

// Pause stops every running game timer and resume starts exactly those again; a phase change
// in between (End Game confirmed) leaves nothing to resume.
TEST_F(PhasesTest, PauseResumesOnlyWhatRanAndForgetsAcrossPhases) {
    startGame();
    typeQuestion();
    game->chooseAnswer(0);
    clock.advance(1000);
    game->pause();
    EXPECT_TRUE(running(*game).empty());
    clock.advance(10000);
    EXPECT_EQ(game->phase(), Phase::Judging);
    game->resume();
    EXPECT_EQ(running(*game), std::vector<std::string>{"judgementTimer"});
    clock.advance(2499); // a resumed timer counts a full interval again
    EXPECT_EQ(game->phase(), Phase::Judging);
    clock.advance(1);
    EXPECT_NE(game->phase(), Phase::Judging);

    game->pause();
    game->endGame();
    game->resume();
    EXPECT_TRUE(running(*game).empty());
    EXPECT_EQ(game->phase(), Phase::FinalScores);
}

// The hall-of-fame hook: the final scores' OK waits in NameEntry while the hook asks for it,
// and finishing the entry is the reset; a speaking view can hold the time limit.
TEST_F(PhasesTest, NameEntryHookAndTimeLimitHold) {
    bool wanted = true;
    game->setNameEntryWanted([&wanted] { return wanted; });
    startGame();
    game->endGame();
    game->confirmPanel();
    EXPECT_EQ(game->phase(), Phase::NameEntry);
    game->pressEnter(); // Enter belongs to the entry's name box here
    EXPECT_EQ(game->phase(), Phase::NameEntry);
    game->finishNameEntry();
    EXPECT_EQ(game->phase(), Phase::Attract);

    startGame();
    typeQuestion();
    game->setTimeLimitHeld(true);
    clock.advance(60000);
    EXPECT_EQ(game->timeLeft(), QuizGame::fullTime);
    game->setTimeLimitHeld(false);
    clock.advance(150);
    EXPECT_EQ(game->timeLeft(), QuizGame::fullTime - 1);
}

// Two players: the player without credit is named out before the next player's Get Ready;
// when nobody has credit left the game is over at once.
TEST_F(PhasesTest, TwoPlayersTakeTurnsUntilNobodyHasCredit) {
    startGame({QStringLiteral("Ann"), QStringLiteral("Bob")});
    EXPECT_EQ(game->phase(), Phase::GetReady);
    EXPECT_EQ(game->players().current(), 1);
    EXPECT_EQ(running(*game), std::vector<std::string>{"readyTimer"});
    GamePosition::setPlayerCredits(*game, {1, 1, 0, 0});
    GamePosition::setCredit(*game, 1);
    clock.advance(2500);
    typeQuestion();
    game->chooseAnswer(slotOf(false));
    clock.advance(2500);
    entered();
    game->confirmPanel(); // Ann: 0
    EXPECT_EQ(entered(), (std::vector<Phase>{Phase::PlayerOut}));
    clock.advance(2500);
    EXPECT_EQ(game->phase(), Phase::GetReady);
    EXPECT_EQ(game->players().current(), 2);
    clock.advance(2500);
    typeQuestion();
    game->chooseAnswer(slotOf(false));
    clock.advance(2500);
    game->confirmPanel(); // Bob: 0
    EXPECT_EQ(game->phase(), Phase::GameOver);
    clock.advance(4000);
    EXPECT_EQ(game->phase(), Phase::FinalScores);
}

namespace {
using Command = QuizGame::Command;
constexpr Command allCommands[] = {Command::Start,        Command::ConfirmPlayers,
                                   Command::ChooseAnswer, Command::Stop,
                                   Command::ConfirmPanel, Command::Enter,
                                   Command::EndGame,      Command::FinishNameEntry};

void send(QuizGame& game, Command command) {
    switch (command) {
    case Command::Start:
        return game.pressStart();
    case Command::ConfirmPlayers:
        return game.confirmPlayers();
    case Command::ChooseAnswer:
        return game.chooseAnswer(0);
    case Command::Stop:
        return game.pressStop();
    case Command::ConfirmPanel:
        return game.confirmPanel();
    case Command::Enter:
        return game.pressEnter();
    case Command::EndGame:
        return game.endGame();
    case Command::FinishNameEntry:
        return game.finishNameEntry();
    }
}

// What a refused command must leave as it was.
struct Snapshot {
    Phase phase;
    int credit;
    std::array<int, 4> credits;
    int chosen;
    int timeLeft;
    Lamp lit;
    std::vector<std::pair<bool, int>> timers; // running, marked to resume
    bool operator==(const Snapshot&) const = default;
};
Snapshot snapshot(const QuizGame& game) {
    Snapshot s{game.phase(),       game.players().credit(), game.players().credits(),
               game.chosenAnswer(), game.timeLeft(),         game.litLamp(),
               {}};
    for (const Timer* t : game.timers())
        s.timers.emplace_back(t->enabled(), t->tag);
    return s;
}
} // namespace

// The phase table holds: in every phase a game reaches, each command the phase does not accept
// changes nothing (phase, credit, chosen answer, time, lamps, timers), and End Game is offered
// exactly from the first turn's start until game over.
TEST_F(PhasesTest, CommandsAPhaseDoesNotAcceptChangeNothing) {
    game->setNameEntryWanted([] { return true; });
    std::set<Phase> visited;
    int questions = 0;
    Phase checked = Phase::NameEntry; // anything but the first phase
    const auto checkPhase = [&] {
        const Phase phase = game->phase();
        visited.insert(phase);
        const bool turnsStarted = game->gameRunning() && phase != Phase::GameOver &&
                                  phase != Phase::FinalScores && phase != Phase::NameEntry;
        EXPECT_EQ(game->canEndGame(), turnsStarted) << int(phase);
        EXPECT_EQ(game->canChangeQuestionFile(), !game->inGame()) << int(phase);
        for (Command command : allCommands) {
            if (game->accepts(command)) continue;
            const Snapshot before = snapshot(*game);
            send(*game, command);
            EXPECT_TRUE(snapshot(*game) == before)
                << "phase " << int(phase) << ", command " << int(command);
        }
    };
    for (int ms = 0; ms < 2'000'000 && visited.size() < QuizGame::phaseCount; ++ms) {
        const Phase phase = game->phase();
        if (phase != checked) {
            checkPhase();
            checked = phase;
            switch (phase) {
            case Phase::AnswersOpen:
                // Right, wrong, then let the time run out, in turn.
                if (questions % 3 != 2) game->chooseAnswer(slotOf(questions % 3 == 0));
                ++questions;
                break;
            case Phase::Wrong:
            case Phase::TimeOut:
            case Phase::FinalScores:
                game->confirmPanel();
                break;
            case Phase::NameEntry:
                game->finishNameEntry();
                break;
            case Phase::Attract:
                game->pressStart();
                break;
            case Phase::PlayerEntry:
                game->setPlayerName(1, QStringLiteral("Ann"));
                game->setPlayerName(2, QStringLiteral("Bo"));
                game->confirmPlayers();
                break;
            default:
                break;
            }
            continue;
        }
        if (phase == Phase::Ladder && game->litLamp() == Lamp::Lose) game->pressStop();
        clock.advance(1);
    }
    checkPhase();
    for (int p = 0; p < QuizGame::phaseCount; ++p)
        EXPECT_TRUE(visited.count(static_cast<Phase>(p))) << "phase never reached: " << p;
}
