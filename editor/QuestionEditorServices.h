#pragma once

class Clock;
class Dialogs;
class Settings;
class Shell;

// What the question editor needs from the world outside it.
struct QuestionEditorServices {
    Clock& clock;
    Dialogs& dialogs;
    Shell& shell;
    Settings& settings;
};
