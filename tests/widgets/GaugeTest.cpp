#include "Gauge.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

namespace {
const QColor blue(0x00, 0x00, 0xFF);
const QColor navy(0x00, 0x00, 0x80);

// The game's time gauge as the screen sets it up, at its laid-out design size.
void setUpAsTimeGauge(Gauge& g, int progress) {
    g.setShowText(false);
    g.setForeColor(blue);
    g.setBackColor(navy);
    g.resize(332, 22);
    g.setProgress(progress);
}

QColor at(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

// Counts the pixels of one colour inside the image.
int countOf(const QImage& image, const QColor& c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) == c) ++n;
    return n;
}

std::string rangeError(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::logic_error& e) {
        return e.what();
    }
    return "no exception";
}
} // namespace

// A new gauge has the published defaults: 0 .. 100 at 0, horizontal bar, text shown, single
// border, black on white, 100 x 100 pixels.
TEST(GaugeTest, Defaults) {
    Gauge g;
    EXPECT_EQ(g.minValue(), 0);
    EXPECT_EQ(g.maxValue(), 100);
    EXPECT_EQ(g.progress(), 0);
    EXPECT_EQ(g.kind(), GaugeKind::gkHorizontalBar);
    EXPECT_TRUE(g.showText());
    EXPECT_EQ(g.borderStyle(), GaugeBorder::bsSingle);
    EXPECT_EQ(g.foreColor(), QColor(Qt::black));
    EXPECT_EQ(g.backColor(), QColor(Qt::white));
    EXPECT_EQ(g.size(), QSize(100, 100));
    EXPECT_TRUE(g.testAttribute(Qt::WA_OpaquePaintEvent));
}

// Progress is clamped into the range, and percentDone truncates towards zero.
TEST(GaugeTest, ProgressClampAndPercent) {
    struct Case {
        int min, max, set, stored, percent;
    };
    const Case cases[] = {
        {0, 100, 150, 100, 100},
        {0, 100, -5, 0, 0},
        {0, 100, 37, 37, 37},
        {0, 3, 1, 1, 33}, // 33.3 -> 33
        {0, 3, 2, 2, 66}, // 66.6 -> 66
        {-50, 50, 0, 0, 50},
        {-50, 50, -49, -49, 1},
        {10, 20, 15, 15, 50},
        {7, 7, 9, 7, 0}, // an empty range shows nothing
        {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), 0, 0,
         50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " set " << c.set);
        Gauge g;
        g.setMaxValue(c.max);
        g.setMinValue(c.min);
        g.setProgress(c.set);
        EXPECT_EQ(g.progress(), c.stored);
        EXPECT_EQ(g.percentDone(), c.percent);
    }
}

// Moving one end of the range past Progress pulls Progress with it.
TEST(GaugeTest, RangeEndsPullProgress) {
    Gauge g;
    g.setProgress(80);
    g.setMaxValue(60);
    EXPECT_EQ(g.progress(), 60);
    g.setMinValue(0);
    g.setProgress(10);
    g.setMinValue(30);
    EXPECT_EQ(g.progress(), 30);
    EXPECT_EQ(g.percentDone(), 0);
}

// A range end set past the other end raises the range message and stores nothing; while
// the gauge is being loaded the value is taken as it comes.
TEST(GaugeTest, RangeEndPastTheOtherRaises) {
    Gauge g;
    g.setProgress(40);
    EXPECT_EQ(rangeError([&] { g.setMinValue(101); }), "Value must be between -2147483647 and 99");
    EXPECT_EQ(rangeError([&] { g.setMaxValue(-1); }), "Value must be between 1 and 2147483647");
    EXPECT_EQ(g.minValue(), 0);
    EXPECT_EQ(g.maxValue(), 100);
    EXPECT_EQ(g.progress(), 40);
    // Equal ends are allowed.
    EXPECT_EQ(rangeError([&] { g.setMinValue(100); }), "no exception");
    EXPECT_EQ(rangeError([&] { g.setMaxValue(99); }), "Value must be between 101 and 2147483647");

    Gauge loading;
    loading.setLoading(true);
    loading.setMinValue(200);
    loading.setMaxValue(300);
    loading.setLoading(false);
    EXPECT_EQ(loading.minValue(), 200);
    EXPECT_EQ(loading.maxValue(), 300);
    EXPECT_EQ(loading.progress(), 200);
}

