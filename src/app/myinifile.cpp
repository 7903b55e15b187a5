#include "app/myinifile.h"

#include "link/codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <limits>
#include <vector>

namespace {

constexpr QChar kWrap(0x7F);

// One stored line of a section: name "=" value, or a line without "=" kept as it was read.
struct Line {
    QString name;   // the whole line when isPair is false
    QString value;
    bool isPair = true;
};

struct Section {
    QString name;
    std::vector<Line> lines;
    QHash<QString, qsizetype> keyIndex;  // folded name -> first line with that name
};

QString folded(const QString& name)
{
    return name.toCaseFolded();
}

// Lookups find the first section or line of a name, so a repeated name keeps the first index.
void indexFirst(QHash<QString, qsizetype>& index, const QString& name, qsizetype at)
{
    const QString key = folded(name);
    if (!index.contains(key))
        index.insert(key, at);
}

// Trims the characters with codes up to 32 on both sides, as the loading rules do.
QStringView trimmed(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.sliced(b, e - b);
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

struct TmyIniFile::Impl {
    QString fileName;
    Encoding encoding = Encoding::Ansi;
    bool loaded = true;
    QString error;
    std::vector<Section> sections;
    QHash<QString, qsizetype> sectionIndex;  // folded name -> first section with that name

    const Section* findSection(const QString& name) const
    {
        const auto it = sectionIndex.constFind(folded(name));
        return it == sectionIndex.cend() ? nullptr : &sections[*it];
    }

    Section& sectionFor(const QString& name)
    {
        const QString key = folded(name);
        const auto it = sectionIndex.constFind(key);
        if (it != sectionIndex.cend())
            return sections[*it];
        sectionIndex.insert(key, static_cast<qsizetype>(sections.size()));
        sections.push_back(Section{name, {}, {}});
        return sections.back();
    }

    const Line* findLine(const QString& section, const QString& ident) const
    {
        const Section* s = findSection(section);
        if (!s)
            return nullptr;
        const auto it = s->keyIndex.constFind(folded(ident));
        return it == s->keyIndex.cend() ? nullptr : &s->lines[*it];
    }

    static void addLine(Section& s, Line line)
    {
        if (line.isPair)
            indexFirst(s.keyIndex, line.name, static_cast<qsizetype>(s.lines.size()));
        s.lines.push_back(std::move(line));
    }

    void write(const QString& section, const QString& ident, const QString& value)
    {
        Section& s = sectionFor(section);
        const auto it = s.keyIndex.constFind(folded(ident));
        if (it != s.keyIndex.cend()) {
            s.lines[*it] = Line{ident, value, true};
            return;
        }
        addLine(s, Line{ident, value, true});
    }

    QString decode(const QByteArray& bytes)
    {
        const auto starts = [&bytes](const char* bom) { return bytes.startsWith(bom); };
        if (starts("\xEF\xBB\xBF")) {
            encoding = Encoding::Utf8;
            return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
        }
        if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
            encoding = bytes[0] == '\xFF' ? Encoding::Utf16LE : Encoding::Utf16BE;
            QStringDecoder dec(encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE
                                                             : QStringConverter::Utf16BE);
            return dec.decode(QByteArrayView(bytes).sliced(2));
        }
        encoding = Encoding::Ansi;
        return codepage::fromCp1251(bytes);
    }

    void parse(const QString& text)
    {
        // Key names repeat from section to section (every goods section has the same five): one
        // shared copy of each name keeps a large document small.
        QSet<QString> names;
        const auto shared = [&names](QStringView name) {
            const QString s = name.toString();
            const auto it = names.constFind(s);
            return it != names.cend() ? *it : *names.insert(s);
        };
        Section* current = nullptr;
        qsizetype pos = 0;
        const qsizetype n = text.size();
        const QChar* data = text.constData();
        while (pos < n) {
            qsizetype end = pos;
            while (end < n && data[end] != QLatin1Char('\r') && data[end] != QLatin1Char('\n'))
                ++end;
            const QStringView line = trimmed(QStringView(data + pos, end - pos));
            pos = end + 1;
            if (line.isEmpty() || line.front() == QLatin1Char(';'))
                continue;
            if (line.front() == QLatin1Char('[') && line.back() == QLatin1Char(']') && line.size() >= 2) {
                // A repeated section name keeps its own lines; lookups find the first one.
                const QString name = trimmed(line.sliced(1, line.size() - 2)).toString();
                indexFirst(sectionIndex, name, static_cast<qsizetype>(sections.size()));
                sections.push_back(Section{name, {}, {}});
                current = &sections.back();
                continue;
            }
            if (!current)
                continue;
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq < 0) {
                addLine(*current, Line{line.toString(), {}, false});
                continue;
            }
            addLine(*current, Line{shared(trimmed(line.first(eq))), trimmed(line.sliced(eq + 1)).toString(), true});
        }
    }

    QByteArray serialize() const
    {
        QString text;
        qsizetype size = 0;
        for (const Section& s : sections) {
            size += s.name.size() + 6;
            for (const Line& l : s.lines)
                size += l.name.size() + l.value.size() + 3;
        }
        text.reserve(size);
        const QLatin1StringView eol("\r\n");
        for (const Section& s : sections) {
            text += QLatin1Char('[');
            text += s.name;
            text += QLatin1Char(']');
            text += eol;
            for (const Line& l : s.lines) {
                text += l.name;
                if (l.isPair) {
                    text += QLatin1Char('=');
                    text += l.value;
                }
                text += eol;
            }
            text += eol;
        }
        switch (encoding) {
        case Encoding::Utf8:
            return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        case Encoding::Utf16LE:
            return encodeUtf16(text, false);
        case Encoding::Utf16BE:
            return encodeUtf16(text, true);
        case Encoding::Ansi:
            break;
        }
        return codepage::toCp1251(text);
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
    QString text;
    {
        // The raw bytes go before parsing starts: a large file is then held twice, not three times.
        const QByteArray bytes = f.readAll();
        if (f.error() != QFileDevice::NoError) {
            d->loaded = false;
            d->error = f.errorString();
            return;
        }
        text = d->decode(bytes);
    }
    d->parse(text);
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
    return l ? l->value : def;
}

void TmyIniFile::WriteString(const QString& section, const QString& ident, const QString& value)
{
    d->write(section, ident, value);
}

int32_t TmyIniFile::ReadInteger(const QString& section, const QString& ident, int32_t def) const
{
    const Line* l = d->findLine(section, ident);
    int32_t value = 0;
    if (l && parseIniInteger(l->value, value))
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
    for (const Section& s : d->sections)
        for (const Line& l : s.lines)
            n += l.isPair ? 1 : 0;
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
