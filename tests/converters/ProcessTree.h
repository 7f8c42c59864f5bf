#pragma once

#include <QStringList>

// The programs a test started, directly or not, found by a text only their
// environment holds (a folder of the test's own that they inherit), so that
// one that lost its parent is found too, and other programs on the machine
// are never counted.
namespace processtree {

// "pid name" of each running (not zombie) process, other than this one and
// its warm office (which lives as long as this process), whose environment
// holds marker. The hosts the warm office forked are counted.
// A run, or a converter, returns only when its programs are gone: tests
// look right after it returns, without waiting.
QStringList Running(const QString& marker);

} // namespace processtree
