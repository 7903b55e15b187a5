#include "files/biffsheet.h"

#include "files/xlsdates.h"
#include "text/codepage.h"

#include <QStringDecoder>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

enum RecordId : uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kDateMode = 0x0022,
    kFilePass = 0x002F,
    kContinue = 0x003C,
    kCodePage = 0x0042,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kMulBlank = 0x00BE,
    kRString = 0x00D6,
    kXf = 0x00E0,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kDimension = 0x0200,
    kArray = 0x0221,
    kTable = 0x0236,
    kSharedFormula = 0x04BC,
    kBlank = 0x0201,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kFormat = 0x041E,
    kBof = 0x0809,
};

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kUtf16CodePage = 1200;

// Little-endian fields of one record or of a record with its CONTINUE parts; reading past the end
// gives zeros and clears ok, so a short record is noticed once, after its fields are taken.
class Fields {
public:
    explicit Fields(QByteArrayView data) { m_parts.push_back(data); }
    void addPart(QByteArrayView data) { m_parts.push_back(data); }

    bool ok() const { return m_ok; }
    bool atPartEnd() const { return m_pos >= m_parts[m_part].size(); }
    // Moves to the next part when the current one is used up; false when there is none.
    bool nextPart()
    {
        if (m_part + 1 >= m_parts.size())
            return false;
        ++m_part;
        m_pos = 0;
        return true;
    }

