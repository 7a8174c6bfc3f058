#include "UtteranceTracker.h"

UtteranceTracker::Step UtteranceTracker::say(const QString& text) {
    Step step;
    switch (phase) {
    case Phase::Idle:
        phase = Phase::Speaking;
        step.sayText = text;
        break;
    case Phase::Speaking:
        phase = Phase::Stopping;
        pending = text;
        step.stopEngine = true;
        break;
    case Phase::Stopping:
    case Phase::Settling:
        pending = text;
        break;
    }
    return step;
}

UtteranceTracker::Step UtteranceTracker::stop() {
    Step step;
    pending.clear();
    if (phase == Phase::Speaking) {
        phase = Phase::Stopping;
        step.stopEngine = true;
    }
    return step;
}

UtteranceTracker::Step UtteranceTracker::engineStateChanged(EngineState state) {
    Step step;
    if (state == EngineState::Speaking) return step;
    // Ready or Error: whatever the engine held has ended.
    switch (phase) {
    case Phase::Idle:
        break;
    case Phase::Speaking:
        phase = state == EngineState::Error ? Phase::Settling : Phase::Idle;
        step.finished = true;
        break;
    case Phase::Stopping:
    case Phase::Settling:
        if (pending.isEmpty()) {
            phase = Phase::Idle;
        } else {
            phase = Phase::Speaking;
            step.sayText = pending;
            pending.clear();
        }
        break;
    }
    return step;
}

bool UtteranceTracker::isSpeaking() const {
    return phase == Phase::Speaking || !pending.isEmpty();
}
