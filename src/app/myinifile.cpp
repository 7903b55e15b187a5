#include "app/myinifile.h"

#include "text/codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

constexpr QChar kWrap(0x7F);

// One stored line: name "=" value, or a line without "=" kept as it was read. Lines of a section are
// chained through `next`, so a document's lines live in one array whatever the number of sections.
// A key's name is one of the document's spellings, stored once however many sections use it.
// A value read from a Windows-1251 file stays as its bytes in the file's text until it is asked
// for: loading then costs no decoding and no memory per value.
struct Line {
    QString value;       // the whole line when the line has no name; empty while the value is raw
    qsizetype next = -1;
    int spelling = -1;   // -1: a line without "="
    int nameId = -1;     // the number of the spelling's folded name
    qsizetype rawAt = -1;  // the value's bytes in the file's text, when not yet decoded
    qsizetype rawSize = 0;
    bool isPair() const { return spelling >= 0; }
};

struct Spelling {
    QString text;
    int nameId;  // the number of its folded name
};

struct Section {
    QString name;
    qsizetype first = -1;
    qsizetype last = -1;
    int pairs = 0;
};

// A section of up to this many keys finds a key by walking its few lines; a larger one through the
// document's key table. Either way a lookup costs a bounded number of steps.
constexpr int kWalkedKeys = 8;

QString folded(const QString& name)
{
    return name.toCaseFolded();
}

// Code unit of the text being parsed: a Windows-1251 byte or a UTF-16 unit. Bytes below 0x80 are
// the characters of the same code, so the line rules read either alike.
inline char16_t unit(char c)
{
    return static_cast<unsigned char>(c);
}
inline char16_t unit(char16_t c)
{
    return c;
}

template <typename Ch>
using TextView = std::basic_string_view<Ch>;

// Trims the characters with codes up to 32 on both sides, as the loading rules do.
template <typename Ch>
TextView<Ch> trimmed(TextView<Ch> s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && unit(s[b]) <= 32)
        ++b;
    while (e > b && unit(s[e - 1]) <= 32)
        --e;
    return s.substr(b, e - b);
}

// Where the line starting at `pos` ends: at its CR or LF, or at the end of the text.
size_t lineEnd(TextView<char> text, size_t pos)
{
    const char* begin = text.data() + pos;
    const size_t left = text.size() - pos;
    const void* lf = std::memchr(begin, '\n', left);
    const size_t len = lf ? size_t(static_cast<const char*>(lf) - begin) : left;
    const void* cr = std::memchr(begin, '\r', len);
    return pos + (cr ? size_t(static_cast<const char*>(cr) - begin) : len);
}
size_t lineEnd(TextView<char16_t> text, size_t pos)
{
    while (pos < text.size() && text[pos] != u'\r' && text[pos] != u'\n')
        ++pos;
    return pos;
}

inline QString textOf(TextView<char> s)
{
    return codepage::fromCp1251(s.data(), qsizetype(s.size()));
}
inline QString textOf(TextView<char16_t> s)
{
    return QString(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size()));
}

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Digits of one base up to the end of the text, into a magnitude no larger than limit.
bool parseMagnitude(QStringView digits, int base, uint64_t limit, uint64_t& out)
{
    if (digits.isEmpty())
        return false;
    uint64_t acc = 0;
    for (QChar ch : digits) {
        const int d = hexDigit(ch.unicode());
        if (d < 0 || d >= base)
            return false;
        acc = acc * base + d;
        if (acc > limit)
            return false;
    }
    out = acc;
    return true;
}

