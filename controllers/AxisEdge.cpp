#include "AxisEdge.h"

AxisEdge::AxisEdge(int restValue) : rest(direction(restValue, 0)), last(rest) {}

int AxisEdge::direction(int value, int last) {
    if (value >= pressThreshold) return 1;
    if (value <= -pressThreshold) return -1;
    if (value > -releaseThreshold && value < releaseThreshold) return 0;
    return last;
}

int AxisEdge::press(int value) {
    const int now = direction(value, last);
    if (now == last) return 0;
    last = now;
    return now == rest ? 0 : now;
}
