#pragma once
#include <QString>
#include <array>
#include <cstdint>

// The request/answer buffer of the register link: requests are built in it, answers read into it.
struct KktFrame {
    static constexpr int kSize = 704;
    static constexpr uint8_t kStart0 = 0x17;
    static constexpr uint8_t kStart1 = 0x02;
    static constexpr uint8_t kTerminator = 0x19;

    std::array<uint8_t, kSize> buf{};
    uint32_t count = 0;

    void Clear();

    // Sum of bytes 0..count-3 modulo 65536, stored little-endian at count-2.
    void SetFrameChecksum();
    // 0 when the little-endian value at count-2 equals the sum of bytes 0..count-3.
    uint16_t CheckFrameChecksum() const;

    // Texts travel in Windows-1251, cut at the slot width; the rest of the slot stays as it is (zero).
    void PutFrameText(const QString& text, int offset, int width);
    // A slot of zeros is empty; otherwise its zero bytes are dropped wherever they stand.
    QString GetFrameText(int offset, int width) const;
    // Unsigned little-endian: the low `width` bytes of the value.
    void PutFrameInt(int offset, int width, uint64_t value);
    uint64_t GetFrameInt(int offset, int width) const;
};

uint16_t FrameSum(const uint8_t* bytes, uint32_t count);
