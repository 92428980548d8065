#include "settings/rwini.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

#include "platform/program_directory.h"
#include "platform/text_codec.h"
#include "settings/ini_document.h"

namespace {

constexpr int kReadBufferBytes = 143;

// The file's bytes; empty for a missing file; no value when it exists but cannot be read.
std::optional<QByteArray> readSettingsBytes(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QByteArray();
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool isMarkedReadOnly(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    // The owner's write bit (the read-only attribute on Windows); the user bits say what the
    // current user may do, which for an administrator is everything.
    return !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace

QString GetIniPath()
{
    return ProgramDirectory::path() + QStringLiteral("/SysInfo.ini");
}

QString cutToAnsiBytes(const QString &value, int maxBytes)
{
    if (TextCodec::toAnsi(value).size() <= maxBytes)
        return value;
    int bytes = 0;
    qsizetype end = 0;
    while (end < value.size()) {
        const qsizetype length = value[end].isHighSurrogate() && end + 1 < value.size() ? 2 : 1;
        const int characterBytes = int(TextCodec::toAnsi(value.mid(end, length)).size());
        if (bytes + characterBytes > maxBytes)
            break;
        bytes += characterBytes;
        end += length;
    }
    return value.left(end);
}

QString ReadIni(const QString &section, const QString &key, const QString &defaultValue)
{
    const std::optional<QByteArray> bytes = readSettingsBytes(GetIniPath());
    QString stored;
    if (bytes)
        stored = IniDocument(*bytes).value(section, key).value_or(QString());
    if (stored.isEmpty()) {
        WriteIni(section, key, defaultValue);
        return defaultValue;
    }
    return cutToAnsiBytes(stored, kReadBufferBytes);
}

QString oneLine(const QString &value)
{
    QString line;
    line.reserve(value.size());
    for (qsizetype k = 0; k < value.size(); ++k) {
        const QChar c = value[k];
        if (c == u'\r' && k + 1 < value.size() && value[k + 1] == u'\n')
            continue; // CR LF is one line break: its LF gives the blank
        const bool lineBreak = c == u'\r' || c == u'\n' || c == QChar(0x2028) || c == QChar(0x2029);
        line += lineBreak ? QChar(u' ') : c;
    }
    return line;
}

void WriteIni(const QString &rawSection, const QString &rawKey, const QString &rawValue)
{
    const QString section = oneLine(rawSection);
    const QString key = oneLine(rawKey);
    const QString value = oneLine(rawValue);
    const QString path = GetIniPath();
    const std::optional<QByteArray> bytes = readSettingsBytes(path);
    // A file that cannot be read is never overwritten: its contents would be lost.
    if (!bytes || isMarkedReadOnly(path))
        return;
    IniDocument document(*bytes);
    document.setValue(section, key, value);
    const QByteArray updated = document.toBytes();
    if (updated == *bytes && QFileInfo::exists(path))
        return;
    // Written beside the file and renamed over it: a crash never leaves half a settings file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(updated);
    file.commit();
}
