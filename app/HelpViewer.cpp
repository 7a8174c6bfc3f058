#include "HelpViewer.h"

#include <QFile>
#include <QUrl>

HelpViewer::HelpViewer(const QString& helpFile) : QTextBrowser(nullptr), m_helpFile(helpFile) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Trivora Help"));
    setOpenExternalLinks(true);
    resize(640, 560);
}

bool HelpViewer::showTopic(int context) {
    if (!QFile::exists(m_helpFile)) {
        setPlainText(QStringLiteral("The help file %1 is missing.").arg(m_helpFile));
        return false;
    }
    const QString anchor = QStringLiteral("context-%1").arg(context);
    QUrl url = QUrl::fromLocalFile(m_helpFile);
    url.setFragment(anchor);
    if (source().adjusted(QUrl::RemoveFragment) != url.adjusted(QUrl::RemoveFragment))
        setSource(url);
    scrollToAnchor(anchor);
    return toHtml().contains(anchor);
}
