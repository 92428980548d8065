#include "platform/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Qt without ICU (the Windows build) has no GB18030 converter of its own that can be trusted: on
// Windows its named converters are valid yet convert nothing. Windows has the code page.
// Elsewhere Qt always has ICU, and these are never reached.
#ifdef Q_OS_WIN
// GB18030 is code page 54936 on every Windows 10/11. Wine has no such code page: there the
// two-byte part of it (936, GBK) is the best there is, and four-byte characters are lost.
UINT gb18030CodePage()
{
    static const UINT page = IsValidCodePage(54936) ? 54936 : 936;
    return page;
}

QString gb18030WithoutIcu(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    const int length =
        MultiByteToWideChar(gb18030CodePage(), 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(gb18030CodePage(), 0, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t *>(text.data()), length);
    return text;
}

QByteArray gb18030WithoutIcu(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = WideCharToMultiByte(gb18030CodePage(), 0, wide, int(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    QByteArray bytes(length, Qt::Uninitialized);
    WideCharToMultiByte(gb18030CodePage(), 0, wide, int(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}
#else
QString gb18030WithoutIcu(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

QByteArray gb18030WithoutIcu(const QString &text)
{
    return text.toUtf8();
}
#endif

} // namespace

namespace TextCodec {

namespace {

bool hasNonAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

Encoding detectEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Encoding::Utf8Bom;
    if (bytes.startsWith("\xFF\xFE"))
        return Encoding::Utf16Le;
    if (bytes.startsWith("\xFE\xFF"))
        return Encoding::Utf16Be;
    if (hasNonAscii(bytes) && isValidUtf8(bytes))
        return Encoding::Utf8;
    return Encoding::Gb18030;
}

QString decode(const QByteArray &bytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8Bom:
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    case Encoding::Utf8:
        return QString::fromUtf8(bytes);
    case Encoding::Utf16Le: {
        QStringDecoder decoder(QStringDecoder::Utf16LE);
        return decoder.decode(bytes.sliced(2));
    }
    case Encoding::Utf16Be: {
        QStringDecoder decoder(QStringDecoder::Utf16BE);
        return decoder.decode(bytes.sliced(2));
    }
    case Encoding::Gb18030:
        break;
    }
#ifdef Q_OS_WIN
    return gb18030WithoutIcu(bytes);
#else
    QStringDecoder decoder("GB18030");
    if (!decoder.isValid())
        return gb18030WithoutIcu(bytes);
    return decoder.decode(bytes);
#endif
}

QString decode(const QByteArray &bytes)
{
    return decode(bytes, detectEncoding(bytes));
}

QByteArray encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Encoding::Utf16Le: {
        QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        return encoder.encode(text);
    }
    case Encoding::Utf16Be: {
        QStringEncoder encoder(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
        return encoder.encode(text);
    }
    case Encoding::Gb18030:
        break;
    }
    return toAnsi(text);
}

bool hasFourByteGb18030()
{
#ifdef Q_OS_WIN
    return gb18030CodePage() == 54936;
#else
    return true;
#endif
}

QByteArray toAnsi(const QString &text)
{
#ifdef Q_OS_WIN
    return gb18030WithoutIcu(text);
#else
    QStringEncoder encoder("GB18030");
    if (!encoder.isValid())
        return gb18030WithoutIcu(text);
    return encoder.encode(text);
#endif
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    const qsizetype n = text.size();
    const QChar *data = text.constData();
    qsizetype start = 0;
    qsizetype pos = 0;
    while (pos < n) {
        const QChar c = data[pos];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, pos - start));
            if (c == u'\r' && pos + 1 < n && data[pos + 1] == u'\n')
                ++pos;
            start = pos + 1;
        }
        ++pos;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maxBytes)
        return std::nullopt;
    return readFile(path);
}

bool readLines(const QString &path, QStringList &lines)
{
    const std::optional<QByteArray> bytes = readFile(path);
    if (!bytes)
        return false;
    lines = splitLines(decode(*bytes));
    return true;
}

} // namespace TextCodec
