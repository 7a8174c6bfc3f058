#include "QuizFixture.h"

#include <QApplication>
#include <QLineEdit>

namespace {
struct Placement {
    const char* Name;
    QRect Rect;
};

// Checks each control's geometry (relative to its parent).
void ExpectPlacements(TQuizScreen& s, std::initializer_list<Placement> table) {
    for (const Placement& p : table) {
        QWidget* w = s.findChild<QWidget*>(QString::fromLatin1(p.Name));
        ASSERT_NE(w, nullptr) << p.Name;
        EXPECT_EQ(w->geometry(), p.Rect) << p.Name;
    }
}
} // namespace

class LayoutTest : public TQuizFixture {
protected:
    void PlayArea(int width, int height) {
        Screen->MainBackPanel->resize(width, height);
        Screen->FormResize();
    }
};

// At design size the play area is 652 x 253 and every control sits where the design puts it.
TEST_F(LayoutTest, DesignSize) {
    Create();
    TQuizScreen& s = *Screen;
    EXPECT_EQ(s.centralWidget()->size(), QSize(652, 454));
    EXPECT_EQ(s.MainBackPanel->geometry(), QRect(0, 112, 652, 253));
    EXPECT_EQ(s.Panel2->height(), 112);
    EXPECT_EQ(s.Panel1->height(), 89);
    ExpectPlacements(s, {
                            {"CorHi", {0, 0, 652, 253}},
                            {"MARK4", {48, 33, 556, 186}},
                            {"FiftyDollars", {16, 16, 105, 105}},
                            {"FifteenDollars", {531, 16, 105, 105}},
                            {"FiveDollars", {531, 132, 105, 105}},
                            {"OneDollar", {16, 132, 105, 105}},
                            {"Lose", {273, 74, 105, 105}},
                            {"HitStop", {201, 191, 250, 50}},
                            {"GameOver", {176, 101, 300, 50}},
                            {"MARK1", {99, 50, 453, 75}},
                            {"MARK2", {151, 143, 349, 57}},
                            {"Stage1", {143, 12, 365, 163}},
                            {"Stage2", {189, 190, 273, 41}},
                            {"Stage3", {0, 0, 652, 253}},
                            {"Stage3B", {0, 0, 652, 253}},
                            {"Stage4", {151, 106, 350, 41}},
                            {"QuestionBlock", {4, 4, 644, 54}},
                            {"TimeLine", {4, 195, 644, 54}},
                            {"T1", {4, 17, 52, 20}},
                            {"T1b", {3, 16, 52, 20}},
                            {"CreditBlock", {508, 1, 128, 47}},
                            {"C1", {433, 17, 67, 20}},
                            {"C1b", {432, 16, 67, 20}},
                            {"TBack", {71, 11, 342, 32}},
                            {"T2", {4, 4, 332, 22}},
                            {"QF2", {6, 80, 640, 22}},
                            {"QF3", {6, 101, 640, 22}},
                            {"QF4", {6, 122, 640, 22}},
                            {"QF5", {6, 143, 640, 22}},
                            {"QF6", {45, 80, 2, 85}},
                            {"ACap", {16, 79, 19, 25}},
                            {"DCap", {16, 142, 19, 25}},
                            {"AnswerA", {54, 83, 593, 15}},
                            {"AnswerD", {54, 146, 593, 15}},
                            {"CoverA", {8, 82, 636, 18}},
                            {"CoverD", {8, 145, 636, 18}},
                            {"Wrong", {0, 0, 652, 253}},
                            {"TimeOut", {0, 0, 652, 253}},
                            {"ReadyPanel", {0, 0, 652, 253}},
                            {"PlayerPanel", {0, 0, 652, 253}},
                            {"FinalScorePanel", {0, 0, 652, 253}},
                        });
    // Neighbouring frames share a line, so the divider (4h - 3 high) runs from the top of
    // the first frame exactly to the bottom of the fourth.
    EXPECT_EQ(s.QF6->y() + s.QF6->height(), s.QF5->y() + s.QF5->height());
}

