#include "NameEntryPanel.h"

#include "CabinetText.h"
#include "HallOfFamePage.h"
#include "ImageView.h"
#include "Label.h"

#include "Clock.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QStyleHints>
#include <QLineEdit>

#include <algorithm>

const QString NameEntryPanel::letters = QStringLiteral(" ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.!");

namespace {
constexpr QSize HeadingSize(400, 56);
constexpr QSize OkSize(80, 40);
constexpr QSize NameBoxSize(250, 42);
constexpr QSize PickerSize(46, 42);
constexpr int Margin = 8;
// How a blank shows on the letter picker.
const QChar BlankSign(0x2423);
} // namespace

NameEntryPanel::NameEntryPanel(QWidget* playArea, const Clock& clock)
    : PlayAreaPanel(playArea, QStringLiteral("nameEntryPanel"), QStringLiteral("Enter your name"),
                    QStringLiteral("enter-your-name"), HeadingSize),
      clock(clock) {

    playerLine = CabinetText::label(this, QStringLiteral("nameEntryPlayer"), 13, CabinetText::gold,
                                    Qt::AlignCenter);

    nameBox = new QLineEdit(this);
    nameBox->setObjectName(QStringLiteral("nameEntryBox"));
    nameBox->setMaxLength(NameLength);
    nameBox->setFont(CabinetText::font(18));
    nameBox->setAlignment(Qt::AlignCenter);
    nameBox->setStyleSheet(QStringLiteral("QLineEdit { color: white; background: #000080; "
                                          "border: 2px solid #ffd23f; border-radius: 6px; }"));
    nameBox->resize(NameBoxSize);
    nameBox->setAccessibleName(QStringLiteral("Name for the hall of fame"));
    // Enter accepts the name and goes no further: it must not also reach the window.
    nameBox->installEventFilter(this);

    letterCaption = CabinetText::label(this, QStringLiteral("nameEntryLetterCaption"), 9,
                                       CabinetText::silver, Qt::AlignRight | Qt::AlignVCenter);
    letterCaption->setCaption(QStringLiteral("Letter"));
    letterCaption->resize(60, PickerSize.height());
    letterPicker = new Panel(this, QStringLiteral("nameEntryLetter"));
    letterPicker->resize(PickerSize);
    letterPicker->setColor(QColor(0x20, 0x20, 0x30));
    letterPicker->setFontColor(CabinetText::gold);
    letterPicker->setFont(CabinetText::font(18));
    letterPicker->setBevelOuter(Bevel::Raised);

    hintLine = CabinetText::label(this, QStringLiteral("nameEntryHint"), 9, CabinetText::silver,
                                  Qt::AlignCenter);
    hintLine->setWordWrap(true);
    hintLine->setCaption(QStringLiteral("Type your name and press Enter - or pick letters with "
                                        "the buttons: A and B choose a letter, C takes it, D "
                                        "rubs one out, START finishes."));

    okFrame = new Panel(this, QStringLiteral("nameEntryOkFrame"));
    okFrame->setTransparent(true);
    okFrame->resize(OkSize.width() + 4, OkSize.height() + 4);
    okButton = new ImageView(okFrame, QStringLiteral("nameEntryOk"));
    okButton->setGeometry(2, 2, OkSize.width(), OkSize.height());
    okButton->setArtwork(QStringLiteral("ok"), OkSize);
    okButton->setAccessibleName(QStringLiteral("OK"));
    okButton->setCursor(Qt::PointingHandCursor);
    connect(okButton, &ImageView::mouseDown, this, &NameEntryPanel::clickOk);
    connect(okButton, &ImageView::mouseMove, this,
            [this] { okFrame->setBevelOuter(Bevel::Raised); });
    connect(this, &Panel::mouseMove, this, [this] { okFrame->setBevelOuter(Bevel::None); });
    // A click anywhere on the panel gives the keyboard back to the name box.
    connect(this, &Panel::mouseDown, this, [this] { nameBox->setFocus(); });

    showPickedLetter();
    hide();
    fitToPlayArea();
}

