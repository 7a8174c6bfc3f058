#include "RecordingSpeaker.h"

#include "Clock.h"

#include <algorithm>

RecordingSpeaker::RecordingSpeaker(TClock& clock)
    : clock(clock), endOfUtterance(clock, "speech", 1, false) {
    endOfUtterance.SetOnTimer([this] {
        endOfUtterance.Stop();
        speaking = false;
        said.back().endedAt = this->clock.Now();
        said.back().finished = true;
        emit finished();
    });
}

void RecordingSpeaker::say(const QString& text) {
    if (!available()) return;
    cutOff();
    said.push_back({text, clock.Now()});
    speaking = true;
    endOfUtterance.SetInterval(std::max(1, durationOf(text)));
    endOfUtterance.Start();
}

void RecordingSpeaker::stop() {
    cutOff();
}

void RecordingSpeaker::cutOff() {
    if (!speaking) return;
    endOfUtterance.Stop();
    speaking = false;
    said.back().endedAt = clock.Now();
}

QStringList RecordingSpeaker::texts() const {
    QStringList out;
    for (const Utterance& u : said)
        out << u.text;
    return out;
}
