#include "platform/host/host.h"

#include "platform/host/local_path.h"
#include "platform/vb/error.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <utility>

namespace forms {

std::vector<int> msgBoxButtons(int style) {
    switch (style & 7) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

int msgBoxDefaultAnswer(int style) {
    const auto buttons = msgBoxButtons(style);
    std::size_t i = (style & 0x300) >> 8;
    return buttons[i < buttons.size() ? i : 0];
}

// ---------------------------------------------------------------- the application title

namespace {
std::string& titleStore() {
    static std::string t;
    return t;
}
}  // namespace

const std::string& appTitle() {
    auto& t = titleStore();
    if (t.empty()) t = QCoreApplication::applicationName().toStdString();
    return t;
}

void setAppTitle(std::string title) { titleStore() = std::move(title); }

// ---------------------------------------------------------------- the free functions

int MsgBox(const std::string& prompt, int style, const std::string& title) {
    return host().msgBox(prompt, style, title.empty() ? appTitle() : title);
}

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    auto r = host().inputBox(prompt, title.empty() ? appTitle() : title, defaultText);
    return r ? *r : std::string();
}

int64_t Shell(const std::string& path) {
    const std::string local = resolveLocalPath(path);
    if (!QFileInfo(QString::fromStdString(local)).isFile()) throw vb::Error(vb::err::FileNotFound);
    return host().shell(local);
}

bool OpenUrl(const std::string& url) { return host().openUrl(url); }

}  // namespace forms
