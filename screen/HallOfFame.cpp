#include "HallOfFame.h"

#include "Dialogs.h"
#include "HallOfFamePage.h"
#include "NameEntryPanel.h"
#include "QuizScreen.h"
#include "ScoreKeeper.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

HallOfFame::HallOfFame(QuizScreen& screen, ScoreKeeper* store, Dialogs& dialogs)
    : screen(screen), game(screen.game), store(store), dialogs(dialogs) {
    page = new HallOfFamePage(screen.playArea);
    page->hide();
    // Among the attract pictures, beneath every panel of a game.
    page->stackUnder(screen.upperBanner);
    nameEntry = new NameEntryPanel(screen.playArea, screen.clock());
    connect(nameEntry, &NameEntryPanel::accepted, this, &HallOfFame::nameAccepted);

    connect(&game, &QuizGame::phaseChanged, this, &HallOfFame::phaseEntered);
    game.nameEntryWanted = [this] { return takeRankingResults(); };

    // The buttons on screen act as the cabinet's buttons while a name is entered.
    const std::pair<ImageView*, CabinetButton> buttons[] = {
        {screen.answerButtonA, CabinetButton::A},   {screen.answerButtonB, CabinetButton::B},
        {screen.answerButtonC, CabinetButton::C},   {screen.answerButtonD, CabinetButton::D},
        {screen.startButton, CabinetButton::Start}, {screen.stopButton, CabinetButton::Stop}};
    for (const auto& [view, button] : buttons)
        connect(view, &ImageView::mouseDown, this,
                [this, button = button] { pressButton(button); });
    // Keys that reach the window during the entry belong to the name box.
    screen.installEventFilter(this);

    // File → Clear Hall of Fame, in a group of its own above Close.
    const QList<QAction*> fileActions = screen.fileMenu->actions();
    const qsizetype close = fileActions.indexOf(screen.closeAction);
    QAction* beforeClose = close > 0 && fileActions[close - 1]->isSeparator()
                               ? fileActions[close - 1]
                               : screen.closeAction;
    clearAction = new QAction(QStringLiteral("Clear &Hall of Fame"), screen.fileMenu);
    clearAction->setObjectName(QStringLiteral("clearHallOfFameAction"));
    clearAction->setEnabled(store != nullptr);
    screen.fileMenu->insertAction(beforeClose, clearAction);
    screen.fileMenu->insertSeparator(clearAction);
    connect(clearAction, &QAction::triggered, this, &HallOfFame::clearCurrentHall);
}

HallOfFame::~HallOfFame() {
    // The window closes during the entry: the scores are kept under the names offered.
    if (!waiting.isEmpty()) storeResults();
    game.nameEntryWanted = nullptr;
}

bool HallOfFame::showPage() {
    if (!store || game.phase() != QuizGame::Phase::Attract) return false;
    if (!page->load(*store, game.questionFile)) return false;
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

void HallOfFame::clearCurrentHall() {
    if (!store || game.gameRunning) return;
    const QuestionSet set = QuestionSet::fromFile(game.questionFile);
    if (!set.isValid()) {
        dialogs.warning(&screen, QuizGame::selectQuestionFileMessage);
        return;
    }
    if (!dialogs.confirm(&screen,
                         QStringLiteral("Clear the hall of fame of the question set \"%1\"?\n\n"
                                        "Its scores will be deleted for good. The figures of "
                                        "its questions and the halls of other sets are kept.")
                             .arg(set.fileName())))
        return;
    store->clearHallOfFame(set);
    if (!page->isHidden()) page->load(*store, game.questionFile);
    showMessages();
}

void HallOfFame::phaseEntered(QuizGame::Phase phase) {
    using Phase = QuizGame::Phase;
    if (phase != Phase::Attract) hidePage();
    // Between games only: a dialog during a game would let its timers run on behind it.
    clearAction->setEnabled(store && (phase == Phase::Attract || phase == Phase::PlayerEntry));
    switch (phase) {
    case Phase::PlayerEntry:
        gameSet = QuestionSet();
        break;
    case Phase::Typing:
        questionSet = QuestionSet::fromFile(game.questionFile);
        if (questionSet.isValid()) gameSet = questionSet;
        verdictCounted = false;
        break;
    case Phase::Correct:
    case Phase::Wrong:
    case Phase::TimeOut:
        // Each question counts once, with its first verdict.
        if (!verdictCounted && store && questionSet.isValid() && !game.questionText.isEmpty())
            store->recordAnswer(questionSet, game.questionText, phase == Phase::Correct);
        verdictCounted = true;
        break;
    case Phase::NameEntry:
        if (waiting.isEmpty()) {
            game.finishNameEntry();
            return;
        }
        screen.lightButtons(true, true, true, true, true);
        startNextEntry();
        break;
    case Phase::Attract:
        hidePage();
        // An entry left unfinished (the editor was opened over it) keeps its scores.
        if (!waiting.isEmpty()) storeResults();
        // The game's answers go to the venue even when nobody entered the hall.
        if (store) store->finishGame();
        // The page's hall is read while the attract pictures show.
        if (store) store->watch(QuestionSet::fromFile(game.questionFile));
        // Before the screen is first shown (at start-up, behind the splash) the messages
        // wait for it.
        if (screen.isVisible()) showMessages();
        break;
    default:
        break;
    }
}

bool HallOfFame::takeRankingResults() {
    waiting.clear();
    named.clear();
    if (!store || !gameSet.isValid()) return false;
    QList<Candidate> players;
    QList<int> scores;
    // Players who answered at least one question and have something to show for it.
    for (const QuizGame::Standing& s : game.finalStandings()) {
        if (!s.played || s.questionsPlayed <= 0 || s.score <= 0) continue;
        players.append({s, 0});
        scores.append(s.score);
    }
    const QList<int> places = store->placesOf(gameSet, scores);
    for (qsizetype i = 0; i < players.size(); ++i) {
        if (places.value(i) <= 0) continue;
        players[i].place = places[i];
        waiting.append(players[i]);
    }
    return !waiting.isEmpty();
}

void HallOfFame::startNextEntry() {
    const Candidate& c = waiting[named.size()];
    nameEntry->start(c.standing.name, c.place, c.standing.score,
                     ScoreStore::cleanName(c.standing.typedName));
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
    screen.setFocus();
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
        dialogs.warning(&screen, message);
}

bool HallOfFame::eventFilter(QObject* watched, QEvent* event) {
    // Once the screen is up, with nothing else of it left to set up.
    if (watched == &screen && event->type() == QEvent::Show)
        QTimer::singleShot(0, this, &HallOfFame::showMessages);
    if (watched != &screen || event->type() != QEvent::KeyPress || nameEntry->isHidden() ||
        game.phase() != QuizGame::Phase::NameEntry)
        return false;
    // A key the name box passed on has been dealt with there.
    if (screen.focusWidget() == nameEntry->nameBox) return false;
    nameEntry->nameBox->setFocus();
    QCoreApplication::sendEvent(nameEntry->nameBox, event);
    return true;
}
