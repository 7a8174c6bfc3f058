#include "QuizFixture.h"

void TQuizFixture::Create(int questions) {
    if (questions > 0) QstFixtures::WriteNumberedSet(StartupFile(), questions);
    CreateScreen();
}

void TQuizFixture::CreateScreen() {
    TQuizServices services{
        Clock, Dialogs, Shell, Settings, Midi, FDir.path(), Settings.SoundWanted(), [this] {
            return Seed;
        }};
    Screen = std::make_unique<TQuizScreen>(services);
    Screen->FormCreated();
}
