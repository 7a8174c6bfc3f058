#pragma once

#include "Speaker.h"
#include "Timer.h"

#include <QStringList>

#include <cstdint>
#include <vector>

class Clock;

// A speaker for tests: keeps every utterance in order and speaks each for a time that grows
// with its length on the given clock, so a test decides to the millisecond when it finishes.
class RecordingSpeaker final : public Speaker {
    Q_OBJECT
public:
    // How long the speaker takes for each character of a text.
    static constexpr int msPerCharacter = 60;

    explicit RecordingSpeaker(Clock& clock);

    struct Utterance {
        QString text;
        std::int64_t saidAt = 0;
        std::int64_t endedAt = -1; // -1 while it is spoken
        bool finished = false;     // came to its end (spoken, or given up), not cut off
        bool failed = false;       // given up by the engine
    };

    void say(const QString& text) override;
    void stop() override;
    bool isSpeaking() const override { return speaking; }
    bool available() const override { return reason.isEmpty(); }
    QString unavailableReason() const override { return reason; }

    // From now on nothing can be spoken, for this reason.
    void makeUnavailable(const QString& why) { reason = why; }
    // The engine gives up on the current line at once, as a failing engine does: the line
    // ends unheard but counts as finished, with an error.
    void failCurrentLine();
    QString lastError() const override { return error; }

    const std::vector<Utterance>& utterances() const { return said; }
    // The texts said so far, in order.
    QStringList texts() const;
    // How long a text takes to speak.
    static int durationOf(const QString& text) { return int(text.size()) * msPerCharacter; }

private:
    void cutOff();

    Clock& clock;
    Timer endOfUtterance;
    std::vector<Utterance> said;
    bool speaking = false;
    QString reason;
    QString error;
};
