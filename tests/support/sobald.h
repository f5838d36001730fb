#pragma once

// Steps a test takes inside a window that it opens modally: checked every few milliseconds from
// the window's own event loop, taken once the window is there.
//
// Each step belongs to the test that set it: when that test ends, a step not yet taken is dropped
// (and named on stderr), so it can never act on a window of a later test. A step not taken within
// its deadline fails the test, naming what it waited for, and closes the modal window that shows,
// so the test ends instead of hanging.

#include <functional>
#include <string>

namespace support {

// Calls `schritt` every few milliseconds until it answers true (done); it answers false while the
// window it acts on is not there yet. `was` names that window for the failure message.
void sobald(std::string was, std::function<bool()> schritt, int fristMs = 30000);

// Drops the steps set so far: those of the test that ended (the test program calls it after each
// test), or of one round of a test that repeats a step. A step not taken is named on stderr
// unless `nennen` is false.
void schritteVerwerfen(bool nennen = true);

}  // namespace support
