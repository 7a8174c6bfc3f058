#include "HallOfFame.h"

#include "Dialogs.h"
#include "HallOfFamePage.h"
#include "HallRanking.h"
#include "NameEntryPanel.h"
#include "ScoreKeeper.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

HallOfFame::HallOfFame(QuizGame& game, QWidget& window, QWidget& playArea, const Clock& clock,
                       ScoreKeeper* store, Dialogs& dialogs)
    : game(game), window(window), store(store), dialogs(dialogs) {
    page = new HallOfFamePage(&playArea);
    page->hide();
    nameEntry = new NameEntryPanel(&playArea, clock);
    connect(nameEntry, &NameEntryPanel::accepted, this, &HallOfFame::nameAccepted);

    connect(&game, &QuizGame::phaseChanged, this, &HallOfFame::phaseEntered);
    connect(&game, &QuizGame::questionJudged, this, &HallOfFame::countVerdict);
    game.setNameEntryWanted([this] { return takeRankingResults(); });
    // Keys that reach the window during the entry belong to the name box.
    window.installEventFilter(this);
}

HallOfFame::~HallOfFame() {
    // The window closes during the entry: the scores are kept under the names offered.
    if (!waiting.isEmpty()) storeResults();
    game.setNameEntryWanted(nullptr);
}

bool HallOfFame::showPage() {
    if (!store || game.phase() != QuizGame::Phase::Attract) return false;
    // A message that came between games (the venue's server lost while the pictures run) is
    // told now, while it is still news, not after the next game; out of the cycle's tick.
    if (window.isVisible()) QTimer::singleShot(0, this, &HallOfFame::showMessages);
    if (!page->load(*store, game.draw().file())) return false;
    page->show();
    return true;
}

void HallOfFame::hidePage() {
    page->hide();
}

bool HallOfFame::pressButton(CabinetButton button) {
    if (game.phase() != QuizGame::Phase::NameEntry) return false;
    return nameEntry->pressButton(button);
}

const HallOfFame::Candidate* HallOfFame::openEntry() const {
    if (game.phase() != QuizGame::Phase::NameEntry || nameEntry->isHidden() ||
        named.size() >= waiting.size())
        return nullptr;
    return &waiting[named.size()];
}

QString HallOfFame::offeredName(const Candidate& candidate) {
    return ScoreStore::cleanName(candidate.standing.typedName);
}

void HallOfFame::acceptName(int slot, const QString& name) {
    const Candidate* open = openEntry();
    if (open && open->standing.slot == slot) nameEntry->acceptName(name);
}

bool HallOfFame::canClear() const {
    // Between games only: a dialog during a game would let its timers run on behind it.
    using Phase = QuizGame::Phase;
    return store && (game.phase() == Phase::Attract || game.phase() == Phase::PlayerEntry);
}

void HallOfFame::clearCurrentHall() {
    if (!store || game.gameRunning()) return;
    const QuestionSet set = QuestionSet::fromFile(game.draw().file());
    if (!set.isValid()) {
        dialogs.warning(&window, QuestionDraw::selectQuestionFileMessage);
        return;
    }
    if (!dialogs.confirm(&window,
                         QStringLiteral("Clear the hall of fame of the question set \"%1\"?\n\n"
                                        "Its scores will be deleted for good. The figures of "
                                        "its questions and the halls of other sets are kept.")
                             .arg(set.fileName())))
        return;
    store->clearHallOfFame(set);
    if (!page->isHidden()) page->load(*store, game.draw().file());
    showMessages();
}

