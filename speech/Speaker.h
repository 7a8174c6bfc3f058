#pragma once

#include <QObject>
#include <QString>

// What the game speaks through. Saying a text stops the utterance before it; no call ever waits
// for speech, so a key press is handled at once whatever is being said.
class Speaker : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts speaking text, cutting off whatever was being said. Returns at once.
    virtual void say(const QString& text) = 0;
    // Cuts off the current utterance, if any. Returns at once.
    virtual void stop() = 0;
    // True from say() until the utterance has finished or been stopped.
    virtual bool isSpeaking() const = 0;

    // False when nothing can be spoken; unavailableReason() then says why in a few words
    // (meant for a tooltip), and say() does nothing.
    virtual bool available() const = 0;
    virtual QString unavailableReason() const = 0;
    // The reasons every speaker gives.
    static QString noEngineReason() { return QStringLiteral("No speech engine is installed"); }
    static QString noOutputReason() { return QStringLiteral("No sound output for speech"); }

    // The engine's message when the last utterance was given up, else empty.
    virtual QString lastError() const { return {}; }

signals:
    // The current utterance came to its end: spoken to the last word, or given up by the
    // engine (so that nobody waits for it for ever). An utterance cut off by stop() or by the
    // next say() does not finish.
    void finished();
};
