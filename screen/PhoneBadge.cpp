#include "PhoneBadge.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int margin = 6;
constexpr int padding = 4;
// Light modules around the code; the card's padding adds to them.
constexpr int quietModules = 2;
// Pixels per module at the least, for a camera to read the code off a screen.
constexpr int smallestModule = 2;
// The join card's height: it grows with the play area so that the code can be scanned across
// a room, and keeps below the band across the middle where the player entry's name boxes sit.
constexpr int middleBand = 100;
constexpr int largestJoinHeight = 280;
constexpr int bestWidth = 192;
constexpr int bestHeight = 40;
const QColor cardColor(0xFF, 0xFF, 0xFF);
const QColor inkColor(0x00, 0x00, 0x00);

QFont cardFont(const QFont& base, int pixelSize, bool bold) {
    QFont f = base;
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}
} // namespace

PhoneBadge::PhoneBadge(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("phoneBadge"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (parent) parent->installEventFilter(this);
    hide();
}

void PhoneBadge::showJoin(const QString& address, const QString& code) {
    m_address = address;
    m_code = code;
    m_best.clear();
    m_qr = QrCode::encode(address.toUtf8());
    setAccessibleName(
        QStringLiteral("Join with a phone: open %1 and enter the code %2").arg(address, code));
    place();
    update();
}

void PhoneBadge::showBest(const QString& best) {
    m_best = best;
    setAccessibleName(QStringLiteral("Best of the audience: %1").arg(best));
    place();
    update();
}

QFont PhoneBadge::addressFont() const {
    return cardFont(font(), std::max(10, height() / 9), false);
}

QFont PhoneBadge::codeFont() const {
    return cardFont(font(), std::max(12, height() / 6), true);
}

QString PhoneBadge::codeText() const {
    return QStringLiteral("Code %1").arg(m_code);
}

int PhoneBadge::qrSide() const {
    const int modules = m_qr.size() + 2 * quietModules;
    return modules > 0 ? (height() - 2 * padding) / modules * modules : 0;
}

void PhoneBadge::place() {
    if (!parentWidget()) return;
    if (!m_best.isEmpty()) {
        resize(bestWidth, bestHeight);
    } else {
        // The QR code on the left, the address and the code beside it.
        const int smallest = smallestModule * (m_qr.size() + 2 * quietModules) + 2 * padding;
        const int h = std::clamp(parentWidget()->height() / 2 - middleBand / 2 - margin, smallest,
                                 std::max(smallest, largestJoinHeight));
        resize(width(), h);
        const int text = std::max(QFontMetrics(addressFont()).horizontalAdvance(m_address),
                                  QFontMetrics(codeFont()).horizontalAdvance(codeText()));
        resize(qrSide() + text + 6 * padding, h);
    }
    move(margin, parentWidget()->height() - height() - margin);
    raise();
}

bool PhoneBadge::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) place();
    return QWidget::eventFilter(watched, event);
}

void PhoneBadge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(cardColor);
    p.drawRoundedRect(rect(), 6, 6);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(inkColor);
    if (!m_best.isEmpty()) {
        p.setFont(cardFont(font(), 11, true));
        p.drawText(rect().adjusted(6, 2, -6, -2), Qt::AlignCenter | Qt::TextWordWrap,
                   QStringLiteral("Best of the audience:\n") + m_best);
        return;
    }
    // The code, drawn as whole pixels per module with its quiet zone, on the left.
    const int side = qrSide();
    const int modules = m_qr.size() + 2 * quietModules;
    const int unit = modules > 0 ? side / modules : 0;
    const QPoint origin(padding + quietModules * unit, (height() - side) / 2 + quietModules * unit);
    p.setPen(Qt::NoPen);
    p.setBrush(inkColor);
    for (int y = 0; y < m_qr.size(); ++y)
        for (int x = 0; x < m_qr.size(); ++x)
            if (m_qr.dark(x, y))
                p.drawRect(origin.x() + x * unit, origin.y() + y * unit, unit, unit);
    // The address above the middle, the code below it.
    p.setPen(inkColor);
    const QRect text(side + 3 * padding, 0, width() - side - 6 * padding, height());
    p.setFont(addressFont());
    p.drawText(text.adjusted(0, 0, 0, -height() / 2), Qt::AlignHCenter | Qt::AlignBottom,
               m_address);
    p.setFont(codeFont());
    p.drawText(text.adjusted(0, height() / 2 + padding, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
               codeText());
}
