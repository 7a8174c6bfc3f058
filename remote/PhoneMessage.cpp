#include "PhoneMessage.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace {
bool isHexSecret(const QString& s) {
    if (s.size() != PhoneMessage::secretLength) return false;
    for (const QChar c : s)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'))) return false;
    return true;
}

bool isJoinCode(const QString& s) {
    if (s.size() != 4) return false;
    for (const QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

const QString nameError = QStringLiteral("the name must have 1 to 10 characters");

// The message's "name", cleaned, into m.name; false when it cannot be a player's name.
bool readName(const QJsonObject& o, PhoneMessage& m) {
    const QJsonValue name = o.value(QLatin1String("name"));
    return name.isString() && !(m.name = PhoneMessage::cleanName(name.toString())).isEmpty();
}

std::optional<PhoneMessage> refuse(QString* error, const QString& reason) {
    if (error) *error = reason;
    return std::nullopt;
}
} // namespace

QString PhoneMessage::cleanName(const QString& typed) {
    const QString name = typed.trimmed();
    if (name.isEmpty() || name.size() > maxNameLength) return {};
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            c.isSurrogate() || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return {};
    return name;
}

std::optional<PhoneMessage> PhoneMessage::parse(const QByteArray& bytes, QString* error) {
    if (bytes.size() > maxBytes) return refuse(error, QStringLiteral("message too long"));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject())
        return refuse(error, QStringLiteral("not a JSON object"));
    const QJsonObject o = doc.object();
    const QString type = o.value(QLatin1String("type")).toString();

    PhoneMessage m;
    if (type == QLatin1String("join")) {
        m.type = Type::Join;
        const QJsonValue code = o.value(QLatin1String("code"));
        if (!readName(o, m)) return refuse(error, nameError);
        if (!code.isString() || !isJoinCode(code.toString()))
            return refuse(error, QStringLiteral("the code must have four digits"));
        m.code = code.toString();
        return m;
    }
    if (type == QLatin1String("resume"))
        m.type = Type::Resume;
    else if (type == QLatin1String("answer"))
        m.type = Type::Answer;
    else if (type == QLatin1String("start"))
        m.type = Type::Start;
    else if (type == QLatin1String("stop"))
        m.type = Type::Stop;
    else if (type == QLatin1String("name"))
        m.type = Type::Name;
    else
        return refuse(error, QStringLiteral("unknown type"));

    const QJsonValue secret = o.value(QLatin1String("secret"));
    if (!secret.isString() || !isHexSecret(secret.toString()))
        return refuse(error, QStringLiteral("no secret"));
    m.secret = secret.toString().toLatin1();
    if (m.type == Type::Answer) {
        const QJsonValue letter = o.value(QLatin1String("letter"));
        const double v = letter.toDouble(-1);
        if (!letter.isDouble() || !(v >= 0 && v <= 3) || v != std::floor(v))
            return refuse(error, QStringLiteral("the letter must be 0 to 3"));
        m.letter = static_cast<int>(v);
    }
    if (m.type == Type::Name && !readName(o, m)) return refuse(error, nameError);
    return m;
}
