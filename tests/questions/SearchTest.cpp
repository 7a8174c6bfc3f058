#include "EditorFixture.h"

#include "EditorFindDialog.h"
#include "EditorScan.h"
#include "Label.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <sys/stat.h>
#include <unistd.h>

using QstFixtures::Numbered;
using QstFixtures::Question;

namespace {
const QString NoMatch = QStringLiteral("No match found");
} // namespace

class SearchTest : public TEditorFixture {
protected:
    void OpenSet(const std::vector<TQuestionRecord>& questions) {
        QstFixtures::WriteSet(Path("s.QST"), questions);
        FileName = QPath("s.QST");
        Open();
    }
    void OpenNumbered(int n) {
        std::vector<TQuestionRecord> qs;
        for (int i = 1; i <= n; ++i)
            qs.push_back(Numbered(i));
        OpenSet(qs);
    }
    // One press of Find Next with this text; returns the boxes it showed.
    QStringList Find(const QString& text) {
        Dialogs.Clear();
        Editor->FindDialog1->SetFindText(text);
        Editor->FindDialog1Find();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is restored";
        return Dialogs.Texts();
    }
    std::int64_t Shown() const { return Editor->RecordNumber(); }
};

// A text reading as a number of 1 or more goes to that question; other texts are searched for.
TEST_F(SearchTest, NumbersGoToTheirQuestion) {
    OpenNumbered(40);
    struct Row {
        const char* Text;
        QStringList Boxes;
        int Shown; // question shown afterwards
    };
    const QStringList valid{QStringLiteral("Valid Numbers 1-40")};
    const Row rows[] = {
        {"3", {}, 3},          {"41", valid, 3},
        {" 7", {}, 7},      // leading blanks are allowed
        {"+12", {}, 12},    // so is a sign
        {"2.5", valid, 12}, // a number, but not a question number: nothing moves
        {"1e2", valid, 12},    {"99999999999999999999", valid, 12},
        {"7 ", {NoMatch}, 12}, // a trailing blank makes it text
        {"0", {}, 10},         // text: "Question 10" holds a 0
        {"-2", {NoMatch}, 10}, // text, found nowhere
        {"1", {}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Text);
        EXPECT_EQ(Find(QString::fromLatin1(row.Text)), row.Boxes);
        EXPECT_EQ(Shown(), row.Shown);
        EXPECT_EQ(Editor->FindDialog1->FindText(), QString::fromLatin1(row.Text));
    }
    EXPECT_EQ(FieldTexts()[0], QStringLiteral("Question 1"));
}

// The text search folds only a to z, walks all hits in record order, reports "No match found"
// after the last, and starts again at question 1 after that.
TEST_F(SearchTest, TextSearchWalksHitsAndStartsOver) {
    OpenSet({Question("Capital of France?", "PARIS", "Rome", "Oslo", "Bern"),
             Question("Who wrote it?", "Anyone", "No one", "Someone", "Paris Hilton"),
             Question("A word", "école", "x", "y", "z"),
             Question("Weather", "rain", "sun", "snow", "Comparison"),
             Question("ÉCOLE", "a", "b", "c", "d")});
    for (int expected : {1, 2, 4}) {
        EXPECT_TRUE(Find(QStringLiteral("paris")).isEmpty());
        EXPECT_EQ(Shown(), expected);
        EXPECT_EQ(State.SearchPosition, expected);
    }
    EXPECT_EQ(Find(QStringLiteral("paris")), QStringList{NoMatch});
    EXPECT_EQ(Shown(), 4);
    EXPECT_EQ(State.SearchPosition, 0);
    EXPECT_TRUE(Find(QStringLiteral("paris")).isEmpty());
    EXPECT_EQ(Shown(), 1);

    EXPECT_TRUE(Find(QStringLiteral("école")).isEmpty());
    EXPECT_EQ(Shown(), 3);
    EXPECT_EQ(Find(QStringLiteral("école")), QStringList{NoMatch}) << "É is not folded";
    // A match in the last question is found, also when the search starts at it.
    EXPECT_TRUE(Find(QStringLiteral("ÉCOLE")).isEmpty());
    EXPECT_EQ(Shown(), 5);
    EXPECT_EQ(FieldTexts()[0], QStringLiteral("ÉCOLE"));
    // A character no set can hold is found nowhere.
    EXPECT_EQ(Find(QStringLiteral("λ")), QStringList{NoMatch});
}

// A set of one matching question: hit, then "No match found", then the hit again; a hit in
// the question already shown counts as a hit.
TEST_F(SearchTest, OneQuestionSet) {
    OpenSet({Question("Only question", "a", "b", "c", "d")});
    ASSERT_EQ(Shown(), 1);
    EXPECT_TRUE(Find(QStringLiteral("only")).isEmpty());
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(Find(QStringLiteral("only")), QStringList{NoMatch});
    EXPECT_TRUE(Find(QStringLiteral("only")).isEmpty());
    EXPECT_EQ(Shown(), 1);
}

