#include "PhoneGameBridge.h"

#include "PhoneServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaEnum>

namespace {
// The time left is sent at every fifth step of the gauge; the page runs its bar between.
constexpr int timeStepsPerMessage = 5;

QString compact(const QJsonObject& o) {
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

QString phaseName(QuizGame::Phase phase) {
    return QString::fromLatin1(QMetaEnum::fromType<QuizGame::Phase>().valueToKey(int(phase)));
}

const QString roleNames[] = {QStringLiteral("waiting"), QStringLiteral("player"),
                             QStringLiteral("audience")};
} // namespace

PhoneGameBridge::PhoneGameBridge(QuizGame& game, PhoneServer& server, QObject* parent)
    : QObject(parent), m_game(game), m_server(server) {
    connect(&server, &PhoneServer::joined, this, &PhoneGameBridge::phoneJoined);
    connect(&server, &PhoneServer::resumed, this, &PhoneGameBridge::phoneResumed);
    connect(&server, &PhoneServer::received, this, &PhoneGameBridge::command);
    connect(&game, &QuizGame::phaseChanged, this, &PhoneGameBridge::followPhase);
    connect(&game, &QuizGame::letterTyped, this, &PhoneGameBridge::sendLetters);
    connect(&game, &QuizGame::timeChanged, this, &PhoneGameBridge::sendTime);
    connect(&game, &QuizGame::lampsChanged, this, &PhoneGameBridge::sendLamp);
    connect(&game, &QuizGame::creditChanged, this, &PhoneGameBridge::sendCredits);
    if (m_game.phase() == QuizGame::Phase::PlayerEntry)
        followPhase(m_game.phase());
    else if (m_game.inGame())
        m_roster.startGame();
}

PhoneRoster::Seating PhoneGameBridge::seating() const {
    if (m_game.phase() == QuizGame::Phase::PlayerEntry) return PhoneRoster::Seating::PlayerEntry;
    return m_game.inGame() ? PhoneRoster::Seating::Game : PhoneRoster::Seating::Closed;
}

int PhoneGameBridge::slotAtControls() const {
    return m_game.players().slotAtControls();
}

int PhoneGameBridge::litLamp() const {
    return placeOf(m_game.litLamp());
}

int PhoneGameBridge::correctLetter() const {
    return m_game.draw().correctSlot();
}

void PhoneGameBridge::seat(int phoneId, int slot) {
    const QString name = m_server.name(phoneId);
    m_game.setPlayerName(slot, name);
    emit playerNamed(slot, name);
}

void PhoneGameBridge::phoneJoined(int phoneId) {
    const auto slotFree = [this](int slot) { return m_game.players().name(slot).isEmpty(); };
    const PhoneRoster::Entry& e =
        m_roster.add(phoneId, m_server.name(phoneId), seating(), slotFree);
    if (e.role == PhoneRoster::Role::Player) seat(phoneId, e.slot);
    if (e.role == PhoneRoster::Role::Audience) emit audienceChanged();
    phoneResumed(phoneId);
}

void PhoneGameBridge::phoneResumed(int phoneId) {
    // A phone that joins or comes back is shown everything at once.
    sendYou(phoneId);
    m_server.send(phoneId, compact(state()));
}

void PhoneGameBridge::sendYou(int phoneId) {
    const PhoneRoster::Entry* e = m_roster.find(phoneId);
    if (!e) return;
    m_server.send(phoneId, compact({{QStringLiteral("type"), QStringLiteral("you")},
                                    {QStringLiteral("role"), roleNames[int(e->role)]},
                                    {QStringLiteral("slot"), e->slot},
                                    {QStringLiteral("answer"), e->answer},
                                    {QStringLiteral("right"), e->rightAnswers}}));
}

void PhoneGameBridge::sendError(int phoneId, const QString& reason) {
    m_server.send(phoneId, compact({{QStringLiteral("type"), QStringLiteral("error")},
                                    {QStringLiteral("reason"), reason}}));
}

void PhoneGameBridge::command(int phoneId, const PhoneMessage& message) {
    if (message.type == PhoneMessage::Type::Answer)
        answer(phoneId, message.letter);
    else if (message.type == PhoneMessage::Type::Name)
        enterName(phoneId, message.name);
    else
        press(phoneId, message.type);
}

void PhoneGameBridge::offerNameEntry(int slot, int place, int score, const QString& offered) {
    m_entry = {slot, place, score, offered};
    sendState();
}

void PhoneGameBridge::closeNameEntry() {
    if (m_entry.slot == 0) return;
    m_entry = {};
    sendState();
}

void PhoneGameBridge::enterName(int phoneId, const QString& name) {
    const PhoneRoster::Entry* e = m_roster.find(phoneId);
    if (!e) return;
    if (m_entry.slot == 0 || m_game.phase() != QuizGame::Phase::NameEntry)
        return sendError(phoneId, QStringLiteral("not now"));
    if (e->role != PhoneRoster::Role::Player || e->slot != m_entry.slot)
        return sendError(phoneId, QStringLiteral("not your entry"));
    // The first name wins: a second tap, or the cabinet's keyboard after it, finds the entry
    // closed or open for the next player.
    const int slot = m_entry.slot;
    m_entry = {};
    emit nameEntered(slot, name);
    if (m_entry.slot == 0 && m_game.phase() == QuizGame::Phase::NameEntry) sendState();
}

void PhoneGameBridge::answer(int phoneId, int letter) {
    const PhoneRoster::Entry* e = m_roster.find(phoneId);
    if (!e) return;
    if (m_game.phase() != QuizGame::Phase::AnswersOpen)
        return sendError(phoneId, QStringLiteral("answers not open"));
    if (e->role == PhoneRoster::Role::Audience) {
        if (!m_roster.answer(phoneId, letter))
            return sendError(phoneId, QStringLiteral("already answered"));
        return sendYou(phoneId);
    }
    if (e->role != PhoneRoster::Role::Player || e->slot != slotAtControls())
        return sendError(phoneId, QStringLiteral("not your turn"));
    m_game.chooseAnswer(letter);
}

void PhoneGameBridge::press(int phoneId, PhoneMessage::Type button) {
    const PhoneRoster::Entry* e = m_roster.find(phoneId);
    if (!e) return;
    using Phase = QuizGame::Phase;
    const Phase phase = m_game.phase();
    const bool player = e->role == PhoneRoster::Role::Player;
    const bool atControls = player && e->slot == slotAtControls();
    if (button == PhoneMessage::Type::Stop) {
        if (phase == Phase::Ladder && atControls) return m_game.pressStop();
        return sendError(phoneId, QStringLiteral("not now"));
    }
    switch (phase) {
    case Phase::Attract:
        if (e->role != PhoneRoster::Role::Audience) return m_game.pressStart();
        break;
    case Phase::PlayerEntry:
        if (player) return m_game.confirmPlayers();
        break;
    case Phase::FinalScores:
        if (player) return m_game.confirmPanel();
        break;
    case Phase::Wrong:
    case Phase::TimeOut:
    case Phase::Ladder:
        if (atControls) return m_game.pressEnter();
        break;
    default:
        break;
    }
    sendError(phoneId, QStringLiteral("not now"));
}

void PhoneGameBridge::followPhase(QuizGame::Phase phase) {
    using Phase = QuizGame::Phase;
    bool rolesChanged = false;
    if (phase != Phase::NameEntry) m_entry = {};
    if (phase == Phase::PlayerEntry) {
        const auto nameAt = [this](int slot) { return m_game.players().name(slot); };
        for (const int id : m_roster.openPlayerEntry(nameAt))
            seat(id, m_roster.find(id)->slot);
        m_gameOn = false;
        rolesChanged = true;
    } else if (phase == Phase::Attract) {
        m_roster.endGame();
        m_gameOn = false;
        rolesChanged = true;
    } else if (!m_gameOn) {
        m_roster.startGame([this](int slot) { return m_game.players().name(slot); });
        m_gameOn = true;
        rolesChanged = true;
    }
    if (phase == Phase::Typing) {
        m_roster.newQuestion();
        m_lettersSent = 0;
        m_timeSent = -1;
        m_judged = false;
        rolesChanged = true;
    }
    if ((phase == Phase::Correct || phase == Phase::Wrong || phase == Phase::TimeOut) &&
        !m_judged) {
        m_roster.judge(correctLetter());
        m_judged = true;
        rolesChanged = true;
    }
    sendState();
    if (rolesChanged) {
        for (const auto& [id, e] : m_roster.entries())
            sendYou(id);
        emit audienceChanged();
    }
}

void PhoneGameBridge::sendState() {
    m_server.broadcast(compact(state()));
}

QJsonObject PhoneGameBridge::state() const {
    using Phase = QuizGame::Phase;
    const Phase phase = m_game.phase();
    QJsonObject o{{QStringLiteral("type"), QStringLiteral("state")},
                  {QStringLiteral("phase"), phaseName(phase)},
                  {QStringLiteral("credit"), m_game.players().credit()},
                  {QStringLiteral("lamp"), litLamp()},
                  {QStringLiteral("audience"), m_roster.audienceSize()}};
    QJsonArray names, credits;
    for (int slot = 1; slot <= 4; ++slot) {
        names.append(m_game.players().name(slot));
        credits.append(m_game.players().credits()[static_cast<std::size_t>(slot - 1)]);
    }
    o.insert(QStringLiteral("names"), names);
    o.insert(QStringLiteral("credits"), credits);
    if (m_game.inGame()) {
        const Players& players = m_game.players();
        o.insert(QStringLiteral("turn"), players.multiplayer() ? players.current() : 1);
        o.insert(QStringLiteral("turnName"),
                 players.multiplayer() ? players.name(players.current()) : players.finalName(1));
        o.insert(QStringLiteral("question"), m_game.typedQuestion());
    }
    const bool answersShown = phase == Phase::AnswersOpen || phase == Phase::Judging ||
                              phase == Phase::Correct || phase == Phase::Wrong ||
                              phase == Phase::TimeOut;
    if (answersShown) {
        QJsonArray answers;
        for (const QString& a : m_game.draw().answers())
            answers.append(a);
        o.insert(QStringLiteral("answers"), answers);
        o.insert(QStringLiteral("timeLeft"), m_game.timeLeft());
        o.insert(QStringLiteral("fullTime"), QuizGame::fullTime);
        o.insert(QStringLiteral("chosen"), m_game.chosenAnswer());
    }
    if (phase == Phase::Correct || phase == Phase::Wrong || phase == Phase::TimeOut)
        o.insert(QStringLiteral("correct"), correctLetter());
    if (phase == Phase::Prize) o.insert(QStringLiteral("prize"), placeOf(m_game.ladder().prize()));
    if (phase == Phase::FinalScores || phase == Phase::NameEntry) {
        QJsonArray scores;
        for (const QuizGame::Standing& s : m_game.finalStandings())
            if (s.played)
                scores.append(QJsonObject{{QStringLiteral("slot"), s.slot},
                                          {QStringLiteral("name"), s.name},
                                          {QStringLiteral("score"), s.score}});
        o.insert(QStringLiteral("scores"), scores);
        o.insert(QStringLiteral("best"), bestOfAudience());
    }
    if (phase == Phase::NameEntry && m_entry.slot != 0) {
        QString player;
        for (const QuizGame::Standing& s : m_game.finalStandings())
            if (s.slot == m_entry.slot) player = s.name;
        o.insert(QStringLiteral("entry"),
                 QJsonObject{{QStringLiteral("slot"), m_entry.slot},
                             {QStringLiteral("player"), player},
                             {QStringLiteral("place"), m_entry.place},
                             {QStringLiteral("score"), m_entry.score},
                             {QStringLiteral("offered"), m_entry.offered}});
    }
    return o;
}

QString PhoneGameBridge::bestOfAudience() const {
    const std::optional<int> best = m_roster.bestOfAudience();
    if (!best) return {};
    const PhoneRoster::Entry* e = m_roster.find(*best);
    return QStringLiteral("%1 (%2)").arg(e->name).arg(e->rightAnswers);
}

void PhoneGameBridge::sendLetters() {
    const QString typed = m_game.typedQuestion();
    if (typed.size() < m_lettersSent) m_lettersSent = 0;
    const QString added = typed.mid(m_lettersSent);
    m_lettersSent = static_cast<int>(typed.size());
    if (added.isEmpty()) return;
    m_server.broadcast(compact(
        {{QStringLiteral("type"), QStringLiteral("letter")}, {QStringLiteral("text"), added}}));
}

void PhoneGameBridge::sendTime() {
    const int left = m_game.timeLeft();
    if (m_game.phase() != QuizGame::Phase::AnswersOpen || left == m_timeSent) return;
    if (left % timeStepsPerMessage != 0 && left != QuizGame::fullTime) return;
    m_timeSent = left;
    m_server.broadcast(compact(
        {{QStringLiteral("type"), QStringLiteral("time")}, {QStringLiteral("left"), left}}));
}

void PhoneGameBridge::sendLamp() {
    m_server.broadcast(compact(
        {{QStringLiteral("type"), QStringLiteral("lamp")}, {QStringLiteral("lit"), litLamp()}}));
}

void PhoneGameBridge::sendCredits() {
    QJsonArray credits;
    for (const int c : m_game.players().credits())
        credits.append(c);
    m_server.broadcast(compact({{QStringLiteral("type"), QStringLiteral("credit")},
                                {QStringLiteral("credit"), m_game.players().credit()},
                                {QStringLiteral("credits"), credits}}));
}
