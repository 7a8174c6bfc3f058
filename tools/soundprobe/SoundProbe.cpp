// trivora-soundprobe: measures the built-in synthesizer's audio output as the game uses it: that
// the set-up opens no output, how soon the first note after a silence reaches the output, what
// a question's sounds cost, and that switching sound on and off, and opening and closing the
// port, again and again leaves no thread or file descriptor behind and never holds up the
// thread that sends the notes. A developer tool (tools/idle-cost runs it); it is not installed.
//
//   trivora-soundprobe [CYCLES]      (sound switched on and off CYCLES times, 100 by default)
#include "FluidMidiPlatform.h"
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

using Clock = std::chrono::steady_clock;

// Long enough for the sound server to have suspended its idle output.
constexpr int FirstNoteAfterMs = 6000;

double MsSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

void Wait(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Polls pred every millisecond; false after limitMs.
bool Until(const std::function<bool()>& pred, int limitMs) {
    const auto start = Clock::now();
    while (!pred()) {
        if (MsSince(start) > limitMs) return false;
        Wait(1);
    }
    return true;
}

int Count(const char* folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++n;
    return n;
}
int Threads() {
    return Count("/proc/self/task");
}
int Fds() {
    return Count("/proc/self/fd");
}

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class Probe {
public:
    int run(int cycles);

private:
    TFluidMidiPlatform::OutputStats stats() const { return FPlatform.Stats(FOut.Handle()); }
    // Sends one cue and keeps the time it took, on the wall clock and in this thread's CPU.
    void send(const std::function<void()>& cue) {
        const double cpu = ThreadCpuMs();
        const auto start = Clock::now();
        cue();
        FSendMs.push_back(MsSince(start));
        FLongestSendCpuMs = std::max(FLongestSendCpuMs, ThreadCpuMs() - cpu);
    }
    bool closed(int limitMs = 5000) {
        return Until([&] { return !stats().running; }, limitMs);
    }
    bool open(int limitMs = 2000) {
        return Until([&] { return stats().running; }, limitMs);
    }
    // Sound switched on or off, as the Sound menu does it.
    void switchSound(bool on) {
        FSoundOn = on;
        send([&] { FPlatform.setSoundOn(on); });
    }

    TFluidMidiPlatform FPlatform;
    TMidiOutput FOut{FPlatform};
    bool FSoundOn = false;
    TSoundCues FCues{FOut, [this] { return FSoundOn; }};
    std::vector<double> FSendMs;
    double FLongestSendCpuMs = 0;
};

int Probe::run(int cycles) {
    switchSound(false);
    FCues.SetUp();
    if (FOut.State() != TMidiOutputState::Open) {
        std::fprintf(stderr, "trivora-soundprobe: the synthesizer did not open\n");
        return 1;
    }
    FCues.TimeTick(50); // sound off: no note
    Wait(200);
    std::printf("after the set-up, sound off: audio output opened %d times, threads %d\n",
                stats().opens, Threads());

    // The game's first note comes a while after the start, when the sound server has let its
    // output idle.
    switchSound(true);
    const bool ready = Until([&] { return stats().open; }, 2000);
    std::printf("sound switched on: audio output %s, threads %d\n",
                ready ? "open and paused" : "not open", Threads());
    Wait(FirstNoteAfterMs);
    send([&] { FCues.TypingClick(); });
    if (!open()) {
        std::fprintf(stderr, "trivora-soundprobe: no audio output opened\n");
        return 1;
    }
    const std::string driver = FPlatform.AudioDriverName(FOut.Handle());
    std::printf("audio output: %s, configured latency %.1f ms\n", driver.c_str(),
                TFluidMidiPlatform::ConfiguredLatencyMs(driver));
    if (Until([&] { return stats().lastStartOutputDelayMs >= 0; }, 5000))
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
        send([&] { FCues.CorrectFlash(1); });
        if (!Until([&] { return stats().starts > starts && stats().lastStartDelayMs >= 0; }, 2000))
            break;
        delays.push_back(stats().lastStartDelayMs);
        if (Until([&] { return stats().lastStartOutputDelayMs >= 0; }, 1000))
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
    const auto start = Clock::now();
    const double cpu = CpuSeconds();
    const auto blocks = stats().blocks;
    for (int i = 0; i < 80; ++i, Wait(17))
        send([&] { FCues.TypingClick(); });
    for (int p = 99; p >= 50; --p, Wait(100))
        send([&] { FCues.TimeTick(p); });
    const double wall = MsSince(start) / 1000;
    std::printf("a question's sounds: probe CPU %.2f %% of a core, %.0f blocks rendered a second\n",
                100 * (CpuSeconds() - cpu) / wall, (stats().blocks - blocks) / wall);

    // Sound switched on and off: each time the output opens paused, one note starts it, and
    // with sound off the silence after it closes it.
    closed();
    const auto shut = [&] { return Until([&] { return !stats().open; }, 5000); };
    switchSound(false);
    shut();
    const int threads = Threads(), fds = Fds();
    int done = 0;
    for (; done < cycles; ++done) {
        switchSound(true);
        send([&] { FCues.AnswerPress(done % 4, 120); });
        switchSound(false);
        send([&] { FCues.AnswerPress(done % 4, 120); });
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
                done, threads, Threads(), fds, Fds());
    // Switched faster than an output opens: the last switch wins.
    for (int i = 0; i < cycles; ++i) {
        switchSound(true);
        switchSound(false);
    }
    const bool settled = shut();
    std::printf("sound on and off %d times without a pause: output %s, threads %d -> %d, file "
                "descriptors %d -> %d\n",
                cycles, settled ? "closed" : "still open", threads, Threads(), fds, Fds());

    // The port closed and opened again, playing each time.
    FOut.Close();
    const int portThreads = Threads(), portFds = Fds();
    switchSound(true);
    int reopened = 0;
    for (; reopened < 20; ++reopened) {
        FCues.SetUp();
        send([&] { FCues.TypingClick(); });
        if (!open()) break;
        FOut.Close();
    }
    std::printf("port opened, played and closed %d times: threads %d -> %d, file descriptors %d "
                "-> %d\n",
                reopened, portThreads, Threads(), portFds, Fds());
    std::sort(FSendMs.begin(), FSendMs.end());
    std::printf(
        "sends on the sending thread (%zu): 99th percentile %.3f ms, longest %.3f ms on the "
        "wall clock, %.3f ms of its CPU\n",
        FSendMs.size(), FSendMs[FSendMs.size() * 99 / 100], FSendMs.back(), FLongestSendCpuMs);
    return ready && done == cycles && settled && reopened == 20 && delays.size() == 10 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 100;
    Probe probe;
    return probe.run(cycles);
}
