#include "HelpViewer.h"

#include <QFile>
#include <QUrl>

THelpViewer::THelpViewer(const QString& helpFile) : QTextBrowser(nullptr), FHelpFile(helpFile) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Trivora Help"));
    setOpenExternalLinks(true);
    resize(640, 560);
}

bool THelpViewer::ShowTopic(int context) {
    if (!QFile::exists(FHelpFile)) {
        setPlainText(QStringLiteral("The help file %1 is missing.").arg(FHelpFile));
        return false;
    }
    const QString anchor = QStringLiteral("context-%1").arg(context);
    QUrl url = QUrl::fromLocalFile(FHelpFile);
    url.setFragment(anchor);
    if (source().adjusted(QUrl::RemoveFragment) != url.adjusted(QUrl::RemoveFragment))
        setSource(url);
    scrollToAnchor(anchor);
    return toHtml().contains(anchor);
}
