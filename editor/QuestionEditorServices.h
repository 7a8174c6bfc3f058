#pragma once

class Dialogs;
class ScoreStore;
class Settings;
class Shell;

// What the question editor needs from the world outside it.
struct QuestionEditorServices {
    Dialogs& dialogs;
    Shell& shell;
    Settings& settings;
    // The questions' figures, shown under the question number; none: no figures.
    ScoreStore* scores = nullptr;
};