// Only a real change repaints: the same value again, or a Progress step that leaves
// percentDone where it was, costs nothing.
TEST(GaugeTest, RepaintsOnlyOnVisibleChange) {
    Gauge g;
    g.setProgress(50);
    int n = g.repaintCount();
    const auto expectRepaints = [&](int more, const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(g.repaintCount(), n + more);
        n = g.repaintCount();
    };
    g.setProgress(50);
    expectRepaints(0, "same progress");
    g.setProgress(500);
    expectRepaints(1, "progress clamped to the maximum");
    g.setProgress(100);
    expectRepaints(0, "progress clamped to where it is");
    g.setKind(GaugeKind::gkHorizontalBar);
    g.setShowText(true);
    g.setBorderStyle(GaugeBorder::bsSingle);
    g.setForeColor(Qt::black);
    g.setBackColor(Qt::white);
    g.setMinValue(0);
    g.setMaxValue(100);
    expectRepaints(0, "every property set to its own value");
    g.setKind(GaugeKind::gkPie);
    g.setShowText(false);
    g.setBorderStyle(GaugeBorder::bsNone);
    g.setForeColor(Qt::red);
    g.setBackColor(Qt::green);
    expectRepaints(5, "five changed properties");

    g.setMaxValue(1000);
    g.setProgress(0);
    n = g.repaintCount();
    g.setProgress(9); // 0.9 % -> still 0
    expectRepaints(0, "a step below one percent");
    EXPECT_EQ(g.progress(), 9);
    g.setProgress(10);
    expectRepaints(1, "a step to one percent");
}

// The time gauge's bar at the design size: a one-pixel black frame, the bar from the left
// over F = trunc(331 x percent / 100) columns, navy behind it.
TEST(GaugeTest, TimeGaugeBarPixels) {
    struct Case {
        int progress;
        int lastBlueColumn; // 0: no bar at all
    };
    const Case cases[] = {{100, 330}, {50, 164}, {1, 2}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.progress);
        Gauge g;
        setUpAsTimeGauge(g, c.progress);
        const QImage image = g.render();
        ASSERT_EQ(image.size(), QSize(332, 22));
        // The frame.
        for (int x = 0; x < 332; ++x) {
            EXPECT_EQ(at(image, x, 0), QColor(Qt::black));
            EXPECT_EQ(at(image, x, 21), QColor(Qt::black));
        }
        for (int y = 0; y < 22; ++y) {
            EXPECT_EQ(at(image, 0, y), QColor(Qt::black));
            EXPECT_EQ(at(image, 331, y), QColor(Qt::black));
        }
        // Inside: blue up to the last bar column, navy after it, on every row.
        for (int y = 1; y <= 20; ++y) {
            for (int x = 1; x <= 330; ++x) {
                const QColor want = x <= c.lastBlueColumn ? blue : navy;
                if (at(image, x, y) != want) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
                    return;
                }
            }
        }
        EXPECT_EQ(countOf(image, blue), c.lastBlueColumn * 20);
    }
}

// Without a border the painted area reaches the edges.
TEST(GaugeTest, NoBorderFillsToTheEdges) {
    Gauge g;
    setUpAsTimeGauge(g, 100);
    g.setBorderStyle(GaugeBorder::bsNone);
    const QImage image = g.render();
    EXPECT_EQ(countOf(image, blue), 332 * 22);
}

// The other kinds paint something sensible: a vertical bar grows upwards, a pie and a needle
// show both colours at 50 %, the percentage text shows over the gauge.
TEST(GaugeTest, OtherKindsPaint) {
    Gauge g;
    g.resize(60, 42);
    g.setShowText(false);
    g.setForeColor(blue);
    g.setBackColor(navy);
    g.setColor(Qt::gray);
    g.setProgress(50);

    g.setKind(GaugeKind::gkVerticalBar);
    QImage image = g.render();
    // H = 41, F = 20: rows 21 .. 40 are the bar; rows 1 .. 20 the background.
    EXPECT_EQ(at(image, 30, 35), blue);
    EXPECT_EQ(at(image, 30, 21), blue);
    EXPECT_EQ(at(image, 30, 20), navy);
    EXPECT_EQ(at(image, 30, 5), navy);
    g.setProgress(100);
    image = g.render();
    EXPECT_EQ(at(image, 30, 1), blue); // the bar reaches the top at 100 %
    g.setProgress(50);

    for (GaugeKind kind : {GaugeKind::gkPie, GaugeKind::gkNeedle}) {
        SCOPED_TRACE(static_cast<int>(kind));
        g.setKind(kind);
        image = g.render();
        EXPECT_GT(countOf(image, navy), 0);
        EXPECT_GT(countOf(image, blue), 0);
    }

    g.setKind(GaugeKind::gkText);
    image = g.render();
    EXPECT_EQ(countOf(image, navy), 58 * 40); // only the background
    g.setShowText(true);
    image = g.render();
    // The text "50%" is drawn inverted over the background, inside the frame.
    int textPixels = 0;
    for (int y = 1; y < 41; ++y)
        for (int x = 1; x < 59; ++x)
            if (at(image, x, y) != navy) ++textPixels;
    EXPECT_GT(textPixels, 30);
    EXPECT_GT(countOf(image, QColor(0xFF, 0xFF, 0x7F)), 0); // white text over navy, inverted
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(at(image, x, 0), QColor(Qt::black));
}
