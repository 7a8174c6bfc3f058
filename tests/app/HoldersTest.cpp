#include "Artwork.h"
#include "QuizFixture.h"

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

using HoldersTest = TQuizFixture;

// Every hidden picture holder of the game screen holds its artwork at the size the screen
// shows it, and the artwork itself is drawn at that size.
TEST_F(HoldersTest, EveryHolderHasItsPictureAtItsSize) {
    Create();
    TQuizScreen& s = *Screen;
    struct TRow {
        TImage* Holder;
        QString Art;
        QSize Size;
    };
    std::vector<TRow> rows = {
        {s.AIn, "button-a-lit", Button},
        {s.AOut, "button-a", Button},
        {s.Bin, "button-b-lit", Button},
        {s.Bout, "button-b", Button},
        {s.CIn, "button-c-lit", Button},
        {s.Cout, "button-c", Button},
        {s.Din, "button-d-lit", Button},
        {s.Dout, "button-d", Button},
        {s.StartIn, "button-start-lit", Button},
        {s.StartOut, "button-start", Button},
        {s.StopIn, "button-stop-lit", Button},
        {s.StopOut, "button-stop", Button},
        {s.NB, "digit-blank", DigitSize},
        {s.LogoIn, "logo-in", Logo},
        {s.LogoOut, "logo-out", Logo},
        {s.CorrectIn, "correct-in", Correct},
        {s.CorrectOut, "correct-out", Correct},
        {s.OneDollarOn, "lamp-1-on", Lamp},
        {s.OneDollarOff, "lamp-1-off", Lamp},
        {s.FiveDollarOn, "lamp-5-on", Lamp},
        {s.FiveDollarOff, "lamp-5-off", Lamp},
        {s.FifteenDollarOn, "lamp-15-on", Lamp},
        {s.FifteenDollarOff, "lamp-15-off", Lamp},
        {s.FiftyDollarOn, "lamp-50-on", Lamp},
        {s.FiftyDollarOff, "lamp-50-off", Lamp},
        {s.LoseOn, "lamp-lose-on", Lamp},
        {s.LoseOff, "lamp-lose-off", Lamp},
    };
    for (int d = 0; d < 10; ++d)
        rows.push_back(
            {s.N[static_cast<std::size_t>(d)], QStringLiteral("digit-%1").arg(d), DigitSize});

    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Holder->objectName().toStdString());
        EXPECT_TRUE(row.Holder->isHidden());
        EXPECT_EQ(row.Holder->Picture().deviceIndependentSize().toSize(), row.Size);
        EXPECT_EQ(Artwork::DesignSize(row.Art), row.Size) << row.Art.toStdString();
        // The blank digit is meant to be an unlit LED, not nothing at all.
        EXPECT_TRUE(HasInk(row.Holder->Picture()));
    }

    // Holder takes each digit the meter shows, at the digits' size.
    s.DisplayCreditClick();
    EXPECT_EQ(s.Holder->Picture().deviceIndependentSize().toSize(), DigitSize);
    EXPECT_TRUE(s.Holder->isHidden());
}

// Lit and unlit pictures of a button or lamp differ, so a state change can be seen.
TEST_F(HoldersTest, LitAndUnlitPicturesDiffer) {
    Create();
    TQuizScreen& s = *Screen;
    const std::pair<TImage*, TImage*> pairs[] = {{s.AIn, s.AOut},
                                                 {s.Bin, s.Bout},
                                                 {s.CIn, s.Cout},
                                                 {s.Din, s.Dout},
                                                 {s.StartIn, s.StartOut},
                                                 {s.StopIn, s.StopOut},
                                                 {s.LogoIn, s.LogoOut},
                                                 {s.CorrectIn, s.CorrectOut},
                                                 {s.OneDollarOn, s.OneDollarOff},
                                                 {s.FiveDollarOn, s.FiveDollarOff},
                                                 {s.FifteenDollarOn, s.FifteenDollarOff},
                                                 {s.FiftyDollarOn, s.FiftyDollarOff},
                                                 {s.LoseOn, s.LoseOff}};
    for (const auto& [lit, unlit] : pairs) {
        SCOPED_TRACE(lit->objectName().toStdString());
        EXPECT_NE(lit->Picture().toImage(), unlit->Picture().toImage());
    }
}
