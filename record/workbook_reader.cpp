#include "record/workbook_reader.h"

#include <QXmlStreamReader>
#include <algorithm>
#include <zip.h>

namespace Workbook {

namespace {

// Members larger than this are not ours: a workbook of a whole event stays far below it.
constexpr zip_uint64_t kMaxMemberBytes = 512ULL * 1024 * 1024;
// Deflate never packs more than about 1032 bytes into one, so a member declaring more than that
// ratio to the whole archive is a lie, and would only make the reader allocate what it says.
constexpr zip_uint64_t kMaxDeflateRatio = 1032;

zip_uint64_t memberLimit(qsizetype archiveBytes)
{
    return std::min(kMaxMemberBytes, zip_uint64_t(archiveBytes) * kMaxDeflateRatio);
}

class Archive
{
public:
    explicit Archive(const QByteArray &bytes) : m_limit(memberLimit(bytes.size()))
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *source =
            zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
        if (source) {
            m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
            if (!m_zip)
                zip_source_free(source);
        }
        zip_error_fini(&error);
    }
    ~Archive()
    {
        if (m_zip)
            zip_discard(m_zip);
    }
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;

    bool isOpen() const { return m_zip != nullptr; }

    std::optional<QByteArray> member(const char *name) const
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(m_zip, name, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
            stat.size > m_limit)
            return std::nullopt;
        zip_file_t *file = zip_fopen(m_zip, name, 0);
        if (!file)
            return std::nullopt;
        QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
        const zip_int64_t read = zip_fread(file, bytes.data(), stat.size);
        zip_fclose(file);
        if (read < 0 || zip_uint64_t(read) != stat.size)
            return std::nullopt;
        return bytes;
    }

private:
    zip_uint64_t m_limit;
    zip_t *m_zip = nullptr;
};

// "_x0001_" and the like: the control characters a workbook cannot hold as they are.
QString unescapeControls(const QString &text)
{
    if (!text.contains(QStringLiteral("_x")))
        return text;
    QString out;
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == u'_' && k + 6 < text.size() && text[k + 1] == u'x' && text[k + 6] == u'_') {
            bool ok = false;
            const uint code = text.mid(k + 2, 4).toUInt(&ok, 16);
            if (ok && code < 0x20) {
                out += QChar(char16_t(code));
                k += 6;
                continue;
            }
        }
        out += text[k];
    }
    return out;
}

// The text of an <si> or <is> the reader stands on: its <t> elements, runs included, phonetic
// hints left out.
QString readStringItem(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QStringLiteral("t")) {
                text += xml.readElementText(); // consumes its end
                continue;
            }
            if (xml.name() == QStringLiteral("rPh")) {
                xml.skipCurrentElement();
                continue;
            }
            ++depth;
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    return unescapeControls(text);
}

std::optional<QStringList> readSharedStrings(const QByteArray &bytes)
{
    QStringList strings;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QStringLiteral("si"))
            strings.append(readStringItem(xml));
    }
    if (xml.hasError())
        return std::nullopt;
    return strings;
}

// "D12" → column 3 (0-based); -1 when it is no cell reference.
int columnOf(QStringView ref)
{
    int column = 0;
    qsizetype k = 0;
    for (; k < ref.size() && ref[k] >= u'A' && ref[k] <= u'Z'; ++k) {
        column = column * 26 + (ref[k].unicode() - u'A' + 1);
        if (column > 16384)
            return -1;
    }
    return k == 0 ? -1 : column - 1;
}

} // namespace

std::optional<Sheet> readFirstSheet(const QByteArray &xlsx, QString *error, const Bounds &bounds)
{
    auto fail = [error](const QString &why) -> std::optional<Sheet> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const Archive archive(xlsx);
    if (!archive.isOpen())
        return fail(QStringLiteral("不是有效的表格文件"));
    const auto sheetXml = archive.member("xl/worksheets/sheet1.xml");
    if (!sheetXml)
        return fail(QStringLiteral("表格中没有工作表"));
    QStringList shared;
    if (const auto sharedXml = archive.member("xl/sharedStrings.xml")) {
        const auto strings = readSharedStrings(*sharedXml);
        if (!strings)
            return fail(QStringLiteral("表格的文字部分无法读取"));
        shared = *strings;
    }

    Sheet sheet;
    if (const auto bookXml = archive.member("xl/workbook.xml")) {
        QXmlStreamReader xml(*bookXml);
        while (!xml.atEnd() && sheet.name.isEmpty()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QStringLiteral("sheet"))
                sheet.name = xml.attributes().value(QStringLiteral("name")).toString();
        }
    }

    QXmlStreamReader xml(*sheetXml);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QStringLiteral("row")) {
            const qint64 number = xml.attributes().value(QStringLiteral("r")).toLongLong();
            if (number < 1 || number > 1048576 || number <= sheet.rows.size())
                return fail(QStringLiteral("表格的行号不正确"));
            if (number > bounds.rows)
                return fail(QStringLiteral("表格的行数多于记录（第 %1 行）").arg(number));
            while (sheet.rows.size() < number)
                sheet.rows.append(QList<Cell>());
        } else if (xml.name() == QStringLiteral("c")) {
            if (sheet.rows.isEmpty())
                return fail(QStringLiteral("表格的单元格不在行内"));
            const int column = columnOf(xml.attributes().value(QStringLiteral("r")));
            if (column < 0)
                return fail(QStringLiteral("表格的单元格位置不正确"));
            if (column >= bounds.columns)
                return fail(
                    QStringLiteral("表格第 %1 行有记录之外的单元格").arg(sheet.rows.size()));
            const QString type = xml.attributes().value(QStringLiteral("t")).toString();
            Cell cell;
            cell.isText = type == QStringLiteral("s") || type == QStringLiteral("inlineStr") ||
                          type == QStringLiteral("str");
            QString value;
            while (xml.readNextStartElement()) {
                if (xml.name() == QStringLiteral("v")) {
                    value = xml.readElementText();
                } else if (xml.name() == QStringLiteral("f")) {
                    cell.isFormula = true;
                    xml.skipCurrentElement();
                } else if (xml.name() == QStringLiteral("is")) {
                    value = readStringItem(xml);
                } else {
                    xml.skipCurrentElement();
                }
            }
            if (type == QStringLiteral("s")) {
                bool ok = false;
                const qsizetype index = value.toLongLong(&ok);
                if (!ok || index < 0 || index >= shared.size())
                    return fail(QStringLiteral("表格引用了不存在的文字"));
                cell.text = shared[index];
            } else {
                cell.text = value;
            }
            QList<Cell> &row = sheet.rows.last();
            if (column < row.size())
                return fail(QStringLiteral("表格的单元格重复"));
            while (row.size() < column)
                row.append(Cell());
            row.append(cell);
        }
    }
    if (xml.hasError())
        return fail(QStringLiteral("表格内容无法读取"));
    return sheet;
}

} // namespace Workbook
