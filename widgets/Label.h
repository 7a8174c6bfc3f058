#pragma once

#include <QLabel>

// A text label that shows its text literally (no markup, an ampersand is an ampersand) and
// reports mouse presses (any button) and moves.
class TLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr, const QString& name = {});

    void SetCaption(const QString& caption);
    QString Caption() const { return text(); }

    int Tag = 0;

signals:
    void MouseDown(Qt::MouseButton button);
    void MouseMove();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
