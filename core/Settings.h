#pragma once

#include <QString>

#include <functional>

// The program's two settings stores: the per-user options ("Trivora" / "Options") and the
// editor's "Pocko.Ini" in the user's configuration folder.
class TSettings {
public:
    virtual ~TSettings() = default;

    // Text of "Options"/"PlaySound"; "YES" when absent or unreadable.
    virtual QString PlaySound() const;
    virtual void SetPlaySound(const QString& value);
    // Sound is wanted exactly when PlaySound() is "YES" (case matters).
    bool SoundWanted() const { return PlaySound() == QStringLiteral("YES"); }
    // Called after SetPlaySound with whether the value it stored wants sound.
    void setSoundWantedListener(std::function<void(bool wanted)> listener) {
        soundWantedListener = std::move(listener);
    }

    // Text of "Options"/"Speak"; "NO" when absent or unreadable.
    virtual QString Speak() const;
    virtual void SetSpeak(const QString& value);
    // Spoken play is wanted exactly when Speak() is "YES" (case matters).
    bool SpeechWanted() const { return Speak() == QStringLiteral("YES"); }

    // Text of "ScreenSize"/"QuestionDatabase" in "Pocko.Ini"; "F" when absent.
    virtual QString EditorMaximized() const;
    // Returns false when the store refused the write.
    virtual bool SetEditorMaximized(bool maximized);

    // Full path of "Pocko.Ini".
    static QString EditorIniPath();

private:
    std::function<void(bool)> soundWantedListener;
};
