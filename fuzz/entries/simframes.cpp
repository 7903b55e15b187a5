#include "fuzzentries.h"
#include "fuzzinput.h"

#include "sim/kktsimulator.h"
#include "sim/simfaults.h"
#include "sim/simframer.h"

#include <QStringList>

// First line: fault descriptions separated by ';', as the simulator's control input takes them.
// Then chunks of line bytes, each [pause in ms][length][bytes]; every frame the assembler hands over
// goes to the simulated register.
int FuzzSimFrames(const uint8_t* data, size_t size)
{
    const QByteArray all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype eol = all.indexOf('\n');
    const QByteArray specs = eol < 0 ? QByteArray() : all.left(eol);
    const QByteArray line = eol < 0 ? all : all.mid(eol + 1);

    KktSimulator sim;
    for (const QString& spec : QString::fromUtf8(specs).split(u';', Qt::SkipEmptyParts)) {
        QString error;
        if (!sim.applyFault(spec, &error) && error.isEmpty())
            __builtin_trap();  // a refused description says why
        // Pauses and delays would only slow the fuzzer down; their bounds are checked above.
        SimFaults f = sim.faults();
        f.delayMs = 0;
        sim.setFaults(f);
    }

    SimFrameAssembler framer;
    FuzzInput in(reinterpret_cast<const uint8_t*>(line.constData()), static_cast<size_t>(line.size()));
    auto now = SimFrameAssembler::Clock::time_point{} + std::chrono::hours(1);
    auto serve = [&](const QList<SimFrameAssembler::Frame>& frames) {
        for (const auto& frame : frames) {
            const QByteArray answer = sim.handleFrame(frame.bytes);
            if (answer.size() > KktFrame::kSize + 600)
                __builtin_trap();  // never more than an answer and the noise before it
            sim.takeLineClose();
        }
    };
    while (!in.empty()) {
        now += std::chrono::milliseconds(in.byte() * 8);
        serve(framer.expire(now));
        serve(framer.feed(in.bytes(in.byte()), now));
    }
    now += std::chrono::seconds(10);
    serve(framer.expire(now));
    if (framer.nextDeadline())
        __builtin_trap();  // after a long quiet nothing waits
    return 0;
}
