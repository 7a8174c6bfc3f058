#include "Splash.h"

#include "Artwork.h"
#include "Dialogs.h"
#include "Settings.h"

#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

const QString SplashWindow::colourWarning =
    QStringLiteral("For optimum performance, you should set your video driver to at least 65K "
                   "(16 bit) colour.\n\nMindaro Deluxe will run with the current setting, however "
                   "you may notice some unusual effects");

SplashWindow::SplashWindow(Dialogs& dialogs, Settings& settings, int colourDepth)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("MM"));
    setWindowTitle(QStringLiteral("Trivora"));
    setFixedSize(612, 390);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xD6, 0xD6, 0xC6));
    setPalette(pal);
    setAutoFillBackground(true);

    backdrop = new Panel(this, QStringLiteral("backdrop"));
    backdrop->setGeometry(rect());
    backdrop->setColor(QColor(0x0A, 0x0A, 0x14));
    backdrop->setBevelOuter(Bevel::Raised);
    logo = new ImageView(backdrop, QStringLiteral("logo"));
    logo->setGeometry(0, 6, 612, 102);
    logo->setPicture(Artwork::render(QStringLiteral("splash-logo"), QSize(612, 102)));
    logo->setAccessibleName(QStringLiteral("Trivora"));
    credits = new ImageView(backdrop, QStringLiteral("credits"));
    credits->setGeometry(0, 108, 612, 270);
    credits->setPicture(Artwork::render(QStringLiteral("splash-credits"), QSize(612, 270)));
    credits->setAccessibleName(QStringLiteral("Trivora, an arcade trivia machine. Press any key."));

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
        if (colourDepth < 0) colourDepth = screen->depth();
    }
    m_values.colourDepth = colourDepth < 0 ? 24 : colourDepth;
    m_values.programDir = QDir::currentPath();
    m_values.soundWanted = settings.soundWanted();
    if (m_values.colourDepth < 16)
        dialogs.message(this, MsgKind::Information, colourWarning, {MsgButton::Ok, MsgButton::Help},
                        75);
}

void SplashWindow::keyPressEvent(QKeyEvent* event) {
    if (onKey) onKey();
    event->accept();
}
