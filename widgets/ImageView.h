#pragma once

#include <QLabel>
#include <QPixmap>

// A picture control: shows a picture copied from a holder, reports mouse presses (any
// button) and moves. Hidden holders are ImageView controls that are never shown.
class ImageView : public QLabel {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent = nullptr, const QString& name = {});

    // Copies a picture into the control (the picture of a holder).
    void setPicture(const QPixmap& picture);
    // Gives the control a picture of the artwork, drawn at that size the first time it is
    // needed (shown, copied into a shown control, or asked for), so pictures that are never
    // seen cost nothing.
    void setArtwork(const QString& name, QSize size);
    // Takes the holder's picture; an artwork picture not drawn yet stays undrawn.
    void copyPicture(const ImageView& holder);
    const QPixmap& currentPicture() const;
    // The size last given by setArtwork (empty after setPicture).
    QSize artworkSize() const { return m_artSize; }

    // Stretch the picture over the whole control (else it is drawn centred at its size).
    void setStretch(bool stretch);

    // The picture is a button: assistive technology sees a push button whose press action
    // does what a click does.
    void setPressable(bool pressable) { m_pressable = pressable; }
    bool pressable() const { return m_pressable; }
    // A click with the left button, as the press action of assistive technology gives it.
    void press();

signals:
    void mouseDown(Qt::MouseButton button);
    void mouseUp(Qt::MouseButton button);
    void mouseMove();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    mutable QPixmap m_currentPicture;
    QString m_artName;
    QSize m_artSize;
    bool m_stretch = false;
    bool m_pressable = false;
};
