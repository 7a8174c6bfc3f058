#pragma once

#include "Timer.h"

#include <QObject>
#include <QPoint>

class Clock;
class QKeyEvent;
class QMainWindow;

// Keeps a window as an unattended cabinet: full screen without its menu bar, the mouse
// pointer hidden until the mouse moves (and again after pointerHideDelay ms still), and no
// way out but Ctrl+Alt+Shift+Q. Ignored: the window manager's close request (Alt+F4), the
// keys that would close or leave the window (Ctrl+Q, Escape, F11 and every function key),
// every menu short-cut and every key with Ctrl, Alt or Meta held. The letters, digits, Enter
// and the keys of the name boxes still play.
class KioskGuard : public QObject {
    Q_OBJECT

public:
    // How long the mouse stays still before its pointer hides again, in milliseconds.
    static constexpr int pointerHideDelay = 3000;

    // Takes the window over at once: it goes full screen (when shown) and loses its menu bar.
    KioskGuard(QMainWindow& window, Clock& clock, QObject* parent = nullptr);
    ~KioskGuard() override;

    bool pointerHidden() const { return m_pointerHidden; }

    // Whether the guard keeps this key from the program; the keys that end the kiosk are not
    // kept back.
    static bool keyIgnored(const QKeyEvent& event);
    // Ctrl+Alt+Shift+Q.
    static bool isQuitKey(const QKeyEvent& event);

signals:
    // Ctrl+Alt+Shift+Q was pressed: the window closes next, which ends the program.
    void quitting();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hidePointer();
    void showPointer();
    void quit();
    void keepFullScreen();
    // The object is the window, or lies inside it (its menus, their entries, its controls).
    bool inWindow(const QObject* object) const;

    QMainWindow& m_window;
    Timer m_pointerTimer;
    bool m_pointerHidden = false;
    bool m_quitting = false;
    QPoint m_lastPointer{-1, -1};
};
