#pragma once

#include "QrCode.h"

#include <QString>
#include <QWidget>

// A small card in a corner of the play area that tells the room how to join with a phone: the
// QR code of the page's address, the address itself and the four-digit join code; on the final
// scores, the best of the audience instead. It keeps itself in the bottom-left corner of its
// parent.
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

    QString m_address;
    QString m_code;
    QString m_best;
    QrCode m_qr;
};
