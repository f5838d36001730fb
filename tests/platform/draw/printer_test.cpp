#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

#include "support/vb_error.h"
#include "platform/draw/picture_box.h"
#include "platform/draw/printer.h"
#include "support/scripted_host.h"
#include "platform/vb/error.h"

using draw::LineEnd;
using draw::Tab;

namespace {
QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfPage(const QString& pdf, int page) {
    return run("pdftotext", {"-layout", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
}

int pdfPages(const QString& pdf) {
    for (const QString& line : run("pdfinfo", {pdf}).split('\n'))
        if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
    return -1;
}
}  // namespace

TEST(Printer, PagesOfTextGoIntoAPdfFileAtTheirPlaces) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("fragebogen.pdf");
    draw::Printer pr;
    pr.setOutputFileName(pdf.toStdString());
    pr.setPaperSize(9);
    EXPECT_NEAR(pr.Width(), 11906, 1);  // A4 in twips
    EXPECT_NEAR(pr.Height(), 16838, 1);

    pr.setFont("Arial", 10, false, false);
    pr.setCurrentY(1000);
    pr.Print({Tab(10), "Z.U.V. 5.0"});
    pr.Print({Tab(10), "Fragebogen über Persönlichkeit"});
    pr.setFontBold(true);
    pr.Print({Tab(10), "Häufigste Auffälligkeit"});
    pr.setFontBold(false);
    const std::string scale = "0---1---2---3---4";
    pr.setCurrentX(pr.Width() - (pr.TextWidth(scale) + 1500));
    pr.Print({scale});
    pr.setCurrentY(pr.Height() - 1500);
    pr.Print({Tab(10), "Seite", draw::Num(1)});
    pr.NewPage();
    EXPECT_EQ(pr.Page(), 2);
    EXPECT_DOUBLE_EQ(pr.CurrentY(), 0);
    pr.setCurrentY(1000);
    pr.Print({Tab(10), "7)"});
    pr.EndDoc();
    EXPECT_EQ(pr.Page(), 1);

    ASSERT_EQ(pdfPages(pdf), 2);
    const QString one = pdfPage(pdf, 1), two = pdfPage(pdf, 2);
    EXPECT_TRUE(one.contains("Z.U.V. 5.0"));
    EXPECT_TRUE(one.contains("Fragebogen über Persönlichkeit"));
    // Letters print one by one, never joined into a ligature a search would miss.
    EXPECT_TRUE(one.contains("Häufigste Auffälligkeit"));
    EXPECT_TRUE(one.contains("0---1---2---3---4"));
    EXPECT_TRUE(one.contains("Seite 1"));
    EXPECT_FALSE(one.contains("7)"));
    EXPECT_TRUE(two.contains("7)"));

    // The log tells the same, with the positions the program asked for.
    const auto& log = pr.log();
    ASSERT_EQ(log.size(), 7u);
    EXPECT_EQ(log[0].page, 1);
    EXPECT_NEAR(log[0].y, 1000, 0.5);
    EXPECT_NEAR(log[0].x, 9 * pr.averageCharWidth(), 0.5);
    EXPECT_NEAR(log[3].x + log[3].width, pr.Width() - 1500, 0.5);  // the scale ends 1500 from the edge
    EXPECT_NEAR(log[4].y, pr.Height() - 1500, 0.5);
    EXPECT_EQ(log[6].page, 2);
    EXPECT_EQ(pr.pageLines(1).at(4), "Seite 1 ");
}

// The file set for the printer takes the one document it was chosen for; each document after it
// asks for its own file, offered under its own name beside the first, and carries its name as
// the title.
TEST(Printer, EachDocumentAfterEndDocIsOfferedUnderItsOwnNameAndKillDocThrowsOneAway) {
    forms::ScriptedHostGuard host;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("Bericht Weiß-Özdemir Jürgen.pdf");
    draw::Printer pr;
    pr.setOutputFileName(pdf.toStdString());
    pr.setDocName("Bericht Weiß-Özdemir Jürgen");
    pr.Print({"Blatt eins"});
    pr.EndDoc();
    pr.EndDoc();  // nothing printed since: no new document
    EXPECT_TRUE(host->records(forms::HostRecord::Kind::FileSave).empty());
    EXPECT_EQ(pr.docName(), "");  // the name lasted for its document

    const QString second = dir.filePath("Fragebogen.pdf");
    host->chooseFile(second.toStdString());
    pr.setDocName("Fragebogen");
    pr.Print({"Blatt zwei"});
    pr.EndDoc();
    ASSERT_EQ(host->records(forms::HostRecord::Kind::FileSave).size(), 1u);
    EXPECT_EQ(host->lastFileRequest().fileName, "Fragebogen.pdf");
    EXPECT_EQ(host->lastFileRequest().initDir, dir.path().toStdString());

    host->chooseFile(dir.filePath("verworfen.pdf").toStdString());
    pr.Print({"verworfen"});
    EXPECT_EQ(host->lastFileRequest().fileName, "Ausdruck.pdf");  // a document without a name
    EXPECT_EQ(errorOf([&] { pr.setOutputFileName(dir.filePath("anders.pdf").toStdString()); }), vb::err::PrinterError);
    pr.KillDoc();

    ASSERT_EQ(pr.writtenFiles().size(), 2u);
    EXPECT_EQ(QString::fromStdString(pr.writtenFiles()[0]), pdf);
    EXPECT_EQ(QString::fromStdString(pr.writtenFiles()[1]), second);
    EXPECT_TRUE(pdfPage(pdf, 1).contains("Blatt eins"));
    EXPECT_TRUE(pdfPage(second, 1).contains("Blatt zwei"));
    EXPECT_FALSE(QFile::exists(dir.filePath("verworfen.pdf")));
    EXPECT_EQ(pr.log().back().doc, 3);
    EXPECT_EQ(pr.log().front().doc, 1);
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains("Bericht Weiß-Özdemir Jürgen"));

