#include "QuizScreenFixture.h"
#include "PlayerEntryPanel.h"

#include <string>
#include <vector>

namespace {
// The five pictures of the sequence that are showing, by name.
std::string showingStages(const QuizScreen& s) {
    std::string out;
    const std::pair<const char*, const ImageView*> stages[] = {{"1", s.attract->companyLogo},
                                                               {"2", s.attract->presentsCaption},
                                                               {"3", s.attract->titlePicture},
                                                               {"3B", s.attract->titlePictureLit},
                                                               {"4", s.attract->pressStartPrompt}};
    for (const auto& [name, image] : stages)
        if (!image->isHidden()) out += std::string(out.empty() ? "" : " ") + name;
    return out;
}
} // namespace

class AttractTest : public QuizScreenFixture {
protected:
    // Runs n ticks of the 50 ms picture sequence.
    void ticks(int n) { advance(50LL * n); }
    // The play area at another height, laid out for it.
    void playAreaHeight(int height) {
        screen->playArea->resize(652, height);
        screen->layOutPlayArea();
    }
};

// The button cycle moves the light A, B, C, D and swaps START and STOP on every 200 ms tick.
TEST_F(AttractTest, ButtonCycleLightsOneButtonAndAlternatesStartAndStop) {
    create();
    QuizScreen& s = *screen;
    ASSERT_EQ(s.display.startLit, 0);
    ASSERT_EQ(s.display.buttonCycle, 0);
    ImageView* buttons[4] = {s.buttons->answerButtonA, s.buttons->answerButtonB, s.buttons->answerButtonC, s.buttons->answerButtonD};
    ImageView* lit[4] = {s.buttons->answerALitPicture, s.buttons->answerBLitPicture, s.buttons->answerCLitPicture,
                         s.buttons->answerDLitPicture};
    ImageView* unlit[4] = {s.buttons->answerAPicture, s.buttons->answerBPicture, s.buttons->answerCPicture, s.buttons->answerDPicture};
    for (int tick = 0; tick < 9; ++tick) {
        SCOPED_TRACE(tick);
        advance(199);
        advance(1);
        const int on = tick % 4;
        const bool startLit = tick % 2 == 0;
        for (int b = 0; b < 4; ++b) {
            EXPECT_TRUE(shows(buttons[b], b == on ? lit[b] : unlit[b]));
            EXPECT_EQ(s.display.buttonLit[static_cast<std::size_t>(b)], b == on ? 1 : 0);
        }
        EXPECT_TRUE(shows(s.buttons->startButton, startLit ? s.buttons->startLitPicture : s.buttons->startPicture));
        EXPECT_EQ(s.display.startLit, startLit ? 1 : 0);
        EXPECT_TRUE(shows(s.buttons->stopButton, startLit ? s.buttons->stopPicture : s.buttons->stopLitPicture));
        EXPECT_EQ(s.display.stopLit, startLit ? 0 : 1);
        EXPECT_EQ(s.display.buttonCycle, (tick + 1) % 4);
    }
}

// One round of the picture sequence is 240 ticks: 5 blank, 30 logo, 30 logo and caption, 1,
// 104 flashing title logo, 70 prompt; each change falls on its exact tick.
TEST_F(AttractTest, PictureSequenceTiming) {
    create();
    QuizScreen& s = *screen;
    ASSERT_GE(s.attract->titlePicture->height(), 193);
    struct Step {
        int tick; // ticks since the reset
        const char* showing;
        int stage;
        bool logoTimer;
    };
    const Step steps[] = {
        {4, "", 0, false},     {5, "1", 1, false},     {34, "1", 1, false}, {35, "1 2", 2, false},
        {64, "1 2", 2, false}, {65, "3", 2, true},     {66, "3", 3, true},  {169, "*", 3, true},
        {170, "4", 4, false},  {239, "4", 4, false},   {240, "", 0, false}, {244, "", 0, false},
        {245, "1", 1, false},  {275, "1 2", 2, false}, {305, "3", 2, true},
    };
    int at = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.tick);
        ticks(step.tick - at);
        at = step.tick;
        if (std::string(step.showing) == "*") {
            const std::string showing = showingStages(s);
            EXPECT_TRUE(showing == "3" || showing == "3B") << showing;
        } else {
            EXPECT_EQ(showingStages(s), step.showing);
        }
        EXPECT_EQ(s.display.attractStage, step.stage);
        EXPECT_EQ(s.attract->titleFlashTimer->enabled(), step.logoTimer);
    }
}

