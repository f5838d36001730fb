#include "platform/host/handler_errors.h"

#include "platform/host/host.h"

#include <exception>
#include <utility>

namespace forms {

namespace {
std::function<void(const vb::Error&)>& untrappedHandler() {
    static std::function<void(const vb::Error&)> h;
    return h;
}
}  // namespace

void setUntrappedErrorHandler(std::function<void(const vb::Error&)> h) { untrappedHandler() = std::move(h); }

void showUntrappedError(const vb::Error& e) {
    if (auto& h = untrappedHandler()) {
        try {
            h(e);
        } catch (...) {
        }
        return;
    }
    try {
        MsgBox("Fehler " + std::to_string(e.number()) + ": " + e.description(), vbCritical);
    } catch (...) {
    }
}

void runHandler(const std::function<void()>& body, const std::function<void(const vb::Error&)>& onError) {
    auto report = [&](const vb::Error& e) {
        if (onError) {
            try {
                onError(e);
            } catch (...) {
            }
        } else {
            showUntrappedError(e);
        }
    };
    try {
        body();
    } catch (const vb::Error& e) {
        report(e);
    } catch (const std::exception& e) {
        report(vb::Error(vb::err::InternalError, std::string("Interner Fehler: ") + e.what()));
    } catch (...) {
        report(vb::Error(vb::err::InternalError, "Interner Fehler"));
    }
}

}  // namespace forms
