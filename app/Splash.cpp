#include "Splash.h"

#include "Artwork.h"
#include "Dialogs.h"
#include "Settings.h"

#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

const QString TMM::ColourWarning =
    QStringLiteral("For optimum performance, you should set your video driver to at least 65K "
                   "(16 bit) colour.\n\nMindaro Deluxe will run with the current setting, however "
                   "you may notice some unusual effects");

TMM::TMM(TDialogs& dialogs, TSettings& settings, int colourDepth)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("MM"));
    setWindowTitle(QStringLiteral("Trivora"));
    setFixedSize(612, 390);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xD6, 0xD6, 0xC6));
    setPalette(pal);
    setAutoFillBackground(true);

    Panel1 = new TPanel(this, QStringLiteral("Panel1"));
    Panel1->setGeometry(rect());
    Panel1->SetColor(QColor(0x0A, 0x0A, 0x14));
    Panel1->SetBevelOuter(TBevel::Raised);
    LogoOut = new TImage(Panel1, QStringLiteral("LogoOut"));
    LogoOut->setGeometry(0, 6, 612, 102);
    LogoOut->SetPicture(Artwork::Render(QStringLiteral("splash-logo"), QSize(612, 102)));
    LogoOut->setAccessibleName(QStringLiteral("Trivora"));
    Credits = new TImage(Panel1, QStringLiteral("Credits"));
    Credits->setGeometry(0, 108, 612, 270);
    Credits->SetPicture(Artwork::Render(QStringLiteral("splash-credits"), QSize(612, 270)));
    Credits->setAccessibleName(QStringLiteral("Trivora, an arcade trivia machine. Press any key."));

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
        if (colourDepth < 0) colourDepth = screen->depth();
    }
    FValues.ColourDepth = colourDepth < 0 ? 24 : colourDepth;
    FValues.ProgramDir = QDir::currentPath();
    FValues.SoundWanted = settings.SoundWanted();
    if (FValues.ColourDepth < 16)
        dialogs.Message(this, TMsgKind::Information, ColourWarning,
                        {TMsgButton::Ok, TMsgButton::Help}, 75);
}

void TMM::keyPressEvent(QKeyEvent* event) {
    if (OnKey) OnKey();
    event->accept();
}
