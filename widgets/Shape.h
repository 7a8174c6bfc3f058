#pragma once

#include <QColor>
#include <QWidget>

// A filled rectangle with a brush colour, reporting mouse presses (any button).
class TShape : public QWidget {
    Q_OBJECT
public:
    explicit TShape(QWidget* parent = nullptr, const QString& name = {});

    void SetBrushColor(const QColor& color);
    QColor BrushColor() const { return FBrush; }

signals:
    void MouseDown(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor FBrush = Qt::white;
};
