#include "DevTools.h"

#include "PhoneClient.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

Chromium::~Chromium() {
    if (m_process.state() != QProcess::NotRunning) {
        // A browser that closes itself leaves nothing of its profile being written.
        if (m_socket.state() == QAbstractSocket::ConnectedState)
            call(QStringLiteral("Browser.close"), {}, {}, 3000);
        m_socket.close();
        if (!m_process.waitForFinished(10000)) m_process.kill();
        m_process.waitForFinished(2000);
    }
    // Its helper processes may still be writing the profile for a moment.
    waitUntil([this] { return m_profile.remove(); }, 5000);
}

bool Chromium::start() {
    const QString program = QStringLiteral("/usr/bin/chromium");
    if (!QFile::exists(program)) {
        m_why = QStringLiteral("no %1").arg(program);
        return false;
    }
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program,
                    {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                     QStringLiteral("--disable-gpu"), QStringLiteral("--disable-quic"),
                     QStringLiteral("--no-first-run"),
                     QStringLiteral("--disable-background-networking"),
                     QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                     QStringLiteral("--user-data-dir=") + m_profile.path(),
                     QStringLiteral("--remote-debugging-port=0"), QStringLiteral("about:blank")});
    const QString portFile = QDir(m_profile.path()).filePath(QStringLiteral("DevToolsActivePort"));
    QStringList lines;
    waitUntil(
        [&] {
            QFile f(portFile);
            if (f.open(QIODevice::ReadOnly))
                lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            return lines.size() >= 2 || m_process.state() == QProcess::NotRunning;
        },
        30000);
    if (lines.size() < 2) {
        m_why = QStringLiteral("the browser gave no DevTools port");
        return false;
    }
    connect(&m_socket, &QWebSocket::textMessageReceived, this, [this](const QString& text) {
        const QJsonObject m = QJsonDocument::fromJson(text.toUtf8()).object();
        if (m.contains(QStringLiteral("id"))) m_replies.insert(m.value("id").toInt(), m);
    });
    m_socket.setMaxAllowedIncomingMessageSize(64 * 1024 * 1024);
    m_socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1%2").arg(lines[0], lines[1])));
    if (!waitUntil([&] { return m_socket.state() == QAbstractSocket::ConnectedState; }, 10000)) {
        m_why = QStringLiteral("no DevTools connection");
        return false;
    }
    return true;
}

QJsonObject Chromium::call(const QString& method, const QJsonObject& params,
                           const QString& sessionId, int capMs) {
    const int id = m_nextId++;
    QJsonObject m{{"id", id}, {"method", method}, {"params", params}};
    if (!sessionId.isEmpty()) m.insert(QStringLiteral("sessionId"), sessionId);
    m_socket.sendTextMessage(QString::fromUtf8(QJsonDocument(m).toJson(QJsonDocument::Compact)));
    if (!waitUntil([&] { return m_replies.contains(id); }, capMs)) {
        m_why = method + QStringLiteral(": no answer");
        return {};
    }
    const QJsonObject reply = m_replies.take(id);
    if (reply.contains(QStringLiteral("error"))) {
        m_why = method + QStringLiteral(": ") +
                QString::fromUtf8(QJsonDocument(reply.value("error").toObject()).toJson());
        return {};
    }
    return reply.value(QStringLiteral("result")).toObject();
}

BrowserPage::BrowserPage(Chromium& browser, const QString& url) : m_browser(browser) {
    const QString context = browser.call(QStringLiteral("Target.createBrowserContext"))
                                .value("browserContextId")
                                .toString();
    const QString target = browser
                               .call(QStringLiteral("Target.createTarget"),
                                     {{"url", url}, {"browserContextId", context}})
                               .value("targetId")
                               .toString();
    m_session = browser
                    .call(QStringLiteral("Target.attachToTarget"),
                          {{"targetId", target}, {"flatten", true}})
                    .value("sessionId")
                    .toString();
    browser.call(QStringLiteral("Page.enable"), {}, m_session);
    // A phone-sized window.
    browser.call(QStringLiteral("Emulation.setDeviceMetricsOverride"),
                 {{"width", 390}, {"height", 780}, {"deviceScaleFactor", 1}, {"mobile", true}},
                 m_session);
}

QJsonValue BrowserPage::eval(const QString& expression) {
    const QJsonObject r = m_browser.call(
        QStringLiteral("Runtime.evaluate"),
        {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}}, m_session);
    return r.value(QStringLiteral("result")).toObject().value(QStringLiteral("value"));
}

bool BrowserPage::waitTrue(const QString& expression, int capMs) {
    return waitUntil([&] { return eval(expression).toBool(); }, capMs);
}

void BrowserPage::reload() {
    m_browser.call(QStringLiteral("Page.reload"), {}, m_session);
}

QByteArray BrowserPage::screenshot() {
    return QByteArray::fromBase64(
        m_browser.call(QStringLiteral("Page.captureScreenshot"), {{"format", "png"}}, m_session)
            .value("data")
            .toString()
            .toLatin1());
}
