#pragma once

#include <QColor>
#include <QFrame>
#include <QString>

enum class Bevel { None, Raised, Lowered };

// A panel: a coloured area with an optional outer bevel and an optional centred caption.
// It reports mouse presses (any button) and moves, so panels can act as buttons.
class Panel : public QFrame {
    Q_OBJECT
public:
    explicit Panel(QWidget* parent = nullptr, const QString& name = {});

    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    // Colour of the caption text.
    void setFontColor(const QColor& color);
    QColor fontColor() const { return m_fontColor; }
    void setBevelOuter(Bevel bevel);
    Bevel bevelOuter() const { return m_bevel; }
    void setCaption(const QString& caption);
    const QString& caption() const { return m_caption; }
    // No fill at all: the parent shows through.
    void setTransparent(bool transparent);
    // Diagonal grey hatching over the colour.
    void setHatched(bool hatched);

    // The panel is a button: assistive technology sees a push button whose press action
    // does what a click does. Other panels are panes, named by their heading.
    void setPressable(bool pressable) { m_pressable = pressable; }
    bool pressable() const { return m_pressable; }
    // A click with the left button, as the press action of assistive technology gives it.
    void press() { emit mouseDown(Qt::LeftButton); }

signals:
    void mouseDown(Qt::MouseButton button);
    void mouseMove();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QColor m_color = QColor(0xC0, 0xC0, 0xC0);
    QColor m_fontColor = Qt::black;
    Bevel m_bevel = Bevel::None;
    QString m_caption;
    bool m_transparent = false;
    bool m_hatched = false;
    bool m_pressable = false;
};
