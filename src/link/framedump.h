#pragma once
#include <QString>
#include <cstdint>

// Texts of the exchange log: how a frame is shown to the service engineer.
QString ByteToHex(uint8_t b);

// "000-17H;  001-02H;  ..." for the first `count` bytes.
QString FrameDumpItems(const uint8_t* frame, uint32_t count);

// The whole entry as the log appends it: "Запрос: \r\n<items>" for a request,
// "Ответ: \r\n<items>\r\n" for an answer, "Запрос пуст\r\n" / "Ответ пуст\r\n" for an empty frame.
QString FrameDumpEntry(const uint8_t* frame, uint32_t count, bool isAnswer);
