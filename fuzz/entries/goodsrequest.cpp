#include "fuzzentries.h"

#include "text/conversion.h"
#include "link/kktlink.h"

#include <QByteArrayList>

namespace {

// A register that answers every request at once and counts what it was sent.
class CountingPort final : public SerialPort {
public:
    explicit CountingPort(int* writes) : m_writes(writes) {}
    bool open(const QString&, int32_t) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setReadTimeouts(int, int) override {}
    void purge() override {}
    int64_t write(const uint8_t*, int64_t size) override
    {
        ++*m_writes;
        return size;
    }
    int64_t read(uint8_t* data, int64_t max) override
    {
        // Status 0, the rest zero, checksum of 0x17 + 0x02 + terminator.
        KktFrame f;
        f.buf[0] = KktFrame::kStart0;
        f.buf[1] = KktFrame::kStart1;
        f.buf[max - 3] = KktFrame::kTerminator;
        f.count = static_cast<uint32_t>(max);
        f.SetFrameChecksum();
        std::copy_n(f.buf.data(), max, data);
        return max;
    }
    int bytesQueued() const override { return 0; }
    PortOpenFailure openFailure() const override { return PortOpenFailure::None; }
    QString errorString() const override { return {}; }

private:
    int* m_writes;
    bool m_open = false;
};

}  // namespace

// Six texts separated by line feeds: name, barcode, marking, price, section, quantity.
int FuzzGoodsRequest(const uint8_t* data, size_t size)
{
    const QByteArrayList parts =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\n');
    auto text = [&](int i) { return i < parts.size() ? QString::fromUtf8(parts[i]) : QString(); };
    KktGoodsItem item{text(0), text(1), text(2), text(3), text(4), text(5)};

    // Texts that are numbers convert the same way everywhere; the others throw before a byte is sent.
    int writes = 0;
    KktLink link([&writes] { return std::make_unique<CountingPort>(&writes); });
    KktLinkArgs args;
    args.port = QStringLiteral("fuzz");
    uint16_t code = 1;
    bool numbers = true;
    int64_t v64 = 0;
    int32_t v32 = 0;
    numbers &= item.barcode.isEmpty() || TryStrToInt64(item.barcode, v64);
    numbers &= item.price.isEmpty() || TryStrToInt64(item.price, v64);
    numbers &= item.section.isEmpty() || TryStrToInt32(item.section, v32);
    numbers &= item.quantity.isEmpty() || TryStrToInt32(item.quantity, v32);
    try {
        link.KktGoods(args, KKT_WRITE, code, item);
        if (!numbers || writes != 1)
            __builtin_trap();
    } catch (const ConversionError& e) {
        if (numbers || writes != 0 || e.message().isEmpty())
            __builtin_trap();
    }
    if (link.frame().count > static_cast<uint32_t>(KktFrame::kSize))
        __builtin_trap();
    return 0;
}
