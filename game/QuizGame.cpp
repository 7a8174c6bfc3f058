#include "QuizGame.h"

#include "Cp1252.h"

#include <QDateTime>

#include <algorithm>
#include <limits>
#include <vector>

const QString QuizGame::noQuestionFile = QStringLiteral("N/A");
const QString QuizGame::selectQuestionFileMessage = QStringLiteral("Please select question file.");
const QString QuizGame::noQuestionToAskMessage =
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
// Dollars of the prize lamps $1, $5, $15, $50.
constexpr int lampDollars[4] = {1, 5, 15, 50};
// The gauge's fastest step and how much faster each question makes it.
constexpr int fastestGaugeStepMs = 40;
constexpr int gaugeSpeedUpMs = 10;
// Credit of each named player at the start of a game.
constexpr int startingCredit = 5;

const char* const defaultNames[4] = {"Player One", "Player Two", "Player Three", "Player Four"};

bool validSlot(int slot) {
    return slot >= 1 && slot <= 4;
}
std::size_t slotIndex(int slot) {
    return static_cast<std::size_t>(slot - 1);
}
} // namespace

void QuizGame::resetForAttractMode() {
    gameRunning = false;
    const std::uint32_t seed =
        seedSource ? seedSource() : static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
    generator.seed(seed);
    credit = 1;
    restartTime();
    questionText.clear();
    for (QString& slot : answerSlots)
        slot.clear();
}

void QuizGame::forgetPlayers() {
    playerCredits.fill(0);
    playerScores.fill(0);
}

QString QuizGame::startupQuestionFile() const {
    return programDir + QStringLiteral("/REGD.QST");
}

QString QuizGame::selectQuestionFile(const QString& path, const ReaderRuleSet& rules) {
    questionFile = path;
    const QstCheckResult check = checkQuestionFile(path.toStdString(), rules);
    switch (check.status) {
    case QstCheck::Accepted:
        return {};
    case QstCheck::NotFound:
        questionFile = noQuestionFile;
        return QString::fromLatin1(rules.notFoundMessage);
    case QstCheck::Damaged:
    case QstCheck::ReadOnly: // the game only reads; it never asks for write access
        questionFile = noQuestionFile;
        return QString::fromLatin1(rules.damagedMessage);
    }
    questionFile = noQuestionFile;
    return QString::fromLatin1(rules.damagedMessage);
}

bool QuizGame::hasQuestionFile() const {
    return questionFile != noQuestionFile;
}

QString QuizGame::drawNextQuestion() {
    // No set to draw from: the game ends cleanly rather than wait for a question.
    if (!hasQuestionFile()) return selectQuestionFileMessage;
    if (drawQuestion()) {
        // An empty question is passed over and another drawn; a set of nothing but empty
        // questions would draw for ever, so it is dropped and the game ends.
        if (!questionText.isEmpty() || setHoldsAQuestion()) return {};
        questionFile = noQuestionFile;
        return noQuestionToAskMessage;
    }
    // The set went bad after it was checked (removed, cut short or locked): it is dropped and
    // the game ends so the scores still show.
    const bool startup = questionFile == startupQuestionFile();
    questionFile = noQuestionFile;
    return QString::fromLatin1(startup ? ReaderRules::GameStartup.damagedMessage
                                       : ReaderRules::GameChange.damagedMessage);
}

bool QuizGame::setHoldsAQuestion() const {
    QstFile file;
    if (!file.open(questionFile.toStdString(), QstFile::Access::Read)) return false;
    QuestionRecord r;
    for (std::int64_t n = 1; n < file.recordCount(); ++n)
        if (file.read(n, r) && !r.question.empty()) return true;
    return false;
}

