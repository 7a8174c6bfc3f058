#include "DesktopShell.h"

#include "HelpViewer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

DesktopShell::DesktopShell(QString helpFile) : m_helpFile(std::move(helpFile)) {}

DesktopShell::~DesktopShell() = default;

QString DesktopShell::findHelpFile() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QString name = QStringLiteral("trivora-help.html");
    for (const QString& candidate :
         {dir + QLatin1Char('/') + name, dir + QStringLiteral("/../share/trivora/") + name})
        if (QFileInfo::exists(candidate)) return QFileInfo(candidate).canonicalFilePath();
    return QDir(dir).absoluteFilePath(name);
}

void DesktopShell::showHelp(int context) {
    if (!m_viewer) m_viewer = std::make_unique<HelpViewer>(m_helpFile);
    m_viewer->showTopic(context);
    m_viewer->show();
    m_viewer->raise();
}

void DesktopShell::minimizeApp() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->showMinimized();
}

void DesktopShell::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}
