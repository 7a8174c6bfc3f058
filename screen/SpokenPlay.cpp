#include "SpokenPlay.h"

#include "HallOfFamePage.h"
#include "Settings.h"
#include "Speaker.h"
#include "SpokenTexts.h"

#include <QAction>
#include <QMenu>

namespace {
const QString Yes = QStringLiteral("YES");
const QString No = QStringLiteral("NO");
} // namespace

SpokenPlay::SpokenPlay(QuizGame& game, Speaker* speaker, Settings& settings, QMenu* soundMenu,
                       QObject* parent)
    : QObject(parent), game(game), speaker(speaker), settings(settings) {
    soundMenu->addSeparator();
    action = soundMenu->addAction(QStringLiteral("&Speak"));
    action->setObjectName(QStringLiteral("speakAction"));
    action->setCheckable(true);
    const bool canSpeak = speaker && speaker->available();
    if (canSpeak) {
        action->setChecked(settings.speechWanted());
    } else {
        const QString why = speaker ? speaker->unavailableReason()
                                    : Speaker::noEngineReason();
        action->setEnabled(false);
        action->setToolTip(why);
        action->setStatusTip(why);
        // The tip shows in the menu only when the menu shows tips.
        soundMenu->setToolTipsVisible(true);
    }
    connect(action, &QAction::toggled, this, [this](bool on) { setSpeechOn(on); });
    connect(&game, &QuizGame::phaseChanged, this, [this](QuizGame::Phase p) { announce(p); });
    if (speaker) connect(speaker, &Speaker::finished, this, [this] { lineFinished(); });
}

SpokenPlay::~SpokenPlay() {
    if (speaker && speaker->isSpeaking()) speaker->stop();
}

bool SpokenPlay::speaking() const {
    return action->isChecked() && speaker && speaker->available();
}

void SpokenPlay::setSpeechOn(bool on) {
    settings.setSpeak(on ? Yes : No);
    if (on) return;
    waiting.clear();
    releaseTimeLimit();
    if (speaker && speaker->isSpeaking()) speaker->stop();
}

void SpokenPlay::announceNameEntry(const QString& player, int place) {
    if (speaking()) say(SpokenTexts::nameEntry(player, HallOfFamePage::ordinal(place)));
}

void SpokenPlay::say(const QString& text) {
    waiting.clear();
    start({text, Line::Kind::Plain});
}

void SpokenPlay::sayAfterWholeLine(const Line& line) {
    const bool whole = currentKind == Line::Kind::Question || currentKind == Line::Kind::Prize;
    if (speaker->isSpeaking() && (whole || !waiting.isEmpty()))
        waiting.append(line);
    else
        start(line);
}

void SpokenPlay::start(const Line& line) {
    currentKind = line.kind;
    answersBeingSpoken = line.kind == Line::Kind::Answers;
    speaker->say(line.text);
}

void SpokenPlay::announce(QuizGame::Phase phase) {
    using Phase = QuizGame::Phase;
    if (phase != Phase::AnswersOpen) releaseTimeLimit();
    if (!speaking()) return;
    switch (phase) {
    case Phase::NameEntry:
        // The hall of fame says whose entry opens (announceNameEntry).
        return;
    case Phase::Attract:
    case Phase::Judging:
        // Nothing to say; what was being said is over (an answer cuts the answers short).
        waiting.clear();
        answersBeingSpoken = false;
        if (speaker->isSpeaking()) speaker->stop();
        return;
    case Phase::PlayerEntry:
        say(SpokenTexts::playerEntry());
        return;
    case Phase::GetReady:
        say(SpokenTexts::turn(game.players().current(), game.players().name(game.players().current())));
        return;
    case Phase::Typing:
        sayAfterWholeLine({SpokenTexts::question(game.draw().question()), Line::Kind::Question});
        return;
    case Phase::AnswersOpen: {
        const QStringList shown(game.draw().answers().begin(), game.draw().answers().end());
        const QString answers = SpokenTexts::answers(shown);
        // The clock waits for the answers; the question is heard to its end first.
        game.setTimeLimitHeld(true);
        holdingTimeLimit = true;
        sayAfterWholeLine({answers, Line::Kind::Answers});
        return;
    }
    case Phase::Correct:
        say(SpokenTexts::correct());
        return;
    case Phase::Wrong:
        say(SpokenTexts::wrong(game.draw().correctAnswer()));
        return;
    case Phase::TimeOut:
        say(SpokenTexts::timeOut(game.draw().correctAnswer()));
        return;
    case Phase::Ladder:
        say(SpokenTexts::ladder());
        return;
    case Phase::Prize:
        // The game moves on by itself after the prize: what follows waits for it.
        waiting.clear();
        start({SpokenTexts::prize(dollarsOf(game.ladder().prize())), Line::Kind::Prize});
        return;
    case Phase::PlayerOut:
        say(SpokenTexts::playerOut(game.players().current(), game.players().name(game.players().current())));
        return;
    case Phase::GameOver:
        // A question drawn when the credit was already gone is never played: it is not
        // said, or said no further. The prize before it is heard to its end.
        waiting.clear();
        if (currentKind == Line::Kind::Prize)
            sayAfterWholeLine({SpokenTexts::gameOver(), Line::Kind::Plain});
        else
            say(SpokenTexts::gameOver());
        return;
    case Phase::FinalScores: {
        QList<SpokenTexts::PlayerScore> scores;
        for (const QuizGame::Standing& s : game.finalStandings())
            if (s.played) scores.append({s.slot, s.name, s.score});
        say(SpokenTexts::finalScores(scores));
        return;
    }
    }
}

void SpokenPlay::lineFinished() {
    if (answersBeingSpoken) releaseTimeLimit();
    currentKind = Line::Kind::Plain;
    if (!waiting.isEmpty()) start(waiting.takeFirst());
}

void SpokenPlay::releaseTimeLimit() {
    answersBeingSpoken = false;
    // Only a hold of our own: another one is not ours to end.
    if (holdingTimeLimit) game.setTimeLimitHeld(false);
    holdingTimeLimit = false;
}
