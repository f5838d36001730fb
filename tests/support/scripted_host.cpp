#include "support/scripted_host.h"

#include <utility>

namespace forms {

ScriptedHostGuard::ScriptedHostGuard() : m_previous(setHost(&m_host)) {}
ScriptedHostGuard::~ScriptedHostGuard() { setHost(m_previous); }

ScriptedHost& ScriptedHost::answer(int vbCode) {
    m_answers.push_back(vbCode);
    return *this;
}
ScriptedHost& ScriptedHost::input(std::string text) {
    m_inputs.emplace_back(std::move(text));
    return *this;
}
ScriptedHost& ScriptedHost::cancelInput() {
    m_inputs.emplace_back(std::nullopt);
    return *this;
}
ScriptedHost& ScriptedHost::chooseFile(std::string path, bool readOnly) {
    m_files.push_back({true, std::move(path), readOnly});
    return *this;
}
ScriptedHost& ScriptedHost::cancelFile() {
    m_files.push_back({false, {}, false});
    return *this;
}
ScriptedHost& ScriptedHost::chooseFont(FontChoice f) {
    DialogAnswer a{DialogAnswer::Font, std::move(f), 0, {}};
    m_dialogs.push_back(a);
    return *this;
}
ScriptedHost& ScriptedHost::chooseColor(int32_t bgr) {
    DialogAnswer a{DialogAnswer::Color, {}, bgr, {}};
    m_dialogs.push_back(a);
    return *this;
}
ScriptedHost& ScriptedHost::choosePrinter(PrinterChoice p) {
    DialogAnswer a{DialogAnswer::Printer, {}, 0, std::move(p)};
    m_dialogs.push_back(a);
    return *this;
}
ScriptedHost& ScriptedHost::cancelDialog() {
    m_dialogs.push_back(DialogAnswer{DialogAnswer::Cancel, {}, 0, {}});
    return *this;
}

std::vector<HostRecord> ScriptedHost::records(HostRecord::Kind kind) const {
    std::vector<HostRecord> out;
    for (const auto& r : m_records)
        if (r.kind == kind) out.push_back(r);
    return out;
}

const HostRecord* ScriptedHost::last(HostRecord::Kind kind) const {
    for (auto it = m_records.rbegin(); it != m_records.rend(); ++it)
        if (it->kind == kind) return &*it;
    return nullptr;
}

std::vector<std::string> ScriptedHost::messages() const {
    std::vector<std::string> out;
    for (const auto& r : m_records)
        if (r.kind == HostRecord::Kind::MsgBox) out.push_back(r.text);
    return out;
}

int ScriptedHost::msgBox(const std::string& prompt, int style, const std::string& title) {
    int a = msgBoxDefaultAnswer(style);
    if (!m_answers.empty()) {
        a = m_answers.front();
        m_answers.pop_front();
    }
    m_records.push_back({HostRecord::Kind::MsgBox, prompt, title, style, {}, a, {}});
    return a;
}

std::optional<std::string> ScriptedHost::inputBox(const std::string& prompt, const std::string& title,
                                                  const std::string& defaultText) {
    std::optional<std::string> a = defaultText;
    if (!m_inputs.empty()) {
        a = m_inputs.front();
        m_inputs.pop_front();
    }
    m_records.push_back(
        {HostRecord::Kind::InputBox, prompt, title, 0, defaultText, a ? vbOK : vbCancel, a.value_or(std::string())});
    return a;
}

bool ScriptedHost::fileDialog(FileDialogRequest& req) {
    m_lastFileRequest = req;
    FileAnswer a{false, {}, false};
    if (!m_files.empty()) {
        a = m_files.front();
        m_files.pop_front();
    }
    m_records.push_back({req.kind == FileDialogKind::Open ? HostRecord::Kind::FileOpen : HostRecord::Kind::FileSave,
                         req.fileName,
                         req.title,
                         0,
                         {},
                         a.chosen ? 1 : 0,
                         a.path});
    if (!a.chosen) return false;
    req.fileName = a.path;
    if (req.showReadOnlyBox) req.readOnlyChecked = a.readOnly;
    return true;
}

bool ScriptedHost::takeDialog(int what, DialogAnswer& out) {
    if (m_dialogs.empty()) return false;
    out = m_dialogs.front();
    m_dialogs.pop_front();
    return out.what == what;
}

bool ScriptedHost::fontDialog(FontChoice& font, int flags) {
    m_lastFontPreset = font;
    DialogAnswer a;
    bool ok = takeDialog(DialogAnswer::Font, a);
    if (ok) font = a.font;
    m_records.push_back({HostRecord::Kind::Font, font.name, {}, flags, {}, ok ? 1 : 0, {}});
    return ok;
}

bool ScriptedHost::colorDialog(int32_t& bgr, int flags) {
    m_lastColorPreset = bgr;
    DialogAnswer a;
    bool ok = takeDialog(DialogAnswer::Color, a);
    if (ok) bgr = a.color;
    m_records.push_back({HostRecord::Kind::Color, {}, {}, flags, {}, ok ? 1 : 0, {}});
    return ok;
}

bool ScriptedHost::printerDialog(PrinterChoice& printer, int flags) {
    // The file the dialog offers, as the person sees it before choosing.
    const std::string offered = printer.outputFile;
    DialogAnswer a;
    bool ok = takeDialog(DialogAnswer::Printer, a);
    if (ok) printer = a.printer;
    m_records.push_back({HostRecord::Kind::Printer, printer.printerName, {}, flags, offered, ok ? 1 : 0, {}});
    return ok;
}

int64_t ScriptedHost::shell(const std::string& path) {
    m_records.push_back({HostRecord::Kind::Shell, path, {}, 0, {}, 1, {}});
    return ++m_nextTask;
}

bool ScriptedHost::openUrl(const std::string& url) {
    m_records.push_back({HostRecord::Kind::Url, url, {}, 0, {}, 1, {}});
    return true;
}

void ScriptedHost::showHelp(const std::string& helpFile, const std::string& topic) {
    m_records.push_back({HostRecord::Kind::Help, helpFile, topic, 0, {}, 1, {}});
}

}  // namespace forms
