#pragma once

#include "QrCode.h"

#include <QFont>
#include <QString>
#include <QWidget>

// A card in a corner of the play area that tells the room how to join with a phone: the QR code
// of the page's address, with the address itself and the four-digit join code beside it; on the
// final scores, the best of the audience instead. It keeps itself in the bottom-left corner of
// its parent, below the player entry's name boxes, and grows with its parent.
class PhoneBadge : public QWidget {
    Q_OBJECT
public:
    explicit PhoneBadge(QWidget* parent);

    // The address and the code shown (and encoded in the QR code).
    void showJoin(const QString& address, const QString& code);
    // The best of the audience, e.g. "Zoe (7)", shown instead of the QR code.
    void showBest(const QString& best);

    QString address() const { return m_address; }
    QString code() const { return m_code; }
    QString best() const { return m_best; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
    QFont addressFont() const;
    QFont codeFont() const;
    QString codeText() const;
    // The QR code's side with its quiet zone, in whole pixels per module.
    int qrSide() const;

    QString m_address;
    QString m_code;
    QString m_best;
    QrCode m_qr;
};
