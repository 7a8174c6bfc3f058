#pragma once

#include <QTextBrowser>

// The program's help: one HTML file with a topic (anchor "context-N") per help context,
// shown beside the game in a window of its own.
class HelpViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpViewer(const QString& helpFile);
    // Opens the topic of that context; returns false when the file or the topic is missing.
    bool showTopic(int context);
    const QString& helpFile() const { return m_helpFile; }

private:
    QString m_helpFile;
};
