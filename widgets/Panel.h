#pragma once

#include <QColor>
#include <QFrame>
#include <QString>

enum class TBevel { None, Raised, Lowered };

// A panel: a coloured area with an optional outer bevel and an optional centred caption.
// It reports mouse presses (any button) and moves, so panels can act as buttons.
class TPanel : public QFrame {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr, const QString& name = {});

    void SetColor(const QColor& color);
    QColor Color() const { return FColor; }
    // Colour of the caption text.
    void SetFontColor(const QColor& color);
    QColor FontColor() const { return FFontColor; }
    void SetBevelOuter(TBevel bevel);
    TBevel BevelOuter() const { return FBevel; }
    void SetCaption(const QString& caption);
    const QString& Caption() const { return FCaption; }
    // No fill at all: the parent shows through.
    void SetTransparent(bool transparent);
    // Diagonal grey hatching over the colour.
    void SetHatched(bool hatched);

    int Tag = 0;

signals:
    void MouseDown(Qt::MouseButton button);
    void MouseMove();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QColor FColor = QColor(0xC0, 0xC0, 0xC0);
    QColor FFontColor = Qt::black;
    TBevel FBevel = TBevel::None;
    QString FCaption;
    bool FTransparent = false;
    bool FHatched = false;
};
