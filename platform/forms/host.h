#pragma once

// Everything that waits for a person goes through the Host: the real one shows Qt dialogs,
// the scripted one answers from queues and records what was asked, so that a test reads
// like a person's session with the program.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace forms {

// Message-box answers as the programs test them.
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Message-box style codes.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;

// The answer codes of the buttons a style shows, in their order on screen.
std::vector<int> msgBoxButtons(int style);
// The answer a box gives when the person just presses Enter.
int msgBoxDefaultAnswer(int style);

enum class FileDialogKind { Open, Save };

// What a file dialog is asked to show, and what the person chose.
struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;
    std::vector<std::pair<std::string, std::string>> filters;  // (text, patterns separated by ';')
    int filterIndex = 1;                                        // 1-based
    std::string initDir;
    std::string fileName;      // proposed name in, chosen full path out
    std::string defaultExt;
    bool showReadOnlyBox = false;
    bool readOnlyChecked = false;  // in and out
};

struct FontChoice {
    std::string name;
    double size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;
    int32_t color = 0;  // BGR
};

// What the printer dialog chose: a printer, or printing into a PDF file.
struct PrinterChoice {
    std::string printerName;  // empty = the system's default printer
    std::string outputFile;   // set: into this PDF file instead of a printer
    int copies = 1;
    int orientation = 1;      // 1 portrait, 2 landscape
    int paperSize = 0;        // the printer's paper codes (9 A4 …); 0 = as it is
};

class Host {
public:
    virtual ~Host() = default;

    virtual int msgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // nullopt when the person cancelled.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    // false when cancelled; on true, req.fileName holds the chosen full path.
    virtual bool fileDialog(FileDialogRequest& req) = 0;
    virtual bool fontDialog(FontChoice& font, int flags) = 0;
    virtual bool colorDialog(int32_t& bgr, int flags) = 0;
    virtual bool printerDialog(PrinterChoice& printer, int flags) = 0;
    // Starts a program without waiting; returns a task id (non-zero).
    virtual int64_t shell(const std::string& path) = 0;
    virtual bool openUrl(const std::string& url) = 0;
    // Opens the help viewer at a topic of a help file already checked by the caller.
    virtual void showHelp(const std::string& helpFile, const std::string& topic) = 0;
};

// The Host that shows real Qt dialogs.
class QtHost : public Host {
public:
    QtHost();
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
};

// One thing the scripted Host was asked, in order.
struct HostRecord {
    enum class Kind { MsgBox, InputBox, FileOpen, FileSave, Font, Color, Printer, Shell, Url, Help };
    Kind kind;
    std::string text;   // prompt, path, url or help file
    std::string title;  // title, or help topic
    int style = 0;      // message-box style or dialog flags
    std::string defaultText;
    int answer = 0;     // message-box answer; 1/0 for dialogs chosen/cancelled
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
    int pendingAnswers() const;

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

// The Host in use; a QtHost unless a test installed another.
Host& host();
void setHost(Host* h);  // nullptr restores the QtHost

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

// The title a message or input box shows when the caller gives none.
const std::string& appTitle();
void setAppTitle(std::string title);

// The free functions the windows call.
int MsgBox(const std::string& prompt, int style = vbOKOnly, const std::string& title = {});
// Cancel gives "", as the programs expect (indistinguishable from an empty answer).
std::string InputBox(const std::string& prompt, const std::string& title = {}, const std::string& defaultText = {});
// Starts a program by path (backslashes allowed); raises 53 when the file does not exist.
int64_t Shell(const std::string& path);
// Opens a web address in the default browser.
bool OpenUrl(const std::string& url);

}  // namespace forms
