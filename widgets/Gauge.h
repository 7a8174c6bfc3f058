#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>

enum class GaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
enum class GaugeBorder { bsNone, bsSingle };

// A gauge that shows a value between a minimum and a maximum as a bar, a pie, a needle or a
// percentage text. It has no timing of its own: the owner sets Progress.
class Gauge : public QWidget {
    Q_OBJECT
public:
    explicit Gauge(QWidget* parent = nullptr);

    std::int32_t minValue() const { return m_minValue; }
    std::int32_t maxValue() const { return m_maxValue; }
    std::int32_t progress() const { return m_progress; }
    GaugeKind kind() const { return m_kind; }
    bool showText() const { return m_showText; }
    GaugeBorder borderStyle() const { return m_borderStyle; }
    QColor foreColor() const { return m_foreColor; }
    QColor backColor() const { return m_backColor; }
    QColor color() const { return m_color; }

    // Raises std::logic_error ("Value must be between %d and %d") when v > maxValue, unless
    // the gauge is being loaded.
    void setMinValue(std::int32_t v);
    // Raises std::logic_error when v < minValue, unless the gauge is being loaded.
    void setMaxValue(std::int32_t v);
    // Clamped into minValue .. maxValue; repaints only when percentDone changes.
    void setProgress(std::int32_t v);
    void setKind(GaugeKind kind);
    void setShowText(bool show);
    void setBorderStyle(GaugeBorder style);
    void setForeColor(const QColor& c);
    void setBackColor(const QColor& c);
    void setColor(const QColor& c);
    // While loading, range setters do not raise (values come from a stored layout).
    void setLoading(bool loading) { m_loading = loading; }

    // trunc((Progress - Min) * 100 / (Max - Min)); 0 for an empty range.
    int percentDone() const;

    // The gauge as painted, at its current size.
    QImage render() const;

    // How often the gauge asked to be repainted (for checking that no-op changes are free).
    int repaintCount() const { return m_repaints; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed();
    std::int32_t m_minValue = 0;
    std::int32_t m_maxValue = 100;
    std::int32_t m_progress = 0;
    GaugeKind m_kind = GaugeKind::gkHorizontalBar;
    bool m_showText = true;
    GaugeBorder m_borderStyle = GaugeBorder::bsSingle;
    QColor m_foreColor = Qt::black;
    QColor m_backColor = Qt::white;
    QColor m_color = Qt::lightGray;
    bool m_loading = false;
    int m_repaints = 0;
};
