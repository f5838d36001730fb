// Print jobs through a real CUPS queue of the test's own: a scheduler with its own configuration
// folder, listening on a port of 127.0.0.1 only, a queue that prints into /dev/null, and the page
// log in which the scheduler records each job with its title. In a shared queue the practice
// tells the clients' reports apart by that title.
//
// The scheduler is asked for through CUPS_SERVER before the process first looks for printers: this
// test has a program of its own, so that no earlier test has asked the system's scheduler.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QPrinterInfo>
#include <QProcess>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "platform/draw/printer.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

// A port of 127.0.0.1 that no one listens on now.
int freierPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t n = sizeof a;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}

class CupsQueue : public support::TempFolderTest {
protected:
    void TearDown() override {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(10000)) m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
        TempFolderTest::TearDown();
    }

    // The scheduler started and its queue set up; false (with the reason) when it cannot run here.
    bool starten(std::string& warum) {
        if (!fs::exists("/usr/sbin/cupsd") || !fs::exists("/usr/sbin/lpadmin")) {
            warum = "cupsd is not installed (apt-get install --no-install-recommends cups)";
            return false;
        }
        for (const char* d : {"spool", "cache", "state", "log"}) fs::create_directories(m_dir / d);
        m_port = freierPort();
        m_server = "127.0.0.1:" + std::to_string(m_port);
        support::writeFile(m_dir / "cupsd.conf",
                           "Listen " + m_server +
                               "\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                               "PageLogFormat %j job-name=%{job-name}\n"
                               "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                               "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n"
                               "</Policy>\n");
        const std::string d = m_dir.string();
        support::writeFile(m_dir / "cups-files.conf", "ServerRoot " + d + "\nRequestRoot " + d + "/spool\nTempDir " + d +
                                                          "/spool\nCacheDir " + d + "/cache\nStateDir " + d +
                                                          "/state\nErrorLog " + d + "/log/error_log\nAccessLog " + d +
                                                          "/log/access_log\nPageLog " + d +
                                                          "/log/page_log\nFileDevice Yes\n"
                                                          "Sandboxing Relaxed\n");
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start("/usr/sbin/cupsd", {"-f", "-c", QString::fromStdString(d + "/cupsd.conf"), "-s",
                                          QString::fromStdString(d + "/cups-files.conf")});
        if (!m_cupsd.waitForStarted(10000)) {
            warum = "cupsd does not start here";
            return false;
        }
        const auto bis = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (;;) {
            // lpstat answers in the user's language; its English answer is the one to look for
            if (support::run("LC_ALL=C lpstat -h " + m_server + " -r").output.find("scheduler is running") !=
                std::string::npos)
                break;
            if (m_cupsd.state() == QProcess::NotRunning || std::chrono::steady_clock::now() > bis) {
                warum = "cupsd cannot run here: " + m_cupsd.readAll().toStdString() +
                        support::readFile((m_dir / "log/error_log").string());
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        const auto r = support::run("lpadmin -h " + m_server + " -p ZUVTest -E -v file:///dev/null -m raw");
        if (r.status != 0) {
            warum = "the test queue cannot be set up: " + r.output;
            return false;
        }
        return true;
    }

    // The titles of the jobs the page log has recorded, one per job, in order.
    std::vector<std::string> titel() {
        std::vector<std::string> out;
        std::set<std::string> jobs;
        const fs::path log = m_dir / "log/page_log";
        if (!fs::exists(log)) return out;
        for (const std::string& z : support::lines(support::readFile(log.string()))) {
            const auto name = z.find(" job-name=");
            if (name == std::string::npos || !jobs.insert(z.substr(0, name)).second) continue;
            out.push_back(z.substr(name + 10));
        }
        return out;
    }

    QProcess m_cupsd;
    int m_port = 0;
    std::string m_server;
};

}  // namespace

TEST_F(CupsQueue, EachJobCarriesTheNameOfItsDocumentAsItsTitle) {
    std::string warum;
    if (!starten(warum)) GTEST_SKIP() << warum;
    qputenv("CUPS_SERVER", QByteArray::fromStdString(m_server));
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains("ZUVTest"))
        << QPrinterInfo::availablePrinterNames().join(", ").toStdString();

    draw::Printer pr;
    pr.setDeviceName("ZUVTest");
    pr.setDocName("Bericht Weiß-Özdemir Jürgen");
    pr.Print({"Seite eins"});
    pr.EndDoc();
    pr.setDocName("Fragebogen");
    pr.Print({"Aussage 1"});
    pr.EndDoc();
    pr.Print({"ohne Namen"});  // a document that names itself not: a title all the same
    pr.EndDoc();

    const auto bis = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (titel().size() < 3 && std::chrono::steady_clock::now() < bis)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(titel(), (std::vector<std::string>{"Bericht Weiß-Özdemir Jürgen", "Fragebogen", "Ausdruck"}))
        << support::readFile((m_dir / "log/error_log").string());
}
