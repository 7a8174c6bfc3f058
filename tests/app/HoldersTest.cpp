#include "Artwork.h"
#include "QuizScreenFixture.h"

#include <QImage>

namespace {
constexpr QSize Button(88, 72);
constexpr QSize DigitSize(24, 37);
constexpr QSize Lamp(105, 105);
constexpr QSize Logo(401, 102);
constexpr QSize Correct(556, 186);

// The picture has something to show: not one pixel of it is transparent everywhere.
bool HasInk(const QPixmap& picture) {
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
    struct TRow {
        TImage* Holder;
        QString Art;
        QSize Size;
    };
    std::vector<TRow> rows = {
        {s.answerALitPicture, "button-a-lit", Button},
        {s.answerAPicture, "button-a", Button},
        {s.answerBLitPicture, "button-b-lit", Button},
        {s.answerBPicture, "button-b", Button},
        {s.answerCLitPicture, "button-c-lit", Button},
        {s.answerCPicture, "button-c", Button},
        {s.answerDLitPicture, "button-d-lit", Button},
        {s.answerDPicture, "button-d", Button},
        {s.startLitPicture, "button-start-lit", Button},
        {s.startPicture, "button-start", Button},
        {s.stopLitPicture, "button-stop-lit", Button},
        {s.stopPicture, "button-stop", Button},
        {s.blankDigitPicture, "digit-blank", DigitSize},
        {s.topLogoLitPicture, "logo-in", Logo},
        {s.topLogoPicture, "logo-out", Logo},
        {s.correctLitPicture, "correct-in", Correct},
        {s.correctDimPicture, "correct-out", Correct},
        {s.oneDollarLitPicture, "lamp-1-on", Lamp},
        {s.oneDollarPicture, "lamp-1-off", Lamp},
        {s.fiveDollarLitPicture, "lamp-5-on", Lamp},
        {s.fiveDollarPicture, "lamp-5-off", Lamp},
        {s.fifteenDollarLitPicture, "lamp-15-on", Lamp},
        {s.fifteenDollarPicture, "lamp-15-off", Lamp},
        {s.fiftyDollarLitPicture, "lamp-50-on", Lamp},
        {s.fiftyDollarPicture, "lamp-50-off", Lamp},
        {s.loseLitPicture, "lamp-lose-on", Lamp},
        {s.losePicture, "lamp-lose-off", Lamp},
    };
    for (int d = 0; d < 10; ++d)
        rows.push_back({s.digitPictures[static_cast<std::size_t>(d)],
                        QStringLiteral("digit-%1").arg(d), DigitSize});

    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Holder->objectName().toStdString());
        EXPECT_TRUE(row.Holder->isHidden());
        EXPECT_EQ(row.Holder->Picture().deviceIndependentSize().toSize(), row.Size);
        EXPECT_EQ(Artwork::DesignSize(row.Art), row.Size) << row.Art.toStdString();
        // The blank digit is meant to be an unlit LED, not nothing at all.
        EXPECT_TRUE(HasInk(row.Holder->Picture()));
    }

    // Holder takes each digit the meter shows, at the digits' size.
    s.showCredit();
    EXPECT_EQ(s.digitHolder->Picture().deviceIndependentSize().toSize(), DigitSize);
    EXPECT_TRUE(s.digitHolder->isHidden());
}

// Lit and unlit pictures of a button or lamp differ, so a state change can be seen.
TEST_F(HoldersTest, LitAndUnlitPicturesDiffer) {
    create();
    QuizScreen& s = *screen;
    const std::pair<TImage*, TImage*> pairs[] = {
        {s.answerALitPicture, s.answerAPicture},
        {s.answerBLitPicture, s.answerBPicture},
        {s.answerCLitPicture, s.answerCPicture},
        {s.answerDLitPicture, s.answerDPicture},
        {s.startLitPicture, s.startPicture},
        {s.stopLitPicture, s.stopPicture},
        {s.topLogoLitPicture, s.topLogoPicture},
        {s.correctLitPicture, s.correctDimPicture},
        {s.oneDollarLitPicture, s.oneDollarPicture},
        {s.fiveDollarLitPicture, s.fiveDollarPicture},
        {s.fifteenDollarLitPicture, s.fifteenDollarPicture},
        {s.fiftyDollarLitPicture, s.fiftyDollarPicture},
        {s.loseLitPicture, s.losePicture}};
    for (const auto& [lit, unlit] : pairs) {
        SCOPED_TRACE(lit->objectName().toStdString());
        EXPECT_NE(lit->Picture().toImage(), unlit->Picture().toImage());
    }
}
