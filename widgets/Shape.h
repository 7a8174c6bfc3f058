#pragma once

#include <QColor>
#include <QWidget>

// A filled rectangle with a brush colour, reporting mouse presses (any button).
class Shape : public QWidget {
    Q_OBJECT
public:
    explicit Shape(QWidget* parent = nullptr, const QString& name = {});

    void setBrushColor(const QColor& color);
    QColor brushColor() const { return m_brush; }

signals:
    void mouseDown(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor m_brush = Qt::white;
};
