#include "QrCode.h"

#include <qrencode.h>

#include <memory>

QrCode QrCode::encode(const QByteArray& text) {
    QrCode code;
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> qr(
        QRcode_encodeString8bit(text.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!qr) return code;
    code.m_size = qr->width;
    code.m_modules.resize(static_cast<std::size_t>(qr->width * qr->width));
    for (int i = 0; i < qr->width * qr->width; ++i)
        code.m_modules[static_cast<std::size_t>(i)] = qr->data[i] & 1;
    return code;
}
