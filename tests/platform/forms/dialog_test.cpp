#include "platform/forms/common_dialog.h"
#include "support/konten.h"
#include "support/scripted_host.h"
#include "platform/vb/error.h"
#include "support/vb_error.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace forms;
using Kind = HostRecord::Kind;

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

TEST(MessageBoxTest, ScriptedAnswersComeBackAsCodesAndEveryPromptIsRecorded) {
    ScriptedHostGuard host;
    setAppTitle("Z.U.V.");
    host->answer(vbNo).answer(vbCancel);
    EXPECT_EQ(MsgBox("Wirklich beenden?", vbYesNo + vbQuestion, "Z.U.V. Hinweismeldung"), vbNo);
    EXPECT_EQ(MsgBox("Person löschen?", vbYesNoCancel + vbExclamation), vbCancel);
    // No queued answer: the default button, also when it is the second one.
    EXPECT_EQ(MsgBox("Hinweis", vbExclamation), vbOK);
    EXPECT_EQ(MsgBox("Test jetzt starten?", vbYesNo + vbExclamation + vbDefaultButton2), vbNo);

    const auto boxes = host->records(Kind::MsgBox);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].title, "Z.U.V. Hinweismeldung");
    EXPECT_EQ(boxes[0].style, 36);
    EXPECT_EQ(boxes[1].title, "Z.U.V.");  // no own title: the program's title
    EXPECT_EQ(boxes[1].text, "Person löschen?");
    EXPECT_EQ(boxes[1].style, 51);
    EXPECT_EQ(msgBoxButtons(vbAbortRetryIgnore), (std::vector<int>{vbAbort, vbRetry, vbIgnore}));
}

TEST(MessageBoxTest, InputBoxCancelGivesEmptyTextAndNoAnswerGivesTheDefault) {
    ScriptedHostGuard host;
    host->input("Meier").cancelInput();
    EXPECT_EQ(InputBox("Nachname:", "Suchen"), "Meier");
    EXPECT_EQ(InputBox("Wie oft?", "Wiederholen", "1"), "");
    EXPECT_EQ(InputBox("Wie oft?", "Wiederholen", "1"), "1");
    const auto* last = host->last(Kind::InputBox);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->defaultText, "1");
    EXPECT_EQ(last->title, "Wiederholen");
}

TEST(MessageBoxTest, ShellNeedsAnExistingFileAndGoesThroughTheHost) {
    ScriptedHostGuard host;
    QTemporaryDir dir;
    touch(dir.filePath("zuvcodex.exe"));
    EXPECT_EQ(errorOf([&] { Shell(dir.filePath("zuvscope.exe").toStdString()); }), vb::err::FileNotFound);
    // Backslashes and another case of the name still find the file.
    const std::string windowsStyle = QDir::toNativeSeparators(dir.path()).toStdString() + "\\ZUVCODEX.EXE";
    EXPECT_NE(Shell(windowsStyle), 0);
    ASSERT_EQ(host->records(Kind::Shell).size(), 1u);
    EXPECT_EQ(host->records(Kind::Shell)[0].text, dir.filePath("zuvcodex.exe").toStdString());
    OpenUrl("https://example.org/");
    EXPECT_EQ(host->last(Kind::Url)->text, "https://example.org/");
}

class CommonDialogTest : public ::testing::Test {
protected:
    ScriptedHostGuard host;
    QTemporaryDir dir;
    std::string path(const char* name) { return dir.filePath(name).toStdString(); }
};