    EXPECT_EQ(draw::Printer::pdfFileName("Bericht Nachname/Vorname: A"), "Bericht Nachname_Vorname_ A.pdf");
    EXPECT_EQ(draw::Printer::pdfFileName(" . "), "Ausdruck.pdf");
}

TEST(Printer, PicturesAndLandscapePagesAndAPreviewOfTheSameSize) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("quer.pdf");
    draw::Printer pr;
    pr.setOutputFileName(pdf.toStdString());
    pr.setPaperSize(9);
    pr.setOrientation(2);
    EXPECT_EQ(pr.Orientation(), 2);
    EXPECT_NEAR(pr.Width(), 16838, 1);
    pr.setPaperSize(11);
    EXPECT_EQ(pr.PaperSize(), 11);
    pr.setPaperSize(9);

    // The preview's page picture takes the printer's size and measures text as the printer does,
    // in every size and style, so its lines break and its pages end where the paper's do.
    draw::PictureBox page;
    page.setPreviewOf(&pr);
    page.setSizeTwips(pr.Width(), pr.Height());
    EXPECT_DOUBLE_EQ(page.Width(), pr.Width());
    EXPECT_DOUBLE_EQ(page.Height(), pr.Height());
    const std::string zeile = "Der Typ nimmt die Welt sehr fein wahr und sieht, was fehlt und was besser sein könnte.";
    for (const draw::FontSpec& f :
         {draw::FontSpec{"Arial", 10}, draw::FontSpec{"Arial", 8}, draw::FontSpec{"Times New Roman", 14, true, true},
          draw::FontSpec{"Courier New", 9}}) {
        page.setFont(f);
        pr.setFont(f);
        EXPECT_NEAR(page.averageCharWidth(), pr.averageCharWidth(), 1e-6) << f.name << " " << f.size;
        EXPECT_NEAR(page.TextHeight("Texthoehe"), pr.TextHeight("Texthoehe"), 1e-6) << f.name << " " << f.size;
        EXPECT_NEAR(page.TextWidth(zeile), pr.TextWidth(zeile), 1e-6) << f.name << " " << f.size;
    }
    // A plain picture of 96 dpi rounds its fonts to whole pixels: some per cent off the paper.
    draw::PictureBox bild;
    bild.setFont(draw::FontSpec{"Arial", 10});
    pr.setFont(draw::FontSpec{"Arial", 10});
    EXPECT_GT(std::abs(bild.TextWidth(zeile) / pr.TextWidth(zeile) - 1), 0.01);

    // What the preview draws fills the width it was measured with: the line's ink ends at its
    // logged end, in the printer's place.
    page.setBackColor(0xFFFFFF);
    page.setForeColor(0);
    page.setFont(draw::FontSpec{"Arial", 10});
    page.setCurrentX(1000);
    page.setCurrentY(2000);
    page.Print({zeile});
    const draw::LogEntry& e = page.log().back();
    const QImage img = page.Image().image();
    int rechts = -1;
    for (int x = 0; x < img.width(); ++x)
        for (int y = int(e.y / 15); y < int((e.y + page.TextHeight("Ag")) / 15) + 1; ++y)
            if (qGray(img.pixel(x, y)) < 128) rechts = x;
    EXPECT_NEAR(rechts, (e.x + e.width) / 15, 2.5);
    page.setPreviewOf(nullptr);
    EXPECT_NEAR(page.Width(), pr.Width(), 15);
    pr.setFont(draw::FontSpec{"Arial", 10});

    page.setBackColor(0xFFFFFF);
    page.Line(0, 0, 1000, 1000, 0x0000FF, true, true);
    pr.PaintPicture(page.Image(), 1000, 1200, 1287, 1287);
    pr.Circle(5000, 5000, 1000);
    pr.Print({"mit Bild"});
    pr.EndDoc();
    EXPECT_EQ(pdfPages(pdf), 1);
    EXPECT_TRUE(run("pdfinfo", {pdf}).contains("842 x 595"));  // landscape A4 in points
}

