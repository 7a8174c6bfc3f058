#include "Gauge.h"
#include "QuizScreenFixture.h"
#include "QuestionArea.h"

#include <QApplication>
#include <QLineEdit>

namespace {
struct Placement {
    const char* name;
    QRect rect;
};

// Checks each control's geometry (relative to its parent).
void expectPlacements(QuizScreen& s, std::initializer_list<Placement> table) {
    for (const Placement& p : table) {
        QWidget* w = s.findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->geometry(), p.rect) << p.name;
    }
}
} // namespace

class LayoutTest : public QuizScreenFixture {
protected:
    void playArea(int width, int height) {
        screen->playArea->resize(width, height);
        screen->layOutPlayArea();
    }
};

// At design size the play area is 652 x 253 and every control sits where the design puts it.
TEST_F(LayoutTest, DesignSize) {
    create();
    QuizScreen& s = *screen;
    EXPECT_EQ(s.centralWidget()->size(), QSize(652, 454));
    EXPECT_EQ(s.playArea->geometry(), QRect(0, 112, 652, 253));
    EXPECT_EQ(s.titleBand->height(), 112);
    EXPECT_EQ(s.buttons->height(), 89);
    expectPlacements(s, {
                            {"correctBanner", {48, 33, 556, 186}},
                            {"fiftyDollarLamp", {16, 16, 105, 105}},
                            {"fifteenDollarLamp", {531, 16, 105, 105}},
                            {"fiveDollarLamp", {531, 132, 105, 105}},
                            {"oneDollarLamp", {16, 132, 105, 105}},
                            {"loseLamp", {273, 74, 105, 105}},
                            {"pressStopPrompt", {201, 191, 250, 50}},
                            {"gameOverBanner", {176, 101, 300, 50}},
                            {"companyLogo", {143, 12, 365, 163}},
                            {"presentsCaption", {189, 190, 273, 41}},
                            {"titlePicture", {0, 0, 652, 253}},
                            {"titlePictureLit", {0, 0, 652, 253}},
                            {"pressStartPrompt", {151, 106, 350, 41}},
                            {"questionLabel", {4, 4, 644, 54}},
                            {"timeStrip", {4, 195, 644, 54}},
                            {"timeCaption", {4, 17, 52, 20}},
                            {"timeCaptionShadow", {3, 16, 52, 20}},
                            {"creditMeter", {508, 1, 128, 47}},
                            {"creditCaption", {433, 17, 67, 20}},
                            {"creditCaptionShadow", {432, 16, 67, 20}},
                            {"timeGaugeFrame", {71, 11, 342, 32}},
                            {"timeGauge", {4, 4, 332, 22}},
                            {"answerFrameA", {6, 80, 640, 22}},
                            {"answerFrameB", {6, 101, 640, 22}},
                            {"answerFrameC", {6, 122, 640, 22}},
                            {"answerFrameD", {6, 143, 640, 22}},
                            {"answerDivider", {45, 80, 2, 85}},
                            {"answerLetterA", {16, 79, 19, 25}},
                            {"answerLetterD", {16, 142, 19, 25}},
                            {"answerTextA", {54, 83, 593, 15}},
                            {"answerTextD", {54, 146, 593, 15}},
                            {"answerRowA", {8, 82, 636, 18}},
                            {"answerRowD", {8, 145, 636, 18}},
                            {"wrongPanel", {0, 0, 652, 253}},
                            {"timeOutPanel", {0, 0, 652, 253}},
                            {"readyPanel", {0, 0, 652, 253}},
                            {"playerPanel", {0, 0, 652, 253}},
                            {"finalScorePanel", {0, 0, 652, 253}},
                        });
    // Neighbouring frames share a line, so the divider (4h - 3 high) runs from the top of
    // the first frame exactly to the bottom of the fourth.
    EXPECT_EQ(s.questionArea->answerDivider->y() + s.questionArea->answerDivider->height(),
              s.questionArea->answerFrames[3]->y() + s.questionArea->answerFrames[3]->height());
}

