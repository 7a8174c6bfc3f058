#include "RecordingSpeaker.h"

#include "Clock.h"

#include <algorithm>

RecordingSpeaker::RecordingSpeaker(Clock& clock)
    : clock(clock), endOfUtterance(clock, "speech", 1, false) {
    endOfUtterance.setOnTimer([this] {
        endOfUtterance.stop();
        speaking = false;
        said.back().endedAt = this->clock.now();
        said.back().finished = true;
        emit finished();
    });
}

void RecordingSpeaker::say(const QString& text) {
    if (!available()) return;
    cutOff();
    error.clear();
    said.push_back({text, clock.now()});
    speaking = true;
    endOfUtterance.setInterval(std::max(1, durationOf(text)));
    endOfUtterance.start();
}

void RecordingSpeaker::failCurrentLine() {
    if (!speaking) return;
    endOfUtterance.stop();
    speaking = false;
    said.back().endedAt = clock.now();
    said.back().finished = true;
    said.back().failed = true;
    error = QStringLiteral("Audio streaming error.");
    emit finished();
}

void RecordingSpeaker::stop() {
    cutOff();
}

void RecordingSpeaker::cutOff() {
    if (!speaking) return;
    endOfUtterance.stop();
    speaking = false;
    said.back().endedAt = clock.now();
}

QStringList RecordingSpeaker::texts() const {
    QStringList out;
    for (const Utterance& u : said)
        out << u.text;
    return out;
}
