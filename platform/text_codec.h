#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Text files on disk: read as bytes and decoded by their own evidence (BOM, valid UTF-8,
// otherwise the Chinese ANSI code page GB18030); written as GB18030 with CR LF line ends.
namespace TextCodec {

enum class Encoding { Gb18030, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// False only on Windows without the GB18030 code page (Wine): four-byte characters are lost.
bool hasFourByteGb18030();

Encoding detectEncoding(const QByteArray &bytes);
QString decode(const QByteArray &bytes);
QString decode(const QByteArray &bytes, Encoding encoding);
QByteArray encode(const QString &text, Encoding encoding);
QByteArray toAnsi(const QString &text);

// Splits text into lines. A line ends at CR LF, a lone CR or a lone LF; the terminator is not
// part of the line and the last line may lack one. An empty text has no lines.
QStringList splitLines(const QString &text);

// Reads a whole file's bytes; no value when it cannot be opened or read.
std::optional<QByteArray> readFile(const QString &path);
// The bytes of a regular file of at most `maxBytes`; a pipe, a device or a larger file is not
// opened at all, so that none can hang the reader or fill the memory.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes);

// Reads a whole text file into lines. Returns false when the file cannot be opened or read.
bool readLines(const QString &path, QStringList &lines);

} // namespace TextCodec