void HallOfFame::phaseEntered(QuizGame::Phase phase) {
    using Phase = QuizGame::Phase;
    if (phase != Phase::Attract) hidePage();
    switch (phase) {
    case Phase::PlayerEntry:
        gameSet = QuestionSet();
        break;
    case Phase::Typing:
        // The hall the game's results go to: the set of its questions.
        if (const QuestionSet set = QuestionSet::fromFile(game.draw().file()); set.isValid())
            gameSet = set;
        break;
    case Phase::NameEntry:
        if (waiting.isEmpty()) {
            game.finishNameEntry();
            return;
        }
        startNextEntry();
        break;
    case Phase::Attract:
        hidePage();
        // An entry left unfinished (the editor was opened over it) keeps its scores.
        if (!waiting.isEmpty()) storeResults();
        // The game's answers go to the venue even when nobody entered the hall.
        if (store) store->finishGame();
        // The page's hall is read while the attract pictures show.
        if (store) store->watch(QuestionSet::fromFile(game.draw().file()));
        // Before the window is first shown (at start-up, behind the splash) the messages
        // wait for it.
        if (window.isVisible()) showMessages();
        break;
    default:
        break;
    }
}

void HallOfFame::countVerdict(const QString& setFile, const QString& question, bool right) {
    if (!store || question.isEmpty()) return;
    const QuestionSet set = QuestionSet::fromFile(setFile);
    if (set.isValid()) store->recordAnswer(set, question, right);
}

bool HallOfFame::takeRankingResults() {
    waiting.clear();
    named.clear();
    if (!store || !gameSet.isValid()) return false;
    QList<QuizGame::Standing> players;
    QList<PlayerResult> results;
    for (const QuizGame::Standing& s : game.finalStandings()) {
        if (!s.played) continue;
        players.append(s);
        results.append({s.name, s.score, s.questionsPlayed});
    }
    for (const RankedResult& r : rankResults(*store, gameSet, results))
        waiting.append({players[r.index], r.place});
    return !waiting.isEmpty();
}

void HallOfFame::startNextEntry() {
    const Candidate& c = waiting[named.size()];
    nameEntry->start(c.standing.name, c.place, c.standing.score, offeredName(c));
    emit entryOpened(c.standing.name, c.place);
}

void HallOfFame::nameAccepted(const QString& name) {
    if (named.size() >= waiting.size()) return;
    const Candidate& c = waiting[named.size()];
    // A player who enters nothing is kept under the name the game showed.
    const QString kept = ScoreStore::cleanName(name);
    named.append(
        {kept.isEmpty() ? c.standing.name : kept, c.standing.score, c.standing.questionsPlayed});
    if (named.size() < waiting.size()) {
        startNextEntry();
        return;
    }
    storeResults();
    emit entryFinished();
    game.finishNameEntry();
}

void HallOfFame::storeResults() {
    for (qsizetype i = named.size(); i < waiting.size(); ++i) {
        const QuizGame::Standing& s = waiting[i].standing;
        const QString offered = ScoreStore::cleanName(s.typedName);
        named.append({offered.isEmpty() ? s.name : offered, s.score, s.questionsPlayed});
    }
    const QList<PlayerResult> results = std::exchange(named, {});
    waiting.clear();
    nameEntry->hide();
    if (store && !results.isEmpty()) store->recordGame(gameSet, results);
}

void HallOfFame::showMessages() {
    // Between games only: a dialog during a game would let its timers run on behind it.
    if (!store || game.phase() != QuizGame::Phase::Attract) return;
    for (const QString& message : store->takeMessages())
        dialogs.warning(&window, message);
}

bool HallOfFame::eventFilter(QObject* watched, QEvent* event) {
    // Once the screen is up, with nothing else of it left to set up.
    if (watched == &window && event->type() == QEvent::Show)
        QTimer::singleShot(0, this, &HallOfFame::showMessages);
    if (watched != &window || event->type() != QEvent::KeyPress || nameEntry->isHidden() ||
        game.phase() != QuizGame::Phase::NameEntry)
        return false;
    // A key the name box passed on has been dealt with there.
    if (window.focusWidget() == nameEntry->nameBox) return false;
    nameEntry->nameBox->setFocus();
    QCoreApplication::sendEvent(nameEntry->nameBox, event);
    return true;
}
