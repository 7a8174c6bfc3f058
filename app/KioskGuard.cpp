#include "KioskGuard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

KioskGuard::KioskGuard(QMainWindow& window, Clock& clock, QObject* parent)
    : QObject(parent), m_window(window),
      m_pointerTimer(clock, "kioskPointer", pointerHideDelay, false, 0, [this] { hidePointer(); }) {
    m_window.menuBar()->hide();
    if (m_window.isVisible())
        m_window.showFullScreen();
    else
        m_window.setWindowState(m_window.windowState() | Qt::WindowFullScreen);
    qApp->installEventFilter(this);
    hidePointer();
}

KioskGuard::~KioskGuard() {
    qApp->removeEventFilter(this);
    if (m_pointerHidden) QGuiApplication::restoreOverrideCursor();
}

bool KioskGuard::isQuitKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers held = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier |
                                                            Qt::ShiftModifier | Qt::MetaModifier);
    return held == (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier) &&
           event.key() == Qt::Key_Q;
}

bool KioskGuard::keyIgnored(const QKeyEvent& event) {
    if (isQuitKey(event)) return false;
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return true;
    const int key = event.key();
    return key == Qt::Key_Escape || (key >= Qt::Key_F1 && key <= Qt::Key_F35) ||
           key == Qt::Key_Close || key == Qt::Key_Menu;
}

bool KioskGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Taken as an ordinary key, so that no short-cut sees it; the key press is then kept
        // back below.
        auto* key = static_cast<QKeyEvent*>(event);
        if (keyIgnored(*key) || isQuitKey(*key)) {
            key->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isQuitKey(*key)) {
            quit();
            return true;
        }
        if (keyIgnored(*key)) return true;
        break;
    }
    case QEvent::KeyRelease:
        if (keyIgnored(*static_cast<QKeyEvent*>(event))) return true;
        break;
    case QEvent::Shortcut:
        // Whatever short-cut of the window is still reached: a menu's letter, an entry's key.
        if (!m_quitting && inWindow(watched)) return true;
        break;
    case QEvent::Close:
        if (watched == &m_window && !m_quitting) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::WindowStateChange:
        if (watched == &m_window && !m_quitting) keepFullScreen();
        break;
    case QEvent::MouseMove:
        // Every move reaches the window of the program under the pointer first, whatever
        // widget lies there and whether it tracks the mouse.
        if (qobject_cast<QWindow*>(watched)) {
            const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            if (at != m_lastPointer) {
                m_lastPointer = at;
                showPointer();
            }
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool KioskGuard::inWindow(const QObject* object) const {
    for (; object; object = object->parent())
        if (object == &m_window) return true;
    return false;
}

void KioskGuard::hidePointer() {
    m_pointerTimer.stop();
    if (m_pointerHidden) return;
    QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    m_pointerHidden = true;
}

void KioskGuard::showPointer() {
    if (m_pointerHidden) {
        QGuiApplication::restoreOverrideCursor();
        m_pointerHidden = false;
    }
    // Hidden again once the mouse has been still for the whole delay.
    m_pointerTimer.stop();
    m_pointerTimer.start();
}

void KioskGuard::keepFullScreen() {
    // The window manager (or a key the guard did not see) took the window out of full screen
    // or minimised it: it goes back once the change is done.
    const Qt::WindowStates state = m_window.windowState();
    if ((state & Qt::WindowFullScreen) && !(state & Qt::WindowMinimized)) return;
    QTimer::singleShot(0, &m_window, [this] {
        if (!m_quitting && m_window.isVisible()) m_window.showFullScreen();
    });
}

void KioskGuard::quit() {
    if (m_quitting) return;
    m_quitting = true;
    emit quitting();
    m_window.close();
}
