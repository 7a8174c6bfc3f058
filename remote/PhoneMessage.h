#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// One message from a phone, checked: at most maxBytes of UTF-8, a JSON object with a known
// "type" and every value that type needs, in range. Anything else is refused with a reason
// that the phone is told; a refused message changes nothing.
struct PhoneMessage {
    enum class Type {
        Join,   // {"type":"join","name":"Anna","code":"1234"}
        Resume, // {"type":"resume","secret":"..."}: a phone that was here comes back
        Answer, // {"type":"answer","secret":"...","letter":0..3}
        Start,  // START, or OK on the open panel
        Stop,   // STOP on the prize ladder
        Name,   // {"type":"name","secret":"...","name":"Anna"}: a name for the hall of fame
    };

    Type type = Type::Join;
    QString name;      // Join, Name: 1..maxNameLength characters, no control characters
    QString code;      // Join: four digits
    QByteArray secret; // every type but Join: secretLength lowercase hex digits
    int letter = -1;   // Answer: 0..3 = A..D

    static constexpr int maxBytes = 512;
    static constexpr int maxNameLength = 10;
    static constexpr int secretLength = 32;

    // The message, or nothing with the reason in *error.
    static std::optional<PhoneMessage> parse(const QByteArray& bytes, QString* error);
    // A name as the phone typed it, trimmed; empty when it cannot be a player's name.
    static QString cleanName(const QString& typed);
};
