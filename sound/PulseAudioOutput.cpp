#include "PulseAudioOutput.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr std::size_t FrameBytes = 2 * sizeof(float);

std::int64_t steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

int PulseAudioOutput::minRequestFrames(int bufferedFrames) {
    return std::max(1, bufferedFrames / 32);
}

PulseAudioOutput::PulseAudioOutput(FluidMidiPlatform::Render render) : render(std::move(render)) {}

std::unique_ptr<PulseAudioOutput> PulseAudioOutput::open(const FluidMidiPlatform::Render& render,
                                                         int sampleRate, int bufferedFrames,
                                                         bool paused) {
    auto out = std::make_unique<PulseAudioOutput>(render);
    if (!out->connect(sampleRate, bufferedFrames, paused)) return nullptr;
    return out;
}

bool PulseAudioOutput::connect(int sampleRate, int bufferedFrames, bool paused) {
    loop = pa_threaded_mainloop_new();
    if (!loop) return false;
    context = pa_context_new(pa_threaded_mainloop_get_api(loop), "Trivora");
    if (!context) return false;
    pa_context_set_state_callback(context, &PulseAudioOutput::contextChanged, this);
    // No server is started for us: without one the next output is tried.
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return false;
    pa_threaded_mainloop_lock(loop);
    if (pa_threaded_mainloop_start(loop) < 0) {
        pa_threaded_mainloop_unlock(loop);
        return false;
    }
    bool ready = false;
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(context);
        if (state == PA_CONTEXT_READY) {
            ready = true;
            break;
        }
        if (!PA_CONTEXT_IS_GOOD(state)) break;
        pa_threaded_mainloop_wait(loop);
    }
    if (ready) {
        const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(sampleRate), 2};
        pa_proplist* props = pa_proplist_new();
        pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "game");
        stream = pa_stream_new_with_proplist(context, "Trivora sounds", &spec, nullptr, props);
        pa_proplist_free(props);
        ready = stream != nullptr;
    }
    if (ready) {
        pa_stream_set_state_callback(stream, &PulseAudioOutput::streamChanged, this);
        pa_stream_set_write_callback(stream, &PulseAudioOutput::writable, this);
        pa_stream_set_underflow_callback(stream, &PulseAudioOutput::underflowed, this);
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = static_cast<std::uint32_t>(bufferedFrames * FrameBytes);
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = static_cast<std::uint32_t>(minRequestFrames(bufferedFrames) * FrameBytes);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        // The buffer plus the server's own latency make up the latency asked for, and the
        // server sets its output's latency to suit: without this a sink that has idled holds
        // the first notes back by as much as it had prepared (seconds, on a null sink). Even
        // so, what a stream plays first waits for what the sink prepared before the stream
        // came (up to two seconds on a null sink): a stream connected corked well ahead of its
        // first note has the sink prepare for it, so that note plays at once.
        const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY |
                                                          (paused ? PA_STREAM_START_CORKED : 0));
        ready = pa_stream_connect_playback(stream, nullptr, &attr, flags, nullptr, nullptr) == 0;
    }
    while (ready) {
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if (state == PA_STREAM_READY) break;
        if (!PA_STREAM_IS_GOOD(state))
            ready = false;
        else
            pa_threaded_mainloop_wait(loop);
    }
    pa_threaded_mainloop_unlock(loop);
    return ready;
}

