#pragma once

#include <QLabel>

// A text label that shows its text literally (no markup, an ampersand is an ampersand) and
// reports mouse presses (any button) and moves.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr, const QString& name = {});

    void setCaption(const QString& caption);
    QString caption() const { return text(); }

    int tag = 0;

signals:
    void mouseDown(Qt::MouseButton button);
    void mouseMove();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
