#pragma once
#include <QByteArray>

// What a client at the wrong speed receives of the register's answer: noise, never a frame.

// The register's refusal of a request it could not read: a status-only answer.
constexpr int kNoiseSourceBytes = 7;

// `sourceBytes` sent at `registerBaud` as a receiver at `clientBaud` samples them: at least one byte,
// about sourceBytes * clientBaud / registerBaud. The bytes follow from `seed` (the garbled request),
// and no prefix of four bytes or more carries a checksum that agrees, so no read of them is an answer.
QByteArray LineNoise(const QByteArray& seed, int sourceBytes, int registerBaud, int clientBaud);