TEST(Printer, FailuresRaise482AndNeverHalfPrint) {
    QTemporaryDir dir;
    draw::Printer pr;
    pr.setOutputFileName(dir.filePath("fehlt/druck.pdf").toStdString());
    EXPECT_EQ(errorOf([&] { pr.Print({"x"}); }), vb::err::PrinterError);
    EXPECT_FALSE(pr.busy());
    EXPECT_EQ(errorOf([&] { pr.setDeviceName("Drucker, den es nicht gibt"); }), vb::err::PrinterError);
    EXPECT_EQ(errorOf([&] { pr.setOrientation(3); }), vb::err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { pr.setPaperSize(4711); }), vb::err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { pr.setCopies(0); }), vb::err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { pr.Cls(); }), vb::err::NoSuchPropertyOrMethod);
    // Measuring needs no printer at all.
    EXPECT_GT(pr.TextHeight("Texthoehe"), 0);
}

// No CUPS queue on the machine and nothing chosen: each document asks for a PDF file as it
// starts. Declining prints nothing; an existing file is replaced only when the person agrees.
TEST(Printer, WithoutAPrinterEachDocumentOffersAPdfFile) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    QTemporaryDir dir;
    forms::ScriptedHostGuard host;
    draw::Printer pr;
    EXPECT_FALSE(pr.hasTarget());

    host->cancelFile();
    EXPECT_EQ(errorOf([&] { pr.Print({"verworfen"}); }), vb::err::CancelError);
    EXPECT_FALSE(pr.busy());
    ASSERT_EQ(host->records(forms::HostRecord::Kind::FileSave).size(), 1u);
    EXPECT_NE(host->lastFileRequest().title.find("PDF"), std::string::npos);

    const QString erster = dir.filePath("fragebogen.pdf");
    host->chooseFile(erster.toStdString());
    pr.Print({"Fragebogen"});
    pr.NewPage();  // a new sheet of the same document asks nothing
    pr.Print({"Seite zwei"});
    pr.EndDoc();
    EXPECT_EQ(host->records(forms::HostRecord::Kind::FileSave).size(), 2u);
    EXPECT_EQ(pdfPages(erster), 2);
    EXPECT_TRUE(pdfPage(erster, 1).contains("Fragebogen"));

    // The next document asks again, in the folder chosen before; the file there is kept when
    // the person says No, and the next name is asked for.
    host->chooseFile(erster.toStdString()).answer(forms::vbNo);
    host->chooseFile(dir.filePath("einfuehrung").toStdString());
    pr.Print({"Einführung"});
    pr.EndDoc();
    EXPECT_EQ(host->lastFileRequest().initDir, dir.path().toStdString());
    EXPECT_TRUE(pdfPage(erster, 1).contains("Fragebogen"));
    EXPECT_TRUE(pdfPage(dir.filePath("einfuehrung.pdf"), 1).contains("Einführung"));
    ASSERT_EQ(host->messages().size(), 1u);
    EXPECT_NE(host->messages()[0].find("ersetzen"), std::string::npos);

    // A caller painting on the QPrinter itself gets its file first; the surface then uses it.
    host->chooseFile(dir.filePath("eigen.pdf").toStdString());
    pr.ensureTarget();
    EXPECT_TRUE(pr.hasTarget());
    pr.Print({"eigen"});
    pr.KillDoc();
    EXPECT_FALSE(QFile::exists(dir.filePath("eigen.pdf")));
    EXPECT_EQ(host->records(forms::HostRecord::Kind::FileSave).size(), 5u);
    EXPECT_FALSE(pr.hasTarget());
}

// A document after the first whose file the person declines is not written: no file is
// overwritten and none is made under a name the person has not seen.
TEST(Printer, ADeclinedFileForTheNextDocumentWritesNothing) {
    forms::ScriptedHostGuard host;
    QTemporaryDir dir;
    {
        QFile alt(dir.filePath("druck-2.pdf"));
        ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
        alt.write("vom letzten Mal");
    }
    draw::Printer pr;
    pr.setOutputFileName(dir.filePath("druck.pdf").toStdString());
    pr.Print({"eins"});
    pr.EndDoc();
    host->cancelFile();
    EXPECT_EQ(errorOf([&] { pr.Print({"zwei"}); }), vb::err::CancelError);
    pr.KillDoc();
    ASSERT_EQ(pr.writtenFiles().size(), 1u);
    QFile alt(dir.filePath("druck-2.pdf"));
    ASSERT_TRUE(alt.open(QIODevice::ReadOnly));
    EXPECT_EQ(alt.readAll(), "vom letzten Mal");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST(Printer, ProgramWidePrinterCanBeRedirected) {
    QTemporaryDir dir;
    draw::Printer& pr = draw::printer();
    EXPECT_EQ(&pr, &draw::printer());
    pr.setOutputFileName(dir.filePath("vorschau.pdf").toStdString());
    pr.Print({"Hallo"});
    pr.EndDoc();
    EXPECT_TRUE(pdfPage(dir.filePath("vorschau.pdf"), 1).contains("Hallo"));
    pr.setOutputFileName("");
}
