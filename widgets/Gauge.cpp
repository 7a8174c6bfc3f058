#include "Gauge.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {
// trunc(z * (p * 0.01)), in floating point.
int FillLength(int percent, int length) {
    return static_cast<int>(std::trunc(length * (percent * 0.01)));
}

std::string RangeMessage(long long lo, long long hi) {
    return "Value must be between " + std::to_string(lo) + " and " + std::to_string(hi);
}

// Fills the rectangle from (l, t) to (r, b), right and bottom exclusive.
void Fill(QPainter& p, int l, int t, int r, int b, const QColor& c) {
    if (r > l && b > t) p.fillRect(QRect(l, t, r - l, b - t), c);
}
} // namespace

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
    resize(100, 100);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGauge::Changed() {
    ++FRepaints;
    update();
}

void TGauge::SetMinValue(std::int32_t v) {
    if (v == FMinValue) return;
    if (v > FMaxValue && !FLoading)
        throw std::logic_error(RangeMessage(-std::numeric_limits<std::int32_t>::max(),
                                            static_cast<long long>(FMaxValue) - 1));
    FMinValue = v;
    if (FProgress < v) FProgress = v;
    Changed();
}

void TGauge::SetMaxValue(std::int32_t v) {
    if (v == FMaxValue) return;
    if (v < FMinValue && !FLoading)
        throw std::logic_error(RangeMessage(static_cast<long long>(FMinValue) + 1,
                                            std::numeric_limits<std::int32_t>::max()));
    FMaxValue = v;
    if (FProgress > v) FProgress = v;
    Changed();
}

void TGauge::SetProgress(std::int32_t v) {
    if (v < FMinValue) v = FMinValue;
    if (v > FMaxValue) v = FMaxValue;
    if (v == FProgress) return;
    const int before = PercentDone();
    FProgress = v;
    if (PercentDone() != before) Changed();
}

void TGauge::SetKind(TGaugeKind kind) {
    if (kind == FKind) return;
    FKind = kind;
    Changed();
}

void TGauge::SetShowText(bool show) {
    if (show == FShowText) return;
    FShowText = show;
    Changed();
}

void TGauge::SetBorderStyle(TBorderStyle style) {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    Changed();
}

void TGauge::SetForeColor(const QColor& c) {
    if (c == FForeColor) return;
    FForeColor = c;
    Changed();
}

void TGauge::SetBackColor(const QColor& c) {
    if (c == FBackColor) return;
    FBackColor = c;
    Changed();
}

void TGauge::SetColor(const QColor& c) {
    if (c == FColor) return;
    FColor = c;
    Changed();
}

int TGauge::PercentDone() const {
    if (FMaxValue == FMinValue) return 0;
    const double span = static_cast<double>(FMaxValue) - FMinValue;
    return static_cast<int>(std::trunc((static_cast<double>(FProgress) - FMinValue) * 100.0 / span));
}

QImage TGauge::Render() const {
    const int w = std::max(width(), 1);
    const int h = std::max(height(), 1);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    // Inner rectangle; right and bottom are exclusive coordinates.
    int left = 0, top = 0, right = w, bottom = h;
    if (FBorderStyle == TBorderStyle::bsSingle) {
        ++left;
        ++top;
        --right;
        --bottom;
    }
    const int W = right - left + 1;
    const int H = bottom - top + 1;
    const int percent = PercentDone();

    // The overlay is painted on black and combined by exclusive-or, which over the black
    // image copies it.
    QImage overlay(w, h, QImage::Format_RGB32);
    overlay.fill(Qt::black);
    {
        QPainter p(&overlay);
        switch (FKind) {
        case TGaugeKind::gkText: Fill(p, left, top, right, bottom, FBackColor); break;
        case TGaugeKind::gkHorizontalBar: {
            Fill(p, left, top, right, bottom, FBackColor);
            int f = FillLength(percent, W);
            if (f > W) f = W;
            if (f >= 1) Fill(p, left, top, f, H, FForeColor);
            break;
        }
        case TGaugeKind::gkVerticalBar: {
            Fill(p, left, top, right, bottom, FBackColor);
            int f = FillLength(percent, H);
            if (f >= H) f = H - 1;
            if (f >= 1) Fill(p, left, H - f, W, H, FForeColor);
            break;
        }
        case TGaugeKind::gkPie: {
            p.setRenderHint(QPainter::Antialiasing);
            const QRectF box(left, top, right - left - 1, bottom - top - 1);
            p.setPen(FForeColor);
            p.setBrush(FBackColor);
            p.drawEllipse(box);
            if (percent >= 1) {
                p.setBrush(FForeColor);
                // Clockwise from twelve o'clock.
                p.drawPie(box, 90 * 16, -static_cast<int>(std::lround(percent * 3.6 * 16)));
            }
            break;
        }
        case TGaugeKind::gkNeedle: {
            p.setRenderHint(QPainter::Antialiasing);
            Fill(p, left, top, right, bottom, FColor);
            const QRectF box(left, top, right - left - 1, 2.0 * (bottom - top - 1));
            p.setPen(FForeColor);
            p.setBrush(FBackColor);
            p.drawChord(box, 0, 180 * 16);
            const QPointF base(box.center().x(), bottom - 1);
            p.drawLine(QPointF(left, bottom - 1), QPointF(right - 1, bottom - 1));
            if (percent >= 1) {
                const double angle = M_PI * (1.0 - percent / 100.0);
                const QPointF tip(base.x() + std::cos(angle) * box.width() / 2,
                                  base.y() - std::sin(angle) * (bottom - top - 1));
                p.drawLine(base, tip);
            }
            break;
        }
        }
    }
    {
        QPainter p(&image);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawImage(0, 0, overlay);
    }
    if (FShowText) {
        QImage text(w, h, QImage::Format_RGB32);
        text.fill(Qt::black);
        const QString s = QStringLiteral("%1%").arg(percent);
        QPainter tp(&text);
        tp.setFont(font());
        tp.setPen(Qt::white);
        tp.setClipRect(QRect(left, top, right - left, bottom - top));
        const QFontMetrics fm(font());
        tp.drawText((W - fm.horizontalAdvance(s)) / 2, (H - fm.height()) / 2 + fm.ascent(), s);
        tp.end();
        QPainter p(&image);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawImage(0, 0, text);
    }
    return image;
}

void TGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}
