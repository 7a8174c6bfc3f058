#pragma once

#include <QString>

// The bookkeeping between the game's utterances and a speech engine that reports its state
// later, from its own thread. The engine is only ever given one utterance at a time: a new one
// waits until the engine has confirmed that the one it cuts off has stopped, so a late state
// report of the old utterance can never be taken for the end of the new one.
class UtteranceTracker {
public:
    enum class EngineState { Ready, Speaking, Error };

    // What the engine is to be told after a call; at most one of stopEngine and sayText.
    struct Step {
        bool stopEngine = false;
        QString sayText;
        // The current utterance has come to its end.
        bool finished = false;
    };

    Step say(const QString& text);
    Step stop();
    Step engineStateChanged(EngineState state);

    bool isSpeaking() const;
    // After an error the engine may still send a late report of the failed utterance; a new
    // utterance waits for the engine to be ready again. An engine that never says so is taken
    // as ready when the owner calls engineSettled().
    bool waitsForEngine() const { return phase == Phase::Settling && !pending.isEmpty(); }
    Step engineSettled() { return engineStateChanged(EngineState::Ready); }

private:
    enum class Phase {
        Idle,     // the engine holds nothing of ours
        Speaking, // the engine holds the current utterance
        Stopping, // the engine was told to stop; `pending` waits for it
        Settling, // the engine failed; `pending` waits for it to be ready again
    };
    Phase phase = Phase::Idle;
    QString pending;
};
