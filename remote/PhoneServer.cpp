#include "PhoneServer.h"

#include "Clock.h"

#include <vector>

#include <QAbstractHttpServer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QWebSocket>

// The page lives in this static library's resources; they are registered before first use.
static void registerPhonePage() {
    Q_INIT_RESOURCE(phone);
}

namespace {
constexpr int sweepIntervalMs = 1000;
// Messages up to this size are read and refused with a reason; a larger one closes the socket.
constexpr int maxSocketMessageBytes = 16 * 1024;
const QString closedMessage = QStringLiteral(R"({"type":"closed"})");

QString newJoinCode() {
    return QStringLiteral("%1").arg(QRandomGenerator::system()->bounded(10000), 4, 10,
                                    QLatin1Char('0'));
}

QByteArray newSecret() {
    QByteArray bytes(PhoneMessage::secretLength / 2, Qt::Uninitialized);
    QRandomGenerator::system()->generate(bytes.begin(), bytes.end());
    return bytes.toHex();
}

QString compactJson(const QJsonObject& o) {
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}
} // namespace

// The HTTP side: the page at "/", the WebSocket upgrade at "/ws", and "not found" for every
// other request. No path ever reaches the file system.
class PhonePageServer : public QAbstractHttpServer {
public:
    PhonePageServer() : m_page(PhoneServer::page()) {}

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override {
        const QString path = request.url().path();
        if (request.value(QByteArrayLiteral("upgrade")).compare("websocket", Qt::CaseInsensitive) ==
            0)
            return path == QLatin1String("/ws");
        if (request.method() != QHttpServerRequest::Method::Get || path != QLatin1String("/"))
            return false;
        // The page uses nothing from anywhere else and is never framed by another site.
        makeResponder(request, socket)
            .write(m_page, {{"Content-Type", "text/html; charset=utf-8"},
                            {"Content-Security-Policy",
                             "default-src 'none'; style-src 'unsafe-inline'; script-src "
                             "'unsafe-inline'; connect-src 'self' ws: wss:; img-src data:; "
                             "frame-ancestors 'none'"},
                            {"Cache-Control", "no-store"},
                            {"X-Content-Type-Options", "nosniff"}});
        return true;
    }
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override {
        makeResponder(request, socket)
            .write(QByteArrayLiteral("Not found"), {{"Content-Type", "text/plain"}},
                   QHttpServerResponder::StatusCode::NotFound);
    }

private:
    QByteArray m_page;
};

struct PhoneServer::Connection {
    std::unique_ptr<QWebSocket> socket;
    QString address;
    int phoneId = 0;
    std::int64_t openedAt = 0;
    std::int64_t windowStart = 0;
    int messagesInWindow = 0;
};

PhoneServer::PhoneServer(Clock& clock, Limits limits, QObject* parent)
    : QObject(parent), m_clock(clock), m_limits(limits),
      m_sweepTimer(clock, "phoneSweepTimer", sweepIntervalMs, false, 0,
                   [this] { sweepUnjoined(); }) {}

PhoneServer::~PhoneServer() {
    close();
}

QByteArray PhoneServer::page() {
    registerPhonePage();
    QFile file(QStringLiteral(":/phone/index.html"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool PhoneServer::listen(quint16 port) {
    close();
    m_http = std::make_unique<PhonePageServer>();
    connect(m_http.get(), &QAbstractHttpServer::newWebSocketConnection, this,
            &PhoneServer::acceptConnections);
    m_port = m_http->listen(QHostAddress::Any, port);
    if (m_port == 0) {
        m_error = QStringLiteral("Port %1 is in use.").arg(port);
        m_http.reset();
        return false;
    }
    m_error.clear();
    m_joinCode = newJoinCode();
    m_sweepTimer.start();
    return true;
}

quint16 PhoneServer::findFreePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::Any, 0) ? probe.serverPort() : 0;
}

void PhoneServer::close() {
    m_sweepTimer.stop();
    auto connections = std::move(m_connections);
    m_connections.clear();
    for (auto& [socket, c] : connections) {
        socket->disconnect(this);
        sendTo(socket, closedMessage);
        socket->close(QWebSocketProtocol::CloseCodeGoingAway, QStringLiteral("phones off"));
        socket->flush();
    }
    for (auto& [id, phone] : m_phones)
        phone.socket = nullptr;
    m_phones.clear();
    m_strikes.clear();
    m_http.reset();
    m_port = 0;
}

QHostAddress PhoneServer::lanAddress() {
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning) ||
            (flags & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : iface.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.ip().isLoopback())
                return entry.ip();
    }
    return QHostAddress(QHostAddress::LocalHost);
}

