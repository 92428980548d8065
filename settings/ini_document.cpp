#include "settings/ini_document.h"

#include <QStringDecoder>

using TextCodec::Encoding;

namespace {

QString decodeLine(const QByteArray &content, Encoding encoding)
{
    if (encoding == Encoding::Gb18030)
        return TextCodec::decode(content, Encoding::Gb18030);
    // A line is no file: a U+FEFF at its start is a character, not a mark to drop.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(content);
}

} // namespace

IniDocument::IniDocument(const QByteArray &original)
{
    m_fileEncoding = TextCodec::detectEncoding(original);
    QByteArray bytes = original;
    switch (m_fileEncoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        bytes = TextCodec::decode(original, m_fileEncoding).toUtf8();
        m_workEncoding = Encoding::Utf8;
        break;
    case Encoding::Utf8Bom:
        bytes = original.sliced(3);
        m_workEncoding = Encoding::Utf8;
        break;
    case Encoding::Utf8:
        m_workEncoding = Encoding::Utf8;
        break;
    case Encoding::Gb18030:
        m_workEncoding = Encoding::Gb18030;
        break;
    }

    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype pos = 0; pos < n; ++pos) {
        const char c = bytes[pos];
        if (c != '\r' && c != '\n')
            continue;
        qsizetype terminatorLength = 1;
        if (c == '\r' && pos + 1 < n && bytes[pos + 1] == '\n')
            terminatorLength = 2;
        m_lines.push_back(
            parse(bytes.mid(start, pos - start), bytes.mid(pos, terminatorLength), m_workEncoding));
        pos += terminatorLength - 1;
        start = pos + 1;
    }
    if (start < n)
        m_lines.push_back(parse(bytes.mid(start), QByteArray(), m_workEncoding));
}

IniDocument::Line IniDocument::parse(const QByteArray &content, const QByteArray &terminator,
                                     Encoding encoding)
{
    Line line;
    line.content = content;
    line.terminator = terminator;
    const QString text = decodeLine(content, encoding).trimmed();
    if (text.isEmpty() || text.startsWith(u';') || text.startsWith(u'#'))
        return line;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = text.mid(1, close - 1).trimmed();
        }
        return line;
    }
    const qsizetype equals = text.indexOf(u'=');
    if (equals > 0) {
        line.kind = Kind::Key;
        line.name = text.left(equals).trimmed();
        line.value = text.mid(equals + 1).trimmed();
    }
    return line;
}

int IniDocument::findSection(const QString &section) const
{
    const QString wanted = section.trimmed();
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Kind::Section && line.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

int IniDocument::sectionEnd(int sectionIndex) const
{
    size_t i = size_t(sectionIndex) + 1;
    while (i < m_lines.size() && m_lines[i].kind != Kind::Section)
        ++i;
    return int(i);
}

int IniDocument::findKey(int sectionIndex, const QString &key) const
{
    const QString wanted = key.trimmed();
    const int end = sectionEnd(sectionIndex);
    for (int i = sectionIndex + 1; i < end; ++i) {
        const Line &line = m_lines[size_t(i)];
        if (line.kind == Kind::Key && line.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const int sectionIndex = findSection(section);
    if (sectionIndex < 0)
        return std::nullopt;
    const int keyIndex = findKey(sectionIndex, key);
    if (keyIndex < 0)
        return std::nullopt;
    return m_lines[size_t(keyIndex)].value;
}

IniDocument::Line IniDocument::makeLine(const QString &text) const
{
    const QByteArray content =
        m_workEncoding == Encoding::Gb18030 ? TextCodec::toAnsi(text) : text.toUtf8();
    return parse(content, QByteArrayLiteral("\r\n"), m_workEncoding);
}

void IniDocument::terminateLine(int index)
{
    if (index >= 0 && m_lines[size_t(index)].terminator.isEmpty())
        m_lines[size_t(index)].terminator = QByteArrayLiteral("\r\n");
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString keyLine = key + u'=' + value;
    const int sectionIndex = findSection(section);
    if (sectionIndex < 0) {
        terminateLine(int(m_lines.size()) - 1);
        m_lines.push_back(makeLine(u'[' + section + u']'));
        m_lines.push_back(makeLine(keyLine));
        return;
    }
    const int keyIndex = findKey(sectionIndex, key);
    if (keyIndex >= 0) {
        Line replaced = makeLine(keyLine);
        replaced.terminator = m_lines[size_t(keyIndex)].terminator;
        m_lines[size_t(keyIndex)] = replaced;
        return;
    }
    // A new key goes after the section's last key (or right below its header).
    int insertAt = sectionIndex + 1;
    for (int k = sectionIndex + 1; k < sectionEnd(sectionIndex); ++k) {
        if (m_lines[size_t(k)].kind == Kind::Key)
            insertAt = k + 1;
    }
    terminateLine(insertAt - 1);
    m_lines.insert(m_lines.begin() + insertAt, makeLine(keyLine));
}

QByteArray IniDocument::toBytes() const
{
    QByteArray bytes;
    for (const Line &line : m_lines) {
        bytes += line.content;
        bytes += line.terminator;
    }
    switch (m_fileEncoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return TextCodec::encode(QString::fromUtf8(bytes), m_fileEncoding);
    case Encoding::Utf8Bom:
        return QByteArrayLiteral("\xEF\xBB\xBF") + bytes;
    case Encoding::Utf8:
    case Encoding::Gb18030:
        break;
    }
    return bytes;
}
