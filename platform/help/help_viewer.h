#pragma once

// The help viewer: one window showing the topics of a help file; links between topics stay
// inside the file, links to web addresses open in the browser.

#include "platform/help/help_file.h"

#include <QTextBrowser>
#include <QWidget>

#include <memory>
#include <string>

class QLabel;

namespace help {

class HelpBrowser;

class HelpViewer : public QWidget {
public:
    HelpViewer();
    ~HelpViewer() override;
    // Shows a topic ("" = the start page); false (and a German text in the window) when the
    // file or the topic cannot be read.
    bool showTopic(const std::string& helpFile, const std::string& topic);
    bool followLink(const std::string& link);
    std::string currentTopic() const { return m_topic; }
    std::string shownHtml() const;
    HelpBrowser* browser() const { return m_browser; }

private:
    bool showLoaded(const std::string& topic);
    void showMessage(const std::string& text);

    HelpBrowser* m_browser;
    std::unique_ptr<HelpFile> m_file;
    std::string m_fileName;
    std::string m_topic;
};

class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(HelpViewer* owner);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    HelpViewer* m_owner;
};

// The one viewer of the run, opened at a topic (the real Host's way to show help).
void openViewer(const std::string& helpFile, const std::string& topic);
HelpViewer* currentViewer();

// What the programs call: checks file and topic, then shows the topic through the Host.
// A missing file or topic gives a German message, not an error.
void showHelp(const std::string& helpFile, const std::string& topic = {});

}  // namespace help
