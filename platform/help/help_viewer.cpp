#include "platform/help/help_viewer.h"

#include "platform/host/host.h"
#include "platform/host/screen_area.h"

#include <QAction>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace help {

namespace {
QPointer<HelpViewer> g_viewer;

std::string escapeHtml(const std::string& s) { return QString::fromStdString(s).toHtmlEscaped().toStdString(); }
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
    layout->setSpacing(0);
    auto* leiste = new QHBoxLayout;
    leiste->setContentsMargins(4, 4, 4, 4);
    auto knopf = [&](QStyle::StandardPixmap bild, const QString& text, const QKeySequence& taste, auto wohin) {
        auto* aktion = new QAction(style()->standardIcon(bild), text, this);
        aktion->setShortcut(taste);
        aktion->setToolTip(text + " (" + taste.toString(QKeySequence::NativeText) + ")");
        connect(aktion, &QAction::triggered, this, [this, wohin] { (this->*wohin)(); });
        addAction(aktion);
        auto* b = new QToolButton(this);
        b->setDefaultAction(aktion);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        leiste->addWidget(b);
        return b;
    };
    m_back = knopf(QStyle::SP_ArrowBack, QStringLiteral("Zurück"), QKeySequence(Qt::ALT | Qt::Key_Left),
                   &HelpViewer::back);
    m_forward = knopf(QStyle::SP_ArrowForward, QStringLiteral("Vorwärts"), QKeySequence(Qt::ALT | Qt::Key_Right),
                      &HelpViewer::forward);
    m_home = knopf(QStyle::SP_DirHomeIcon, QStringLiteral("Startseite"), QKeySequence(Qt::ALT | Qt::Key_Home),
                   &HelpViewer::home);
    leiste->addStretch();
    layout->addLayout(leiste);
    m_browser = new HelpBrowser(this);
    layout->addWidget(m_browser);
    resize(700, 550);
    updateButtons();
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::showMessage(const std::string& text) {
    m_message = true;
    m_browser->setHtml(QString::fromStdString("<p>" + escapeHtml(text) + "</p>"));
}

bool HelpViewer::openFile(const std::string& helpFile) {
    if (m_file && m_fileName == helpFile) return true;
    std::string error;
    m_file = HelpFile::open(helpFile, &error);
    m_fileName = helpFile;
    if (!m_file) {
        showMessage(error);
        return false;
    }
    return true;
}

bool HelpViewer::showTopic(const std::string& helpFile, const std::string& topic) {
    if (!openFile(helpFile) || !showLoaded(topic)) {
        updateButtons();
        return false;
    }
    remember();
    return true;
}

bool HelpViewer::showLoaded(const std::string& topic) {
    auto t = topic.empty() ? m_file->firstTopic() : m_file->topic(topic);
    if (!t) {
        showMessage("Das Hilfethema \"" + topic + "\" ist in der Hilfedatei nicht vorhanden.");
        return false;
    }
    m_topic = t->path;
    m_message = false;
    m_browser->setHtml(QString::fromStdString(t->html));
    setWindowTitle(QString::fromStdString(t->title.empty() ? "Hilfe" : t->title));
    return true;
}

bool HelpViewer::followLink(const std::string& link) {
    if (!m_file) return false;
    if (!showLoaded(HelpFile::resolveLink(m_topic, link))) {
        updateButtons();
        return false;
    }
    remember();
    return true;
}

void HelpViewer::remember() {
    const Visit v{m_fileName, m_topic};
    if (m_pos >= 0 && m_history[m_pos].file == v.file && m_history[m_pos].topic == v.topic) return;
    // A new way from here drops the topics that lay ahead.
    m_history.resize(m_pos + 1);
    m_history.push_back(v);
    m_pos = static_cast<int>(m_history.size()) - 1;
    updateButtons();
}

bool HelpViewer::goTo(int pos) {
    if (pos < 0 || pos >= static_cast<int>(m_history.size())) return false;
    const Visit v = m_history[pos];
    if (!openFile(v.file) || !showLoaded(v.topic)) {
        updateButtons();
        return false;
    }
    m_pos = pos;
    updateButtons();
    return true;
}

// After a link that led nowhere, back shows the topic the link was in.
bool HelpViewer::back() { return goTo(m_message ? m_pos : m_pos - 1); }
bool HelpViewer::forward() { return goTo(m_pos + 1); }

bool HelpViewer::home() {
    if (!m_file && (m_fileName.empty() || !openFile(m_fileName))) return false;
    if (!showLoaded("")) return false;
    remember();
    return true;
}

void HelpViewer::updateButtons() {
    m_back->defaultAction()->setEnabled(canGoBack());
    m_forward->defaultAction()->setEnabled(canGoForward());
    m_home->defaultAction()->setEnabled(m_file != nullptr);
}

std::string HelpViewer::shownHtml() const { return m_browser->toHtml().toStdString(); }

void openViewer(const std::string& helpFile, const std::string& topic) {
    if (!g_viewer) {
        g_viewer = new HelpViewer;
        // Whole on the screen, in its middle.
        g_viewer->resize(forms::fitOnScreen(g_viewer->size()));
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            QRect r(QPoint(), g_viewer->size());
            r.moveCenter(s->availableGeometry().center());
            g_viewer->move(r.topLeft());
        }
    }
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
