#include "PhoneClient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QNetworkRequest>
#include <QUrl>

bool waitUntil(const std::function<bool()>& pred, int capMs) {
    const QDeadlineTimer cap(capMs);
    while (!pred()) {
        if (cap.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

PhoneClient::PhoneClient(quint16 port, const QString& path, const QString& origin) {
    connect(&m_socket, &QWebSocket::textMessageReceived, this, [this](const QString& text) {
        messages.append(QJsonDocument::fromJson(text.toUtf8()).object());
    });
    connect(&m_socket, &QWebSocket::disconnected, this, [this] { m_closed = true; });
    QNetworkRequest request(QUrl(QStringLiteral("ws://127.0.0.1:%1%2").arg(port).arg(path)));
    if (!origin.isEmpty()) request.setRawHeader("Origin", origin.toUtf8());
    m_socket.open(request);
}

void PhoneClient::sendJson(QJsonObject o, bool withSecret) {
    if (withSecret && !o.contains(QStringLiteral("secret")))
        o.insert(QStringLiteral("secret"), secret);
    m_socket.sendTextMessage(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
}

bool PhoneClient::join(const QString& name, const QString& code) {
    if (!waitConnected()) return false;
    const qsizetype since = count();
    sendJson({{"type", "join"}, {"name", name}, {"code", code}}, false);
    if (!waitUntil([&] { return count() > since; }) ||
        messages[since].value(QStringLiteral("type")).toString() != QLatin1String("welcome"))
        return false;
    const QJsonObject welcome = waitFor(QStringLiteral("welcome"), since);
    secret = welcome.value(QStringLiteral("secret")).toString();
    // The phone is shown the game at once.
    return !secret.isEmpty() && !waitFor(QStringLiteral("state"), since).isEmpty();
}

QJsonObject PhoneClient::last(const QString& type) const {
    for (qsizetype i = messages.size() - 1; i >= 0; --i)
        if (messages[i].value(QStringLiteral("type")).toString() == type) return messages[i];
    return {};
}

QJsonObject PhoneClient::waitFor(const QString& type, qsizetype since) {
    if (since < 0) since = count();
    QJsonObject found;
    waitUntil([&] {
        for (qsizetype i = since; i < messages.size(); ++i)
            if (messages[i].value(QStringLiteral("type")).toString() == type) {
                found = messages[i];
                return true;
            }
        return m_closed && since >= messages.size();
    });
    return found;
}
