#include "platform/draw/printer.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "support/sobald.h"

using namespace forms;

namespace {

// Acts on the dialog the real Host opens, as a person would, once it is on screen.
void whenDialogShows(std::function<void(QWidget*)> act) {
    support::sobald("the dialog of the real Host", [act] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) return false;
        act(w);
        return true;
    });
}

TEST(QtHostTest, MessageBoxButtonsGiveTheirCodes) {
    QtHost real;
    std::vector<std::string> shown;
    whenDialogShows([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons()) shown.push_back(b->text().toStdString());
        EXPECT_EQ(box->defaultButton()->text(), "&Nein");  // second button is the default
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        for (QAbstractButton* b : box->buttons())
            if (b->text() == "Abbrechen") b->click();
    });
    EXPECT_EQ(real.msgBox("Person löschen?", vbYesNoCancel + vbExclamation + vbDefaultButton2, "Z.U.V."), vbCancel);
    EXPECT_EQ(shown.size(), 3u);

    whenDialogShows([](QWidget* w) { static_cast<QMessageBox*>(w)->defaultButton()->click(); });
    EXPECT_EQ(real.msgBox("Beenden?", vbYesNo + vbQuestion, "Z.U.V."), vbYes);
}

TEST(QtHostTest, InputBoxCancelIsNoAnswer) {
    QtHost real;
    whenDialogShows([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_FALSE(real.inputBox("Name:", "Z.U.V.", "x").has_value());
    whenDialogShows([](QWidget* w) {
        w->findChild<QLineEdit*>()->setText("Meier");
        static_cast<QDialog*>(w)->accept();
    });
    EXPECT_EQ(real.inputBox("Name:", "Z.U.V.", "").value_or("?"), "Meier");
}

TEST(QtHostTest, OpenDialogOffersTheReadOnlyBoxAndReportsIt) {
    QtHost real;
    QTemporaryDir dir;
    FileDialogRequest req;
    req.kind = FileDialogKind::Open;
    req.title = "Datei öffnen";
    req.filters = {{"ZDBs (*.ZDB)", "*.ZDB"}};
    req.initDir = dir.path().toStdString();
    req.showReadOnlyBox = true;
    whenDialogShows([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->nameFilters().front(), "ZDBs (*.ZDB *.zdb)");
        auto* box = dlg->findChild<QCheckBox*>();
        ASSERT_NE(box, nullptr);
        box->setChecked(true);
        dlg->selectFile(dir.filePath("a.ZDB"));
        static_cast<QDialog*>(dlg)->accept();
    });
    ASSERT_TRUE(real.fileDialog(req));
    EXPECT_EQ(req.fileName, dir.filePath("a.ZDB").toStdString());
    EXPECT_TRUE(req.readOnlyChecked);
    EXPECT_EQ(req.filterIndex, 1);
}

// The real printer dialog on a machine without a printer: it offers printing into a PDF file,
// and that choice comes back as the file, which the program-wide printer then writes.
TEST(QtHostTest, PrinterDialogChoosingAPdfFileReachesTheProgramWidePrinter) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    QtHost real;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("fragebogen.pdf");
    QString angeboten;
    whenDialogShows([&](QWidget* w) {
        auto* dlg = qobject_cast<QPrintDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        auto* drucker = dlg->findChild<QComboBox*>(QStringLiteral("printers"));
        ASSERT_NE(drucker, nullptr);
        angeboten = drucker->currentText();
        auto* datei = dlg->findChild<QLineEdit*>(QStringLiteral("filename"));
        ASSERT_NE(datei, nullptr);
        datei->setText(pdf);
        dlg->accept();
    });
    PrinterChoice choice;
    choice.copies = 2;
    ASSERT_TRUE(real.printerDialog(choice, 64));
    EXPECT_EQ(angeboten, QStringLiteral("In PDF-Datei drucken"));  // in German
    EXPECT_EQ(choice.outputFile, pdf.toStdString());
    EXPECT_EQ(choice.copies, 2);
    EXPECT_EQ(choice.paperSize, 9);

    draw::Printer& drucker = draw::printer();
    applyToPrinter(choice);
    drucker.Print({"Aussage 1"});
    drucker.EndDoc();
    EXPECT_TRUE(QFile::exists(pdf));
    // The dialog opens again on the file chosen.
    QString wieder;
    whenDialogShows([&](QWidget* w) {
        wieder = w->findChild<QLineEdit*>(QStringLiteral("filename"))->text();
        static_cast<QDialog*>(w)->reject();
    });
    EXPECT_FALSE(real.printerDialog(choice, 64));
    EXPECT_EQ(wieder, pdf);
    applyToPrinter(PrinterChoice{});
    EXPECT_EQ(drucker.outputFileName(), "");
}

}  // namespace