// The full-size panels lay out their contents from the panel's size.
TEST_F(LayoutTest, PanelContentsAtDesignSize) {
    create();
    QuizScreen& s = *screen;
    // Wrong: d = (201 - 56) div 3 = 48; TimeOut: d = (201 - 56) div 5 = 29.
    expectPlacements(s, {
                            {"wrongHeading", {0, 0, 652, 56}},
                            {"wrongPanelOkFrame", {560, 201, 84, 44}},
                            {"wrongQuestionCaption", {0, 56, 652, 20}},
                            {"wrongQuestion", {24, 79, 604, 20}},
                            {"wrongChosenCaption", {0, 104, 652, 20}},
                            {"wrongChosen", {24, 127, 604, 20}},
                            {"wrongCorrectCaption", {0, 152, 652, 20}},
                            {"wrongCorrect", {24, 175, 604, 20}},
                            {"timeOutHeading", {0, 0, 652, 56}},
                            {"timeOutPanelOkFrame", {560, 201, 84, 44}},
                            {"timeOutQuestionCaption", {0, 85, 652, 20}},
                            {"timeOutQuestion", {24, 108, 604, 20}},
                            {"timeOutCorrectCaption", {0, 143, 652, 20}},
                            {"timeOutCorrect", {24, 166, 604, 20}},
                            {"readyHeading", {176, 50, 300, 50}},
                            {"playerOutHeading", {176, 50, 300, 50}},
                            {"playerCaption", {226, 104, 200, 40}},
                            {"playerNumberOne", {251, 156, 150, 40}},
                            {"playerNumberFour", {251, 156, 150, 40}},
                            {"playerHeading", {126, 0, 400, 56}},
                            {"playerPanelOkFrame", {560, 201, 84, 44}},
                            {"playerSlot1", {18, 78, 140, 96}},
                            {"playerSlot2", {176, 78, 140, 96}},
                            {"playerSlot3", {334, 78, 140, 96}},
                            {"playerSlot4", {492, 78, 140, 96}},
                            {"scoreBox", {136, 40, 380, 172}},
                            {"finalScoreOkFrame", {560, 201, 84, 44}},
                        });
}

// A larger play area (as when maximised) spreads the same rules over it; the presents caption no
// longer needs moving below the logo.
TEST_F(LayoutTest, LargePlayArea) {
    create();
    playArea(1000, 500);
    expectPlacements(
        *screen,
        {
            {"correctBanner", {222, 157, 556, 186}},
            {"fiftyDollarLamp", {16, 16, 105, 105}},   {"fifteenDollarLamp", {879, 16, 105, 105}},
            {"fiveDollarLamp", {879, 379, 105, 105}},  {"oneDollarLamp", {16, 379, 105, 105}},
            {"loseLamp", {447, 197, 105, 105}},        {"pressStopPrompt", {375, 376, 250, 50}},
            {"gameOverBanner", {350, 225, 300, 50}},   {"companyLogo", {317, 48, 365, 163}},
            {"presentsCaption", {363, 306, 273, 41}},  {"titlePicture", {0, 0, 1000, 500}},
            {"pressStartPrompt", {325, 229, 350, 41}}, {"questionLabel", {4, 4, 992, 83}},
            {"timeStrip", {4, 413, 992, 83}},          {"timeCaption", {4, 31, 52, 20}},
            {"creditMeter", {856, 16, 128, 47}},       {"creditCaption", {781, 31, 67, 20}},
            {"timeGaugeFrame", {71, 25, 690, 32}},     {"timeGauge", {4, 4, 680, 22}},
            {"answerFrameA", {6, 141, 988, 54}},       {"answerFrameB", {6, 194, 988, 54}},
            {"answerFrameD", {6, 300, 988, 54}},       {"answerDivider", {45, 141, 2, 213}},
            {"answerLetterB", {16, 208, 19, 25}},      {"answerTextB", {54, 213, 941, 15}},
            {"answerRowB", {8, 196, 984, 50}},         {"finalScorePanel", {0, 0, 1000, 500}},
            {"scoreBox", {310, 164, 380, 172}},        {"finalScoreOkFrame", {908, 448, 84, 44}},
            {"playerSlot1", {88, 202, 140, 96}},       {"playerSlot4", {772, 202, 140, 96}},
        });
}

