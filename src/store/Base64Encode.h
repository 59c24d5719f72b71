#pragma once

#include <QByteArray>
#include <QString>

// The standard Base64 text (RFC 4648, "=" padding, no line breaks) of bytes.
QString Base64Encode(const QByteArray& bytes);

// The bytes of text in the ANSI code page of the installation (Windows-1250); characters
// outside it become "?".
QByteArray AnsiBytes(const QString& text);
