#pragma once
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// An error status the simulated register gives for one command letter, optionally only for one
// item code ("T"), agent number ("a") or row ("p").
struct SimErrorRule {
    char command = 0;
    std::optional<int> number;
    uint8_t status = 0;
};

// Misbehaviours of the simulated line and register. Counts are requests still to be affected; each
// request addressed to this register uses up one of every count that applies to it.
struct SimFaults {
    int repeatCount = 0;      // answer the repeat status instead of doing the request
    uint8_t repeatStatus = 21;
    int silenceCount = 0;     // hear nothing, answer nothing
    bool silenceAlways = false;
    int badChecksumCount = 0; // answer with a checksum that does not agree
    int shortCount = 0;       // answer with the status alone: 7 bytes
    int tinyCount = 0;        // answer only the first tinyLength (1..3) bytes
    int tinyLength = 1;
    int garbageCount = 0;     // send garbageBytes line noise before the answer
    int garbageBytes = 3;
    int closeAfter = -1;      // requests until the line vanishes; -1 never
    int delayMs = 0;          // pause before every answer
    std::vector<SimErrorRule> errors;  // stay until cleared
};

// Applies one fault description ("silence 1", "repeat 21 3", "error a 3 2", "clear", ...; see
// SimFaultHelp) to `faults`. False, with `faults` unchanged and a message, for text it cannot use.
bool ApplyFaultSpec(const QString& spec, SimFaults& faults, QString* error);

// The fault descriptions, one per line, for help texts.
QString SimFaultHelp();
