// Ctrl-C, and on POSIX SIGINT and SIGTERM, turned into a request that the run
// takes at its next safe point, so that no file is left half written.
#pragma once

namespace addfolder {

// From now on an interrupt no longer ends the process at once; it is noted.
void catch_interrupts();

// True once an interrupt has come after catch_interrupts.
bool interrupt_requested();

}  // namespace addfolder