// The title logo swaps its two versions every 370 ms while it shows, about 14 times a round.
TEST_F(AttractTest, TitleLogoAlternates) {
    create();
    QuizScreen& s = *screen;
    ticks(65); // the title picture appears, its timer starts now (t = 3250 ms)
    std::vector<std::string> seen;
    for (int swap = 0; swap < 3; ++swap) {
        advance(369);
        seen.push_back(showingStages(s));
        advance(1);
        seen.push_back(showingStages(s));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"3", "3B", "3B", "3", "3", "3B"}));

    // Counting the swaps over the whole stage.
    int swaps = 3;
    std::string last = showingStages(s);
    for (int ms = 3 * 370; ms < 105 * 50; ms += 10) {
        advance(10);
        const std::string now = showingStages(s);
        if (now != last && (now == "3" || now == "3B")) ++swaps;
        last = now;
    }
    EXPECT_EQ(showingStages(s), "4");
    EXPECT_EQ(swaps, 14);
}

// The title stage needs a play area 193 pixels high: at 192 the title flashes on until the
// reset and the prompt never shows.
TEST_F(AttractTest, LowPlayAreaStaysOnTheTitle) {
    struct Case {
        int height;
        bool movesOn;
    };
    for (const Case c : {Case{192, false}, Case{193, true}}) {
        SCOPED_TRACE(c.height);
        create();
        playAreaHeight(c.height);
        ticks(66);
        EXPECT_EQ(screen->display.attractStage, c.movesOn ? 3 : 2);
        ticks(104);
        EXPECT_EQ(showingStages(*screen) == "4", c.movesOn);
        if (!c.movesOn) {
            ticks(2000);
            EXPECT_EQ(screen->display.attractStage, 2);
            EXPECT_TRUE(screen->attract->titleFlashTimer->enabled());
            EXPECT_TRUE(visible(screen->attract->titlePicture) != visible(screen->attract->titlePictureLit));
            // The reset starts the sequence again from the blank stage.
            screen->game.enterAttractMode();
            EXPECT_EQ(showingStages(*screen), "");
            EXPECT_EQ(screen->display.attractStage, 0);
            EXPECT_EQ(screen->display.attractTicks, 0);
        }
    }
}

// Once a question is under way the button cycle and the picture sequence hold still, counters
// included, and their pictures are gone; the top logo flashes on, in games and while the screen
// is paused.
TEST_F(AttractTest, GameStopsTheAttractButNotTheTopLogo) {
    create();
    QuizScreen& s = *screen;
    ticks(40); // stage 1 with the logo
    s.game.pressStart();
    s.playerPanel->confirm();
    for (int i = 0; i < 200 && s.game.phase() != QuizGame::Phase::Typing; ++i)
        ticks(1);
    ASSERT_EQ(s.game.phase(), QuizGame::Phase::Typing);
    const ScreenState before = s.display;
    const qint64 stopPicture = s.buttons->stopButton->currentPicture().cacheKey();
    for (int i = 0; i < 4; ++i) {
        const int phase = s.display.logoPhase;
        advance(500);
        EXPECT_EQ(s.display.logoPhase, 1 - phase);
        EXPECT_TRUE(
            shows(s.titleBand->topLogo, s.display.logoPhase == 1 ? s.titleBand->topLogoLitPicture : s.titleBand->topLogoPicture));
    }
    EXPECT_EQ(s.display.buttonCycle, before.buttonCycle);
    EXPECT_EQ(s.display.startLit, before.startLit);
    EXPECT_EQ(s.display.attractStage, before.attractStage);
    EXPECT_EQ(s.display.attractTicks, before.attractTicks);
    EXPECT_EQ(s.buttons->stopButton->currentPicture().cacheKey(), stopPicture);
    EXPECT_EQ(showingStages(s), "");

    s.pauseGame();
    const int phase = s.display.logoPhase;
    advance(500);
    EXPECT_EQ(s.display.logoPhase, 1 - phase);
}
