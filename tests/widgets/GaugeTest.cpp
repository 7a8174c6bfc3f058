#include "Gauge.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

namespace {
const QColor Blue(0x00, 0x00, 0xFF);
const QColor Navy(0x00, 0x00, 0x80);

// The game's time gauge as the screen sets it up, at its laid-out design size.
void SetUpAsTimeGauge(TGauge& g, int progress) {
    g.SetShowText(false);
    g.SetForeColor(Blue);
    g.SetBackColor(Navy);
    g.resize(332, 22);
    g.SetProgress(progress);
}

QColor At(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

// Counts the pixels of one colour inside the image.
int CountOf(const QImage& image, const QColor& c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) == c) ++n;
    return n;
}

std::string RangeError(const std::function<void()>& f) {
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
    TGauge g;
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.MaxValue(), 100);
    EXPECT_EQ(g.Progress(), 0);
    EXPECT_EQ(g.Kind(), TGaugeKind::gkHorizontalBar);
    EXPECT_TRUE(g.ShowText());
    EXPECT_EQ(g.BorderStyle(), TBorderStyle::bsSingle);
    EXPECT_EQ(g.ForeColor(), QColor(Qt::black));
    EXPECT_EQ(g.BackColor(), QColor(Qt::white));
    EXPECT_EQ(g.size(), QSize(100, 100));
    EXPECT_TRUE(g.testAttribute(Qt::WA_OpaquePaintEvent));
}

// Progress is clamped into the range, and PercentDone truncates towards zero.
TEST(GaugeTest, ProgressClampAndPercent) {
    struct Case {
        int Min, Max, Set, Stored, Percent;
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
        SCOPED_TRACE(testing::Message() << c.Min << ".." << c.Max << " set " << c.Set);
        TGauge g;
        g.SetMaxValue(c.Max);
        g.SetMinValue(c.Min);
        g.SetProgress(c.Set);
        EXPECT_EQ(g.Progress(), c.Stored);
        EXPECT_EQ(g.PercentDone(), c.Percent);
    }
}

// Moving one end of the range past Progress pulls Progress with it.
TEST(GaugeTest, RangeEndsPullProgress) {
    TGauge g;
    g.SetProgress(80);
    g.SetMaxValue(60);
    EXPECT_EQ(g.Progress(), 60);
    g.SetMinValue(0);
    g.SetProgress(10);
    g.SetMinValue(30);
    EXPECT_EQ(g.Progress(), 30);
    EXPECT_EQ(g.PercentDone(), 0);
}

// A range end set past the other end raises the range message and stores nothing; while
// the gauge is being loaded the value is taken as it comes.
TEST(GaugeTest, RangeEndPastTheOtherRaises) {
    TGauge g;
    g.SetProgress(40);
    EXPECT_EQ(RangeError([&] { g.SetMinValue(101); }), "Value must be between -2147483647 and 99");
    EXPECT_EQ(RangeError([&] { g.SetMaxValue(-1); }), "Value must be between 1 and 2147483647");
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.MaxValue(), 100);
    EXPECT_EQ(g.Progress(), 40);
    // Equal ends are allowed.
    EXPECT_EQ(RangeError([&] { g.SetMinValue(100); }), "no exception");
    EXPECT_EQ(RangeError([&] { g.SetMaxValue(99); }), "Value must be between 101 and 2147483647");

    TGauge loading;
    loading.SetLoading(true);
    loading.SetMinValue(200);
    loading.SetMaxValue(300);
    loading.SetLoading(false);
    EXPECT_EQ(loading.MinValue(), 200);
    EXPECT_EQ(loading.MaxValue(), 300);
    EXPECT_EQ(loading.Progress(), 200);
}

// Only a real change repaints: the same value again, or a Progress step that leaves
// PercentDone where it was, costs nothing.
TEST(GaugeTest, RepaintsOnlyOnVisibleChange) {
    TGauge g;
    g.SetProgress(50);
    int n = g.RepaintCount();
    const auto expectRepaints = [&](int more, const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(g.RepaintCount(), n + more);
        n = g.RepaintCount();
    };
    g.SetProgress(50);
    expectRepaints(0, "same progress");
    g.SetProgress(500);
    expectRepaints(1, "progress clamped to the maximum");
    g.SetProgress(100);
    expectRepaints(0, "progress clamped to where it is");
    g.SetKind(TGaugeKind::gkHorizontalBar);
    g.SetShowText(true);
    g.SetBorderStyle(TBorderStyle::bsSingle);
    g.SetForeColor(Qt::black);
    g.SetBackColor(Qt::white);
    g.SetMinValue(0);
    g.SetMaxValue(100);
    expectRepaints(0, "every property set to its own value");
    g.SetKind(TGaugeKind::gkPie);
    g.SetShowText(false);
    g.SetBorderStyle(TBorderStyle::bsNone);
    g.SetForeColor(Qt::red);
    g.SetBackColor(Qt::green);
    expectRepaints(5, "five changed properties");

    g.SetMaxValue(1000);
    g.SetProgress(0);
    n = g.RepaintCount();
    g.SetProgress(9); // 0.9 % -> still 0
    expectRepaints(0, "a step below one percent");
    EXPECT_EQ(g.Progress(), 9);
    g.SetProgress(10);
    expectRepaints(1, "a step to one percent");
}

