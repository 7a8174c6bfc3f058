#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>

enum class TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
enum class TBorderStyle { bsNone, bsSingle };

// A gauge that shows a value between a minimum and a maximum as a bar, a pie, a needle or a
// percentage text. It has no timing of its own: the owner sets Progress.
class TGauge : public QWidget {
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent = nullptr);

    std::int32_t MinValue() const { return FMinValue; }
    std::int32_t MaxValue() const { return FMaxValue; }
    std::int32_t Progress() const { return FProgress; }
    TGaugeKind Kind() const { return FKind; }
    bool ShowText() const { return FShowText; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    QColor ForeColor() const { return FForeColor; }
    QColor BackColor() const { return FBackColor; }
    QColor Color() const { return FColor; }

    // Raises std::logic_error ("Value must be between %d and %d") when v > MaxValue, unless
    // the gauge is being loaded.
    void SetMinValue(std::int32_t v);
    // Raises std::logic_error when v < MinValue, unless the gauge is being loaded.
    void SetMaxValue(std::int32_t v);
    // Clamped into MinValue .. MaxValue; repaints only when PercentDone changes.
    void SetProgress(std::int32_t v);
    void SetKind(TGaugeKind kind);
    void SetShowText(bool show);
    void SetBorderStyle(TBorderStyle style);
    void SetForeColor(const QColor& c);
    void SetBackColor(const QColor& c);
    void SetColor(const QColor& c);
    // While loading, range setters do not raise (values come from a stored layout).
    void SetLoading(bool loading) { FLoading = loading; }

    // trunc((Progress - Min) * 100 / (Max - Min)); 0 for an empty range.
    int PercentDone() const;

    // The gauge as painted, at its current size.
    QImage Render() const;

    // How often the gauge asked to be repainted (for checking that no-op changes are free).
    int RepaintCount() const { return FRepaints; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Changed();
    std::int32_t FMinValue = 0;
    std::int32_t FMaxValue = 100;
    std::int32_t FProgress = 0;
    TGaugeKind FKind = TGaugeKind::gkHorizontalBar;
    bool FShowText = true;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    QColor FForeColor = Qt::black;
    QColor FBackColor = Qt::white;
    QColor FColor = Qt::lightGray;
    bool FLoading = false;
    int FRepaints = 0;
};