// Integer text of the settings files: "0x"/"0X" + hex (only when something follows the prefix),
// otherwise leading blanks, an optional sign and decimal digits or "$" + hex. 32-bit signed range.
bool parseIniInteger(const QString& text, int32_t& value)
{
    constexpr uint64_t kMax = std::numeric_limits<int32_t>::max();
    uint64_t mag = 0;
    if (text.size() > 2 && text[0] == QLatin1Char('0')
        && (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X'))) {
        if (!parseMagnitude(QStringView(text).sliced(2), 16, kMax, mag))
            return false;
        value = static_cast<int32_t>(mag);
        return true;
    }
    QStringView s(text);
    while (!s.isEmpty() && s.front() == QLatin1Char(' '))
        s = s.sliced(1);
    bool negative = false;
    if (!s.isEmpty() && (s.front() == QLatin1Char('-') || s.front() == QLatin1Char('+'))) {
        negative = s.front() == QLatin1Char('-');
        s = s.sliced(1);
    }
    int base = 10;
    if (!s.isEmpty() && s.front() == QLatin1Char('$')) {
        base = 16;
        s = s.sliced(1);
    }
    if (!parseMagnitude(s, base, negative ? kMax + 1 : kMax, mag))
        return false;
    value = negative ? static_cast<int32_t>(-static_cast<int64_t>(mag)) : static_cast<int32_t>(mag);
    return true;
}

QByteArray encodeUtf16(const QString& text, bool bigEndian)
{
    QByteArray out;
    out.resize(2 + text.size() * 2);
    char* p = out.data();
    const char b0 = bigEndian ? '\xFE' : '\xFF';
    const char b1 = bigEndian ? '\xFF' : '\xFE';
    *p++ = b0;
    *p++ = b1;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        *p++ = bigEndian ? hi : lo;
        *p++ = bigEndian ? lo : hi;
    }
    return out;
}

}  // namespace

// Lookups find the first section or line of a name, so a repeated name keeps the first index. One
// hash lookup: the slot is made when missing, and only a new slot takes the value.
template <typename Key>
void insertFirst(QHash<Key, qsizetype>& index, const Key& key, qsizetype at)
{
    const qsizetype before = index.size();
    qsizetype& slot = index[key];
    if (index.size() != before)
        slot = at;
}

struct TmyIniFile::Impl {
    QString fileName;
    Encoding encoding = Encoding::Ansi;
    bool loaded = true;
    QString error;
    std::vector<Section> sections;
    std::vector<Line> lines;
    QHash<QString, qsizetype> sectionIndex;  // folded name -> first section with that name
    // Key names repeat from section to section (every goods section has the same five): each folded
    // name gets a number once, and a key is found by (section, name number) in one table of integers.
    QHash<QString, int> nameIds;
    QHash<quint64, qsizetype> keyIndex;  // (section, name number) -> first line, for large sections
    std::vector<Spelling> spellings;
    QHash<QString, int> spellingIndex;   // exact text -> spelling
    QByteArray raw;  // a Windows-1251 file's bytes, where its values still are

    QString valueOf(const Line& l) const
    {
        return l.rawAt >= 0 ? codepage::fromCp1251(raw.constData() + l.rawAt, l.rawSize) : l.value;
    }

    int spellingOf(const QString& text)
    {
        const auto it = spellingIndex.constFind(text);
        if (it != spellingIndex.cend())
            return *it;
        const int at = int(spellings.size());
        spellings.push_back(Spelling{text, nameId(text, true)});
        spellingIndex.insert(text, at);
        return at;
    }

    static quint64 keyOf(qsizetype section, int nameId)
    {
        return (quint64(section) << 32) | quint32(nameId);
    }

    int nameId(const QString& name, bool create)
    {
        const QString key = folded(name);
        const auto it = nameIds.constFind(key);
        if (it != nameIds.cend())
            return *it;
        if (!create)
            return -1;
        const int id = int(nameIds.size());
        nameIds.insert(key, id);
        return id;
    }

    // Callers go through a section key after key: the last section found is remembered by its exact
    // name, which spares folding the name again. Sections are only ever added, so a found index stays.
    mutable QString lastSectionName;
    mutable qsizetype lastSectionAt = -1;

    qsizetype findSectionIndex(const QString& name) const
    {
        if (lastSectionAt >= 0 && name == lastSectionName)
            return lastSectionAt;
        const auto it = sectionIndex.constFind(folded(name));
        if (it == sectionIndex.cend())
            return -1;
        lastSectionName = name;
        lastSectionAt = *it;
        return *it;
    }

    // The number of a key name; a spelling already in the document needs no folding.
    int findNameId(const QString& name) const
    {
        const auto sp = spellingIndex.constFind(name);
        if (sp != spellingIndex.cend())
            return spellings[size_t(*sp)].nameId;
        const auto it = nameIds.constFind(folded(name));
        return it == nameIds.cend() ? -1 : *it;
    }

    const Section* findSection(const QString& name) const
    {
        const qsizetype at = findSectionIndex(name);
        return at < 0 ? nullptr : &sections[size_t(at)];
    }

