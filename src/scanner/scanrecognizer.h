#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// Collects the bytes a serial barcode scanner sends and turns each CR-ended code into the goods
// barcode to report. Works on bytes alone: the reader thread feeds it what it read from the port.
class TScanRecognizer {
public:
    static constexpr int kBufEanSize = 200;  // the code buffer; bytes beyond it are dropped
    static constexpr int kReadMax = 201;     // one read of the reader never takes more

    struct Result {
        QStringList log;       // log lines in the order they occur
        bool complete = false;  // a CR ended a code: report `value` (possibly empty)
        QString value;
    };

    TScanRecognizer() { StartNewCode(); }

    // Forgets the code collected so far (an idle line or a stop between two bytes of one code).
    void StartNewCode();

    // One read's worth of bytes. When a CR completed a code the result carries the value to report,
    // and the recogniser has already started the next code.
    Result Feed(const uint8_t* data, int size);

    int lenEan() const { return m_lenEan; }
    const std::array<uint8_t, kBufEanSize>& bufEan() const { return m_bufEan; }

    // Position of the first CR among the 200 bytes of the code buffer; 0 when there is none
    // (a CR in the very first byte reads the same, so such a code never completes).
    int FindCR() const;
    // The first lenEan bytes as characters. Empty unless it is a goods barcode of 8 or 13 characters
    // free of control characters: a CR or line feed must never land in a barcode cell.
    QString GetScanValue() const;

private:
    // Replaces the code buffer by `count` of its bytes starting at `from`.
    void keepBytes(int from, int count);

    std::array<uint8_t, kBufEanSize> m_bufEan{};
    int m_lenEan = 0;
};

// A buffer as a log line: CR shows as "< 13 >", every other byte as the character with that code;
// blanks, control characters and zero bytes at either end are removed.
QString BufToLogText(const uint8_t* data, int size);