bool QuizGame::drawQuestion() {
    QstFile file;
    if (!file.open(questionFile.toStdString(), QstFile::Access::Read)) return false;
    const std::int64_t records = file.recordCount();
    if (records < 2 || records - 1 > std::numeric_limits<int>::max()) return false;
    const int n = static_cast<int>(records);
    const int questions = n - 1;

    int drawn = random(questions) + 1;
    if (n > 3) {
        // A history that holds every question of the set (after a switch to a smaller set)
        // forgets its oldest entries until a question is free again.
        std::vector<int> taken = takenNumbers(drawHistory, questions);
        while (static_cast<int>(taken.size()) >= questions && !drawHistory.isEmpty()) {
            drawHistory.removeFirst();
            taken = takenNumbers(drawHistory, questions);
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
    const int h = static_cast<int>(drawHistory.size());
    if (h >= 1 && (h - 1 >= questions / 2 || h >= 50)) drawHistory.removeFirst();
    drawHistory.append(QString::number(drawn));
    drawnRecord = drawn;

    if (!file.read(drawn, record)) return false;
    questionText = recordText(record.question);
    answerSlots[0] = recordText(record.answer);
    answerSlots[1] = recordText(record.wrong1);
    answerSlots[2] = recordText(record.wrong2);
    answerSlots[3] = recordText(record.wrong3);
    correctAnswer = answerSlots[0];

    // Ten passes of four coin-flip swaps around the ring of slots.
    for (int pass = 0; pass < 10; ++pass) {
        for (std::size_t i = 0; i < 4; ++i)
            if (random(10) >= 5) std::swap(answerSlots[i], answerSlots[(i + 1) % 4]);
    }
    return true;
}

int QuizGame::random(int n) {
    if (n <= 1) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(generator);
}

void QuizGame::clearQuestion() {
    questionText.clear();
}

void QuizGame::setPlayerName(int slot, const QString& name) {
    if (!validSlot(slot)) return;
    playerNames[slotIndex(slot)] = name;
    playerCount = static_cast<int>(std::count_if(playerNames.begin(), playerNames.end(),
                                                 [](const QString& n) { return !n.isEmpty(); }));
}

QString QuizGame::playerName(int slot) const {
    return validSlot(slot) ? playerNames[slotIndex(slot)] : QString();
}

void QuizGame::giveStartingCredits() {
    bool anyNamed = false;
    for (std::size_t k = 0; k < 4; ++k) {
        const bool named = !playerNames[k].isEmpty();
        anyNamed = anyNamed || named;
        playerCredits[k] = named ? startingCredit : 0;
        playerScores[k] = named ? startingCredit : 0;
    }
    if (!anyNamed) playerScores[0] = startingCredit;
    currentPlayer = 0;
    credit = startingCredit;
    questionsPlayed.fill(0);
}

bool QuizGame::anyoneHasCredit() const {
    return std::any_of(playerCredits.begin(), playerCredits.end(), [](int c) { return c >= 1; });
}

bool QuizGame::goesOn() const {
    if (credit != 0) return true;
    return multiplayer() && anyoneHasCredit();
}

void QuizGame::takeCreditOfPlayerAtControls() {
    if (validSlot(currentPlayer)) credit = playerCredits[slotIndex(currentPlayer)];
}

void QuizGame::chargeQuestion() {
    ++questionsPlayed[slotIndex(slotAtControls())];
    if (playerCount > 1) {
        if (validSlot(currentPlayer)) --playerCredits[slotIndex(currentPlayer)];
    } else {
        --credit;
    }
}

void QuizGame::addDollar() {
    if (validSlot(currentPlayer))
        ++playerCredits[slotIndex(currentPlayer)];
    else
        ++credit;
}

void QuizGame::passTurn() {
    for (int step = 0; step < 4; ++step) {
        currentPlayer = currentPlayer % 4 + 1;
        if (playerCredits[slotIndex(currentPlayer)] >= 1) break;
    }
}

void QuizGame::startLadder() {
    litLamp = 0;
}

int QuizGame::stepLadder() {
    if (litLamp != loseIndex) {
        litLamp = loseIndex;
    } else {
        ladderStep = ladderStep % 4 + 1;
        litLamp = ladderStep;
    }
    return litLamp;
}

int QuizGame::stopLadder() {
    if (litLamp < 1 || litLamp > loseIndex) litLamp = loseIndex;
    prizeIndex = static_cast<std::uint8_t>(litLamp);
    return credit + prizeDollars(litLamp);
}

void QuizGame::ladderTimedOut() {
    litLamp = loseIndex;
}

int QuizGame::prizeDollars(int prizeIndex) {
    return prizeIndex >= 1 && prizeIndex <= 4 ? lampDollars[prizeIndex - 1] : 0;
}

int QuizGame::slotAtControls() const {
    if (validSlot(currentPlayer)) return currentPlayer;
    // A game of one player plays in the first named slot (slot 1 when nobody is named).
    for (int k = 1; k <= 4; ++k)
        if (!playerNames[slotIndex(k)].isEmpty()) return k;
    return 1;
}

void QuizGame::recordScore(int won) {
    int& best = playerScores[slotIndex(slotAtControls())];
    if (won > best) best = won;
}

int QuizGame::fasterGaugeStep(int stepMs) {
    return stepMs >= fastestGaugeStepMs + gaugeSpeedUpMs ? stepMs - gaugeSpeedUpMs : stepMs;
}

QString QuizGame::finalName(int slot) const {
    if (!validSlot(slot)) return {};
    const QString& name = playerNames[slotIndex(slot)];
    return name.isEmpty() ? QString::fromLatin1(defaultNames[slot - 1]) : name;
}

int QuizGame::finalScore(int slot) const {
    if (!validSlot(slot)) return 0;
    const int score = playerScores[slotIndex(slot)];
    return score < 0 ? 0 : score;
}