    // A repeated section name keeps its own lines; lookups find the first one.
    qsizetype addSection(const QString& name)
    {
        const qsizetype at = qsizetype(sections.size());
        insertFirst(sectionIndex, folded(name), at);
        sections.push_back(Section{name, -1, -1, 0});
        return at;
    }

    qsizetype sectionFor(const QString& name)
    {
        const qsizetype at = findSectionIndex(name);
        return at >= 0 ? at : addSection(name);
    }

    const Line* findLine(const QString& section, const QString& ident) const
    {
        const qsizetype s = findSectionIndex(section);
        if (s < 0)
            return nullptr;
        const int id = findNameId(ident);
        if (id < 0)
            return nullptr;
        const qsizetype at = lineIndex(s, id);
        return at < 0 ? nullptr : &lines[size_t(at)];
    }

    // The first line of the section with that name, or -1.
    qsizetype lineIndex(qsizetype section, int id) const
    {
        const Section& s = sections[size_t(section)];
        if (s.pairs > kWalkedKeys) {
            const auto it = keyIndex.constFind(keyOf(section, id));
            return it == keyIndex.cend() ? -1 : *it;
        }
        for (qsizetype i = s.first; i >= 0; i = lines[size_t(i)].next)
            if (lines[size_t(i)].nameId == id)
                return i;
        return -1;
    }

    // Appends a line to a section. A section growing past the walked size has its keys entered in
    // the key table then; from there on each new key is entered unless an earlier line has its name.
    void addLine(qsizetype section, Line line)
    {
        const qsizetype at = qsizetype(lines.size());
        if (line.isPair())
            line.nameId = spellings[size_t(line.spelling)].nameId;
        lines.push_back(std::move(line));
        Section& s = sections[size_t(section)];
        if (s.last >= 0)
            lines[size_t(s.last)].next = at;
        else
            s.first = at;
        s.last = at;
        if (!lines[size_t(at)].isPair())
            return;
        if (++s.pairs == kWalkedKeys + 1) {
            for (qsizetype i = s.first; i >= 0; i = lines[size_t(i)].next)
                if (lines[size_t(i)].isPair())
                    insertFirst(keyIndex, keyOf(section, lines[size_t(i)].nameId), i);
        } else if (s.pairs > kWalkedKeys) {
            insertFirst(keyIndex, keyOf(section, lines[size_t(at)].nameId), at);
        }
    }

    void write(const QString& section, const QString& ident, const QString& value)
    {
        const qsizetype s = sectionFor(section);
        const int spelling = spellingOf(ident);
        const qsizetype at = lineIndex(s, spellings[size_t(spelling)].nameId);
        if (at >= 0) {
            Line& l = lines[size_t(at)];
            l.spelling = spelling;
            l.value = value;
            l.rawAt = -1;
            return;
        }
        addLine(s, Line{value, -1, spelling});
    }

