#pragma once

// The desktop ends a program with a signal: SIGTERM at log-out or shutdown, SIGHUP when the
// session or terminal it runs in goes away, SIGINT for Ctrl+C in the terminal it was started
// from. Such an end keeps what the person did, as the program's own exit command does.

#include <functional>

namespace forms {

// From now on SIGTERM, SIGHUP and SIGINT run `shutdown` on the program's thread, the next time an
// event loop runs (also the loop of a message box or modal window open at that moment), and then
// end the process by that same signal, without returning to the work the signal interrupted.
// While `shutdown` runs nobody is asked anything: a message box takes its default button and its
// text goes to standard error; input boxes and dialogs count as cancelled. A signal the program
// was started with ignored (nohup, a background job) stays ignored. Call once, after the
// application object exists.
void endOnSignals(std::function<void()> shutdown);

}  // namespace forms
