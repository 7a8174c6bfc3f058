#pragma once

#include <memory>

class Speaker;

// The program's speaker: the speech-dispatcher engine where a speech-dispatcher runs (the
// desktop's own voice and settings), else Flite with our own audio output, else any other
// Qt TextToSpeech engine. When none can speak, the speaker returned is unavailable and its
// unavailableReason() tells the first engine's trouble.
std::unique_ptr<Speaker> makeSystemSpeaker();