// The full-size panels lay out their contents from the panel's size.
TEST_F(LayoutTest, PanelContentsAtDesignSize) {
    Create();
    TQuizScreen& s = *Screen;
    // Wrong: d = (201 - 56) div 3 = 48; TimeOut: d = (201 - 56) div 5 = 29.
    ExpectPlacements(s, {
                            {"WrongDisplay", {0, 0, 652, 56}},
                            {"OK", {560, 201, 84, 44}},
                            {"P1", {0, 56, 652, 20}},
                            {"Q1", {24, 79, 604, 20}},
                            {"P2", {0, 104, 652, 20}},
                            {"Q2", {24, 127, 604, 20}},
                            {"P3", {0, 152, 652, 20}},
                            {"Q3", {24, 175, 604, 20}},
                            {"TimeOutDisplay", {0, 0, 652, 56}},
                            {"OK2", {560, 201, 84, 44}},
                            {"P1B", {0, 85, 652, 20}},
                            {"Q1B", {24, 108, 604, 20}},
                            {"P3B", {0, 143, 652, 20}},
                            {"Q3B", {24, 166, 604, 20}},
                            {"Ready", {176, 50, 300, 50}},
                            {"GameOver2", {176, 50, 300, 50}},
                            {"Player", {226, 104, 200, 40}},
                            {"One", {251, 156, 150, 40}},
                            {"Four", {251, 156, 150, 40}},
                            {"Players", {126, 0, 400, 56}},
                            {"OK3", {560, 201, 84, 44}},
                            {"Player1Panel", {18, 78, 140, 96}},
                            {"Player2Panel", {176, 78, 140, 96}},
                            {"Player3Panel", {334, 78, 140, 96}},
                            {"Player4Panel", {492, 78, 140, 96}},
                            {"ScoreBox", {136, 40, 380, 172}},
                            {"OK4", {560, 201, 84, 44}},
                        });
}

// A larger play area (as when maximised) spreads the same rules over it; Stage2 no longer
// needs moving below the logo.
TEST_F(LayoutTest, LargePlayArea) {
    Create();
    PlayArea(1000, 500);
    ExpectPlacements(*Screen, {
                                  {"CorHi", {0, 0, 1000, 500}},
                                  {"MARK4", {222, 157, 556, 186}},
                                  {"FiftyDollars", {16, 16, 105, 105}},
                                  {"FifteenDollars", {879, 16, 105, 105}},
                                  {"FiveDollars", {879, 379, 105, 105}},
                                  {"OneDollar", {16, 379, 105, 105}},
                                  {"Lose", {447, 197, 105, 105}},
                                  {"HitStop", {375, 376, 250, 50}},
                                  {"GameOver", {350, 225, 300, 50}},
                                  {"MARK1", {273, 100, 453, 75}},
                                  {"MARK2", {325, 343, 349, 57}},
                                  {"Stage1", {317, 48, 365, 163}},
                                  {"Stage2", {363, 306, 273, 41}},
                                  {"Stage3", {0, 0, 1000, 500}},
                                  {"Stage4", {325, 229, 350, 41}},
                                  {"QuestionBlock", {4, 4, 992, 83}},
                                  {"TimeLine", {4, 413, 992, 83}},
                                  {"T1", {4, 31, 52, 20}},
                                  {"CreditBlock", {856, 16, 128, 47}},
                                  {"C1", {781, 31, 67, 20}},
                                  {"TBack", {71, 25, 690, 32}},
                                  {"T2", {4, 4, 680, 22}},
                                  {"QF2", {6, 141, 988, 54}},
                                  {"QF3", {6, 194, 988, 54}},
                                  {"QF5", {6, 300, 988, 54}},
                                  {"QF6", {45, 141, 2, 213}},
                                  {"BCap", {16, 208, 19, 25}},
                                  {"AnswerB", {54, 213, 941, 15}},
                                  {"CoverB", {8, 196, 984, 50}},
                                  {"FinalScorePanel", {0, 0, 1000, 500}},
                                  {"ScoreBox", {310, 164, 380, 172}},
                                  {"OK4", {908, 448, 84, 44}},
                                  {"Player1Panel", {88, 202, 140, 96}},
                                  {"Player4Panel", {772, 202, 140, 96}},
                              });
}

