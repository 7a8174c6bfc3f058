#pragma once

#include "Speaker.h"
#include "UtteranceTracker.h"

#include <QStringList>
#include <QTimer>

#include <memory>

class QTextToSpeech;

// Speech through Qt TextToSpeech. Without a usable engine it stays unavailable and says why.
class QtSpeaker final : public Speaker {
    Q_OBJECT
public:
    // Uses the speech-dispatcher engine where a speech-dispatcher runs, else Flite.
    explicit QtSpeaker(QObject* parent = nullptr);
    // Uses the named engine ("flite", "speechd") only.
    QtSpeaker(const QString& engine, QObject* parent);
    ~QtSpeaker() override;

    void say(const QString& text) override;
    void stop() override;
    bool isSpeaking() const override;
    bool available() const override;
    QString unavailableReason() const override;

    // The engine in use; empty when none could be started.
    QString engine() const;
    QString lastError() const override { return error; }

    // The engines to try, best first: speech-dispatcher first only where one runs.
    static QStringList enginePreference(const QStringList& installed, bool dispatcherRunning);
    // Whether a speech-dispatcher server is listening for this user.
    static bool dispatcherRunning();

private:
    void start(const QStringList& engines);
    void follow(const UtteranceTracker::Step& step);
    void engineStateChanged(int state);

    std::unique_ptr<QTextToSpeech> tts;
    UtteranceTracker tracker;
    // Gives up waiting for a failed engine to report that it is ready again.
    QTimer settleTimeout;
    QString reason;
    QString error;
};
