#pragma once

#include "Cabinet.h"
#include "QuestionArea.h"
#include "GameFixture.h"
#include "VirtualJoystick.h"

#include <QFile>

#include <algorithm>
#include <memory>

// A game screen shown as on a desktop, made a cabinet as the program makes it, with the
// controllers read on the screen's manual clock.
class CabinetFixture : public RealInputFixture {
protected:
    // Creates the screen and the cabinet, and shows the screen as the splash's hand-over does.
    void createCabinet(const ProgramOptions& options = {}, int questions = 20) {
        create(questions);
        cabinet = std::make_unique<Cabinet>(*screen, clock, dialogs, options);
        cabinet->showScreen();
        giveFocus(screen.get());
    }

    // Skips the test where a real controller is connected, which would play as well.
    void skipWithRealControllers() {
        ASSERT_TRUE(cabinet->controllers().available())
            << cabinet->controllers().errorText().toStdString();
        settle();
        if (!cabinet->controllers().connectedNames().isEmpty())
            GTEST_SKIP() << "a controller is connected";
    }

    // Long enough for a device plugged in or out to be noticed.
    void settle() { advance(ControllerInput::hotplugInterval); }
    // A button of a virtual device pressed and released, each seen by a poll.
    void tap(VirtualJoystick& device, int button) {
        device.press(button);
        advance(ControllerInput::pollInterval);
        device.release(button);
        advance(ControllerInput::pollInterval);
    }

    // The answers wait for a choice: they show and none is taken.
    bool answersWaiting() const {
        const auto& lit = screen->display.buttonLit;
        return visible(screen->questionArea->answerTexts[0]) &&
               std::all_of(lit.begin(), lit.end(), [](int on) { return on == 0; });
    }

    void writeOptionsFile(const QByteArray& text) {
        QFile file(settingsFolder.optionsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray readOptionsFile() const {
        QFile file(settingsFolder.optionsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Destroyed before the screen it serves.
    std::unique_ptr<Cabinet> cabinet;
};

// The face button of the common layout that answers each letter: right, bottom, left, top.
inline constexpr int padButtonFor[4] = {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_A,
                                        SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y};
