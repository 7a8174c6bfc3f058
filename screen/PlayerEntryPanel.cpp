#include "PlayerEntryPanel.h"

#include "ImageView.h"
#include "Label.h"
#include "PlayAreaStyle.h"

#include <QLineEdit>

using namespace PlayAreaStyle;

namespace {
// Slot colours (a named slot glows red; an empty one is maroon with its Clear button hidden
// in the same colour).
const QColor namedColor(0xFF, 0x00, 0x00);
const QColor emptyColor(0x80, 0x00, 0x00);
const QColor clearTextColor(0x80, 0x80, 0x80);
const QColor clearHoverTextColor(0xFF, 0xFF, 0xFF);
const char* const slotTitles[4] = {"Player One", "Player Two", "Player Three", "Player Four"};

bool validSlot(int slot) {
    return slot >= 1 && slot <= 4;
}
} // namespace

PlayerEntryPanel::PlayerEntryPanel(QWidget* playArea, QuizGame& game)
    : ConfirmPanel(playArea, QStringLiteral("playerPanel")), game(game) {
    setAccessibleName(QStringLiteral("Select players"));
    heading = new ImageView(this, QStringLiteral("playerHeading"));
    heading->resize(headingSize);
    heading->setArtwork(QStringLiteral("select-players"), headingSize);
    heading->setAccessibleName(QStringLiteral("Select players"));
    for (std::size_t i = 0; i < 4; ++i) {
        const int slot = static_cast<int>(i) + 1;
        const QString title = QString::fromLatin1(slotTitles[i]);
        Panel* panel = new Panel(this, QStringLiteral("playerSlot%1").arg(slot));
        panel->resize(140, 96);
        panel->setColor(maroon);
        panel->setBevelOuter(Bevel::Raised);
        nameSlots[i] = panel;
        slotCaptions[i] = label(panel, QStringLiteral("playerSlotCaption%1").arg(slot), title, 10,
                                Qt::white);
        slotCaptions[i]->setAlignment(Qt::AlignCenter);
        slotCaptions[i]->setGeometry(4, 6, 132, 18);
        auto* box = new QLineEdit(panel);
        box->setObjectName(QStringLiteral("playerNameBox%1").arg(slot));
        box->setMaxLength(10);
        box->setFont(CabinetText::font(11));
        box->setGeometry(10, 30, 120, 26);
        box->setAccessibleName(title + QStringLiteral(" name"));
        nameBoxes[i] = box;
        Panel* clear = new Panel(panel, QStringLiteral("clearButton%1").arg(slot));
        clear->setCaption(QStringLiteral("Clear"));
        clear->setFont(CabinetText::font(9));
        clear->setGeometry(40, 64, 60, 22);
        clear->setColor(maroon);
        clear->setFontColor(maroon);
        clear->setAccessibleName(QStringLiteral("Clear ") + title);
        clear->setPressable(true);
        clearButtons[i] = clear;

        connect(box, &QLineEdit::textChanged, this, [this, slot] { nameChanged(slot); });
        connect(clear, &Panel::mouseDown, this, [this, slot] { clearName(slot); });
        connect(clear, &Panel::mouseMove, this, [this, slot] { raiseClearButton(slot); });
        connect(panel, &Panel::mouseMove, this, [this, slot] { flattenButtons(slot); });
    }
    addOkButton(QStringLiteral("playerPanelOkFrame"), QStringLiteral("playerPanelOk"));
    connect(this, &Panel::mouseMove, this, [this] { flattenButtons(0); });
    connect(&game, &QuizGame::phaseChanged, this, &PlayerEntryPanel::showPhase);
    hide();
}

void PlayerEntryPanel::showPhase(QuizGame::Phase phase) {
    if (phase == QuizGame::Phase::PlayerEntry) {
        show();
        nameBoxes[0]->setFocus();
        return;
    }
    // Keys typed from now on belong to the game, not to a name box.
    for (QLineEdit* box : nameBoxes)
        if (window()->focusWidget() == box) window()->setFocus();
    hide();
}

void PlayerEntryPanel::layOut(int width, int height) {
    setGeometry(0, 0, width, height);
    centreHorizontally(heading, width, heading->y());
    placeBottomRight(okFrame, width, height);
    const int w1 = nameSlots[0]->width();
    int widths = 0;
    for (Panel* slot : nameSlots)
        widths += slot->width();
    const int s = (width - widths) / 5;
    const int slotTop = (height - nameSlots[0]->height()) / 2;
    for (int k = 1; k <= 4; ++k)
        nameSlots[static_cast<std::size_t>(k - 1)]->move(k * s + (k - 1) * w1, slotTop);
}

void PlayerEntryPanel::nameChanged(int slot) {
    const auto k = static_cast<std::size_t>(slot - 1);
    const bool named = !nameBoxes[k]->text().isEmpty();
    nameSlots[k]->setColor(named ? namedColor : emptyColor);
    clearButtons[k]->setColor(named ? namedColor : emptyColor);
    clearButtons[k]->setFontColor(named ? clearTextColor : emptyColor);
    if (!named) clearButtons[k]->setBevelOuter(Bevel::None);
    nameSlots[k]->setAccessibleDescription(named ? nameBoxes[k]->text() : QString());
    game.setPlayerName(slot, nameBoxes[k]->text());
}

void PlayerEntryPanel::clearName(int slot) {
    if (!validSlot(slot)) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    nameBoxes[k]->clear();
    clearButtons[k]->setBevelOuter(Bevel::None);
}

void PlayerEntryPanel::raiseClearButton(int slot) {
    if (!validSlot(slot)) return;
    const auto k = static_cast<std::size_t>(slot - 1);
    if (nameBoxes[k]->text().isEmpty()) return;
    clearButtons[k]->setBevelOuter(Bevel::Raised);
    clearButtons[k]->setFontColor(clearHoverTextColor);
}

void PlayerEntryPanel::flattenButtons(int slot) {
    for (int s = 1; s <= 4; ++s) {
        if (slot != 0 && s != slot) continue;
        const auto k = static_cast<std::size_t>(s - 1);
        clearButtons[k]->setBevelOuter(Bevel::None);
        clearButtons[k]->setFontColor(nameBoxes[k]->text().isEmpty() ? emptyColor
                                                                      : clearTextColor);
    }
    if (slot == 0) flattenOk();
}

void PlayerEntryPanel::confirm() {
    game.confirmPlayers();
}
