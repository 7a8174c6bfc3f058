#pragma once

#include "PhoneMessage.h"
#include "Timer.h"

#include <QWebSocketProtocol>

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

class Clock;
class PhonePageServer;
class QWebSocket;

// The phones' way in: one port that serves the phone page over HTTP (the page and nothing
// else) and takes the page's WebSocket at "/ws". A phone joins with a name and the four-digit
// join code and is given a secret of its own; it comes back with that secret after a reload or
// a lost connection. Every message is checked before anyone sees it; a phone that floods is
// slowed down and then cut off, and so are connections that never join.
//
// The phones' sockets live in a thread of their own that reads and writes them: the game's
// thread decides everything (who joins, what each message means, what every phone is sent) and
// only hands the writer thread the text and the sockets it goes to, so a hundred phones cost the
// game's thread one hand-over per message, not a hundred socket writes.
class PhoneServer : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int maxConnections = 160;       // open WebSockets at once, joined or not
        int maxUnjoinedPerAddress = 8;  // open WebSockets of one address that have not joined
        int joinTimeoutMs = 10000;      // a connection must join (or resume) within this
        int messagesPerSecond = 20;     // more from one connection are refused ...
        int cutOffPerSecond = 60;       // ... and this many close it
        int wrongCodesPerAddress = 5;   // wrong join codes before the address must wait
        int wrongCodeLockoutMs = 60000; // how long it waits
    };

    PhoneServer(Clock& clock, Limits limits, QObject* parent = nullptr);
    PhoneServer(Clock& clock, QObject* parent = nullptr) : PhoneServer(clock, Limits{}, parent) {}
    ~PhoneServer() override;

    // Listens on every address at port (0: a free port chosen by the system). False when the
    // port cannot be had (errorString() says why).
    bool listen(quint16 port);
    bool isListening() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    QString errorString() const { return m_error; }
    // A port that is free now, for offering when the one asked for is in use.
    static quint16 findFreePort();
    // Tells every phone that the phones are off, closes every connection and stops listening.
    void close();

    // What a phone opens: http://<this machine's LAN address>:<port>/
    QUrl address() const;
    // This machine's address on the local network (the first running non-loopback IPv4
    // interface), or the loopback address when there is none.
    static QHostAddress lanAddress();
    // The four digits a phone must give to join; a new one at every listen().
    QString joinCode() const { return m_joinCode; }
    void setJoinCode(const QString& code) { m_joinCode = code; }

    // A joined phone's name; whether it is connected now.
    QString name(int phoneId) const;
    bool isConnected(int phoneId) const;
    // Sends a text message to one phone (nothing when it is not connected), or to every
    // connected phone. The writer thread sends it; messages reach each phone in the order
    // they were sent.
    void send(int phoneId, const QString& text);
    void broadcast(const QString& text);
    // Bytes written to the phones' connections so far (by the writer thread: what was handed
    // over a moment ago may not be counted yet), and connections open now.
    qint64 bytesSent() const { return m_bytesSent; }
    int connectionCount() const { return static_cast<int>(m_connections.size()); }

    // The page served at "/".
    static QByteArray page();

signals:
    // A phone joined for the first time.
    void joined(int phoneId);
    // A phone came back with its secret, after a reload or a lost connection.
    void resumed(int phoneId);
    // A phone's connection is gone; the phone may come back.
    void dropped(int phoneId);
    // A checked message from a joined phone that carried its own secret: answer, start, stop.
    void received(int phoneId, const PhoneMessage& message);

private:
    struct Connection;
    struct Phone {
        QString name;
        QByteArray secret;
        QWebSocket* socket = nullptr;
    };
    struct Strikes {
        int wrongCodes = 0;
        std::int64_t lockedUntil = 0;
    };

    // In the writer thread: the sockets the HTTP side upgraded, handed to admit().
    void takeConnections();
    void admit(QWebSocket* socket, const QString& address, const QString& path,
               const QString& origin);
    void handleText(QWebSocket* socket, const QString& text);
    void handleJoin(Connection& c, const PhoneMessage& m);
    void handleResume(Connection& c, const PhoneMessage& m);
    void connectionClosed(QWebSocket* socket);
    void sweepUnjoined();
    void refuse(QWebSocket* socket, const QString& reason);
    void welcome(Connection& c, int phoneId);
    void sendTo(QWebSocket* socket, const QString& text);
    void closeSocket(QWebSocket* socket, QWebSocketProtocol::CloseCode code, const QString& reason);
    // Runs work in the writer thread, after everything handed over before it.
    void inWriter(std::function<void()> work);
    bool originAllowed(const QString& origin) const;

    Clock& m_clock;
    Limits m_limits;
    std::unique_ptr<PhonePageServer> m_http; // made, used and deleted in the writer thread
    quint16 m_port = 0;
    QString m_error;
    QString m_joinCode;
    std::map<QWebSocket*, std::unique_ptr<Connection>> m_connections;
    std::map<int, Phone> m_phones;
    std::map<QString, Strikes> m_strikes; // by address
    int m_nextPhoneId = 1;
    std::atomic<qint64> m_bytesSent = 0;
    Timer m_sweepTimer;
    // The thread that owns the sockets, and an object of its own that runs the work handed over.
    QThread m_writerThread;
    // Every socket is the writer's child until deleted.
    QObject* m_writer = nullptr;
    // Counts close(): what the writer thread handed over before it is no longer admitted.
    std::atomic<int> m_generation = 0;
};
