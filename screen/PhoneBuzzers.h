#pragma once

#include <QObject>
#include <QString>

#include <memory>

class Clock;
class Dialogs;
class HallOfFame;
class PhoneBadge;
class PhoneGameBridge;
class PhoneServer;
class QuizGame;
class QWidget;
class Settings;

// Phones as buzzers on the game screen: starts and stops the phones' server and its bridge to
// the game, shows how to join on the attract screen and the player entry, and keeps the choice
// (on or off, and the port) in the settings.
class PhoneBuzzers : public QObject {
    Q_OBJECT
public:
    // The port used when none was chosen.
    static constexpr quint16 defaultPort = 8088;

    // window: the dialogs' parent; playArea: where the join card shows; hallOfFame: whose
    // name entry a ranking player's phone may fill (none: names are entered at the cabinet).
    PhoneBuzzers(QuizGame& game, Clock& clock, Dialogs& dialogs, Settings& settings,
                 QWidget* window, QWidget* playArea, HallOfFame* hallOfFame = nullptr);
    ~PhoneBuzzers() override;

    // Starts the phones on a port (0: the stored one). When the port is in use the player is
    // told and offered a free one. True when the phones are on.
    bool start(quint16 port = 0);
    // Tells every phone and stops.
    void stop();
    bool running() const;
    // The menu entry: switches the phones on, or (after asking) off.
    void toggle();

    PhoneServer* server() const { return m_server.get(); }
    PhoneGameBridge* bridge() const { return m_bridge.get(); }
    PhoneBadge* badge() const { return m_badge; }

signals:
    // A phone took a player slot.
    void playerNamed(int slot, const QString& name);
    // The phones were switched on or off.
    void runningChanged(bool running);

private:
    void showBadge();
    // The phones are told of the hall of fame's open name entry, and its player's phone may
    // send the name.
    void followNameEntry();
    void offerNameEntry();

    QuizGame& m_game;
    Clock& m_clock;
    Dialogs& m_dialogs;
    Settings& m_settings;
    QWidget* m_window;
    HallOfFame* m_hallOfFame;
    PhoneBadge* m_badge;
    std::unique_ptr<PhoneServer> m_server;
    std::unique_ptr<PhoneGameBridge> m_bridge;
};
