#pragma once

// What the thread checker of the thread-checked build cannot see for itself,
// told to it; nothing in other builds. Every trace of the checker in the
// program's code lives here.
namespace threadchecker {

// A hand-over through a lock the checker does not see (Qt's event queue, say):
// what a thread wrote before HandOver(token) is known to come before what
// another does after TakeOver(token).
void HandOver(void* token);
void TakeOver(void* token);

// Ends the checker's own background thread for good, so that a process that
// forks only while it is single-threaded can become so. The checker follows a
// fork from a single-threaded process fully (the child gets a thread of its
// own), and nothing the checker reports depends on that thread: it only gives
// memory back. Safe to call more than once.
void EndOwnThread();

} // namespace threadchecker
