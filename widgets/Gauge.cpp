#include "Gauge.h"

#include "WidgetAccessibility.h"

#include <QAccessible>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {
// trunc(z * (p * 0.01)), in floating point.
int fillLength(int percent, int length) {
    return static_cast<int>(std::trunc(length * (percent * 0.01)));
}

std::string rangeMessage(long long lo, long long hi) {
    return "Value must be between " + std::to_string(lo) + " and " + std::to_string(hi);
}

// Fills the rectangle from (l, t) to (r, b), right and bottom exclusive.
void fill(QPainter& p, int l, int t, int r, int b, const QColor& c) {
    if (r > l && b > t) p.fillRect(QRect(l, t, r - l, b - t), c);
}
} // namespace

Gauge::Gauge(QWidget* parent) : QWidget(parent) {
    resize(100, 100);
    setAttribute(Qt::WA_OpaquePaintEvent);
    installWidgetAccessibility();
}

void Gauge::changed() {
    ++m_repaints;
    update();
}

void Gauge::setMinValue(std::int32_t v) {
    if (v == m_minValue) return;
    if (v > m_maxValue && !m_loading)
        throw std::logic_error(rangeMessage(-std::numeric_limits<std::int32_t>::max(),
                                            static_cast<long long>(m_maxValue) - 1));
    m_minValue = v;
    if (m_progress < v) m_progress = v;
    changed();
}

void Gauge::setMaxValue(std::int32_t v) {
    if (v == m_maxValue) return;
    if (v < m_minValue && !m_loading)
        throw std::logic_error(rangeMessage(static_cast<long long>(m_minValue) + 1,
                                            std::numeric_limits<std::int32_t>::max()));
    m_maxValue = v;
    if (m_progress > v) m_progress = v;
    changed();
}

void Gauge::setProgress(std::int32_t v) {
    if (v < m_minValue) v = m_minValue;
    if (v > m_maxValue) v = m_maxValue;
    if (v == m_progress) return;
    const int before = percentDone();
    m_progress = v;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, m_progress);
        QAccessible::updateAccessibility(&event);
    }
    if (percentDone() != before) changed();
}

void Gauge::setKind(GaugeKind kind) {
    if (kind == m_kind) return;
    m_kind = kind;
    changed();
}

void Gauge::setShowText(bool show) {
    if (show == m_showText) return;
    m_showText = show;
    changed();
}

void Gauge::setBorderStyle(GaugeBorder style) {
    if (style == m_borderStyle) return;
    m_borderStyle = style;
    changed();
}

void Gauge::setForeColor(const QColor& c) {
    if (c == m_foreColor) return;
    m_foreColor = c;
    changed();
}

void Gauge::setBackColor(const QColor& c) {
    if (c == m_backColor) return;
    m_backColor = c;
    changed();
}

void Gauge::setColor(const QColor& c) {
    if (c == m_color) return;
    m_color = c;
    changed();
}

int Gauge::percentDone() const {
    if (m_maxValue == m_minValue) return 0;
    const double span = static_cast<double>(m_maxValue) - m_minValue;
    return static_cast<int>(
        std::trunc((static_cast<double>(m_progress) - m_minValue) * 100.0 / span));
}

QImage Gauge::render() const {
    const int w = std::max(width(), 1);
    const int h = std::max(height(), 1);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    // Inner rectangle; right and bottom are exclusive coordinates.
    int left = 0, top = 0, right = w, bottom = h;
    if (m_borderStyle == GaugeBorder::bsSingle) {
        ++left;
        ++top;
        --right;
        --bottom;
    }
    const int W = right - left + 1;
    const int H = bottom - top + 1;
    const int percent = percentDone();

    // The overlay is painted on black and combined by exclusive-or, which over the black
    // image copies it.
    QImage overlay(w, h, QImage::Format_RGB32);
    overlay.fill(Qt::black);
    {
        QPainter p(&overlay);
        switch (m_kind) {
        case GaugeKind::gkText:
            fill(p, left, top, right, bottom, m_backColor);
            break;
        case GaugeKind::gkHorizontalBar: {
            fill(p, left, top, right, bottom, m_backColor);
            int f = fillLength(percent, W);
            if (f > W) f = W;
            if (f >= 1) fill(p, left, top, f, H, m_foreColor);
            break;
        }
        case GaugeKind::gkVerticalBar: {
            fill(p, left, top, right, bottom, m_backColor);
            int f = fillLength(percent, H);
            if (f >= H) f = H - 1;
            if (f >= 1) fill(p, left, H - f, W, H, m_foreColor);
            break;
        }
        case GaugeKind::gkPie: {
            p.setRenderHint(QPainter::Antialiasing);
            const QRectF box(left, top, right - left - 1, bottom - top - 1);
            p.setPen(m_foreColor);
            p.setBrush(m_backColor);
            p.drawEllipse(box);
            if (percent >= 1) {
                p.setBrush(m_foreColor);
                // Clockwise from twelve o'clock.
                p.drawPie(box, 90 * 16, -static_cast<int>(std::lround(percent * 3.6 * 16)));
            }
            break;
        }
        case GaugeKind::gkNeedle: {
            p.setRenderHint(QPainter::Antialiasing);
            fill(p, left, top, right, bottom, m_color);
            const QRectF box(left, top, right - left - 1, 2.0 * (bottom - top - 1));
            p.setPen(m_foreColor);
            p.setBrush(m_backColor);
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
    if (m_showText) {
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

void Gauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, render());
}
