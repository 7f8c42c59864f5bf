#include "cli/ProgressLine.h"

#include <unistd.h>

namespace {

constexpr int kWidth = 30;

} // namespace

ProgressLine::ProgressLine() : m_terminal(::isatty(STDERR_FILENO) == 1) {}

void ProgressLine::Show(int done, int total)
{
    if (!m_terminal || total <= 0 || (m_shown && done == m_done && total == m_total))
        return; // drawn already
    m_done = done;
    m_total = total;
    const int filled = done * kWidth / total;
    const QString bar = QString(filled, u'#') + QString(kWidth - filled, u'.');
    std::fprintf(stderr, "\r[%s] %d/%d files", qPrintable(bar), done, total);
    std::fflush(stderr);
    m_shown = true;
}

void ProgressLine::Clear()
{
    if (!m_shown)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    m_shown = false;
}