    // The document's text: Windows-1251 files are parsed as bytes, each name and value decoded on
    // its own; a byte-order mark selects UTF-8 or UTF-16, decoded whole first.
    void load(const QByteArray& bytes)
    {
        const auto starts = [&bytes](const char* bom) { return bytes.startsWith(bom); };
        if (starts("\xEF\xBB\xBF")) {
            encoding = Encoding::Utf8;
            parseDecoded(QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3));
            return;
        }
        if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
            encoding = bytes[0] == '\xFF' ? Encoding::Utf16LE : Encoding::Utf16BE;
            QStringDecoder dec(encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE
                                                             : QStringConverter::Utf16BE);
            parseDecoded(dec.decode(QByteArrayView(bytes).sliced(2)));
            return;
        }
        encoding = Encoding::Ansi;
        raw = bytes;
        parse(TextView<char>(raw.constData(), size_t(raw.size())));
    }

    void parseDecoded(const QString& text)
    {
        parse(TextView<char16_t>(reinterpret_cast<const char16_t*>(text.constData()), size_t(text.size())));
    }

    Line valueLine(TextView<char> value, int spelling) const
    {
        return Line{{}, -1, spelling, -1, value.data() - raw.constData(), qsizetype(value.size())};
    }
    static Line valueLine(TextView<char16_t> value, int spelling)
    {
        return Line{textOf(value), -1, spelling};
    }

    template <typename Ch>
    void parse(TextView<Ch> text)
    {
        // Raw text of a key name -> its spelling, decoded once. Sections of one document mostly name
        // their keys alike and in the same order: the previous section's k-th name is tried first.
        std::unordered_map<TextView<Ch>, int> names;
        std::vector<std::pair<TextView<Ch>, int>> previousNames, sectionNames;
        // Most lines of a large document are keys: room for them all saves growing the tables.
        const auto lineCount = size_t(std::count(text.begin(), text.end(), Ch('\n')));
        lines.reserve(lines.size() + lineCount + 1);
        const auto brackets = std::count(text.begin(), text.end(), Ch('['));
        sectionIndex.reserve(sectionIndex.size() + brackets + 1);
        sections.reserve(sections.size() + size_t(brackets) + 1);
        qsizetype current = -1;
        size_t pos = 0;
        const size_t n = text.size();
        while (pos < n) {
            const size_t end = lineEnd(text, pos);
            const TextView<Ch> line = trimmed(text.substr(pos, end - pos));
            pos = end + 1;
            if (line.empty() || unit(line.front()) == u';')
                continue;
            if (unit(line.front()) == u'[' && unit(line.back()) == u']' && line.size() >= 2) {
                current = addSection(textOf(trimmed(line.substr(1, line.size() - 2))));
                std::swap(previousNames, sectionNames);
                sectionNames.clear();
                continue;
            }
            if (current < 0)
                continue;
            size_t eq = 0;
            while (eq < line.size() && unit(line[eq]) != u'=')
                ++eq;
            if (eq == line.size()) {
                addLine(current, Line{textOf(line), -1, -1});
                continue;
            }
            const TextView<Ch> rawName = trimmed(line.substr(0, eq));
            const size_t k = sectionNames.size();
            int spelling = -1;
            if (k < previousNames.size() && previousNames[k].first == rawName) {
                spelling = previousNames[k].second;
            } else {
                auto it = names.find(rawName);
                if (it == names.end())
                    it = names.emplace(rawName, spellingOf(textOf(rawName))).first;
                spelling = it->second;
            }
            sectionNames.emplace_back(rawName, spelling);
            addLine(current, valueLine(trimmed(line.substr(eq + 1)), spelling));
        }
    }

    // Windows-1251 documents are written as bytes: values still raw are copied as they were read.
    QByteArray serializeAnsi() const
    {
        std::vector<QByteArray> names;
        names.reserve(spellings.size());
        for (const Spelling& sp : spellings)
            names.push_back(codepage::toCp1251(sp.text));
        QByteArray out;
        out.reserve(raw.size() + qsizetype(lines.size()) * 2 + 1024);
        for (const Section& s : sections) {
            out += '[';
            out += codepage::toCp1251(s.name);
            out += "]\r\n";
            for (qsizetype i = s.first; i >= 0; i = lines[size_t(i)].next) {
                const Line& l = lines[size_t(i)];
                if (l.isPair()) {
                    out += names[size_t(l.spelling)];
                    out += '=';
                }
                if (l.rawAt >= 0)
                    out.append(raw.constData() + l.rawAt, l.rawSize);
                else
                    out += codepage::toCp1251(l.value);
                out += "\r\n";
            }
            out += "\r\n";
        }
        return out;
    }

    // The text of a document read from a UTF-8 or UTF-16 file, whose values are all decoded.
    QString documentText() const
    {
        QString text;
        qsizetype size = 0;
        for (const Section& s : sections)
            size += s.name.size() + 6;
        for (const Line& l : lines)
            size += (l.isPair() ? spellings[size_t(l.spelling)].text.size() : 0) + l.value.size() + 3;
        text.reserve(size);
        const QLatin1String eol("\r\n");
        for (const Section& s : sections) {
            text += QLatin1Char('[');
            text += s.name;
            text += QLatin1Char(']');
            text += eol;
            for (qsizetype i = s.first; i >= 0; i = lines[size_t(i)].next) {
                const Line& l = lines[size_t(i)];
                if (l.isPair()) {
                    text += spellings[size_t(l.spelling)].text;
                    text += QLatin1Char('=');
                }
                text += l.value;
                text += eol;
            }
            text += eol;
        }
        return text;
    }

    QByteArray serialize() const
    {
        switch (encoding) {
        case Encoding::Utf8:
            return QByteArray("\xEF\xBB\xBF") + documentText().toUtf8();
        case Encoding::Utf16LE:
            return encodeUtf16(documentText(), false);
        case Encoding::Utf16BE:
            return encodeUtf16(documentText(), true);
        case Encoding::Ansi:
            break;
        }
        return serializeAnsi();
    }
};

