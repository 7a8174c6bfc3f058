#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QWebSocket>

#include <functional>

// Runs the event loop until pred holds or a generous wall-clock cap runs out (a failure cap
// for the loopback sockets, never a measure of the game's time).
bool waitUntil(const std::function<bool()>& pred, int capMs = 5000);

// A phone for tests: a WebSocket client that keeps every message it is sent.
class PhoneClient : public QObject {
    Q_OBJECT
public:
    explicit PhoneClient(quint16 port, const QString& path = QStringLiteral("/ws"),
                         const QString& origin = {});
    bool connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    bool waitConnected() {
        return waitUntil([this] { return connected() || m_closed; }) && connected();
    }
    bool waitClosed() {
        return waitUntil([this] { return m_closed; });
    }

    void sendText(const QString& text) { m_socket.sendTextMessage(text); }
    void sendJson(QJsonObject o, bool withSecret = true);
    // Join with a name and code; true when welcomed.
    bool join(const QString& name, const QString& code);
    // The last message of that type, waiting for one that came after `since` messages.
    QJsonObject waitFor(const QString& type, qsizetype since = -1);
    qsizetype count() const { return messages.size(); }
    QJsonObject last(const QString& type) const;

    QList<QJsonObject> messages;
    QString secret;
    bool closed() const { return m_closed; }

private:
    QWebSocket m_socket;
    bool m_closed = false;
};
