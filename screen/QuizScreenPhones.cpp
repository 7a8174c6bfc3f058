// Phones as buzzers on the game screen: the File menu's entry, the join card, the name boxes.
#include "PhoneBuzzers.h"
#include "PlayerEntryPanel.h"
#include "QuizScreen.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

void QuizScreen::createPhones() {
    phones = std::make_unique<PhoneBuzzers>(game, services.clock, services.dialogs,
                                            services.settings, this, playArea, hallOfFame.get());
    phonesAction = new QAction(QStringLiteral("Phones as &Buzzers\u2026"), this);
    phonesAction->setObjectName(QStringLiteral("phonesAction"));
    phonesAction->setCheckable(true);
    const QList<QAction*> entries = fileMenu->actions();
    const qsizetype after = entries.indexOf(controlsAction);
    fileMenu->insertAction(entries.value(after + 1), phonesAction);
    connect(phonesAction, &QAction::triggered, this, [this] {
        phones->toggle();
        phonesAction->setChecked(phones->running());
    });
    connect(phones.get(), &PhoneBuzzers::runningChanged, phonesAction, &QAction::setChecked);
    // A phone's name goes into its slot's name box, as if typed there.
    connect(phones.get(), &PhoneBuzzers::playerNamed, this, [this](int slot, const QString& name) {
        if (slot >= 1 && slot <= 4)
            playerPanel->nameBoxes[static_cast<std::size_t>(slot - 1)]->setText(name);
    });
}