void NameEntryPanel::clickOk() {
    if (clock.now() - shownAt < QGuiApplication::styleHints()->mouseDoubleClickInterval()) return;
    accept();
}

void NameEntryPanel::start(const QString& player, int place, int score, const QString& offered) {
    shownAt = clock.now();
    playerLine->setCaption(QStringLiteral("%1 - %2 PLACE - %3")
                               .arg(player.toUpper(), HallOfFamePage::ordinal(place).toUpper())
                               .arg(score));
    setAccessibleDescription(QStringLiteral("%1, %2 place with %3 points. %4")
                                 .arg(player, HallOfFamePage::ordinal(place))
                                 .arg(score)
                                 .arg(hintLine->text()));
    nameBox->setText(offered.left(NameLength));
    nameBox->end(false);
    letterIndex = 1;
    showPickedLetter();
    okFrame->setBevelOuter(Bevel::None);
    show();
    raise();
    nameBox->setFocus();
}

bool NameEntryPanel::pressButton(CabinetButton button) {
    if (isHidden()) return false;
    switch (button) {
    case CabinetButton::A:
        stepLetter(-1);
        return true;
    case CabinetButton::B:
        stepLetter(1);
        return true;
    case CabinetButton::C:
        takeLetter();
        return true;
    case CabinetButton::D:
        rubOut();
        return true;
    case CabinetButton::Start:
        accept();
        return true;
    case CabinetButton::Stop:
        break;
    }
    return false;
}

void NameEntryPanel::accept() {
    if (isHidden()) return;
    emit accepted(name());
}

void NameEntryPanel::acceptName(const QString& typed) {
    if (isHidden()) return;
    nameBox->setText(typed.trimmed().left(NameLength));
    accept();
}

QString NameEntryPanel::name() const {
    return nameBox->text().trimmed();
}

QChar NameEntryPanel::pickedLetter() const {
    return letters.at(letterIndex);
}

void NameEntryPanel::stepLetter(int step) {
    const int count = static_cast<int>(letters.size());
    letterIndex = ((letterIndex + step) % count + count) % count;
    showPickedLetter();
}

void NameEntryPanel::takeLetter() {
    // insert() keeps to the box's length, at the cursor (the end, unless the keyboard moved it).
    nameBox->insert(QString(pickedLetter()));
    nameBox->setFocus();
}

void NameEntryPanel::rubOut() {
    nameBox->backspace();
    nameBox->setFocus();
}

void NameEntryPanel::showPickedLetter() {
    const QChar letter = pickedLetter();
    letterPicker->setCaption(letter == QLatin1Char(' ') ? QString(BlankSign) : QString(letter));
    letterPicker->setAccessibleName(QStringLiteral("Letter ") + (letter == QLatin1Char(' ')
                                                                     ? QStringLiteral("blank")
                                                                     : QString(letter)));
}

bool NameEntryPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == nameBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return PlayAreaPanel::eventFilter(watched, event);
}

void NameEntryPanel::layOut(int bw, int bh) {
    const int below = heading->y() + heading->height();
    playerLine->setGeometry(Margin, below + 2, bw - 2 * Margin, 24);
    const int rowTop = playerLine->y() + playerLine->height() + 6;
    const int rowWidth = NameBoxSize.width() + 16 + letterCaption->width() + 8 + PickerSize.width();
    const int rowLeft = (bw - rowWidth) / 2;
    nameBox->move(rowLeft, rowTop);
    letterCaption->move(rowLeft + NameBoxSize.width() + 16, rowTop);
    letterPicker->move(letterCaption->x() + letterCaption->width() + 8, rowTop);
    okFrame->move(bw - okFrame->width() - Margin, bh - okFrame->height() - Margin);
    const int hintTop = rowTop + NameBoxSize.height() + 6;
    hintLine->setGeometry(Margin + 40, hintTop, bw - 2 * (Margin + 40),
                          std::max(20, okFrame->y() - hintTop));
}
