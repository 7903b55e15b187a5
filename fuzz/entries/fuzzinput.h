#pragma once
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// Reads a fuzz input front to back; past its end every read gives zero bytes.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_pos >= m_size; }
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    uint16_t word()
    {
        const uint16_t low = byte();
        return static_cast<uint16_t>(low | (byte() << 8));
    }
    QByteArray bytes(size_t count)
    {
        const size_t n = std::min(count, m_size - std::min(m_pos, m_size));
        QByteArray out(reinterpret_cast<const char*>(m_data + m_pos), static_cast<qsizetype>(n));
        m_pos += n;
        return out;
    }
    QByteArray rest() { return bytes(m_size); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// The input as a file of this process (one per target name), for loaders that take a file name.
// The file is rewritten on every call.
QString WriteFuzzFile(const char* name, const uint8_t* data, size_t size);