// A resize in the middle of a question moves and sizes things only: texts, colours, the
// gauge, pictures, fonts and what is shown stay as they were.
TEST_F(LayoutTest, ResizeChangesOnlyPlacement) {
    Create();
    TQuizScreen& s = *Screen;
    s.QuestionBlock->SetCaption(QStringLiteral("Which planet is largest?"));
    s.Answer[2]->SetCaption(QStringLiteral("Jupiter"));
    s.Cover[2]->SetBrushColor(QColor(0, 0, 0xFF));
    s.T2->SetProgress(37);
    for (QWidget* w : std::initializer_list<QWidget*>{s.QuestionBlock, s.TimeLine, s.T1, s.T2, s.C1,
                                                      s.QF2, s.Cover[2], s.Answer[2]})
        w->show();
    const auto snapshot = [&s] {
        QStringList out;
        for (QWidget* w : s.MainBackPanel->findChildren<QWidget*>())
            out << QStringLiteral("%1 %2 %3 %4")
                       .arg(w->objectName())
                       .arg(w->isHidden())
                       .arg(w->font().pointSize())
                       .arg(w->font().pixelSize());
        out << s.QuestionBlock->Caption() << s.Answer[2]->Caption()
            << s.Cover[2]->BrushColor().name() << QString::number(s.T2->Progress())
            << QString::number(s.Stage3->Picture().cacheKey());
        return out;
    };
    const QStringList before = snapshot();
    for (const QSize size : {QSize(1000, 500), QSize(800, 600), QSize(652, 253)}) {
        SCOPED_TRACE(size.width());
        PlayArea(size.width(), size.height());
        EXPECT_EQ(snapshot(), before);
    }
    EXPECT_EQ(s.QuestionBlock->geometry(), QRect(4, 4, 644, 54));
}

// The frame keeps its design size but can be maximised: the play area then fills the screen
// and is laid out for it, and restoring brings back the design layout.
TEST_F(LayoutTest, MaximiseAndRestore) {
    Create();
    TQuizScreen& s = *Screen;
    s.show();
    QApplication::processEvents();
    EXPECT_EQ(s.centralWidget()->size(), QSize(652, 454));
    EXPECT_EQ(s.QuestionBlock->geometry(), QRect(4, 4, 644, 54));

    s.showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(s.IsMaximised());
    const QSize play = s.MainBackPanel->size();
    EXPECT_GT(play.width(), 652);
    EXPECT_EQ(play.height(), s.centralWidget()->height() - 112 - 89);
    EXPECT_EQ(s.QuestionBlock->geometry(), QRect(4, 4, play.width() - 8, play.width() / 12));
    EXPECT_EQ(s.Stage3->size(), play);
    EXPECT_EQ(s.T2->height(), 22);

    s.showNormal();
    QApplication::processEvents();
    EXPECT_EQ(s.centralWidget()->size(), QSize(652, 454));
    EXPECT_EQ(s.MainBackPanel->size(), QSize(652, 253));
    EXPECT_EQ(s.QuestionBlock->geometry(), QRect(4, 4, 644, 54));

    // Dragging the frame in the normal state does not change the design size.
    s.resize(s.width() + 120, s.height() + 80);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(s.centralWidget()->size(), QSize(652, 454));
    EXPECT_EQ(s.Stage3->size(), QSize(652, 253));
    s.hide();
}