// The time gauge's bar at the design size: a one-pixel black frame, the bar from the left
// over F = trunc(331 x percent / 100) columns, navy behind it.
TEST(GaugeTest, TimeGaugeBarPixels) {
    struct Case {
        int Progress;
        int LastBlueColumn; // 0: no bar at all
    };
    const Case cases[] = {{100, 330}, {50, 164}, {1, 2}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Progress);
        TGauge g;
        SetUpAsTimeGauge(g, c.Progress);
        const QImage image = g.Render();
        ASSERT_EQ(image.size(), QSize(332, 22));
        // The frame.
        for (int x = 0; x < 332; ++x) {
            EXPECT_EQ(At(image, x, 0), QColor(Qt::black));
            EXPECT_EQ(At(image, x, 21), QColor(Qt::black));
        }
        for (int y = 0; y < 22; ++y) {
            EXPECT_EQ(At(image, 0, y), QColor(Qt::black));
            EXPECT_EQ(At(image, 331, y), QColor(Qt::black));
        }
        // Inside: blue up to the last bar column, navy after it, on every row.
        for (int y = 1; y <= 20; ++y) {
            for (int x = 1; x <= 330; ++x) {
                const QColor want = x <= c.LastBlueColumn ? Blue : Navy;
                if (At(image, x, y) != want) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
                    return;
                }
            }
        }
        EXPECT_EQ(CountOf(image, Blue), c.LastBlueColumn * 20);
    }
}

// Without a border the painted area reaches the edges.
TEST(GaugeTest, NoBorderFillsToTheEdges) {
    TGauge g;
    SetUpAsTimeGauge(g, 100);
    g.SetBorderStyle(TBorderStyle::bsNone);
    const QImage image = g.Render();
    EXPECT_EQ(CountOf(image, Blue), 332 * 22);
}

// The other kinds paint something sensible: a vertical bar grows upwards, a pie and a needle
// show both colours at 50 %, the percentage text shows over the gauge.
TEST(GaugeTest, OtherKindsPaint) {
    TGauge g;
    g.resize(60, 42);
    g.SetShowText(false);
    g.SetForeColor(Blue);
    g.SetBackColor(Navy);
    g.SetColor(Qt::gray);
    g.SetProgress(50);

    g.SetKind(TGaugeKind::gkVerticalBar);
    QImage image = g.Render();
    // H = 41, F = 20: rows 21 .. 40 are the bar; rows 1 .. 20 the background.
    EXPECT_EQ(At(image, 30, 35), Blue);
    EXPECT_EQ(At(image, 30, 21), Blue);
    EXPECT_EQ(At(image, 30, 20), Navy);
    EXPECT_EQ(At(image, 30, 5), Navy);
    g.SetProgress(100);
    image = g.Render();
    EXPECT_EQ(At(image, 30, 1), Blue); // the bar reaches the top at 100 %
    g.SetProgress(50);

    for (TGaugeKind kind : {TGaugeKind::gkPie, TGaugeKind::gkNeedle}) {
        SCOPED_TRACE(static_cast<int>(kind));
        g.SetKind(kind);
        image = g.Render();
        EXPECT_GT(CountOf(image, Navy), 0);
        EXPECT_GT(CountOf(image, Blue), 0);
    }

    g.SetKind(TGaugeKind::gkText);
    image = g.Render();
    EXPECT_EQ(CountOf(image, Navy), 58 * 40); // only the background
    g.SetShowText(true);
    image = g.Render();
    // The text "50%" is drawn inverted over the background, inside the frame.
    int textPixels = 0;
    for (int y = 1; y < 41; ++y)
        for (int x = 1; x < 59; ++x)
            if (At(image, x, y) != Navy) ++textPixels;
    EXPECT_GT(textPixels, 30);
    EXPECT_GT(CountOf(image, QColor(0xFF, 0xFF, 0x7F)), 0); // white text over navy, inverted
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(At(image, x, 0), QColor(Qt::black));
}
