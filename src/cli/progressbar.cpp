#include "cli/progressbar.h"

#include <algorithm>

namespace {
constexpr int kBarWidth = 40;
}

QString TProgressBar::Render(int percent)
{
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * kBarWidth / 100;
    return QStringLiteral("[%1%2] %3%")
        .arg(QString(filled, u'#'), QString(kBarWidth - filled, u'.'))
        .arg(percent, 3);
}

void TProgressBar::Show(int percent)
{
    if (!m_enabled || percent == m_shown)
        return;
    m_shown = percent;
    m_stream << '\r' << Render(percent);
    m_stream.flush();
}

void TProgressBar::Finish()
{
    if (m_shown < 0)
        return;
    m_shown = -1;
    m_stream << '\n';
    m_stream.flush();
}

TRunHooks RunBarHooks(TProgressBar& bar)
{
    TRunHooks hooks;
    hooks.progress = [&bar](int done, int total) { bar.Show(ProgressPercent(done, total)); };
    return hooks;
}
