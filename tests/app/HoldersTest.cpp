#include "Artwork.h"
#include "QuestionArea.h"
#include "PrizeLadderView.h"
#include "QuizScreenFixture.h"

#include <QImage>

namespace {
constexpr QSize button(88, 72);
constexpr QSize digitSize(24, 37);
constexpr QSize lamp(105, 105);
constexpr QSize logo(401, 102);
constexpr QSize correct(556, 186);

// The picture has something to show: not one pixel of it is transparent everywhere.
bool hasInk(const QPixmap& picture) {
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return true;
    return false;
}
} // namespace

using HoldersTest = QuizScreenFixture;

// Every hidden picture holder of the game screen holds its artwork at the size the screen
// shows it, and the artwork itself is drawn at that size.
TEST_F(HoldersTest, EveryHolderHasItsPictureAtItsSize) {
    create();
    QuizScreen& s = *screen;
    struct Row {
        ImageView* holder;
        QString art;
        QSize size;
    };
    std::vector<Row> rows = {
        {s.buttons->answerALitPicture, "button-a-lit", button},
        {s.buttons->answerAPicture, "button-a", button},
        {s.buttons->answerBLitPicture, "button-b-lit", button},
        {s.buttons->answerBPicture, "button-b", button},
        {s.buttons->answerCLitPicture, "button-c-lit", button},
        {s.buttons->answerCPicture, "button-c", button},
        {s.buttons->answerDLitPicture, "button-d-lit", button},
        {s.buttons->answerDPicture, "button-d", button},
        {s.buttons->startLitPicture, "button-start-lit", button},
        {s.buttons->startPicture, "button-start", button},
        {s.buttons->stopLitPicture, "button-stop-lit", button},
        {s.buttons->stopPicture, "button-stop", button},
        {s.questionArea->blankDigitPicture, "digit-blank", digitSize},
        {s.titleBand->topLogoLitPicture, "logo-in", logo},
        {s.titleBand->topLogoPicture, "logo-out", logo},
        {s.banners->correctLitPicture, "correct-in", correct},
        {s.banners->correctDimPicture, "correct-out", correct},
        {s.ladder->litPictures[0], "lamp-1-on", lamp},
        {s.ladder->unlitPictures[0], "lamp-1-off", lamp},
        {s.ladder->litPictures[1], "lamp-5-on", lamp},
        {s.ladder->unlitPictures[1], "lamp-5-off", lamp},
        {s.ladder->litPictures[2], "lamp-15-on", lamp},
        {s.ladder->unlitPictures[2], "lamp-15-off", lamp},
        {s.ladder->litPictures[3], "lamp-50-on", lamp},
        {s.ladder->unlitPictures[3], "lamp-50-off", lamp},
        {s.ladder->litPictures[4], "lamp-lose-on", lamp},
        {s.ladder->unlitPictures[4], "lamp-lose-off", lamp},
    };
    for (int d = 0; d < 10; ++d)
        rows.push_back({s.questionArea->digitPictures[static_cast<std::size_t>(d)],
                        QStringLiteral("digit-%1").arg(d), digitSize});

    for (const Row& row : rows) {
        SCOPED_TRACE(row.holder->objectName().toStdString());
        EXPECT_TRUE(row.holder->isHidden());
        EXPECT_EQ(row.holder->currentPicture().deviceIndependentSize().toSize(), row.size);
        EXPECT_EQ(Artwork::designSize(row.art), row.size) << row.art.toStdString();
        // The blank digit is meant to be an unlit LED, not nothing at all.
        EXPECT_TRUE(hasInk(row.holder->currentPicture()));
    }

    // Holder takes each digit the meter shows, at the digits' size.
    s.questionArea->showCredit(s.game.players().credit());
    EXPECT_EQ(s.questionArea->digitHolder->currentPicture().deviceIndependentSize().toSize(), digitSize);
    EXPECT_TRUE(s.questionArea->digitHolder->isHidden());
}

// Lit and unlit pictures of a button or lamp differ, so a state change can be seen.
TEST_F(HoldersTest, LitAndUnlitPicturesDiffer) {
    create();
    QuizScreen& s = *screen;
    const std::pair<ImageView*, ImageView*> pairs[] = {
        {s.buttons->answerALitPicture, s.buttons->answerAPicture},
        {s.buttons->answerBLitPicture, s.buttons->answerBPicture},
        {s.buttons->answerCLitPicture, s.buttons->answerCPicture},
        {s.buttons->answerDLitPicture, s.buttons->answerDPicture},
        {s.buttons->startLitPicture, s.buttons->startPicture},
        {s.buttons->stopLitPicture, s.buttons->stopPicture},
        {s.titleBand->topLogoLitPicture, s.titleBand->topLogoPicture},
        {s.banners->correctLitPicture, s.banners->correctDimPicture},
        {s.ladder->litPictures[0], s.ladder->unlitPictures[0]},
        {s.ladder->litPictures[1], s.ladder->unlitPictures[1]},
        {s.ladder->litPictures[2], s.ladder->unlitPictures[2]},
        {s.ladder->litPictures[3], s.ladder->unlitPictures[3]},
        {s.ladder->litPictures[4], s.ladder->unlitPictures[4]}};
    for (const auto& [lit, unlit] : pairs) {
        SCOPED_TRACE(lit->objectName().toStdString());
        EXPECT_NE(lit->currentPicture().toImage(), unlit->currentPicture().toImage());
    }
}
