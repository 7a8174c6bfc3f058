#pragma once

#include <QString>

#include <functional>

// The program's two settings stores: the per-user options ("Trivora" / "Options") and the
// editor's "Pocko.Ini" in the user's configuration folder.
class Settings {
public:
    virtual ~Settings() = default;

    // Text of "Options"/"PlaySound"; "YES" when absent or unreadable.
    virtual QString playSound() const;
    virtual void setPlaySound(const QString& value);
    // Sound is wanted exactly when playSound() is "YES" (case matters).
    bool soundWanted() const { return playSound() == QStringLiteral("YES"); }
    // Called after setPlaySound with whether the value it stored wants sound.
    void setSoundWantedListener(std::function<void(bool wanted)> listener) {
        soundWantedListener = std::move(listener);
    }

    // Text of "Options"/"Speak"; "NO" when absent or unreadable.
    virtual QString speak() const;
    virtual void setSpeak(const QString& value);
    // Spoken play is wanted exactly when speak() is "YES" (case matters).
    bool speechWanted() const { return speak() == QStringLiteral("YES"); }

    // "Options"/"Phones": the phones' server starts with the game ("YES"); off when absent.
    virtual bool phonesWanted() const;
    virtual void setPhonesWanted(bool wanted);
    // "Options"/"PhonesPort": the port the phones use; 0 when absent or not a port.
    virtual int phonesPort() const;
    virtual void setPhonesPort(int port);

    // Text of "ScreenSize"/"QuestionDatabase" in "Pocko.Ini"; "F" when absent.
    virtual QString editorMaximized() const;
    // Returns false when the store refused the write.
    virtual bool setEditorMaximized(bool maximized);

    // Full path of "Pocko.Ini".
    static QString editorIniPath();

private:
    std::function<void(bool)> soundWantedListener;
};
