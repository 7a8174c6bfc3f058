#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QWebSocket>

#include <memory>

// Headless Debian Chromium with a fresh profile, driven over its DevTools protocol through one
// WebSocket to the browser (flat sessions: one per page).
class Chromium : public QObject {
    Q_OBJECT
public:
    ~Chromium() override;
    // Starts the browser and connects to it; false (with why()) when it cannot.
    bool start();
    QString why() const { return m_why; }

    // Sends a command and waits for its reply; the reply's "result", or an empty object (with
    // why()) after an error or when the browser does not answer within capMs.
    QJsonObject call(const QString& method, const QJsonObject& params = {},
                     const QString& sessionId = {}, int capMs = 15000);

private:
    QTemporaryDir m_profile;
    QProcess m_process;
    QWebSocket m_socket;
    QMap<int, QJsonObject> m_replies;
    int m_nextId = 1;
    QString m_why;
};

// A page (a tab in a browser context of its own, so pages keep separate storage).
class BrowserPage {
public:
    BrowserPage(Chromium& browser, const QString& url);
    bool ok() const { return !m_session.isEmpty(); }

    // The value of a JavaScript expression (awaited when it is a promise).
    QJsonValue eval(const QString& expression);
    // Evaluates until the expression is true; false after capMs of wall-clock time.
    bool waitTrue(const QString& expression, int capMs = 10000);
    void reload();
    // A PNG of the page.
    QByteArray screenshot();

private:
    Chromium& m_browser;
    QString m_session;
};
