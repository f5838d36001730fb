#pragma once

// The help viewer: one window showing the topics of a help file; links between topics stay
// inside the file, links to web addresses open in the browser. Back and forward walk the topics
// shown, as in a web browser; the start page is the file's first topic.

#include "platform/help/help_file.h"

#include <QTextBrowser>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QToolButton;

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
    // Back and forward through the topics shown (buttons, Alt+Left, Alt+Right); the start page
    // of the file (button, Alt+Home). False when there is nowhere to go.
    bool back();
    bool forward();
    bool home();
    bool canGoBack() const { return m_pos > 0 || (m_message && m_pos >= 0); }
    bool canGoForward() const { return m_pos + 1 < static_cast<int>(m_history.size()); }
    std::string currentTopic() const { return m_topic; }
    std::string shownHtml() const;
    HelpBrowser* browser() const { return m_browser; }

    QToolButton* backButton() const { return m_back; }
    QToolButton* forwardButton() const { return m_forward; }
    QToolButton* homeButton() const { return m_home; }

private:
    struct Visit {
        std::string file;
        std::string topic;
    };
    bool openFile(const std::string& helpFile);
    bool showLoaded(const std::string& topic);
    void showMessage(const std::string& text);
    void remember();
    bool goTo(int pos);
    void updateButtons();

    HelpBrowser* m_browser;
    QToolButton* m_back;
    QToolButton* m_forward;
    QToolButton* m_home;
    std::vector<Visit> m_history;
    int m_pos = -1;
    bool m_message = false;  // a message stands over the topic at m_pos
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
