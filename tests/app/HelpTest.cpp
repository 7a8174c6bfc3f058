#include "DesktopShell.h"
#include "QuestionArea.h"
#include "GameFixture.h"
#include "HelpViewer.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

// The help file that ships with the program.
QString shippedHelpFile() {
    const QByteArray root = qgetenv("TRIVORA_SOURCE_DIR");
    return QString::fromLocal8Bit(root) + QStringLiteral("/assets/trivora-help.html");
}

// The visible help viewer among the program's windows, if any.
HelpViewer* shownViewer() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<HelpViewer*>(w); viewer && viewer->isVisible())
            return viewer;
    return nullptr;
}

// The topic heading with that text lies inside the viewer's visible area.
::testing::AssertionResult headingInView(const HelpViewer& viewer, const QString& heading) {
    const QTextDocument* doc = viewer.document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() != 2 || b.text().trimmed() != heading) continue;
        const qreal top =
            doc->documentLayout()->blockBoundingRect(b).top() - viewer.verticalScrollBar()->value();
        // The anchor sits at the heading's top edge; layout rounding may put it a fraction
        // of a pixel above the view.
        if (top > -1 && top < viewer.viewport()->height()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << heading.toStdString() << " lies at y=" << top << " of a viewport "
               << viewer.viewport()->height() << " high";
    }
    return ::testing::AssertionFailure() << "no heading " << heading.toStdString();
}

struct Topic {
    int context;
    const char* heading;
};
// Visiting the last topic first makes the viewer scroll back up as well as down.
const Topic Topics[] = {{75, "Display colours"}, {10, "How to play"}, {11, "The question editor"}};

} // namespace

// The desktop shell opens the shipped help beside the program at the topic of each context,
// reusing one viewer window.
TEST(HelpTest, EachContextOpensItsTopic) {
    ASSERT_TRUE(QFile::exists(shippedHelpFile())) << shippedHelpFile().toStdString();
    DesktopShell shell(shippedHelpFile());
    HelpViewer* first = nullptr;
    for (const Topic& topic : Topics) {
        SCOPED_TRACE(topic.context);
        shell.showHelp(topic.context);
        QApplication::processEvents();
        HelpViewer* viewer = shownViewer();
        ASSERT_NE(viewer, nullptr);
        if (!first) first = viewer;
        EXPECT_EQ(viewer, first);
        EXPECT_TRUE(headingInView(*viewer, QString::fromLatin1(topic.heading)));
    }
    // The topics are far enough apart that reaching them took real scrolling.
    EXPECT_GT(first->verticalScrollBar()->value(), 0);
    first->close();
}

// A missing help file or topic is reported in the viewer itself; nothing else happens.
TEST(HelpTest, MissingFileOrTopicIsToldInTheViewer) {
    HelpViewer missing(QStringLiteral("/nonexistent/trivora-help.html"));
    EXPECT_FALSE(missing.showTopic(10));
    EXPECT_TRUE(missing.toPlainText().contains(QStringLiteral("missing")));

    HelpViewer shipped(shippedHelpFile());
    EXPECT_TRUE(shipped.showTopic(11));
    EXPECT_FALSE(shipped.showTopic(12));
}

// The help file stays within what the viewer shows: no scripts, frames or embedded objects,
// and every link inside it leads to an anchor that exists.
TEST(HelpTest, HelpFileIsSelfContained) {
    QFile file(shippedHelpFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    for (const char* tag : {"<script", "<iframe", "<object", "<embed", "<img", "javascript:"})
        EXPECT_FALSE(html.contains(QLatin1String(tag), Qt::CaseInsensitive)) << tag;
    static const QRegularExpression link(QStringLiteral(R"re(href="#([^"]+)")re"));
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const QString target = it.next().captured(1);
        EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(target)))
            << target.toStdString();
    }
}

using WebLinksTest = GameFixture;

// A web link chosen during a question minimises the program and asks for its page; the
// minimised game goes on, its time gauge included.
TEST_F(WebLinksTest, MinimisedGameRunsOn) {
    struct Link {
        QAction* QuizScreen::*Entry;
        const char* url;
    };
    const Link links[] = {
        {&QuizScreen::triviaDatabaseAction, "https://opentdb.com/"},
        {&QuizScreen::triviaArticleAction, "https://en.wikipedia.org/wiki/Trivia"}};
    for (const Link& link : links) {
        SCOPED_TRACE(link.url);
        create();
        screen->show();
        startGame();
        ASSERT_TRUE(waitForAnswers());
        shell.calls.clear();
        (screen.get()->*link.Entry)->trigger();
        EXPECT_EQ(shell.calls,
                  (QStringList{QStringLiteral("minimize"),
                               QStringLiteral("url:") + QString::fromLatin1(link.url)}));
        // What the desktop does for "minimize": every shown window of the program goes down.
        DesktopShell(QString()).minimizeApp();
        QApplication::processEvents();
        EXPECT_TRUE(screen->isMinimized());
        const int before = screen->questionArea->timeGauge->progress();
        advance(1000);
        EXPECT_LT(screen->questionArea->timeGauge->progress(), before);
        screen.reset();
    }
}