// The text search goes on from its last hit, not from the record shown; a changed text and a
// record-number search with another text start over at question 1.
TEST_F(SearchTest, WhereTheNextSearchStarts) {
    OpenNumbered(30);
    EXPECT_TRUE(Find(QStringLiteral("question 2")).isEmpty());
    EXPECT_EQ(Shown(), 2);
    Editor->NextClick();
    Editor->NextClick();
    EXPECT_TRUE(Find(QStringLiteral("question 2")).isEmpty());
    EXPECT_EQ(Shown(), 20) << "from the last hit, not from question 4";
    EXPECT_TRUE(Find(QStringLiteral("QUESTION 2")).isEmpty());
    EXPECT_EQ(Shown(), 2) << "a changed text starts at question 1";
    EXPECT_TRUE(Find(QStringLiteral("25")).isEmpty());
    EXPECT_EQ(State.SearchPosition, 0);
    EXPECT_EQ(State.LastSearchText, QStringLiteral("25"));
    EXPECT_TRUE(Find(QStringLiteral("QUESTION 2")).isEmpty());
    EXPECT_EQ(Shown(), 2);
}

// The search state outlives a load: the same text goes on from the old position, and a
// position beyond the new set's last question reports "No match found" without reading.
// A new window resets it.
TEST_F(SearchTest, SearchStateAcrossLoadsAndWindows) {
    OpenNumbered(30);
    EXPECT_TRUE(Find(QStringLiteral("question 2")).isEmpty());
    EXPECT_TRUE(Find(QStringLiteral("question 2")).isEmpty());
    ASSERT_EQ(Shown(), 20);
    QstFixtures::WriteNumberedSet(Path("small.QST"), 5);
    Dialogs.ChooseFile(QPath("small.QST"));
    Editor->LoadQuestionSet1Click();
    EXPECT_EQ(Find(QStringLiteral("question 2")), QStringList{NoMatch});
    EXPECT_EQ(Shown(), 5);
    EXPECT_EQ(FieldTexts()[0], QStringLiteral("Question 5"));

    EXPECT_TRUE(Find(QStringLiteral("question")).isEmpty());
    ASSERT_EQ(State.SearchPosition, 1);
    delete Editor.data();
    Open();
    EXPECT_EQ(State.SearchPosition, 0);
    EXPECT_TRUE(State.LastSearchText.isEmpty());
}

// Find Next is refused while the fields hold texts that are not stored, so a search never
// replaces them; the dialog's button follows the editor's Search button.
TEST_F(SearchTest, NoSearchOverUnsavedTexts) {
    OpenNumbered(5);
    EXPECT_TRUE(Editor->FindDialog1->FindNext->isEnabled() ||
                Editor->FindDialog1->FindText().isEmpty());
    Editor->SearchClick();
    EXPECT_TRUE(Editor->FindDialog1->isVisible());
    Editor->FindDialog1->SetFindText(QStringLiteral("2"));
    Tick();
    EXPECT_TRUE(Editor->FindDialog1->FindNext->isEnabled());
    Editor->Ques1->setText(QStringLiteral("Being edited"));
    Tick();
    EXPECT_FALSE(Editor->Search->isEnabled());
    EXPECT_FALSE(Editor->FindDialog1->FindNext->isEnabled());
    EXPECT_TRUE(Find(QStringLiteral("2")).isEmpty());
    EXPECT_EQ(Shown(), 5);
    EXPECT_EQ(FieldTexts()[0], QStringLiteral("Being edited"));
}

// A set cut short, deleted or replaced by a FIFO under the search reaches the general error
// box at once; the window stays usable.
TEST_F(SearchTest, BrokenSetDuringSearch) {
    OpenNumbered(10);
    QstFixtures::WriteNumberedSet(Path("s.QST"), 4);
    QStringList boxes = Find(QStringLiteral("question 9"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(Dialogs.Shown()[0].Kind, TMsgKind::Error);
    EXPECT_TRUE(boxes[0].contains(QPath("s.QST")));
    ::unlink(Path("s.QST").c_str());
    boxes = Find(QStringLiteral("3"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(Dialogs.Shown()[0].Kind, TMsgKind::Error);
    // A FIFO in the set's place is reported at once; the search never waits on it.
    ASSERT_EQ(::mkfifo(Path("s.QST").c_str(), 0644), 0);
    boxes = Find(QStringLiteral("question"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(Dialogs.Shown()[0].Kind, TMsgKind::Error);
    ::unlink(Path("s.QST").c_str());
    QstFixtures::WriteNumberedSet(Path("s.QST"), 10);
    EXPECT_TRUE(Find(QStringLiteral("3")).isEmpty());
    EXPECT_EQ(Shown(), 3);
}

// The scan never reads beyond a field: length bytes of 255 count as 75, and a pattern that
// would only match across two fields is not found.
TEST(EditorScanTest, LengthBytesAndFieldEdges) {
    TQuestionRecord r;
    std::uint8_t raw[TQuestionRecord::Size] = {};
    for (int f = 0; f < 5; ++f) {
        raw[f * 76] = 255;
        for (int k = 1; k <= 75; ++k)
            raw[f * 76 + k] = static_cast<std::uint8_t>('a' + f);
    }
    EXPECT_TRUE(TEditorScan::Matches(raw, TEditorScan::FoldAZ(std::string(75, 'e'))));
    EXPECT_FALSE(TEditorScan::Matches(raw, "AB"));
    EXPECT_FALSE(TEditorScan::Matches(raw, std::string(76, 'A')));
    EXPECT_EQ(TEditorScan::FoldAZ("az AZ éÉ 09"), "AZ AZ éÉ 09");
}
