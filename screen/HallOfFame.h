#pragma once

#include "CabinetButton.h"
#include "PlayerResult.h"
#include "QuestionSet.h"
#include "QuizGame.h"

#include <QList>
#include <QObject>

class Clock;
class Dialogs;
class HallOfFamePage;
class NameEntryPanel;
class QWidget;
class ScoreKeeper;

// The hall of fame beside the game. It follows the game's phases and verdicts: each verdict
// counts in the question's figures; after the final scores the players whose scores rank enter
// their names (NameEntryPanel), one after the other, and their results are stored together;
// the attract cycle shows the current set's ten best (HallOfFamePage); clearCurrentHall()
// offers to clear the current set's hall. Messages of the store (a damaged database moved
// aside, the venue's server lost) reach the player once, in attract mode on the window shown:
// when it begins, and each time its cycle reaches the page. Without a store the game
// runs as before: no entry, no page.
class HallOfFame : public QObject {
    Q_OBJECT
public:
    // window: the game's window (dialogs and keys); playArea: where the page and the entry go.
    HallOfFame(QuizGame& game, QWidget& window, QWidget& playArea, const Clock& clock,
               ScoreKeeper* store, Dialogs& dialogs);
    ~HallOfFame() override;

    // Ticks the attract page stays up (50 ms each).
    static constexpr int PageTicks = 140;

    // The attract cycle reaches the page: shows the current set's ten best. False (nothing
    // shown) without a store, outside attract mode or without a usable set.
    bool showPage();
    void hidePage();

    // A cabinet button, from a controller or the buttons on screen: used by the name entry
    // while it is open. True when it was used.
    bool pressButton(CabinetButton button);

    // "Clear Hall of Fame": asks, then empties the current set's hall of fame.
    void clearCurrentHall();
    // The hall can be cleared now: a store, and no game under way.
    bool canClear() const;

    // The results waiting for their names, in the order they are entered.
    struct Candidate {
        QuizGame::Standing standing;
        int place = 0;
    };
    const QList<Candidate>& candidates() const { return waiting; }
    // The result whose name is being entered now; none while no entry is open.
    const Candidate* openEntry() const;
    // The name offered for a result: the name typed at the player entry, cleaned.
    static QString offeredName(const Candidate& candidate);
    // A name typed elsewhere (a player's phone) by the player in this slot: taken as the name
    // box takes a typed name while that player's entry is open, else nothing.
    void acceptName(int slot, const QString& name);

    NameEntryPanel* nameEntry = nullptr;
    HallOfFamePage* page = nullptr;

signals:
    // The entry opened for a player whose score ranks at this place.
    void entryOpened(const QString& player, int place);
    // The names are entered: the game's window takes the keys again.
    void entryFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void phaseEntered(QuizGame::Phase phase);
    // A verdict counts in its question's figures.
    void countVerdict(const QString& setFile, const QString& question, bool right);
    // Asked by the game after the final scores: true when some result ranks.
    bool takeRankingResults();
    void startNextEntry();
    void nameAccepted(const QString& name);
    // Stores the results of the entry (names not entered yet stay as offered) and ends it.
    void storeResults();
    void showMessages();

    QuizGame& game;
    QWidget& window;
    ScoreKeeper* store;
    Dialogs& dialogs;
    // The set the game was played on, and its results waiting for names.
    QuestionSet gameSet;
    QList<Candidate> waiting;
    QList<PlayerResult> named;
};
