#include "QtSpeaker.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextToSpeech>

namespace {
// How long a new utterance waits, at most, for an engine that failed to be ready again.
constexpr int SettleTimeoutMs = 500;

const QString Dispatcher = QStringLiteral("speechd");
const QString Flite = QStringLiteral("flite");

// Why an engine that loaded cannot speak, in a few words; empty when it can. An engine may
// report an error reason while it is ready and able to speak; only a missing sound output or
// the error state count.
QString engineTrouble(const QTextToSpeech& tts) {
    if (tts.errorReason() == QTextToSpeech::ErrorReason::Playback)
        return Speaker::noOutputReason();
    if (tts.state() != QTextToSpeech::Error) return {};
    const QString detail = tts.errorString().trimmed();
    return detail.isEmpty() ? QStringLiteral("The speech engine could not be started")
                            : QStringLiteral("The speech engine could not be started: ") + detail;
}
} // namespace

QtSpeaker::QtSpeaker(QObject* parent) : Speaker(parent) {
    start(enginePreference(QTextToSpeech::availableEngines(), dispatcherRunning()));
}

QtSpeaker::QtSpeaker(const QString& engine, QObject* parent) : Speaker(parent) {
    if (QTextToSpeech::availableEngines().contains(engine))
        start({engine});
    else
        reason = QStringLiteral("The speech engine \"%1\" is not installed").arg(engine);
}

// The engine stops speaking as it is destroyed. Telling it to stop first would leave a
// request queued for its worker thread while the engine goes away.
QtSpeaker::~QtSpeaker() {
    if (tts) tts->disconnect(this);
}

QStringList QtSpeaker::enginePreference(const QStringList& installed, bool dispatcherRunning) {
    QStringList order;
    if (dispatcherRunning && installed.contains(Dispatcher)) order << Dispatcher;
    if (installed.contains(Flite)) order << Flite;
    // Any other engine is better than silence; the dispatcher engine last, as it may start
    // a dispatcher of its own.
    for (const QString& name : installed)
        if (name != Dispatcher && name != Flite) order << name;
    if (!dispatcherRunning && installed.contains(Dispatcher)) order << Dispatcher;
    return order;
}

bool QtSpeaker::dispatcherRunning() {
    // The dispatcher's address, as its client library finds it: an explicit address first,
    // else the socket in the user's runtime folder.
    const QString address = qEnvironmentVariable("SPEECHD_ADDRESS");
    if (address.startsWith(QStringLiteral("inet_socket"))) return true;
    QString socket;
    if (address.startsWith(QStringLiteral("unix_socket:")))
        socket = address.mid(int(qstrlen("unix_socket:")));
    if (socket.isEmpty()) {
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (runtime.isEmpty()) return false;
        socket = runtime + QStringLiteral("/speech-dispatcher/speechd.sock");
    }
    const QFileInfo info(socket);
    return info.exists() && !info.isFile() && !info.isDir();
}

void QtSpeaker::start(const QStringList& engines) {
    if (engines.isEmpty()) {
        reason = noEngineReason();
        return;
    }
    for (const QString& name : engines) {
        auto candidate = std::make_unique<QTextToSpeech>(name);
        const QString trouble = candidate->engine() == name
                                    ? engineTrouble(*candidate)
                                    : QStringLiteral("The speech engine could not be loaded");
        if (trouble.isEmpty()) {
            tts = std::move(candidate);
            reason.clear();
            break;
        }
        // The first engine's trouble is the one worth telling.
        if (reason.isEmpty()) reason = trouble;
    }
    if (!tts) return;
    connect(tts.get(), &QTextToSpeech::stateChanged, this,
            [this](QTextToSpeech::State state) { engineStateChanged(int(state)); });
    settleTimeout.setSingleShot(true);
    settleTimeout.setInterval(SettleTimeoutMs);
    connect(&settleTimeout, &QTimer::timeout, this, [this] {
        if (tracker.waitsForEngine()) follow(tracker.engineSettled());
    });
}

QString QtSpeaker::engine() const {
    return tts ? tts->engine() : QString();
}

bool QtSpeaker::available() const {
    return tts != nullptr;
}

QString QtSpeaker::unavailableReason() const {
    return tts ? QString() : reason;
}

bool QtSpeaker::isSpeaking() const {
    return tracker.isSpeaking();
}

void QtSpeaker::say(const QString& text) {
    if (!tts) return;
    const QString spoken = text.simplified();
    if (spoken.isEmpty()) {
        stop();
        return;
    }
    error.clear();
    follow(tracker.say(spoken));
}

void QtSpeaker::stop() {
    if (tts) follow(tracker.stop());
}

void QtSpeaker::engineStateChanged(int state) {
    UtteranceTracker::EngineState seen;
    switch (QTextToSpeech::State(state)) {
    case QTextToSpeech::Speaking:
        seen = UtteranceTracker::EngineState::Speaking;
        break;
    case QTextToSpeech::Ready:
        seen = UtteranceTracker::EngineState::Ready;
        break;
    case QTextToSpeech::Error:
        seen = UtteranceTracker::EngineState::Error;
        // The engine may tell its message only after the state.
        if (tracker.isSpeaking())
            error = tts->errorString().isEmpty() ? QStringLiteral("The speech engine failed")
                                                 : tts->errorString();
        break;
    default:
        return; // paused: we never pause
    }
    follow(tracker.engineStateChanged(seen));
}

void QtSpeaker::follow(const UtteranceTracker::Step& step) {
    if (step.stopEngine) tts->stop();
    if (!step.sayText.isEmpty()) tts->say(step.sayText);
    if (tracker.waitsForEngine() && !settleTimeout.isActive()) settleTimeout.start();
    if (step.finished) emit finished();
}