TEST_F(CommonDialogTest, CancelRaises32755OnlyWithCancelErrorAndKeepsTheFileName) {
    CommonDialog dlg;
    dlg.setFileName("alt.ZDB");
    host->cancelFile();
    dlg.ShowOpen();  // no CancelError: nothing happens
    EXPECT_EQ(dlg.FileName(), "alt.ZDB");

    dlg.setCancelError(true);
    host->cancelFile();
    EXPECT_EQ(errorOf([&] { dlg.ShowOpen(); }), vb::err::CancelError);
    host->cancelDialog();
    EXPECT_EQ(errorOf([&] { dlg.ShowFont(); }), vb::err::CancelError);
    host->cancelDialog();
    EXPECT_EQ(errorOf([&] { dlg.ShowColor(); }), vb::err::CancelError);
    EXPECT_EQ(errorOf([&] { dlg.ShowPrinter(); }), vb::err::CancelError);  // nothing queued: cancelled
    EXPECT_EQ(dlg.FileName(), "alt.ZDB");
}

TEST_F(CommonDialogTest, OpenWithFileMustExistAsksAgainAndReportsTheReadOnlyBox) {
    touch(dir.filePath("Daten.ZDB"));
    CommonDialog dlg;
    dlg.setInitDir(dir.path().toStdString());
    dlg.setDefaultExt("ZDB");
    dlg.setFilter("ZDBs (*.ZDB)|*.ZDB|Alle Dateien (*.*)|*.*");
    dlg.setDialogTitle("Datei öffnen");
    dlg.setFlags(cdlOFNFileMustExist);
    dlg.setCancelError(true);
    host->chooseFile(path("Fehlt.ZDB")).chooseFile(path("daten"), true);
    dlg.ShowOpen();

    // The missing file got a German notice and the dialog again.
    ASSERT_EQ(host->records(Kind::FileOpen).size(), 2u);
    ASSERT_EQ(host->messages().size(), 1u);
    EXPECT_NE(host->messages()[0].find("nicht gefunden"), std::string::npos);
    // The default extension and the stored case complete the typed name.
    EXPECT_EQ(dlg.FileName(), path("Daten.ZDB"));
    EXPECT_EQ(dlg.FileTitle(), "Daten.ZDB");
    EXPECT_TRUE(dlg.Flags() & cdlOFNReadOnly);
    const auto& req = host->lastFileRequest();
    EXPECT_TRUE(req.showReadOnlyBox);
    EXPECT_EQ(req.title, "Datei öffnen");
    ASSERT_EQ(req.filters.size(), 2u);
    EXPECT_EQ(req.filters[0], (std::pair<std::string, std::string>{"ZDBs (*.ZDB)", "*.ZDB"}));

    // Settings carry over to the next use; an unticked box clears the flag.
    host->chooseFile(path("Daten.ZDB"), false);
    dlg.ShowOpen();
    EXPECT_FALSE(dlg.Flags() & cdlOFNReadOnly);
    EXPECT_EQ(host->lastFileRequest().fileName, path("Daten.ZDB"));
    EXPECT_EQ(host->lastFileRequest().initDir, dir.path().toStdString());
}

TEST_F(CommonDialogTest, SaveAsksBeforeOverwritingAndHidesTheReadOnlyBox) {
    touch(dir.filePath("Alt.ZDB"));
    CommonDialog dlg;
    dlg.setFlags(cdlOFNOverwritePrompt | cdlOFNHideReadOnly);
    dlg.setDefaultExt("ZDB");
    host->chooseFile(path("Alt.ZDB")).answer(vbNo).chooseFile(path("Alt.ZDB")).answer(vbYes);
    dlg.ShowSave();
    EXPECT_EQ(host->records(Kind::FileSave).size(), 2u);
    EXPECT_EQ(host->messages().size(), 2u);
    EXPECT_EQ(host->records(Kind::MsgBox)[0].style, vbYesNo + vbExclamation);
    EXPECT_EQ(dlg.FileName(), path("Alt.ZDB"));
    EXPECT_FALSE(host->lastFileRequest().showReadOnlyBox);

    // A new name needs no question.
    host->clearRecords();
    host->chooseFile(path("Neu"));
    dlg.ShowSave();
    EXPECT_EQ(dlg.FileName(), path("Neu.ZDB"));
    EXPECT_TRUE(host->messages().empty());
}

