#include "platform/help/help_viewer.h"

#include "platform/forms/host.h"

#include <QDesktopServices>
#include <QPointer>
#include <QUrl>
#include <QVBoxLayout>

namespace help {

namespace {
QPointer<HelpViewer> g_viewer;

std::string escapeHtml(const std::string& s) {
    return QString::fromStdString(s).toHtmlEscaped().toStdString();
}
}  // namespace

HelpBrowser::HelpBrowser(HelpViewer* owner) : QTextBrowser(owner), m_owner(owner) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (!url.scheme().isEmpty() && url.scheme() != QLatin1String("file")) {
            forms::OpenUrl(url.toString().toStdString());
            return;
        }
        m_owner->followLink(url.toString().toStdString());
    });
}

// Pictures and style sheets are not part of our help files; nothing is read from disk.
QVariant HelpBrowser::loadResource(int, const QUrl&) { return {}; }

HelpViewer::HelpViewer() {
    setWindowTitle(QStringLiteral("Hilfe"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_browser = new HelpBrowser(this);
    layout->addWidget(m_browser);
    resize(700, 550);
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::showMessage(const std::string& text) {
    m_browser->setHtml(QString::fromStdString("<p>" + escapeHtml(text) + "</p>"));
}

bool HelpViewer::showTopic(const std::string& helpFile, const std::string& topic) {
    if (!m_file || m_fileName != helpFile) {
        std::string error;
        m_file = HelpFile::open(helpFile, &error);
        m_fileName = helpFile;
        if (!m_file) {
            showMessage(error);
            return false;
        }
    }
    return showLoaded(topic);
}

bool HelpViewer::showLoaded(const std::string& topic) {
    auto t = topic.empty() ? m_file->firstTopic() : m_file->topic(topic);
    if (!t) {
        showMessage("Das Hilfethema \"" + topic + "\" ist in der Hilfedatei nicht vorhanden.");
        return false;
    }
    m_topic = t->path;
    m_browser->setHtml(QString::fromStdString(t->html));
    setWindowTitle(QString::fromStdString(t->title.empty() ? "Hilfe" : t->title));
    return true;
}

bool HelpViewer::followLink(const std::string& link) {
    if (!m_file) return false;
    return showLoaded(HelpFile::resolveLink(m_topic, link));
}

std::string HelpViewer::shownHtml() const { return m_browser->toHtml().toStdString(); }

void openViewer(const std::string& helpFile, const std::string& topic) {
    if (!g_viewer) g_viewer = new HelpViewer;
    g_viewer->showTopic(helpFile, topic);
    g_viewer->show();
    g_viewer->raise();
    g_viewer->activateWindow();
}

HelpViewer* currentViewer() { return g_viewer; }

void showHelp(const std::string& helpFile, const std::string& topic) {
    std::string error;
    auto file = HelpFile::open(helpFile, &error);
    if (!file) {
        forms::MsgBox(error, forms::vbExclamation);
        return;
    }
    if (!topic.empty() && !file->topic(topic)) {
        forms::MsgBox("Das Hilfethema \"" + topic + "\" ist in der Hilfedatei nicht vorhanden.", forms::vbExclamation);
        return;
    }
    forms::host().showHelp(file->fileName(), topic);
}

}  // namespace help
