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
    // Gives the control a picture of the artwork, drawn at that size the first time it is
    // needed (shown, copied into a shown control, or asked for), so pictures that are never
    // seen cost nothing.
    void SetArtwork(const QString& name, QSize size);
    // Takes the holder's picture; an artwork picture not drawn yet stays undrawn.
    void CopyPicture(const TImage& holder);
    const QPixmap& Picture() const;
    // The size last given by SetArtwork (empty after SetPicture).
    QSize ArtworkSize() const { return FArtSize; }

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
    mutable QPixmap FPicture;
    QString FArtName;
    QSize FArtSize;
    bool FStretch = false;
};