TEST_F(CommonDialogTest, SavingFromAFolderNobodyMayWriteOpensInTheHomeFolder) {
    support::NurLesbareAnsicht installation(dir.path().toStdString());
    if (!installation.fehler().empty()) GTEST_SKIP() << installation.fehler();
    // Left before the read-only view goes, which it would otherwise keep busy.
    const QString vorher = QDir::currentPath();
    const support::PutBack zurueck([vorher] { QDir::setCurrent(vorher); });
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(installation.pfad().string())));
    CommonDialog dlg;
    dlg.setFileName("Bericht.pdf");
    host->cancelFile();
    dlg.ShowSave();
    const std::string ohneOrdner = host->lastFileRequest().initDir;
    // A folder of its own is kept, and opening is not affected.
    dlg.setInitDir(dir.path().toStdString());
    host->cancelFile();
    dlg.ShowSave();
    const std::string eigenerOrdner = host->lastFileRequest().initDir;
    dlg.setInitDir("");
    host->cancelFile();
    dlg.ShowOpen();
    const std::string zumOeffnen = host->lastFileRequest().initDir;
    QDir::setCurrent(vorher);
    EXPECT_EQ(ohneOrdner, QDir::homePath().toStdString());
    EXPECT_EQ(eigenerOrdner, dir.path().toStdString());
    EXPECT_EQ(zumOeffnen, "");
    // Where the current folder can be written the dialog opens there, as before.
    host->cancelFile();
    dlg.ShowSave();
    EXPECT_EQ(host->lastFileRequest().initDir, "");
}

TEST_F(CommonDialogTest, FontColourAndPrinterArePresetAndReturned) {
    CommonDialog dlg;
    dlg.setFlags(cdlCFBoth);
    dlg.setFontName("DejaVu Sans");
    dlg.setFontSize(10);
    dlg.setFontItalic(true);
    FontChoice chosen;
    chosen.name = "DejaVu Serif";
    chosen.size = 12.5;
    chosen.bold = true;
    host->chooseFont(chosen);
    dlg.ShowFont();
    EXPECT_EQ(host->lastFontPreset().name, "DejaVu Sans");
    EXPECT_TRUE(host->lastFontPreset().italic);
    EXPECT_EQ(dlg.FontName(), "DejaVu Serif");
    EXPECT_DOUBLE_EQ(dlg.FontSize(), 12.5);
    EXPECT_TRUE(dlg.FontBold());
    EXPECT_FALSE(dlg.FontItalic());
    EXPECT_EQ(host->last(Kind::Font)->style, cdlCFBoth);

    dlg.setColor(0x0000FF);
    host->chooseColor(0x00AA00);
    dlg.ShowColor();
    EXPECT_EQ(host->lastColorPreset(), 0x0000FF);
    EXPECT_EQ(dlg.Color(), 0x00AA00);

    PrinterChoice p;
    p.printerName = "Buero";
    p.copies = 2;
    host->choosePrinter(p);
    dlg.setAction(5);
    EXPECT_EQ(dlg.Copies(), 2);
    EXPECT_EQ(chosenPrinter().printerName, "Buero");
}

TEST(CommonDialogFilterTest, FilterTextsSplitIntoPairs) {
    using P = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(CommonDialog::parseFilter("XML (*.xml)|*.xml"), (P{{"XML (*.xml)", "*.xml"}}));
    EXPECT_EQ(CommonDialog::parseFilter("Bilder|*.bmp;*.wmf|Alle|*.*"), (P{{"Bilder", "*.bmp;*.wmf"}, {"Alle", "*.*"}}));
    EXPECT_EQ(CommonDialog::parseFilter("Nur Text"), (P{{"Nur Text", "*"}}));
    EXPECT_TRUE(CommonDialog::parseFilter("").empty());
}

}  // namespace