QUrl PhoneServer::address() const {
    return QUrl(QStringLiteral("http://%1:%2/").arg(lanAddress().toString()).arg(m_port));
}

QString PhoneServer::name(int phoneId) const {
    const auto it = m_phones.find(phoneId);
    return it == m_phones.end() ? QString() : it->second.name;
}

bool PhoneServer::isConnected(int phoneId) const {
    const auto it = m_phones.find(phoneId);
    return it != m_phones.end() && it->second.socket;
}

void PhoneServer::sendTo(QWebSocket* socket, const QString& text) {
    m_bytesSent += socket->sendTextMessage(text);
}

void PhoneServer::send(int phoneId, const QString& text) {
    const auto it = m_phones.find(phoneId);
    if (it != m_phones.end() && it->second.socket) sendTo(it->second.socket, text);
}

void PhoneServer::broadcast(const QString& text) {
    for (auto& [id, phone] : m_phones)
        if (phone.socket) {
            sendTo(phone.socket, text);
            phone.socket->flush();
        }
}

bool PhoneServer::originAllowed(const QWebSocket& socket) const {
    // A browser names the page that opened the socket: only our own page may. Clients that
    // are not browsers send no origin.
    const QString origin = socket.origin();
    if (origin.isEmpty()) return true;
    const QUrl url(origin);
    return url.scheme() == QLatin1String("http") && url.port() == m_port;
}

void PhoneServer::acceptConnections() {
    while (m_http && m_http->hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> socket = m_http->nextPendingWebSocketConnection();
        if (!socket) break;
        const QString address = socket->peerAddress().toString();
        int unjoinedHere = 0;
        for (const auto& [s, c] : m_connections)
            unjoinedHere += c->phoneId == 0 && c->address == address;
        QString refusal;
        if (socket->requestUrl().path() != QLatin1String("/ws"))
            refusal = QStringLiteral("not found");
        else if (!originAllowed(*socket))
            refusal = QStringLiteral("wrong origin");
        else if (connectionCount() >= m_limits.maxConnections ||
                 unjoinedHere >= m_limits.maxUnjoinedPerAddress)
            refusal = QStringLiteral("too many connections");
        if (!refusal.isEmpty()) {
            QWebSocket* s = socket.release();
            refuse(s, refusal);
            s->close(QWebSocketProtocol::CloseCodePolicyViolated, refusal);
            connect(s, &QWebSocket::disconnected, s, &QObject::deleteLater);
            continue;
        }
        auto c = std::make_unique<Connection>();
        c->address = address;
        c->openedAt = c->windowStart = m_clock.now();
        c->socket = std::move(socket);
        QWebSocket* s = c->socket.get();
        s->setParent(nullptr);
        s->setMaxAllowedIncomingMessageSize(maxSocketMessageBytes);
        s->setMaxAllowedIncomingFrameSize(maxSocketMessageBytes);
        connect(s, &QWebSocket::textMessageReceived, this,
                [this, s](const QString& text) { handleText(s, text); });
        connect(s, &QWebSocket::binaryMessageReceived, this,
                [this, s](const QByteArray&) { refuse(s, QStringLiteral("not a JSON object")); });
        connect(s, &QWebSocket::disconnected, this, [this, s] { connectionClosed(s); });
        m_connections.emplace(s, std::move(c));
    }
}

void PhoneServer::refuse(QWebSocket* socket, const QString& reason) {
    sendTo(socket, compactJson({{QStringLiteral("type"), QStringLiteral("error")},
                                {QStringLiteral("reason"), reason}}));
}