PulseAudioOutput::~PulseAudioOutput() {
    if (loop) pa_threaded_mainloop_lock(loop);
    if (stream) {
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream, nullptr, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
    if (context) {
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    if (loop) {
        pa_threaded_mainloop_unlock(loop);
        pa_threaded_mainloop_stop(loop);
        pa_threaded_mainloop_free(loop);
    }
}

bool PulseAudioOutput::pause() {
    return cork(true);
}

bool PulseAudioOutput::resume() {
    return cork(false);
}

bool PulseAudioOutput::cork(bool corked) {
    pa_threaded_mainloop_lock(loop);
    bool done = pa_stream_get_state(stream) == PA_STREAM_READY;
    if (done) {
        if (corked) {
            pa_operation* op = pa_stream_cork(stream, 1, nullptr, nullptr);
            done = op != nullptr;
            if (op) pa_operation_unref(op);
        }
        // The stream holds only silence by now: dropping it lets the next note play at once.
        pa_operation* flushed = pa_stream_flush(stream, nullptr, nullptr);
        if (flushed) pa_operation_unref(flushed);
        writtenBytes = 0;
        firstSoundAt = -1;
        firstSoundPlaysAt = -1;
        if (!corked) {
            pa_operation* op = pa_stream_cork(stream, 0, nullptr, nullptr);
            done = op != nullptr;
            if (op) pa_operation_unref(op);
        }
    }
    pa_threaded_mainloop_unlock(loop);
    return done;
}

void PulseAudioOutput::contextChanged(pa_context* context, void* data) {
    auto* self = static_cast<PulseAudioOutput*>(data);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) self->lost = true;
    pa_threaded_mainloop_signal(self->loop, 0);
}

void PulseAudioOutput::streamChanged(pa_stream* stream, void* data) {
    auto* self = static_cast<PulseAudioOutput*>(data);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) self->lost = true;
    pa_threaded_mainloop_signal(self->loop, 0);
}

void PulseAudioOutput::underflowed(pa_stream*, void* data) {
    ++static_cast<PulseAudioOutput*>(data)->underflowCount;
}

// The server wants more sound: render what it asks for and hand it over.
void PulseAudioOutput::writable(pa_stream* stream, std::size_t bytes, void* data) {
    auto* self = static_cast<PulseAudioOutput*>(data);
    while (bytes >= FrameBytes) {
        void* buffer = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(stream, &buffer, &size) < 0 || !buffer) return;
        const int frames = static_cast<int>(std::min(size, bytes) / FrameBytes);
        if (frames == 0) {
            pa_stream_cancel_write(stream);
            return;
        }
        self->left.resize(static_cast<std::size_t>(frames));
        self->right.resize(static_cast<std::size_t>(frames));
        if (self->render(frames, self->left.data(), self->right.data())) {
            // The first sound since the start: ask the server how far behind it plays.
            self->firstSoundAt = self->writtenBytes;
            pa_operation* op =
                pa_stream_update_timing_info(stream, &PulseAudioOutput::timingUpdated, self);
            if (op) pa_operation_unref(op);
        }
        auto* out = static_cast<float*>(buffer);
        for (int i = 0; i < frames; ++i) {
            out[2 * i] = self->left[i];
            out[2 * i + 1] = self->right[i];
        }
        const std::size_t written = static_cast<std::size_t>(frames) * FrameBytes;
        if (pa_stream_write(stream, buffer, written, nullptr, 0, PA_SEEK_RELATIVE) < 0) return;
        self->writtenBytes += static_cast<std::int64_t>(written);
        bytes -= written;
    }
}

// The server's account of the stream, fetched for the first sound since a start: that sound
// plays once what the stream holds before it has played, after the sink's own latency.
void PulseAudioOutput::timingUpdated(pa_stream* stream, int success, void* data) {
    auto* self = static_cast<PulseAudioOutput*>(data);
    if (!success || self->firstSoundAt < 0) return;
    const pa_timing_info* timing = pa_stream_get_timing_info(stream);
    if (!timing || timing->write_index_corrupt || timing->read_index_corrupt) return;
    // Where the first sound starts in the stream, on the server's count of its bytes.
    const std::int64_t at = timing->write_index - (self->writtenBytes - self->firstSoundAt);
    const std::int64_t ahead = std::max<std::int64_t>(0, at - timing->read_index);
    const pa_sample_spec* spec = pa_stream_get_sample_spec(stream);
    const std::int64_t aheadNs =
        ahead / static_cast<std::int64_t>(FrameBytes) * 1000000000LL / spec->rate;
    self->firstSoundPlaysAt =
        steadyNs() + static_cast<std::int64_t>(timing->sink_usec) * 1000 + aheadNs;
    self->firstSoundAt = -1;
}
