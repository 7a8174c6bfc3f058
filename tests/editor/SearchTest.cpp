#include "EditorFixture.h"

#include "QuestionScan.h"

#include <sys/stat.h>
#include <unistd.h>

using QstFixtures::numbered;
using QstFixtures::question;

namespace {
const QString noMatch = QStringLiteral("No match found");
} // namespace

class SearchTest : public EditorModelFixture {
protected:
    void openSet(const std::vector<QuestionRecord>& questions) {
        QstFixtures::writeSet(path("s.QST"), questions);
        fileName = qPath("s.QST");
        open();
    }
    void openNumbered(int n) { openSet(numberedRecords(n)); }
    // One search for this text; returns the boxes it showed.
    QStringList find(const QString& text) {
        dialogs.clear();
        model->findNext(text);
        return dialogs.texts();
    }
    std::int64_t shown() const { return model->recordNumber(); }
};

// A text reading as a number of 1 or more goes to that question; other texts are searched for.
TEST_F(SearchTest, NumbersGoToTheirQuestion) {
    openNumbered(40);
    struct Row {
        const char* text;
        QStringList boxes;
        int shown; // question shown afterwards
    };
    const QStringList valid{QStringLiteral("Valid Numbers 1-40")};
    const Row rows[] = {
        {"3", {}, 3},          {"41", valid, 3},
        {" 7", {}, 7},      // leading blanks are allowed
        {"+12", {}, 12},    // so is a sign
        {"2.5", valid, 12}, // a number, but not a question number: nothing moves
        {"1e2", valid, 12},    {"99999999999999999999", valid, 12},
        {"7 ", {noMatch}, 12}, // a trailing blank makes it text
        {"0", {}, 10},         // text: "Question 10" holds a 0
        {"-2", {noMatch}, 10}, // text, found nowhere
        {"1", {}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(find(QString::fromLatin1(row.text)), row.boxes);
        EXPECT_EQ(shown(), row.shown);
    }
    EXPECT_EQ(fieldTexts()[0], QStringLiteral("Question 1"));
}

// The text search folds only a to z, walks all hits in record order, reports "No match found"
// after the last, and starts again at question 1 after that.
TEST_F(SearchTest, TextSearchWalksHitsAndStartsOver) {
    openSet({question("Capital of France?", "PARIS", "Rome", "Oslo", "Bern"),
             question("Who wrote it?", "Anyone", "No one", "Someone", "Paris Hilton"),
             question("A word", "école", "x", "y", "z"),
             question("Weather", "rain", "sun", "snow", "Comparison"),
             question("ÉCOLE", "a", "b", "c", "d")});
    for (int expected : {1, 2, 4}) {
        EXPECT_TRUE(find(QStringLiteral("paris")).isEmpty());
        EXPECT_EQ(shown(), expected);
        EXPECT_EQ(state.searchPosition, expected);
    }
    EXPECT_EQ(find(QStringLiteral("paris")), QStringList{noMatch});
    EXPECT_EQ(shown(), 4);
    EXPECT_EQ(state.searchPosition, 0);
    EXPECT_TRUE(find(QStringLiteral("paris")).isEmpty());
    EXPECT_EQ(shown(), 1);

    EXPECT_TRUE(find(QStringLiteral("école")).isEmpty());
    EXPECT_EQ(shown(), 3);
    EXPECT_EQ(find(QStringLiteral("école")), QStringList{noMatch}) << "É is not folded";
    // A match in the last question is found, also when the search starts at it.
    EXPECT_TRUE(find(QStringLiteral("ÉCOLE")).isEmpty());
    EXPECT_EQ(shown(), 5);
    EXPECT_EQ(fieldTexts()[0], QStringLiteral("ÉCOLE"));
    // A character no set can hold is found nowhere.
    EXPECT_EQ(find(QStringLiteral("λ")), QStringList{noMatch});
}

// A set of one matching question: hit, then "No match found", then the hit again; a hit in
// the question already shown counts as a hit.
TEST_F(SearchTest, OneQuestionSet) {
    openSet({question("Only question", "a", "b", "c", "d")});
    ASSERT_EQ(shown(), 1);
    EXPECT_TRUE(find(QStringLiteral("only")).isEmpty());
    EXPECT_EQ(shown(), 1);
    EXPECT_EQ(find(QStringLiteral("only")), QStringList{noMatch});
    EXPECT_TRUE(find(QStringLiteral("only")).isEmpty());
    EXPECT_EQ(shown(), 1);
}

// The text search goes on from its last hit, not from the record shown; a changed text and a
// record-number search with another text start over at question 1.
TEST_F(SearchTest, WhereTheNextSearchStarts) {
    openNumbered(30);
    EXPECT_TRUE(find(QStringLiteral("question 2")).isEmpty());
    EXPECT_EQ(shown(), 2);
    model->showNextQuestion();
    model->showNextQuestion();
    EXPECT_TRUE(find(QStringLiteral("question 2")).isEmpty());
    EXPECT_EQ(shown(), 20) << "from the last hit, not from question 4";
    EXPECT_TRUE(find(QStringLiteral("QUESTION 2")).isEmpty());
    EXPECT_EQ(shown(), 2) << "a changed text starts at question 1";
    EXPECT_TRUE(find(QStringLiteral("25")).isEmpty());
    EXPECT_EQ(state.searchPosition, 0);
    EXPECT_EQ(state.lastSearchText, QStringLiteral("25"));
    EXPECT_TRUE(find(QStringLiteral("QUESTION 2")).isEmpty());
    EXPECT_EQ(shown(), 2);
}

// The search state outlives a load: the same text goes on from the old position, and a
// position beyond the new set's last question reports "No match found" without reading.
// A new window resets it.
TEST_F(SearchTest, SearchStateAcrossLoadsAndWindows) {
    openNumbered(30);
    EXPECT_TRUE(find(QStringLiteral("question 2")).isEmpty());
    EXPECT_TRUE(find(QStringLiteral("question 2")).isEmpty());
    ASSERT_EQ(shown(), 20);
    QstFixtures::writeNumberedSet(path("small.QST"), 5);
    dialogs.chooseFile(qPath("small.QST"));
    model->loadSet();
    EXPECT_EQ(find(QStringLiteral("question 2")), QStringList{noMatch});
    EXPECT_EQ(shown(), 5);
    EXPECT_EQ(fieldTexts()[0], QStringLiteral("Question 5"));

    EXPECT_TRUE(find(QStringLiteral("question")).isEmpty());
    ASSERT_EQ(state.searchPosition, 1);
    model.reset();
    open();
    EXPECT_EQ(state.searchPosition, 0);
    EXPECT_TRUE(state.lastSearchText.isEmpty());
}

// A set cut short, deleted or replaced by a FIFO under the search reaches the general error
// box at once; the window stays usable.
TEST_F(SearchTest, BrokenSetDuringSearch) {
    openNumbered(10);
    QstFixtures::writeNumberedSet(path("s.QST"), 4);
    QStringList boxes = find(QStringLiteral("question 9"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(dialogs.shown()[0].kind, MsgKind::Error);
    EXPECT_TRUE(boxes[0].contains(qPath("s.QST")));
    ::unlink(path("s.QST").c_str());
    boxes = find(QStringLiteral("3"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(dialogs.shown()[0].kind, MsgKind::Error);
    // A FIFO in the set's place is reported at once; the search never waits on it.
    ASSERT_EQ(::mkfifo(path("s.QST").c_str(), 0644), 0);
    boxes = find(QStringLiteral("question"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(dialogs.shown()[0].kind, MsgKind::Error);
    ::unlink(path("s.QST").c_str());
    QstFixtures::writeNumberedSet(path("s.QST"), 10);
    EXPECT_TRUE(find(QStringLiteral("3")).isEmpty());
    EXPECT_EQ(shown(), 3);
}

// The scan never reads beyond a field: length bytes of 255 count as 75, and a pattern that
// would only match across two fields is not found.
TEST(QuestionScanTest, LengthBytesAndFieldEdges) {
    QuestionRecord r;
    std::uint8_t raw[QuestionRecord::Size] = {};
    for (int f = 0; f < 5; ++f) {
        raw[f * 76] = 255;
        for (int k = 1; k <= 75; ++k)
            raw[f * 76 + k] = static_cast<std::uint8_t>('a' + f);
    }
    EXPECT_TRUE(QuestionScan::matches(raw, QuestionScan::foldAZ(std::string(75, 'e'))));
    EXPECT_FALSE(QuestionScan::matches(raw, "AB"));
    EXPECT_FALSE(QuestionScan::matches(raw, std::string(76, 'A')));
    EXPECT_EQ(QuestionScan::foldAZ("az AZ éÉ 09"), "AZ AZ éÉ 09");
}
