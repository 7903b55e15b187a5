// Finding the register against paced simulators on pseudo-terminals: from the press of "Найти ККТ"
// to a register at 115200 in the dialog's fields, four silent ports at all eight speeds, and what the
// search costs beyond the time-outs of its probes.
#include "bench.h"

#include "app/session.h"
#include "app/ui/searchpanel.h"
#include "app/ui/settform.h"
#include "link/kktsearch.h"
#include "simserver.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <memory>
#include <vector>

namespace {

// Simulators that hear nothing, paced at their own speed like a register on a line.
std::vector<std::unique_ptr<TestSim>> SilentSims(int count)
{
    std::vector<std::unique_ptr<TestSim>> sims;
    for (int i = 0; i < count; ++i) {
        sims.push_back(std::make_unique<TestSim>(19200));
        if (!sims.back()->started())
            BenchFail(QStringLiteral("find: simulator did not start: ") + sims.back()->error());
        sims.back()->sim().applyFault(QStringLiteral("silence always"));
    }
    return sims;
}

}  // namespace

KKT_BENCH(find,
          "find_press_to_register_115200_median", "find_probes_at_answering_port",
          "find_4_silent_ports_8_speeds", "find_4_silent_ports_probe_timeouts",
          "find_own_cost_over_probe_timeouts")
{
    {
        TestSim reg(115200);
        if (!reg.started())
            BenchFail(QStringLiteral("find: simulator did not start: ") + reg.error());
        auto others = SilentSims(3);
        QStringList ports{reg.devicePath()};
        for (const auto& s : others)
            ports << s->devicePath();
        KktSession session;
        session.StructSett.PortSett.Name = ports.last();
        session.StructSett.PortSett.Speed = 1200;
        std::vector<double> press;
        int probes = 0;
        for (int i = 0; i < 10; ++i) {
            TFormSett dialog(session, ports);
            dialog.show();
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            dialog.Button4->click();
            while (!(dialog.ComboBox1->currentText() == ports.first() && dialog.ComboBox2->currentText() == "115200")) {
                QCoreApplication::processEvents();
                if (timer.elapsed() > 5000)
                    BenchFail(QStringLiteral("find: the register at 115200 did not appear in the fields"));
            }
            press.push_back(double(timer.nsecsElapsed()) / 1e6);
            dialog.Button4->click();  // stop: the silent ports are not what this figure is about
            while (dialog.SearchPanel->Running())
                QCoreApplication::processEvents();
            probes = dialog.SearchPanel->Search()->reports().first().probes;
        }
        out.push_back({QStringLiteral("find_press_to_register_115200_median"), Median(press), QStringLiteral("ms")});
        out.push_back({QStringLiteral("find_probes_at_answering_port"), double(probes), QStringLiteral("probes")});
    }

    auto silent = SilentSims(4);
    QStringList ports;
    for (const auto& s : silent)
        ports << s->devicePath();
    std::vector<double> total, waited;
    for (int i = 0; i < 3; ++i) {
        KktLink link;
        KktSearch search(link, ports, KktLineSpeeds(), 1);
        QElapsedTimer timer;
        timer.start();
        while (search.Step()) {
        }
        total.push_back(double(timer.nsecsElapsed()) / 1e9);
        waited.push_back(double(search.probeTimeOutsMs()) / 1e3);
        for (const KktPortReport& r : search.reports())
            if (r.verdict != KktPortVerdict::Silent || r.probes != 8)
                BenchFail(QStringLiteral("find: a silent port was not probed at all eight speeds"));
    }
    const double t = Median(total);
    const double w = Median(waited);
    out.push_back({QStringLiteral("find_4_silent_ports_8_speeds"), t, QStringLiteral("s")});
    out.push_back({QStringLiteral("find_4_silent_ports_probe_timeouts"), w, QStringLiteral("s")});
    out.push_back({QStringLiteral("find_own_cost_over_probe_timeouts"), (t / w - 1) * 100, QStringLiteral("%")});
}
