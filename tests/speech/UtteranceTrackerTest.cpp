#include "UtteranceTracker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Runs a script of calls and engine reports ("say A", "stop", "Speaking", "Ready", "Error")
// and returns what the engine was told and when the utterance finished, in order.
std::vector<std::string> run(UtteranceTracker& tracker, const std::vector<std::string>& script) {
    std::vector<std::string> log;
    for (const std::string& line : script) {
        UtteranceTracker::Step step;
        if (line.rfind("say ", 0) == 0)
            step = tracker.say(QString::fromStdString(line.substr(4)));
        else if (line == "stop")
            step = tracker.stop();
        else if (line == "Speaking")
            step = tracker.engineStateChanged(UtteranceTracker::EngineState::Speaking);
        else if (line == "Ready")
            step = tracker.engineStateChanged(UtteranceTracker::EngineState::Ready);
        else if (line == "Error")
            step = tracker.engineStateChanged(UtteranceTracker::EngineState::Error);
        else
            ADD_FAILURE() << "unknown script line " << line;
        if (step.stopEngine) log.push_back("engine stop");
        if (!step.sayText.isEmpty()) log.push_back("engine say " + step.sayText.toStdString());
        if (step.finished) log.push_back("finished");
    }
    return log;
}

} // namespace

// A new utterance stops the one before, is given to the engine only once the engine has
// stopped, and only its own end finishes it; late reports of a cut-off utterance are never
// taken for the end of the new one.
TEST(UtteranceTrackerTest, EachUtteranceStopsTheOneBefore) {
    using Log = std::vector<std::string>;
    const struct {
        const char* name;
        std::vector<std::string> script;
        Log expected;
        bool speakingAfter;
    } cases[] = {
        {"spoken to the end", {"say A", "Speaking", "Ready"}, {"engine say A", "finished"}, false},
        {"cut off while spoken",
         {"say A", "Speaking", "say B", "Ready", "Speaking", "Ready"},
         {"engine say A", "engine stop", "engine say B", "finished"},
         false},
        {"cut off before the engine reported anything",
         {"say A", "say B", "Speaking", "Ready"},
         {"engine say A", "engine stop", "engine say B"},
         true},
        {"only the last of several cuts is spoken",
         {"say A", "Speaking", "say B", "say C", "Ready", "Speaking", "Ready"},
         {"engine say A", "engine stop", "engine say C", "finished"},
         false},
        {"stopped", {"say A", "Speaking", "stop", "Ready"}, {"engine say A", "engine stop"}, false},
        {"stopped while a cut waits",
         {"say A", "say B", "stop", "Ready"},
         {"engine say A", "engine stop"},
         false},
        {"stop with nothing said", {"stop", "Ready"}, {}, false},
        {"an engine error ends the utterance",
         {"say A", "Error"},
         {"engine say A", "finished"},
         false},
        {"an engine error while stopping still lets the next through",
         {"say A", "say B", "Error", "Speaking"},
         {"engine say A", "engine stop", "engine say B"},
         true},
    };
    for (const auto& c : cases) {
        UtteranceTracker tracker;
        EXPECT_EQ(run(tracker, c.script), c.expected) << c.name;
        EXPECT_EQ(tracker.isSpeaking(), c.speakingAfter) << c.name;
    }
}

// The caller sees speech as going on from say() until its end and as over from stop(), while
// the engine still winds down.
TEST(UtteranceTrackerTest, SpeakingAsTheCallerSeesIt) {
    UtteranceTracker tracker;
    EXPECT_FALSE(tracker.isSpeaking());
    tracker.say(QStringLiteral("A"));
    EXPECT_TRUE(tracker.isSpeaking());
    tracker.engineStateChanged(UtteranceTracker::EngineState::Speaking);
    tracker.say(QStringLiteral("B"));
    EXPECT_TRUE(tracker.isSpeaking()); // B waits for the engine
    tracker.stop();
    EXPECT_FALSE(tracker.isSpeaking()); // the engine still winds A down
}
