#pragma once

#include <QTextBrowser>

// The program's help: one HTML file with a topic (anchor "context-N") per help context,
// shown beside the game in a window of its own.
class THelpViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpViewer(const QString& helpFile);
    // Opens the topic of that context; returns false when the file or the topic is missing.
    bool ShowTopic(int context);
    const QString& HelpFile() const { return FHelpFile; }

private:
    QString FHelpFile;
};
