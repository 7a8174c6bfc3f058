#pragma once

#include "FluidMidiPlatform.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

// A playback stream on the sound server (PulseAudio, or PipeWire through its PulseAudio
// protocol) that pulls the synthesizer's sound as the server asks for it. Pausing corks the
// stream and drops what it still holds, so a paused output costs neither process a wake-up;
// resuming uncorks it and the next note is the first thing it plays.
class PulseAudioOutput final : public FluidMidiPlatform::AudioOutput {
public:
    // Connects to the default server and opens a stream that keeps bufferedFrames ahead of the
    // speaker, the server's own latency included, corked when paused is set; null when there is
    // no server or it refuses the stream. Blocks until the stream is ready.
    static std::unique_ptr<PulseAudioOutput> open(const FluidMidiPlatform::Render& render,
                                                  int sampleRate, int bufferedFrames,
                                                  bool paused = false);
    ~PulseAudioOutput() override;

    std::string name() const override { return "pulseaudio"; }
    bool pause() override;
    bool resume() override;
    bool alive() const override { return !lost; }
    std::int64_t firstSoundPlaysAtNs() const override { return firstSoundPlaysAt; }
    int underflows() const override { return underflowCount; }

    // The least the stream asks for at a time. With its latency adjusted, the server gives its
    // output (tlength - 2 minreq) / 2 of the latency and the stream's buffer the rest; its
    // output wakes once per its own latency and takes that much at a time, and the stream asks
    // for more each time. So a small minreq gives the output nearly half the latency, and the
    // output, the server and the audio thread each wake about once per 5.4 ms for a latency of
    // 11.6 ms, not once per 2.9 ms as with the server's choice of a quarter of the buffer.
    static int minRequestFrames(int bufferedFrames);

    explicit PulseAudioOutput(FluidMidiPlatform::Render render);

private:
    bool connect(int sampleRate, int bufferedFrames, bool paused);
    bool cork(bool corked);
    static void contextChanged(pa_context* context, void* self);
    static void streamChanged(pa_stream* stream, void* self);
    static void writable(pa_stream* stream, std::size_t bytes, void* self);
    static void timingUpdated(pa_stream* stream, int success, void* self);
    static void underflowed(pa_stream* stream, void* self);

    FluidMidiPlatform::Render render;
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    // The server closed the stream or the connection.
    std::atomic<bool> lost{false};
    // When the first sound since the latest resume plays; -1 until known.
    std::atomic<std::int64_t> firstSoundPlaysAt{-1};
    // Times the stream ran dry while playing.
    std::atomic<int> underflowCount{0};
    // Under the main loop's lock (its callbacks hold it).
    std::vector<float> left, right;
    // Bytes written since the stream was opened or flushed, and where in them the first
    // sound since the latest resume starts (-1 when there is none waiting to be timed).
    std::int64_t writtenBytes = 0;
    std::int64_t firstSoundAt = -1;
};
