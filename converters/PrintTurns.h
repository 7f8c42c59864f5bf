#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

// The office's turns in a run whose jobs outnumber the files it prints at
// once: a file prints only in its turn, turns go in the order the run takes
// its files (a file is known by its place in that order), and at most width
// files hold one. A file gives its turn back once its print job is
// complete, so its Ghostscript runs beside the next file's printing instead
// of before it. Safe from any thread.
class PrintTurns
{
public:
    PrintTurns(qsizetype files, int width);

    // Waits until the file at place index may print; false, without the
    // turn, once stopped() holds.
    bool Take(qsizetype index, const std::function<bool()>& stopped);
    // The file at place index has printed (or is done): a later file may print.
    // Only the first call for an index counts.
    void Give(qsizetype index);

private:
    std::mutex m_mutex;
    std::condition_variable m_given;
    std::vector<bool> m_done;
    const qsizetype m_width;
    qsizetype m_first = 0; // the first file that has not given its turn back
};
