#include "scanner/scanrecognizer.h"

#include <algorithm>

namespace {

constexpr uint8_t kCR = 13;

}  // namespace

QString BufToLogText(const uint8_t* data, int size)
{
    QString text;
    text.reserve(size + 8);
    for (int i = 0; i < size; ++i) {
        if (data[i] == kCR)
            text += QStringLiteral("< 13 >");
        else
            text += QChar(char16_t(data[i]));
    }
    int begin = 0;
    int end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

void TScanRecognizer::StartNewCode()
{
    m_bufEan.fill(0);
    m_lenEan = 0;
}

int TScanRecognizer::FindCR() const
{
    const auto it = std::find(m_bufEan.begin(), m_bufEan.end(), kCR);
    return it == m_bufEan.end() ? 0 : static_cast<int>(it - m_bufEan.begin());
}

QString TScanRecognizer::GetScanValue() const
{
    if (m_lenEan != 8 && m_lenEan != 13)
        return {};
    QString value;
    for (int i = 0; i < m_lenEan; ++i) {
        const uint8_t b = m_bufEan[static_cast<size_t>(i)];
        if (b < 0x20 || b == 0x7F)
            return {};
        value += QChar(char16_t(b));
    }
    return value;
}

void TScanRecognizer::keepBytes(int from, int count)
{
    std::array<uint8_t, kBufEanSize> kept{};
    std::copy_n(m_bufEan.begin() + from, count, kept.begin());
    m_bufEan = kept;
    m_lenEan = count;
}

TScanRecognizer::Result TScanRecognizer::Feed(const uint8_t* data, int size)
{
    Result r;
    for (int i = 0; i < size && m_lenEan < kBufEanSize; ++i)
        m_bufEan[static_cast<size_t>(m_lenEan++)] = data[i];
    r.log << QStringLiteral("lenEan = %1").arg(m_lenEan);

    const int p = FindCR();
    if (p == 0)
        return r;  // no CR yet (or a CR first): keep collecting

    const auto at = [this](int i) { return m_bufEan[static_cast<size_t>(i)]; };
    QString label;
    if (p == 13 || p == 8) {
        --m_lenEan;  // the CR no longer counts; anything after it still does
        label = QStringLiteral("EAN13 or EAN8 bufEan = ");
    } else if (p > 14) {
        if (at(0) == '0' && at(1) == '1' && at(16) == '2' && at(17) == '1') {
            // GS1 element strings: "01" + 14-digit GTIN + "21" + serial; the GTIN without its first digit
            keepBytes(3, 13);
            label = QStringLiteral("DataMatrix 01-21 bufEan = ");
        } else if (at(0) + at(1) + at(2) + at(3) + at(4) + at(5) == 6 * '0') {
            keepBytes(6, 8);  // an EAN-8 padded with six zeros
            label = QStringLiteral("DataMatrix EAN8 bufEan = ");
        } else {
            keepBytes(1, 13);
            label = QStringLiteral("DataMatrix 0 + \"\" bufEan = ");
        }
    }
    if (!label.isEmpty())
        r.log << label + BufToLogText(m_bufEan.data(), kBufEanSize);

    r.complete = true;
    r.value = GetScanValue();
    StartNewCode();
    return r;
}
