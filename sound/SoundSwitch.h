#pragma once

#include <QObject>

// Whether the game's sound plays: the player's wish (the Sound menu, stored as the setting
// "PlaySound"), muted while another window of the program has the player (the question
// editor), and off for the run when the synthesizer could not be set up. Every cue asks on()
// as it is sent; a note already playing is not stopped.
class SoundSwitch : public QObject {
    Q_OBJECT
public:
    explicit SoundSwitch(bool wanted, QObject* parent = nullptr)
        : QObject(parent), m_wanted(wanted) {}

    bool on() const { return m_wanted && !m_muted && m_available; }
    // The player's wish, as the menu shows it and the settings store it.
    bool wanted() const { return m_wanted; }
    bool muted() const { return m_muted; }
    // The synthesizer works; false after its set-up failed, for the rest of the run.
    bool available() const { return m_available; }

    void setWanted(bool wanted) {
        if (wanted == m_wanted) return;
        m_wanted = wanted;
        emit changed();
    }
    void setMuted(bool muted) {
        if (muted == m_muted) return;
        m_muted = muted;
        emit changed();
    }
    // The set-up failed: no sound for this run, and the wish is not asked again.
    void setUnavailable() {
        m_available = false;
        m_wanted = false;
        emit changed();
    }

signals:
    // The wish, the mute or the availability changed.
    void changed();

private:
    bool m_wanted;
    bool m_muted = false;
    bool m_available = true;
};
