// trivora-soundprobe: measures the built-in synthesizer's audio output as the game uses it: that
// the set-up opens no output, how soon the first note after a silence reaches the output, what
// a question's sounds cost, and that switching sound on and off, and opening and closing the
// port, again and again leaves no thread or file descriptor behind and never holds up the
// thread that sends the notes. A developer tool (tools/idle-cost runs it); it is not installed.
//
//   trivora-soundprobe [CYCLES]      (sound switched on and off CYCLES times, 100 by default)
#include "FluidMidiPlatform.h"
#include "QtClock.h"
#include "SoundCues.h"

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using clock = std::chrono::steady_clock;

// Long enough for the sound server to have suspended its idle output.
constexpr int FirstNoteAfterMs = 6000;

double msSince(clock::time_point t) {
    return std::chrono::duration<double, std::milli>(clock::now() - t).count();
}

void wait(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Polls pred every millisecond; false after limitMs.
bool until(const std::function<bool()>& pred, int limitMs) {
    const auto start = clock::now();
    while (!pred()) {
        if (msSince(start) > limitMs) return false;
        wait(1);
    }
    return true;
}

int count(const char* folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++n;
    return n;
}
int runningThreads() {
    return count("/proc/self/task");
}
int openFds() {
    return count("/proc/self/fd");
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class Probe {
public:
    int run(int cycles);

private:
    FluidMidiPlatform::OutputStats stats() const { return m_platform.stats(m_out.handle()); }
    // Sends one cue and keeps the time it took, on the wall clock and in this thread's CPU.
    void send(const std::function<void()>& cue) {
        const double cpu = threadCpuMs();
        const auto start = clock::now();
        cue();
        m_sendMs.push_back(msSince(start));
        m_longestSendCpuMs = std::max(m_longestSendCpuMs, threadCpuMs() - cpu);
    }
    bool closed(int limitMs = 5000) {
        return until([&] { return !stats().running; }, limitMs);
    }
    bool open(int limitMs = 2000) {
        return until([&] { return stats().running; }, limitMs);
    }
    // Sound switched on or off, as the Sound menu does it.
    void switchSound(bool on) {
        m_sound.setWanted(on);
        send([&] { m_platform.setSoundOn(on); });
    }

    FluidMidiPlatform m_platform;
    MidiOutput m_out{m_platform};
    SoundSwitch m_sound{false};
    SoundCues m_cues{m_out, m_sound};
    std::vector<double> m_sendMs;
    double m_longestSendCpuMs = 0;
};

int Probe::run(int cycles) {
    switchSound(false);
    m_cues.setUp();
    if (m_out.state() != MidiOutputState::Open) {
        std::fprintf(stderr, "trivora-soundprobe: the synthesizer did not open\n");
        return 1;
    }
    m_cues.timeTick(50); // sound off: no note
    wait(200);
    std::printf("after the set-up, sound off: audio output opened %d times, threads %d\n",
                stats().opens, runningThreads());

    // The game's first note comes a while after the start, when the sound server has let its
    // output idle.
    switchSound(true);
    const bool ready = until([&] { return stats().open; }, 2000);
    std::printf("sound switched on: audio output %s, threads %d\n",
                ready ? "open and paused" : "not open", runningThreads());
    wait(FirstNoteAfterMs);
    send([&] { m_cues.typingClick(); });
    if (!open()) {
        std::fprintf(stderr, "trivora-soundprobe: no audio output opened\n");
        return 1;
    }
    const std::string driver = m_platform.audioDriverName(m_out.handle());
    std::printf("audio output: %s, configured latency %.1f ms\n", driver.c_str(),
                FluidMidiPlatform::configuredLatencyMs(driver));
    if (until([&] { return stats().lastStartOutputDelayMs >= 0; }, 5000))
        std::printf("the very first note, %.1f s after sound was switched on: cue to its first "
                    "block %.1f ms, to the output %.1f ms\n",
                    FirstNoteAfterMs / 1000.0, stats().lastStartDelayMs,
                    stats().lastStartOutputDelayMs);
    else
        std::printf("the very first note: its time at the output is not known after 5 s\n");

    // The first note after a silence, ten times.
    std::vector<double> delays, outputDelays;
    for (int i = 0; i < 10; ++i) {
        if (!closed()) break;
        const int starts = stats().starts;
        send([&] { m_cues.correctFlash(1); });
        if (!until([&] { return stats().starts > starts && stats().lastStartDelayMs >= 0; }, 2000))
            break;
        delays.push_back(stats().lastStartDelayMs);
        if (until([&] { return stats().lastStartOutputDelayMs >= 0; }, 1000))
            outputDelays.push_back(stats().lastStartOutputDelayMs);
    }
    std::sort(delays.begin(), delays.end());
    std::sort(outputDelays.begin(), outputDelays.end());
    if (!delays.empty())
        std::printf("first note after a silence, cue to its first block (%zu times): median %.1f "
                    "ms, max %.1f ms\n",
                    delays.size(), delays[delays.size() / 2], delays.back());
    if (!outputDelays.empty())
        std::printf("first note after a silence, cue to the output (%zu times): median %.1f ms, "
                    "max %.1f ms\n",
                    outputDelays.size(), outputDelays[outputDelays.size() / 2],
                    outputDelays.back());

    // A question: the letters every 17 ms, then the time ticks every 100 ms.
    closed();
    const auto start = clock::now();
    const double cpu = cpuSeconds();
    const auto blocks = stats().blocks;
    const int underflows = stats().underflows;
    for (int i = 0; i < 80; ++i, wait(17))
        send([&] { m_cues.typingClick(); });
    for (int p = 99; p >= 50; --p, wait(100))
        send([&] { m_cues.timeTick(p); });
    const double wall = msSince(start) / 1000;
    std::printf("a question's sounds: probe CPU %.2f %% of a core, %.0f blocks rendered a "
                "second, the output ran dry %d times\n",
                100 * (cpuSeconds() - cpu) / wall, (stats().blocks - blocks) / wall,
                stats().underflows - underflows);

    // Sound switched on and off: each time the output opens paused, one note starts it, and
    // with sound off the silence after it closes it.
    closed();
    const auto shut = [&] { return until([&] { return !stats().open; }, 5000); };
    switchSound(false);
    shut();
    const int threads = runningThreads(), fds = openFds();
    int done = 0;
    for (; done < cycles; ++done) {
        switchSound(true);
        send([&] { m_cues.answerPress(done % 4, 120); });
        switchSound(false);
        send([&] { m_cues.answerPress(done % 4, 120); });
        if (!open()) {
            std::fprintf(stderr, "cycle %d: the note did not start the output\n", done);
            break;
        }
        if (!shut()) {
            std::fprintf(stderr, "cycle %d: the output did not close after its note\n", done);
            break;
        }
    }
    std::printf("sound on, a note, and off %d times: threads %d -> %d, file descriptors %d -> %d\n",
                done, threads, runningThreads(), fds, openFds());
    // Switched faster than an output opens: the last switch wins.
    for (int i = 0; i < cycles; ++i) {
        switchSound(true);
        switchSound(false);
    }
    const bool settled = shut();
    std::printf("sound on and off %d times without a pause: output %s, threads %d -> %d, file "
                "descriptors %d -> %d\n",
                cycles, settled ? "closed" : "still open", threads, runningThreads(), fds,
                openFds());

    // The port closed and opened again, playing each time.
    m_out.close();
    const int portThreads = runningThreads(), portFds = openFds();
    switchSound(true);
    int reopened = 0;
    for (; reopened < 20; ++reopened) {
        m_cues.setUp();
        send([&] { m_cues.typingClick(); });
        if (!open()) break;
        m_out.close();
    }
    std::printf("port opened, played and closed %d times: threads %d -> %d, file descriptors %d "
                "-> %d\n",
                reopened, portThreads, runningThreads(), portFds, openFds());
    std::sort(m_sendMs.begin(), m_sendMs.end());
    std::printf(
        "sends on the sending thread (%zu): 99th percentile %.3f ms, longest %.3f ms on the "
        "wall clock, %.3f ms of its CPU\n",
        m_sendMs.size(), m_sendMs[m_sendMs.size() * 99 / 100], m_sendMs.back(), m_longestSendCpuMs);
    return ready && done == cycles && settled && reopened == 20 && delays.size() == 10 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 100;
    // Sends from a thread scheduled as the game's GUI thread is, whose clock asks for short
    // time slices; TRIVORA_PROBE_DEFAULT_SLICES=1 keeps the kernel's default, for comparing.
    if (!std::getenv("TRIVORA_PROBE_DEFAULT_SLICES")) QtClock::askForShortSlices();
    Probe probe;
    return probe.run(cycles);
}
