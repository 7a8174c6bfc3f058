#pragma once

class TClock;
class TDialogs;
class TSettings;
class TShell;

// What the question editor needs from the world outside it.
struct TEditorServices {
    TClock& Clock;
    TDialogs& Dialogs;
    TShell& Shell;
    TSettings& Settings;
};
