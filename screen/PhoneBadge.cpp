#include "PhoneBadge.h"

#include <QEvent>
#include <QPainter>

namespace {
constexpr int margin = 6;
constexpr int joinWidth = 132;
constexpr int joinHeight = 170;
constexpr int bestHeight = 40;
constexpr int quietModules = 4;
const QColor cardColor(0xFF, 0xFF, 0xFF);
const QColor inkColor(0x00, 0x00, 0x00);
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
    resize(joinWidth, joinHeight);
    place();
    update();
}

void PhoneBadge::showBest(const QString& best) {
    m_best = best;
    setAccessibleName(QStringLiteral("Best of the audience: %1").arg(best));
    resize(joinWidth + 60, bestHeight);
    place();
    update();
}

void PhoneBadge::place() {
    if (!parentWidget()) return;
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
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    if (!m_best.isEmpty()) {
        p.drawText(rect().adjusted(6, 2, -6, -2), Qt::AlignCenter | Qt::TextWordWrap,
                   QStringLiteral("Best of the audience:\n") + m_best);
        return;
    }
    // The code, drawn as whole pixels per module with its quiet zone, centred at the top.
    const int modules = m_qr.size() + 2 * quietModules;
    const int unit = modules > 0 ? (width() - 8) / modules : 0;
    const int side = unit * modules;
    const QPoint origin((width() - side) / 2 + quietModules * unit, 4 + quietModules * unit);
    p.setPen(Qt::NoPen);
    p.setBrush(inkColor);
    for (int y = 0; y < m_qr.size(); ++y)
        for (int x = 0; x < m_qr.size(); ++x)
            if (m_qr.dark(x, y))
                p.drawRect(origin.x() + x * unit, origin.y() + y * unit, unit, unit);
    p.setPen(inkColor);
    const QRect text(0, 4 + side, width(), height() - side - 6);
    QFont small = font;
    small.setPixelSize(10);
    small.setBold(false);
    p.setFont(small);
    p.drawText(text.adjusted(0, 0, 0, -text.height() / 2), Qt::AlignCenter, m_address);
    p.setFont(font);
    p.drawText(text.adjusted(0, text.height() / 2, 0, 0), Qt::AlignCenter,
               QStringLiteral("Code %1").arg(m_code));
}