    uint8_t u8()
    {
        while (atPartEnd()) {
            if (!nextPart()) {
                m_ok = false;
                return 0;
            }
        }
        return static_cast<uint8_t>(m_parts[m_part][m_pos++]);
    }
    uint16_t u16()
    {
        const uint16_t low = u8();
        return static_cast<uint16_t>(low | (u8() << 8));
    }
    uint32_t u32()
    {
        const uint32_t low = u16();
        return low | (static_cast<uint32_t>(u16()) << 16);
    }
    double f64()
    {
        const uint64_t bits = u32() | (static_cast<uint64_t>(u32()) << 32);
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    void skip(uint64_t count)
    {
        while (count > 0) {
            if (atPartEnd() && !nextPart()) {
                m_ok = false;
                return;
            }
            const uint64_t take = std::min<uint64_t>(count, uint64_t(m_parts[m_part].size() - m_pos));
            m_pos += static_cast<qsizetype>(take);
            count -= take;
        }
    }
    QByteArray bytes(uint32_t count)
    {
        QByteArray out;
        for (uint32_t i = 0; i < count && m_ok; ++i)
            out.append(static_cast<char>(u8()));
        return out;
    }

private:
    std::vector<QByteArrayView> m_parts;
    size_t m_part = 0;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

// A BIFF8 text: length, option flags, then one- or two-byte characters. Where the characters run
// into the next CONTINUE part, that part begins with its own flags byte.
QString UnicodeText(Fields& in, uint16_t length)
{
    const uint8_t flags = in.u8();
    const uint16_t runs = (flags & 0x08) ? in.u16() : 0;
    const uint32_t phonetic = (flags & 0x04) ? in.u32() : 0;
    bool wide = flags & 0x01;
    QString text;
    for (uint16_t i = 0; i < length && in.ok(); ++i) {
        if (i > 0 && in.atPartEnd()) {
            if (!in.nextPart())
                break;
            wide = in.u8() & 0x01;
        }
        text.append(QChar(wide ? in.u16() : in.u8()));
    }
    in.skip(4 * uint64_t(runs) + phonetic);
    return text;
}

QString ErrorText(uint8_t code)
{
    switch (code) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    case 0x2A: return QStringLiteral("#N/A");
    default: return QString();
    }
}

double RkNumber(uint32_t rk)
{
    double value = 0;
    if (rk & 0x02) {
        value = static_cast<int32_t>(rk) >> 2;
    } else {
        const uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

struct Record {
    uint16_t id = 0;
    QByteArrayView data;
};

class Workbook {
public:
    Workbook(const QByteArray& stream, TSheetCells& cells) : m_stream(stream), m_cells(cells) {}

    bool read(QString& why)
    {
        if (!readGlobals(why))
            return false;
        if (m_firstSheet < 0)
            return true;  // no worksheet: nothing to import
        m_pos = m_firstSheet;
        return readSheet(why);
    }

private:
    // The next record, or false at the end of the stream; a record that runs past it is damage.
    bool next(Record& record)
    {
        if (m_pos + 4 > m_stream.size())
            return false;
        const auto* p = reinterpret_cast<const uint8_t*>(m_stream.constData() + m_pos);
        record.id = static_cast<uint16_t>(p[0] | (p[1] << 8));
        const qsizetype length = p[2] | (p[3] << 8);
        if (m_pos + 4 + length > m_stream.size()) {
            m_broken = true;
            return false;
        }
        record.data = QByteArrayView(m_stream.constData() + m_pos + 4, length);
        m_pos += 4 + length;
        return true;
    }

    // The record's CONTINUE parts, which long shared-string tables and formula texts need.
    void addContinues(Fields& fields)
    {
        Record more;
        qsizetype at = m_pos;
        while (next(more) && more.id == kContinue) {
            fields.addPart(more.data);
            at = m_pos;
        }
        m_pos = at;
        m_broken = false;  // a damaged record after the parts is met again by the caller
    }

    QString byteText(Fields& in, uint32_t length)
    {
        const QByteArray bytes = in.bytes(length);
        if (m_codePage == 1251)
            return codepage::fromCp1251(bytes);
        // Code page 1200 (UTF-16) names no byte code page: such texts read as Latin-1, like any unknown one.
        if (m_codePage != kUtf16CodePage) {
            QStringDecoder decoder(QStringLiteral("windows-%1").arg(m_codePage).toLatin1().constData());
            if (decoder.isValid())
                return decoder.decode(bytes);
        }
        return QString::fromLatin1(bytes);
    }

    // A cell's text as LABEL, RSTRING and STRING hold it: a BIFF8 text or a code-page byte text.
    QString cellText(Fields& in)
    {
        const uint16_t length = in.u16();
        return m_biff8 ? UnicodeText(in, length) : byteText(in, length);
    }

    QString numberText(double value, uint16_t xf) const
    {
        NumberShape shape = NumberShape::Number;
        if (xf < m_xfFormats.size()) {
            const uint16_t format = m_xfFormats[xf];
            const auto custom = m_formats.find(format);
            shape = custom != m_formats.end() ? custom->second : ShapeOfBuiltInFormat(format);
        }
        return NumberCellText(value, shape, m_epoch1904);
    }

    void put(uint16_t row, uint16_t column, const QString& text)
    {
        m_cells.setCell(int(row) + 1, int(column) + 1, text);
    }

    bool damaged(QString& why)
    {
        why = QStringLiteral("книга повреждена");
        return false;
    }

    bool readGlobals(QString& why)
    {
        Record record;
        if (!next(record) || record.id != kBof || record.data.size() < 4) {
            why = QStringLiteral("книга не в формате Excel 5.0 или новее");
            return false;
        }
        m_biff8 = Fields(record.data).u16() == kBiff8;
        m_codePage = m_biff8 ? kUtf16CodePage : 1252;
        while (next(record) && record.id != kEof) {
            Fields in(record.data);
            switch (record.id) {
            case kFilePass:
                why = QStringLiteral("книга защищена паролем");
                return false;
            case kCodePage:
                m_codePage = in.u16();
                break;
            case kDateMode:
                m_epoch1904 = in.u16() == 1;
                break;
            case kFormat: {
                const uint16_t index = in.u16();
                const QString code = m_biff8 ? UnicodeText(in, in.u16()) : byteText(in, in.u8());
                m_formats[index] = ShapeOfFormatCode(code);
                break;
            }
            case kXf:
                in.u16();
                m_xfFormats.push_back(in.u16());
                break;
            case kBoundSheet: {
                const uint32_t offset = in.u32();
                in.u8();
                const uint8_t type = in.u8();
                if (type == 0 && m_firstSheet < 0)
                    m_firstSheet = offset;
                break;
            }
            case kSst:
                addContinues(in);
                in.skip(8);
                while (in.ok() && !(in.atPartEnd() && !in.nextPart())) {
                    const QString text = UnicodeText(in, in.u16());
                    if (in.ok())
                        m_shared.push_back(text);
                }
                break;
            default:
                break;
            }
            if (!in.ok())
                return damaged(why);
        }
        if (m_broken || m_firstSheet >= m_stream.size())
            return damaged(why);
        return true;
    }

    // Where the text of a formula's result goes: the STRING record that follows names no cell.
    struct PendingText {
        int row = -1;
        int column = -1;
    };

    bool readSheet(QString& why)
    {
        Record record;
        if (!next(record) || record.id != kBof)
            return damaged(why);
        int depth = 1;  // charts inside the sheet bring their own BOF ... EOF
        PendingText pending;
        while (depth > 0 && next(record)) {
            if (record.id == kBof || record.id == kEof) {
                depth += record.id == kBof ? 1 : -1;
                continue;
            }
            if (depth > 1)
                continue;
            Fields in(record.data);
            if (!readCellRecord(record, in, pending) || !in.ok())
                return damaged(why);
        }
        if (m_broken)
            return damaged(why);
        return true;
    }

    // One record of the sheet itself; false for damage its fields' bounds do not show (a shared
    // string that is not there).
    bool readCellRecord(const Record& record, Fields& in, PendingText& pending)
    {
        const PendingText formulaText = pending;
        pending = {};
        switch (record.id) {
        case kDimension: {
            if (m_biff8)
                in.u32();
            else
                in.u16();
            const uint32_t rows = m_biff8 ? in.u32() : in.u16();  // one past the last used row
            if (in.ok())
                m_cells.useRow(int(std::min<uint32_t>(rows, 1u << 20)));
            break;
        }
        case kNumber: {
            const uint16_t row = in.u16(), column = in.u16(), xf = in.u16();
            put(row, column, numberText(in.f64(), xf));
            break;
        }
        case kRk: {
            const uint16_t row = in.u16(), column = in.u16(), xf = in.u16();
            put(row, column, numberText(RkNumber(in.u32()), xf));
            break;
        }
        case kMulRk: {
            const uint16_t row = in.u16(), first = in.u16();
            const qsizetype count = (record.data.size() - 6) / 6;
            for (qsizetype i = 0; i < count && in.ok(); ++i) {
                const uint16_t xf = in.u16();
                put(row, uint16_t(first + i), numberText(RkNumber(in.u32()), xf));
            }
            break;
        }
        case kLabelSst: {
            const uint16_t row = in.u16(), column = in.u16();
            in.u16();
            const uint32_t index = in.u32();
            if (in.ok() && index >= m_shared.size())
                return false;
            if (in.ok())
                put(row, column, m_shared[index]);
            break;
        }
        case kLabel:
        case kRString: {
            const uint16_t row = in.u16(), column = in.u16();
            in.u16();
            const QString text = cellText(in);
            put(row, column, text);
            break;
        }
        case kBoolErr: {
            const uint16_t row = in.u16(), column = in.u16();
            in.u16();
            const uint8_t value = in.u8();
            put(row, column, in.u8() ? ErrorText(value) : QString::number(value ? 1 : 0));
            break;
        }
        case kFormula:
            pending = readFormula(in);
            break;
        case kString:
            if (formulaText.row >= 0) {
                addContinues(in);
                const QString text = cellText(in);
                put(uint16_t(formulaText.row), uint16_t(formulaText.column), text);
            }
            break;
        case kBlank:
        case kMulBlank: {
            const uint16_t row = in.u16();
            if (in.ok())
                m_cells.useRow(int(row) + 1);
            break;
        }
        case kSharedFormula:
        case kArray:
        case kTable:
            // These sit between a formula and its STRING.
            pending = formulaText;
            break;
        default:
            break;
        }
        return true;
    }

    // A formula's cached result, put as the plain cell of its type would be; a text result comes in
    // the STRING record that follows, and its cell is returned.
    PendingText readFormula(Fields& in)
    {
        const uint16_t row = in.u16(), column = in.u16(), xf = in.u16();
        const QByteArray result = in.bytes(8);
        if (!in.ok())
            return {};
        const auto* r = reinterpret_cast<const uint8_t*>(result.constData());
        if (r[6] != 0xFF || r[7] != 0xFF) {
            Fields number(result);
            put(row, column, numberText(number.f64(), xf));
        } else if (r[0] == 0) {
            return {row, column};
        } else if (r[0] == 1) {
            put(row, column, QString::number(r[2] ? 1 : 0));
        } else if (r[0] == 2) {
            put(row, column, ErrorText(r[2]));
        } else {
            put(row, column, QString());
        }
        return {};
    }

    const QByteArray& m_stream;
    TSheetCells& m_cells;
    qsizetype m_pos = 0;
    bool m_broken = false;
    bool m_biff8 = true;
    bool m_epoch1904 = false;
    int m_codePage = kUtf16CodePage;
    qsizetype m_firstSheet = -1;
    std::vector<QString> m_shared;
    std::vector<uint16_t> m_xfFormats;
    std::unordered_map<uint16_t, NumberShape> m_formats;
};

}  // namespace

bool ReadBiffFirstSheet(const QByteArray& stream, TSheetCells& cells, QString& why)
{
    return Workbook(stream, cells).read(why);
}
