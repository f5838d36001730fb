#pragma once

// The Host that shows real Qt dialogs, over the windows, drawing and help that it uses; the
// interface everything asks through is platform/host/host.h.

#include "platform/host/host.h"

namespace forms {

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

}  // namespace forms
