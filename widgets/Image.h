#pragma once

#include <QLabel>
#include <QPixmap>

// A picture control: shows a picture copied from a holder, reports mouse presses (any
// button) and moves. Hidden holders are TImage controls that are never shown.
class TImage : public QLabel {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr, const QString& name = {});

    // Copies a picture into the control (the picture of a holder).
    void SetPicture(const QPixmap& picture);
    void CopyPicture(const TImage& holder) { SetPicture(holder.Picture()); }
    const QPixmap& Picture() const { return FPicture; }

    // Stretch the picture over the whole control (else it is drawn centred at its size).
    void SetStretch(bool stretch);

    int Tag = 0;

signals:
    void MouseDown(Qt::MouseButton button);
    void MouseUp(Qt::MouseButton button);
    void MouseMove();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPixmap FPicture;
    bool FStretch = false;
};