void PhoneServer::handleText(QWebSocket* socket, const QString& text) {
    const auto it = m_connections.find(socket);
    if (it == m_connections.end()) return;
    Connection& c = *it->second;
    const std::int64_t now = m_clock.now();
    if (now - c.windowStart >= 1000) {
        c.windowStart = now;
        c.messagesInWindow = 0;
    }
    if (++c.messagesInWindow > m_limits.messagesPerSecond) {
        if (c.messagesInWindow >= m_limits.cutOffPerSecond) {
            refuse(socket, QStringLiteral("too many messages"));
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated,
                          QStringLiteral("too many messages"));
        } else if (c.messagesInWindow == m_limits.messagesPerSecond + 1) {
            refuse(socket, QStringLiteral("too many messages"));
        }
        return;
    }
    QString error;
    const std::optional<PhoneMessage> m = PhoneMessage::parse(text.toUtf8(), &error);
    if (!m) return refuse(socket, error);
    if (m->type == PhoneMessage::Type::Join) return handleJoin(c, *m);
    if (m->type == PhoneMessage::Type::Resume) return handleResume(c, *m);
    const auto phone = m_phones.find(c.phoneId);
    if (phone == m_phones.end() || phone->second.secret != m->secret)
        return refuse(socket, QStringLiteral("refused"));
    emit received(c.phoneId, *m);
}

void PhoneServer::handleJoin(Connection& c, const PhoneMessage& m) {
    QWebSocket* socket = c.socket.get();
    if (c.phoneId != 0) return refuse(socket, QStringLiteral("already joined"));
    Strikes& strikes = m_strikes[c.address];
    const std::int64_t now = m_clock.now();
    if (strikes.lockedUntil > now) return refuse(socket, QStringLiteral("wait a minute"));
    if (m.code != m_joinCode) {
        if (++strikes.wrongCodes >= m_limits.wrongCodesPerAddress) {
            strikes.wrongCodes = 0;
            strikes.lockedUntil = now + m_limits.wrongCodeLockoutMs;
        }
        return refuse(socket, QStringLiteral("wrong code"));
    }
    for (const auto& [id, phone] : m_phones)
        if (phone.name.compare(m.name, Qt::CaseInsensitive) == 0)
            return refuse(socket, QStringLiteral("name taken"));
    const int id = m_nextPhoneId++;
    m_phones[id] = Phone{m.name, newSecret(), nullptr};
    welcome(c, id);
    emit joined(id);
}

void PhoneServer::handleResume(Connection& c, const PhoneMessage& m) {
    QWebSocket* socket = c.socket.get();
    for (auto& [id, phone] : m_phones) {
        if (phone.secret != m.secret) continue;
        if (c.phoneId != 0 && c.phoneId != id) return refuse(socket, QStringLiteral("refused"));
        // The phone's old connection (a page before its reload) gives way to the new one.
        if (phone.socket && phone.socket != socket) {
            const auto old = m_connections.find(phone.socket);
            if (old != m_connections.end()) old->second->phoneId = 0;
            phone.socket->close(QWebSocketProtocol::CloseCodeNormal, QStringLiteral("replaced"));
        }
        welcome(c, id);
        emit resumed(id);
        return;
    }
    refuse(socket, QStringLiteral("unknown phone"));
}

void PhoneServer::welcome(Connection& c, int phoneId) {
    Phone& phone = m_phones[phoneId];
    c.phoneId = phoneId;
    phone.socket = c.socket.get();
    sendTo(phone.socket,
           compactJson({{QStringLiteral("type"), QStringLiteral("welcome")},
                        {QStringLiteral("name"), phone.name},
                        {QStringLiteral("secret"), QString::fromLatin1(phone.secret)}}));
}

void PhoneServer::connectionClosed(QWebSocket* socket) {
    const auto it = m_connections.find(socket);
    if (it == m_connections.end()) return;
    std::unique_ptr<Connection> c = std::move(it->second);
    m_connections.erase(it);
    c->socket.release()->deleteLater();
    const auto phone = m_phones.find(c->phoneId);
    if (phone != m_phones.end() && phone->second.socket == socket) {
        phone->second.socket = nullptr;
        emit dropped(c->phoneId);
    }
}

void PhoneServer::sweepUnjoined() {
    const std::int64_t now = m_clock.now();
    // Closing a connection takes it out of the map at once: the late ones are picked first.
    std::vector<QWebSocket*> late;
    for (auto& [socket, c] : m_connections)
        if (c->phoneId == 0 && now - c->openedAt >= m_limits.joinTimeoutMs) late.push_back(socket);
    for (QWebSocket* socket : late)
        if (m_connections.count(socket))
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("no join"));
}
