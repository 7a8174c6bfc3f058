#include "PhoneBuzzers.h"

#include "Dialogs.h"
#include "HallOfFame.h"
#include "PhoneBadge.h"
#include "PhoneGameBridge.h"
#include "PhoneServer.h"
#include "QuizGame.h"
#include "Settings.h"

PhoneBuzzers::PhoneBuzzers(QuizGame& game, Clock& clock, Dialogs& dialogs, Settings& settings,
                           QWidget* window, QWidget* playArea, HallOfFame* hallOfFame)
    : m_game(game), m_clock(clock), m_dialogs(dialogs), m_settings(settings), m_window(window),
      m_hallOfFame(hallOfFame), m_badge(new PhoneBadge(playArea)) {
    connect(&game, &QuizGame::phaseChanged, this, &PhoneBuzzers::showBadge);
}

PhoneBuzzers::~PhoneBuzzers() {
    m_bridge.reset();
    m_server.reset(); // tells every phone
}

bool PhoneBuzzers::running() const {
    return m_server && m_server->isListening();
}

bool PhoneBuzzers::start(quint16 port) {
    if (running()) return true;
    if (port == 0) port = static_cast<quint16>(m_settings.phonesPort());
    if (port == 0) port = defaultPort;
    auto server = std::make_unique<PhoneServer>(m_clock);
    if (!server->listen(port)) {
        const quint16 free = PhoneServer::findFreePort();
        const QString text =
            QStringLiteral("Port %1 is in use by another program, so the phones cannot use it.")
                .arg(port);
        if (free == 0 ||
            !m_dialogs.confirm(m_window,
                               text + QStringLiteral("\n\nUse port %1 instead?").arg(free),
                               MsgKind::Warning) ||
            !server->listen(free))
            return false;
        port = free;
    }
    m_server = std::move(server);
    m_bridge = std::make_unique<PhoneGameBridge>(m_game, *m_server);
    connect(m_bridge.get(), &PhoneGameBridge::playerNamed, this, &PhoneBuzzers::playerNamed);
    connect(m_bridge.get(), &PhoneGameBridge::audienceChanged, this, &PhoneBuzzers::showBadge);
    followNameEntry();
    m_settings.setPhonesWanted(true);
    m_settings.setPhonesPort(port);
    showBadge();
    emit runningChanged(true);
    return true;
}

void PhoneBuzzers::stop() {
    if (!m_server) return;
    m_bridge.reset();
    m_server.reset();
    m_settings.setPhonesWanted(false);
    showBadge();
    emit runningChanged(false);
}

void PhoneBuzzers::toggle() {
    if (!running()) {
        start();
        return;
    }
    if (m_dialogs.confirm(m_window,
                          QStringLiteral("Switch the phones off? Every phone is told, and the "
                                         "game goes on at the cabinet.")))
        stop();
}

void PhoneBuzzers::followNameEntry() {
    if (!m_hallOfFame) return;
    PhoneGameBridge* bridge = m_bridge.get();
    connect(m_hallOfFame, &HallOfFame::entryOpened, bridge, [this] { offerNameEntry(); });
    connect(m_hallOfFame, &HallOfFame::entryFinished, bridge, &PhoneGameBridge::closeNameEntry);
    // The keyboard and the cabinet's buttons keep working: whichever name comes first counts.
    connect(bridge, &PhoneGameBridge::nameEntered, m_hallOfFame, &HallOfFame::acceptName);
    offerNameEntry();
}

void PhoneBuzzers::offerNameEntry() {
    const HallOfFame::Candidate* open = m_hallOfFame->openEntry();
    if (open && m_bridge)
        m_bridge->offerNameEntry(open->standing.slot, open->place, open->standing.score,
                                 HallOfFame::offeredName(*open));
}

void PhoneBuzzers::showBadge() {
    using Phase = QuizGame::Phase;
    const Phase phase = m_game.phase();
    const QString best = m_bridge ? m_bridge->bestOfAudience() : QString();
    if (running() && (phase == Phase::Attract || phase == Phase::PlayerEntry)) {
        m_badge->showJoin(m_server->address().toString(), m_server->joinCode());
        m_badge->show();
    } else if (running() && phase == Phase::FinalScores && !best.isEmpty()) {
        m_badge->showBest(best);
        m_badge->show();
    } else {
        m_badge->hide();
    }
}
