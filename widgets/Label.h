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
    // A caption wider than the label is shown in a smaller font, down to a smallest size,
    // rather than cut off at the label's edge; it returns to the label's own font when it fits.
    void setShrinkToFit(bool shrink);

signals:
    void mouseDown(Qt::MouseButton button);
    void mouseMove();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Picks the largest font size, from the label's own down to the smallest, at which the
    // caption fits.
    void fitCaption();

    bool shrinkToFit = false;
    qreal ownPointSize = 0;
};
