// Document strings are 8-bit bytes; widgets show them one byte to one character (Latin-1),
// so every byte, 0x80-0xFF included, survives a trip through a dialog unchanged.
#pragma once

#include <QString>
#include <string>

inline QString ToQString(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string FromQString(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