// A resize in the middle of a question moves and sizes things only: texts, colours, the
// gauge, pictures, fonts and what is shown stay as they were.
TEST_F(LayoutTest, ResizeChangesOnlyPlacement) {
    create();
    QuizScreen& s = *screen;
    s.questionArea->questionLabel->setCaption(QStringLiteral("Which planet is largest?"));
    s.questionArea->answerTexts[2]->setCaption(QStringLiteral("Jupiter"));
    s.questionArea->answerRows[2]->setBrushColor(QColor(0, 0, 0xFF));
    s.questionArea->timeGauge->setProgress(37);
    for (QWidget* w : std::initializer_list<QWidget*>{s.questionArea->questionLabel, s.questionArea->timeStrip, s.questionArea->timeCaption,
                                                      s.questionArea->timeGauge, s.questionArea->creditCaption, s.questionArea->answerFrames[0],
                                                      s.questionArea->answerRows[2], s.questionArea->answerTexts[2]})
        w->show();
    const auto snapshot = [&s] {
        QStringList out;
        for (QWidget* w : s.playArea->findChildren<QWidget*>())
            out << QStringLiteral("%1 %2 %3 %4")
                       .arg(w->objectName())
                       .arg(w->isHidden())
                       .arg(w->font().pointSize())
                       .arg(w->font().pixelSize());
        out << s.questionArea->questionLabel->caption() << s.questionArea->answerTexts[2]->caption()
            << s.questionArea->answerRows[2]->brushColor().name() << QString::number(s.questionArea->timeGauge->progress())
            << QString::number(s.attract->titlePicture->currentPicture().cacheKey());
        return out;
    };
    const QStringList before = snapshot();
    for (const QSize size : {QSize(1000, 500), QSize(800, 600), QSize(652, 253)}) {
        SCOPED_TRACE(size.width());
        playArea(size.width(), size.height());
        EXPECT_EQ(snapshot(), before);
    }
    EXPECT_EQ(s.questionArea->questionLabel->geometry(), QRect(4, 4, 644, 54));
}

// The frame keeps its design size but can be maximised: the play area then fills the screen
// and is laid out for it, and restoring brings back the design layout.
TEST_F(LayoutTest, MaximiseAndRestore) {
    create();
    QuizScreen& s = *screen;
    s.show();
    QApplication::processEvents();
    EXPECT_EQ(s.centralWidget()->size(), QSize(652, 454));
    EXPECT_EQ(s.questionArea->questionLabel->geometry(), QRect(4, 4, 644, 54));

    s.showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(s.isMaximised());
    const QSize play = s.playArea->size();
    EXPECT_GT(play.width(), 652);
    EXPECT_EQ(play.height(), s.centralWidget()->height() - 112 - 89);
    EXPECT_EQ(s.questionArea->questionLabel->geometry(), QRect(4, 4, play.width() - 8, play.width() / 12));
    EXPECT_EQ(s.attract->titlePicture->size(), play);
    EXPECT_EQ(s.questionArea->timeGauge->height(), 22);

    s.showNormal();
    QApplication::processEvents();
    EXPECT_EQ(s.centralWidget()->size(), QSize(652, 454));
    EXPECT_EQ(s.playArea->size(), QSize(652, 253));
    EXPECT_EQ(s.questionArea->questionLabel->geometry(), QRect(4, 4, 644, 54));

    // Dragging the frame in the normal state does not change the design size.
    s.resize(s.width() + 120, s.height() + 80);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(s.centralWidget()->size(), QSize(652, 454));
    EXPECT_EQ(s.attract->titlePicture->size(), QSize(652, 253));
    s.hide();
}
