#include "draw/csv_sheet.h"

#include "platform/text_codec.h"

namespace CsvSheet {

QChar separatorOf(const QString &text)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\r' || c == u'\n'))
            break;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u';')
            ++semicolons;
        else if (!quoted && c == u'\t')
            ++tabs;
    }
    if (tabs > commas && tabs >= semicolons)
        return u'\t';
    if (semicolons > commas)
        return u';';
    return u',';
}

std::optional<QList<QStringList>> read(const QByteArray &bytes, QString *error)
{
    const QString text = TextCodec::decode(bytes);
    const QChar separator = separatorOf(text);
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    int line = 1;
    int quoteLine = 0;
    auto endRow = [&] {
        row.append(field);
        field.clear();
        bool blank = true;
        for (const QString &f : row)
            blank = blank && f.trimmed().isEmpty();
        if (!blank)
            rows.append(row);
        row.clear();
    };
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (quoted) {
            if (c == u'"' && k + 1 < text.size() && text[k + 1] == u'"') {
                field += u'"';
                ++k;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
            quoteLine = line;
        } else if (c == separator) {
            row.append(field);
            field.clear();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n')
                ++k;
            ++line;
            endRow();
        } else {
            field += c;
        }
    }
    if (quoted) {
        if (error)
            *error = QStringLiteral("表格第 %1 行的引号没有结束").arg(quoteLine);
        return std::nullopt;
    }
    if (!field.isEmpty() || !row.isEmpty())
        endRow();
    return rows;
}

} // namespace CsvSheet
