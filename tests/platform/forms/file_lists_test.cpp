// File dialogs list a folder without opening any of its files: a descriptor opened and closed on
// a data file drops the process's locks on it. Watched from the outside through inotify, which
// reports every open of a file in the folder, whoever opens it.

#include "platform/forms/file_list_icons.h"
#include "platform/forms/host.h"

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>
#include <set>

#include "support/echter_dateidialog.h"
#include "support/sobald.h"

using namespace forms;

namespace {

// The names of the files in a folder that anyone opened since the watch began.
class Oeffnungen {
public:
    explicit Oeffnungen(const QString& ordner) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        EXPECT_GE(m_fd, 0);
        EXPECT_GE(inotify_add_watch(m_fd, ordner.toLocal8Bit().constData(), IN_OPEN), 0);
    }
    ~Oeffnungen() { ::close(m_fd); }
    std::set<std::string> dateien() {
        alignas(inotify_event) char puffer[8192];
        for (ssize_t n; (n = ::read(m_fd, puffer, sizeof puffer)) > 0;)
            for (char* p = puffer; p < puffer + n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                // The folder's own opening is the listing itself.
                if (e->len > 0 && !(e->mask & IN_ISDIR)) m_namen.insert(e->name);
                p += sizeof(inotify_event) + e->len;
            }
        return m_namen;
    }

private:
    int m_fd;
    std::set<std::string> m_namen;
};

// A folder as the data folder looks while a data file is open: the file with its journal files,
// the settings database, a file without a suffix, a PDF and a subfolder. None has a suffix that
// tells its type except the PDF, so a look at the content would be tempting for all others.
class Datenordner : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        for (const char* name : {"Klienten.ZDB", "Klienten.ZDB-wal", "Klienten.ZDB-shm", "zuv.sdb", "Notiz"})
            std::ofstream(pfad(name).toStdString(), std::ios::binary)
                << std::string("SQLite format 3\0", 16) << std::string(4080, '\1');
        std::ofstream(pfad("Bericht.pdf").toStdString()) << "%PDF-1.4\n";
        QDir(tmp.path()).mkdir("Archiv");
    }
    QString pfad(const char* name) const { return tmp.filePath(name); }
    static const std::set<QString>& alleNamen() {
        static const std::set<QString> n{
            "Klienten.ZDB", "Klienten.ZDB-wal", "Klienten.ZDB-shm", "zuv.sdb", "Notiz", "Bericht.pdf", "Archiv"};
        return n;
    }
    // The folder as a dialog listed it: every entry there, each named with a type and an icon.
    static void vollstaendig(QFileDialog* d) {
        std::set<QString> namen;
        for (const auto& g : support::gelistet(d)) {
            namen.insert(g.name);
            EXPECT_FALSE(g.typ.isEmpty()) << g.name.toStdString();
        }
        EXPECT_EQ(namen, alleNamen());
        auto* model = d->findChild<QFileSystemModel*>();
        const QModelIndex ordner = model->index(d->directory().absolutePath());
        for (int r = 0; r < model->rowCount(ordner); ++r)
            EXPECT_FALSE(model->index(r, 0, ordner).data(Qt::DecorationRole).value<QIcon>().isNull());
    }
    QTemporaryDir tmp;
};

// The Host's open and save dialogs: they list everything, name each type, and open nothing.
TEST_F(Datenordner, TheHostsFileDialogsListTheFolderWithoutOpeningItsFiles) {
    QtHost real;
    for (auto art : {FileDialogKind::Open, FileDialogKind::Save}) {
        SCOPED_TRACE(art == FileDialogKind::Open ? "open" : "save");
        Oeffnungen offen(tmp.path());
        std::vector<support::Gelistet> liste;
        support::beantworteDateidialog(pfad("Klienten.ZDB").toStdString(), [&](QFileDialog* d) {
            vollstaendig(d);
            liste = support::gelistet(d);
        });
        FileDialogRequest req;
        req.kind = art;
        req.initDir = tmp.path().toStdString();
        ASSERT_TRUE(real.fileDialog(req));
        EXPECT_EQ(req.fileName, pfad("Klienten.ZDB").toStdString());
        EXPECT_EQ(offen.dateien(), std::set<std::string>{});
        // Types from the name: the suffix where it tells nothing, a folder as a folder.
        for (const auto& g : liste) {
            if (g.name == "Klienten.ZDB") {
                EXPECT_EQ(g.typ.toStdString(),
                          ("ZDB-" + QCoreApplication::translate("QAbstractFileIconProvider", "File")).toStdString());
            }
            if (g.name == "Archiv") {
                EXPECT_EQ(g.typ.toStdString(), nameOnlyIcons().type(QFileInfo(pfad("Archiv"))).toStdString());
            }
        }
    }
}

// A file dialog made without the Host (Qt's own static functions, a window of later days) is put
// on the same footing the moment its folder's entries arrive.
TEST_F(Datenordner, AFileDialogMadeWithoutTheHostOpensNoFileEither) {
    QtHost real;  // the programs make the Host before any window
    Oeffnungen offen(tmp.path());
    support::beantworteDateidialog("", [](QFileDialog* d) { vollstaendig(d); });
    QFileDialog dlg(nullptr, "Öffnen", tmp.path());
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_EQ(offen.dateien(), std::set<std::string>{});
}

// The print dialog's button for a PDF file opens the Host's file dialog, which opens nothing in
// the folder, and the file chosen there becomes the print dialog's target.
TEST_F(Datenordner, ThePrintDialogsFileButtonChoosesThroughTheHostAndOpensNothing) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    QtHost real;
    Oeffnungen offen(tmp.path());
    const QString pdf = pfad("Ausdruck.pdf");
    QString imFeld;
    support::sobald("the print dialog", [&] {
        auto* dlg = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dlg) return false;
        auto* knopf = dlg->findChild<QAbstractButton*>(QStringLiteral("fileBrowser"));
        if (!knopf) {
            ADD_FAILURE() << "the print dialog has no button for a file";
            dlg->reject();
            return true;
        }
        support::beantworteDateidialog(pdf.toStdString(), [](QFileDialog* d) {
            std::set<QString> namen;
            for (const auto& g : support::gelistet(d)) namen.insert(g.name);
            EXPECT_EQ(namen, alleNamen());
        });
        knopf->click();  // returns once the file dialog is answered
        imFeld = dlg->findChild<QLineEdit*>(QStringLiteral("filename"))->text();
        dlg->accept();
        return true;
    });
    PrinterChoice choice;
    choice.outputFile = tmp.filePath("Archiv/alt.pdf").toStdString();
    ASSERT_TRUE(real.printerDialog(choice, 0));
    EXPECT_EQ(imFeld, pdf);
    EXPECT_EQ(choice.outputFile, pdf.toStdString());
    EXPECT_EQ(offen.dateien(), std::set<std::string>{});
}

}  // namespace
