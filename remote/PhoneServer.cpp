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
    QWebSocket* socket = nullptr; // lives in the writer thread, which also deletes it
    QString address;
    bool closing = false; // closed by the server: what it still sends is not read
    int phoneId = 0;
    std::int64_t openedAt = 0;
    std::int64_t windowStart = 0;
    int messagesInWindow = 0;
};

PhoneServer::PhoneServer(Clock& clock, Limits limits, QObject* parent)
    : QObject(parent), m_clock(clock), m_limits(limits),
      m_sweepTimer(clock, "phoneSweepTimer", sweepIntervalMs, false, 0,
                   [this] { sweepUnjoined(); }),
      m_writer(new QObject) {
    m_writerThread.setObjectName(QStringLiteral("phoneWriter"));
    m_writer->moveToThread(&m_writerThread);
    // The writer goes with its thread.
    connect(&m_writerThread, &QThread::finished, m_writer, &QObject::deleteLater);
    m_writerThread.start();
}

PhoneServer::~PhoneServer() {
    close();
    m_writerThread.quit();
    m_writerThread.wait();
}

void PhoneServer::inWriter(std::function<void()> work) {
    QMetaObject::invokeMethod(m_writer, std::move(work), Qt::QueuedConnection);
}

QByteArray PhoneServer::page() {
    registerPhonePage();
    QFile file(QStringLiteral(":/phone/index.html"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool PhoneServer::listen(quint16 port) {
    close();
    // The HTTP side, and with it every socket it hands over, is made in the writer thread.
    QMetaObject::invokeMethod(
        m_writer,
        [this, port] {
            m_http = std::make_unique<PhonePageServer>();
            connect(m_http.get(), &QAbstractHttpServer::newWebSocketConnection, m_http.get(),
                    [this] { takeConnections(); });
            m_port = m_http->listen(QHostAddress::Any, port);
            if (m_port == 0) m_http.reset();
        },
        Qt::BlockingQueuedConnection);
    if (m_port == 0) {
        m_error = QStringLiteral("Port %1 is in use.").arg(port);
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
    ++m_generation; // sockets on their way to admit() are gone with the rest
    std::vector<QWebSocket*> sockets;
    for (auto& [socket, c] : connections) {
        socket->disconnect(this);
        sockets.push_back(socket);
    }
    // Every phone is told before this returns: the game may be closing.
    QMetaObject::invokeMethod(
        m_writer,
        [this, sockets] {
            for (QWebSocket* socket : sockets) {
                socket->sendTextMessage(closedMessage);
                socket->close(QWebSocketProtocol::CloseCodeGoingAway, QStringLiteral("phones off"));
                socket->flush();
            }
            // Every socket, joined, refused or not yet admitted, goes before the HTTP side
            // that owns their connections.
            qDeleteAll(m_writer->findChildren<QWebSocket*>(Qt::FindDirectChildrenOnly));
            m_http.reset();
        },
        Qt::BlockingQueuedConnection);
    for (auto& [id, phone] : m_phones)
        phone.socket = nullptr;
    m_phones.clear();
    m_strikes.clear();
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
    inWriter([this, socket, text] {
        m_bytesSent += socket->sendTextMessage(text);
        socket->flush();
    });
}

void PhoneServer::closeSocket(QWebSocket* socket, QWebSocketProtocol::CloseCode code,
                              const QString& reason) {
    inWriter([socket, code, reason] { socket->close(code, reason); });
}

void PhoneServer::send(int phoneId, const QString& text) {
    const auto it = m_phones.find(phoneId);
    if (it != m_phones.end() && it->second.socket) sendTo(it->second.socket, text);
}

void PhoneServer::broadcast(const QString& text) {
    // One hand-over for the whole room: the text is shared, not copied, between the phones.
    std::vector<QWebSocket*> sockets;
    sockets.reserve(m_phones.size());
    for (const auto& [id, phone] : m_phones)
        if (phone.socket) sockets.push_back(phone.socket);
    if (sockets.empty()) return;
    inWriter([this, sockets = std::move(sockets), text] {
        qint64 bytes = 0;
        for (QWebSocket* socket : sockets) {
            bytes += socket->sendTextMessage(text);
            socket->flush();
        }
        m_bytesSent += bytes;
    });
}

bool PhoneServer::originAllowed(const QString& origin) const {
    // A browser names the page that opened the socket: only our own page may. Clients that
    // are not browsers send no origin.
    if (origin.isEmpty()) return true;
    const QUrl url(origin);
    return url.scheme() == QLatin1String("http") && url.port() == m_port;
}

void PhoneServer::takeConnections() {
    // In the writer thread: what the server needs to know of each socket is read here, its
    // messages are handled in the server's thread, and so is the choice to admit it.
    while (m_http && m_http->hasPendingWebSocketConnections()) {
        QWebSocket* s = m_http->nextPendingWebSocketConnection().release();
        if (!s) break;
        s->setParent(m_writer);
        s->setMaxAllowedIncomingMessageSize(maxSocketMessageBytes);
        s->setMaxAllowedIncomingFrameSize(maxSocketMessageBytes);
        connect(s, &QWebSocket::textMessageReceived, this,
                [this, s](const QString& text) { handleText(s, text); });
        connect(s, &QWebSocket::binaryMessageReceived, this, [this, s](const QByteArray&) {
            if (m_connections.count(s)) refuse(s, QStringLiteral("not a JSON object"));
        });
        connect(s, &QWebSocket::disconnected, this, [this, s] { connectionClosed(s); });
        // Queued before anything the socket reports, so it is admitted (or not) first.
        QMetaObject::invokeMethod(
            this,
            [this, s, generation = m_generation.load(), address = s->peerAddress().toString(),
             path = s->requestUrl().path(), origin = s->origin()] {
                if (generation == m_generation) admit(s, address, path, origin);
            },
            Qt::QueuedConnection);
    }
}

void PhoneServer::admit(QWebSocket* s, const QString& address, const QString& path,
                        const QString& origin) {
    int unjoinedHere = 0;
    for (const auto& [socket, c] : m_connections)
        unjoinedHere += c->phoneId == 0 && c->address == address;
    QString refusal;
    if (path != QLatin1String("/ws"))
        refusal = QStringLiteral("not found");
    else if (!originAllowed(origin))
        refusal = QStringLiteral("wrong origin");
    else if (connectionCount() >= m_limits.maxConnections ||
             unjoinedHere >= m_limits.maxUnjoinedPerAddress)
        refusal = QStringLiteral("too many connections");
    if (!refusal.isEmpty()) {
        s->disconnect(this);
        refuse(s, refusal);
        inWriter([s, refusal] {
            if (s->state() == QAbstractSocket::UnconnectedState) return s->deleteLater();
            connect(s, &QWebSocket::disconnected, s, &QObject::deleteLater);
            s->close(QWebSocketProtocol::CloseCodePolicyViolated, refusal);
        });
        return;
    }
    auto c = std::make_unique<Connection>();
    c->address = address;
    c->openedAt = c->windowStart = m_clock.now();
    c->socket = s;
    m_connections.emplace(s, std::move(c));
}

void PhoneServer::refuse(QWebSocket* socket, const QString& reason) {
    sendTo(socket, compactJson({{QStringLiteral("type"), QStringLiteral("error")},
                                {QStringLiteral("reason"), reason}}));
}

void PhoneServer::handleText(QWebSocket* socket, const QString& text) {
    const auto it = m_connections.find(socket);
    if (it == m_connections.end() || it->second->closing) return;
    Connection& c = *it->second;
    const std::int64_t now = m_clock.now();
    if (now - c.windowStart >= 1000) {
        c.windowStart = now;
        c.messagesInWindow = 0;
    }
    if (++c.messagesInWindow > m_limits.messagesPerSecond) {
        if (c.messagesInWindow >= m_limits.cutOffPerSecond) {
            refuse(socket, QStringLiteral("too many messages"));
            c.closing = true;
            closeSocket(socket, QWebSocketProtocol::CloseCodePolicyViolated,
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
    QWebSocket* socket = c.socket;
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
    QWebSocket* socket = c.socket;
    for (auto& [id, phone] : m_phones) {
        if (phone.secret != m.secret) continue;
        if (c.phoneId != 0 && c.phoneId != id) return refuse(socket, QStringLiteral("refused"));
        // The phone's old connection (a page before its reload) gives way to the new one.
        if (phone.socket && phone.socket != socket) {
            const auto old = m_connections.find(phone.socket);
            if (old != m_connections.end()) {
                old->second->phoneId = 0;
                old->second->closing = true;
            }
            closeSocket(phone.socket, QWebSocketProtocol::CloseCodeNormal,
                        QStringLiteral("replaced"));
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
    phone.socket = c.socket;
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
    // After everything handed over for it before.
    inWriter([socket] { delete socket; });
    const auto phone = m_phones.find(c->phoneId);
    if (phone != m_phones.end() && phone->second.socket == socket) {
        phone->second.socket = nullptr;
        emit dropped(c->phoneId);
    }
}

void PhoneServer::sweepUnjoined() {
    const std::int64_t now = m_clock.now();
    // A closed connection leaves the map when the writer thread reports it gone.
    for (auto& [socket, c] : m_connections)
        if (c->phoneId == 0 && !c->closing && now - c->openedAt >= m_limits.joinTimeoutMs) {
            c->closing = true;
            closeSocket(socket, QWebSocketProtocol::CloseCodePolicyViolated,
                        QStringLiteral("no join"));
        }
}
