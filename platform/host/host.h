#pragma once

// Everything that waits for a person goes through the Host: the real one shows Qt dialogs,
// a test installs one that answers from queues and records what was asked. The interface lies
// below drawing, help and the windows, so that each of them can ask the person; the real Host
// (forms::QtHost in platform/forms/host.h) lives with the windows, above drawing and help, which
// it uses.

#include <cstdint>
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
    int filterIndex = 1;                                       // 1-based
    std::string initDir;
    std::string fileName;  // proposed name in, chosen full path out
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
    int orientation = 1;  // 1 portrait, 2 landscape
    int paperSize = 0;    // the printer's paper codes (9 A4 …); 0 = as it is
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

// The Host in use; a QtHost unless a test installed another. These two are defined beside the
// QtHost, which host() makes on first use.
Host& host();
// nullptr restores the QtHost; gives back the Host installed before (nullptr: none).
Host* setHost(Host* h);

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
