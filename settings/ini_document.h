#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "platform/text_codec.h"

// An INI text held as its original lines. Section and key names match without regard to letter
// case and blanks around them; a change rewrites only the line it concerns, so every other line
// (comments, order, unknown sections, even undecodable bytes) is kept byte for byte.
class IniDocument
{
public:
    IniDocument() = default;
    explicit IniDocument(const QByteArray &bytes);

    std::optional<QString> value(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);

    QByteArray toBytes() const;

private:
    enum class Kind { Other, Section, Key };
    struct Line
    {
        QByteArray content;    // in the working encoding, without the terminator
        QByteArray terminator; // "\r\n", "\r", "\n" or empty for a last line without one
        Kind kind = Kind::Other;
        QString name;  // section or key name, trimmed
        QString value; // key value, trimmed
    };

    static Line parse(const QByteArray &content, const QByteArray &terminator,
                      TextCodec::Encoding encoding);
    int findSection(const QString &section) const;
    int findKey(int sectionIndex, const QString &key) const;
    int sectionEnd(int sectionIndex) const;
    Line makeLine(const QString &text) const;
    void terminateLine(int index);

    std::vector<Line> m_lines;
    // Lines are kept in the file's own 8-bit encoding; a UTF-16 file is worked on as UTF-8.
    TextCodec::Encoding m_fileEncoding = TextCodec::Encoding::Gb18030;
    TextCodec::Encoding m_workEncoding = TextCodec::Encoding::Gb18030;
};
