#include "DesktopShell.h"
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
QString ShippedHelpFile() {
    const QByteArray root = qgetenv("TRIVORA_SOURCE_DIR");
    return QString::fromLocal8Bit(root) + QStringLiteral("/assets/trivora-help.html");
}

// The visible help viewer among the program's windows, if any.
THelpViewer* ShownViewer() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<THelpViewer*>(w); viewer && viewer->isVisible())
            return viewer;
    return nullptr;
}

// The topic heading with that text lies inside the viewer's visible area.
::testing::AssertionResult HeadingInView(const THelpViewer& viewer, const QString& heading) {
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

struct TTopic {
    int Context;
    const char* Heading;
};
// Visiting the last topic first makes the viewer scroll back up as well as down.
const TTopic Topics[] = {{75, "Display colours"}, {10, "How to play"}, {11, "The question editor"}};

} // namespace

// The desktop shell opens the shipped help beside the program at the topic of each context,
// reusing one viewer window.
TEST(HelpTest, EachContextOpensItsTopic) {
    ASSERT_TRUE(QFile::exists(ShippedHelpFile())) << ShippedHelpFile().toStdString();
    TDesktopShell shell(ShippedHelpFile());
    THelpViewer* first = nullptr;
    for (const TTopic& topic : Topics) {
        SCOPED_TRACE(topic.Context);
        shell.ShowHelp(topic.Context);
        QApplication::processEvents();
        THelpViewer* viewer = ShownViewer();
        ASSERT_NE(viewer, nullptr);
        if (!first) first = viewer;
        EXPECT_EQ(viewer, first);
        EXPECT_TRUE(HeadingInView(*viewer, QString::fromLatin1(topic.Heading)));
    }
    // The topics are far enough apart that reaching them took real scrolling.
    EXPECT_GT(first->verticalScrollBar()->value(), 0);
    first->close();
}

// A missing help file or topic is reported in the viewer itself; nothing else happens.
TEST(HelpTest, MissingFileOrTopicIsToldInTheViewer) {
    THelpViewer missing(QStringLiteral("/nonexistent/trivora-help.html"));
    EXPECT_FALSE(missing.ShowTopic(10));
    EXPECT_TRUE(missing.toPlainText().contains(QStringLiteral("missing")));

    THelpViewer shipped(ShippedHelpFile());
    EXPECT_TRUE(shipped.ShowTopic(11));
    EXPECT_FALSE(shipped.ShowTopic(12));
}

// The help file stays within what the viewer shows: no scripts, frames or embedded objects,
// and every link inside it leads to an anchor that exists.
TEST(HelpTest, HelpFileIsSelfContained) {
    QFile file(ShippedHelpFile());
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
    struct TLink {
        QAction* QuizScreen::*Entry;
        const char* Url;
    };
    const TLink links[] = {
        {&QuizScreen::triviaDatabaseAction, "https://opentdb.com/"},
        {&QuizScreen::triviaArticleAction, "https://en.wikipedia.org/wiki/Trivia"}};
    for (const TLink& link : links) {
        SCOPED_TRACE(link.Url);
        create();
        screen->show();
        startGame();
        ASSERT_TRUE(waitForAnswers());
        shell.Calls.clear();
        (screen.get()->*link.Entry)->trigger();
        EXPECT_EQ(shell.Calls,
                  (QStringList{QStringLiteral("minimize"),
                               QStringLiteral("url:") + QString::fromLatin1(link.Url)}));
        // What the desktop does for "minimize": every shown window of the program goes down.
        TDesktopShell(QString()).MinimizeApp();
        QApplication::processEvents();
        EXPECT_TRUE(screen->isMinimized());
        const int before = screen->timeGauge->Progress();
        advance(1000);
        EXPECT_LT(screen->timeGauge->Progress(), before);
        screen.reset();
    }
}
