#pragma once

// The Host for tests: answers come from queues and everything the program asked is recorded, so
// that a test reads like a person's session with the program.

#include "platform/forms/host.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace forms {

// One thing the scripted Host was asked, in order.
struct HostRecord {
    enum class Kind { MsgBox, InputBox, FileOpen, FileSave, Font, Color, Printer, Shell, Url, Help };
    Kind kind;
    std::string text;   // prompt, path, url or help file
    std::string title;  // title, or help topic
    int style = 0;      // message-box style or dialog flags
    std::string defaultText;
    int answer = 0;  // message-box answer; 1/0 for dialogs chosen/cancelled
    std::string answerText;
};

// The Host for tests: answers come from queues, everything asked is recorded.
// An empty queue gives the box's default button, the input box's default text, and a
// cancelled dialog.
class ScriptedHost : public Host {
public:
    // Queue answers.
    ScriptedHost& answer(int vbCode);
    ScriptedHost& input(std::string text);
    ScriptedHost& cancelInput();
    ScriptedHost& chooseFile(std::string path, bool readOnly = false);
    ScriptedHost& cancelFile();
    ScriptedHost& chooseFont(FontChoice f);
    ScriptedHost& chooseColor(int32_t bgr);
    ScriptedHost& choosePrinter(PrinterChoice p);
    ScriptedHost& cancelDialog();  // the next font, colour or printer dialog is cancelled

    const std::vector<HostRecord>& records() const { return m_records; }
    std::vector<HostRecord> records(HostRecord::Kind kind) const;
    const HostRecord* last(HostRecord::Kind kind) const;
    // Prompts of every message box so far.
    std::vector<std::string> messages() const;
    void clearRecords() { m_records.clear(); }
    // The last file dialog request as the program set it up.
    const FileDialogRequest& lastFileRequest() const { return m_lastFileRequest; }
    const FontChoice& lastFontPreset() const { return m_lastFontPreset; }
    int32_t lastColorPreset() const { return m_lastColorPreset; }

    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    bool fileDialog(FileDialogRequest& req) override;
    bool fontDialog(FontChoice& font, int flags) override;
    bool colorDialog(int32_t& bgr, int flags) override;
    bool printerDialog(PrinterChoice& printer, int flags) override;
    int64_t shell(const std::string& path) override;
    bool openUrl(const std::string& url) override;
    void showHelp(const std::string& helpFile, const std::string& topic) override;

private:
    struct FileAnswer {
        bool chosen;
        std::string path;
        bool readOnly;
    };
    struct DialogAnswer {
        enum { Cancel, Font, Color, Printer } what;
        FontChoice font;
        int32_t color = 0;
        PrinterChoice printer;
    };
    bool takeDialog(int what, DialogAnswer& out);

    std::deque<int> m_answers;
    std::deque<std::optional<std::string>> m_inputs;
    std::deque<FileAnswer> m_files;
    std::deque<DialogAnswer> m_dialogs;
    std::vector<HostRecord> m_records;
    FileDialogRequest m_lastFileRequest;
    FontChoice m_lastFontPreset;
    int32_t m_lastColorPreset = 0;
    int64_t m_nextTask = 1000;
};

// Installs a Host for the lifetime of the guard (tests: `ScriptedHostGuard g; g->answer(vbYes);`).
class ScriptedHostGuard {
public:
    ScriptedHostGuard();
    ~ScriptedHostGuard();
    ScriptedHostGuard(const ScriptedHostGuard&) = delete;
    ScriptedHostGuard& operator=(const ScriptedHostGuard&) = delete;
    ScriptedHost* operator->() { return &m_host; }
    ScriptedHost& operator*() { return m_host; }

private:
    ScriptedHost m_host;
    Host* m_previous;
};

}  // namespace forms
