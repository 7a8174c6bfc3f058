#pragma once

class TClock;
class TDialogs;
class TSettings;
class TShell;

// What the question editor needs from the world outside it.
struct QuestionEditorServices {
    TClock& clock;
    TDialogs& dialogs;
    TShell& shell;
    TSettings& settings;
};
