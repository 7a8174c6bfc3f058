#include "DesktopShell.h"

#include "HelpViewer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

TDesktopShell::TDesktopShell(QString helpFile) : FHelpFile(std::move(helpFile)) {}

TDesktopShell::~TDesktopShell() = default;

QString TDesktopShell::FindHelpFile() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QString name = QStringLiteral("trivora-help.html");
    for (const QString& candidate :
         {dir + QLatin1Char('/') + name, dir + QStringLiteral("/../share/trivora/") + name})
        if (QFileInfo::exists(candidate)) return QFileInfo(candidate).canonicalFilePath();
    return QDir(dir).absoluteFilePath(name);
}

void TDesktopShell::ShowHelp(int context) {
    if (!FViewer) FViewer = std::make_unique<THelpViewer>(FHelpFile);
    FViewer->ShowTopic(context);
    FViewer->show();
    FViewer->raise();
}

void TDesktopShell::MinimizeApp() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->showMinimized();
}

void TDesktopShell::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }
