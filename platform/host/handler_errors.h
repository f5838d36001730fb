#pragma once

// The way every event handler is called, by the windows and by the drawing controls alike: an
// error must never escape into the event loop, and one that no handler trapped is shown.

#include "platform/vb/error.h"

#include <functional>

namespace forms {

// Calls a handler so that no error escapes into the event loop: a vb::Error or any other
// exception goes to onError (or to the standard error box when none is given).
void runHandler(const std::function<void()>& body, const std::function<void(const vb::Error&)>& onError = {});
// The box shown for an error no handler trapped; the frame installs its own.
void setUntrappedErrorHandler(std::function<void(const vb::Error&)> h);
void showUntrappedError(const vb::Error& e);

}  // namespace forms
