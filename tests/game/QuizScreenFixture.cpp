#include "QuizScreenFixture.h"

void QuizScreenFixture::create(int questions) {
    if (questions > 0) QstFixtures::writeNumberedSet(startupFile(), questions);
    createScreen();
}

void QuizScreenFixture::createScreen() {
    QuizServices services{clock,
                          dialogs,
                          shell,
                          settings,
                          midi,
                          dir.path(),
                          settings.soundWanted(),
                          [this] { return seed; },
                          scores.get(),
                          &speaker};
    screen = std::make_unique<QuizScreen>(services);
    screen->startUp();
}

void QuizScreenFixture::openScores() {
    scores = std::make_unique<ScoreKeeper>(scoresPath(), [this] { return scoresNow; });
}

std::unique_ptr<ScoreStore> QuizScreenFixture::storedScores() {
    if (scores) scores->sync();
    return std::make_unique<ScoreStore>(scoresPath(), QString(), nullptr,
                                        ScoreStore::Recovery::ReadOnly);
}