TmyIniFile::TmyIniFile(const QString& fileName) : d(std::make_unique<Impl>())
{
    d->fileName = fileName;
    if (!QFileInfo::exists(fileName))
        return;
    if (QFileInfo(fileName).isDir()) {
        d->loaded = false;
        d->error = QStringLiteral("Is a directory");
        return;
    }
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        d->loaded = false;
        d->error = f.errorString();
        return;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        d->loaded = false;
        d->error = f.errorString();
        return;
    }
    d->load(bytes);
}

TmyIniFile::~TmyIniFile() = default;

bool TmyIniFile::loaded() const
{
    return d->loaded;
}

QString TmyIniFile::fileName() const
{
    return d->fileName;
}

TmyIniFile::Encoding TmyIniFile::encoding() const
{
    return d->encoding;
}

QString TmyIniFile::mReadString(const QString& section, const QString& ident, const QString& def) const
{
    const QString s = ReadString(section, ident, kWrap + def + kWrap);
    if (s.size() >= 2 && s.front() == kWrap && s.back() == kWrap)
        return s.sliced(1, s.size() - 2);
    return s;
}

void TmyIniFile::mWriteString(const QString& section, const QString& ident, const QString& value)
{
    WriteString(section, ident, kWrap + value + kWrap);
}

QString TmyIniFile::ReadString(const QString& section, const QString& ident, const QString& def) const
{
    const Line* l = d->findLine(section, ident);
    return l ? d->valueOf(*l) : def;
}

void TmyIniFile::WriteString(const QString& section, const QString& ident, const QString& value)
{
    d->write(section, ident, value);
}

int32_t TmyIniFile::ReadInteger(const QString& section, const QString& ident, int32_t def) const
{
    const Line* l = d->findLine(section, ident);
    int32_t value = 0;
    if (l && parseIniInteger(d->valueOf(*l), value))
        return value;
    return def;
}

void TmyIniFile::WriteInteger(const QString& section, const QString& ident, int32_t value)
{
    WriteString(section, ident, QString::number(value));
}

bool TmyIniFile::SectionExists(const QString& section) const
{
    return d->findSection(section) != nullptr;
}

bool TmyIniFile::ValueExists(const QString& section, const QString& ident) const
{
    return d->findLine(section, ident) != nullptr;
}

QStringList TmyIniFile::Sections() const
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(d->sections.size()));
    for (const Section& s : d->sections)
        names.append(s.name);
    return names;
}

int TmyIniFile::SectionCount() const
{
    return static_cast<int>(d->sections.size());
}

int TmyIniFile::KeyCount() const
{
    qsizetype n = 0;
    for (const Line& l : d->lines)
        n += l.isPair() ? 1 : 0;
    return static_cast<int>(n);
}

bool TmyIniFile::UpdateFile()
{
    // A file that could not be read would otherwise be replaced by what little we hold of it.
    if (!d->loaded) {
        d->error = QStringLiteral("The file was not read: ") + d->error;
        return false;
    }
    const QFileInfo info(d->fileName);
    if (info.isDir()) {
        d->error = QStringLiteral("Is a directory");
        return false;
    }
    // The rename would replace even a write-protected file; the protection is the user's wish, and a
    // file that nobody may write counts as protected even for a user who could.
    constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & kAnyWrite))) {
        d->error = QStringLiteral("The file is write-protected");
        return false;
    }
    QSaveFile f(d->fileName);
    if (!f.open(QIODevice::WriteOnly)) {
        d->error = f.errorString();
        return false;
    }
    const QByteArray bytes = d->serialize();
    if (f.write(bytes) != bytes.size() || !f.commit()) {
        d->error = f.errorString();
        f.cancelWriting();
        return false;
    }
    d->error.clear();
    return true;
}

QString TmyIniFile::errorString() const
{
    return d->error;
}
