#include "fuzzentries.h"
#include "fuzzinput.h"

#include "scanner/scanrecognizer.h"

// Reads of 1..kReadMax bytes, the size of each taken from the input; a zero size stands for an idle
// line between two reads (the reader then starts a new code).
int FuzzScanner(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    TScanRecognizer recognizer;
    while (!in.empty()) {
        const uint8_t n = in.byte();
        if (n == 0) {
            recognizer.StartNewCode();
            continue;
        }
        const QByteArray read = in.bytes(std::min<int>(n, TScanRecognizer::kReadMax));
        const auto result = recognizer.Feed(reinterpret_cast<const uint8_t*>(read.constData()), int(read.size()));
        if (recognizer.lenEan() < 0 || recognizer.lenEan() > TScanRecognizer::kBufEanSize)
            __builtin_trap();
        if (result.complete && !result.value.isEmpty()) {
            // A value to report is a goods barcode: 8 or 13 characters, none of them a control character.
            if (result.value.size() != 8 && result.value.size() != 13)
                __builtin_trap();
            for (const QChar c : result.value)
                if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                    __builtin_trap();
        }
        for (const QString& line : result.log)
            (void)line.size();
    }
    BufToLogText(data, static_cast<int>(std::min<size_t>(size, 4096)));
    return 0;
}
