#pragma once

// Layouts written into a temporary folder, print lines fed straight in, and the PDF readers.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <sstream>
#include <string>
#include <vector>

#include "platform/draw/picture.h"
#include "platform/report/document.h"
#include "platform/report/report.h"
#include "support/files.h"

namespace report_test {

// A bitmap of the given size in pixels, one colour, saved as the programs save them.
inline void bitmap(const std::string& path, int w, int h, QColor colour = QColor(40, 90, 160)) {
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(colour);
    draw::SavePicture(draw::Picture::fromImage(img), path);
}

struct Zeile {
    int seite;
    int nr;
    std::string text;
    std::string code;
};

inline report::DataTable druckzeilen(const std::vector<Zeile>& zeilen) {
    report::DataTable t;
    t.columns = {"Druckseite", "ZeilenNr", "Zeilentext", "Formatierung"};
    for (const auto& z : zeilen)
        t.rows.push_back(
            {vb::Variant(int16_t(z.seite)), vb::Variant(int32_t(z.nr)), vb::Variant(z.text), vb::Variant(z.code)});
    return t;
}

inline int pdfSeiten(const std::string& pdf) {
    const auto r = support::run("pdfinfo " + support::shellQuote(pdf));
    const auto pos = r.output.find("Pages:");
    return pos == std::string::npos ? -1 : std::stoi(r.output.substr(pos + 6));
}

inline std::string pdfText(const std::string& pdf, int seite = 0) {
    std::string range = seite > 0 ? "-f " + std::to_string(seite) + " -l " + std::to_string(seite) + " " : "";
    return support::run("pdftotext -layout " + range + support::shellQuote(pdf) + " -").output;
}

// One picture as pdfimages lists it: its sheet, its size in pixels, its encoding and resolution.
struct PdfBild {
    int seite = 0, breite = 0, hoehe = 0;
    std::string kodierung;
    int ppiX = 0, ppiY = 0;
};

inline std::vector<PdfBild> pdfBilder(const std::string& pdf) {
    std::vector<PdfBild> out;
    const auto zeilen = support::lines(support::run("pdfimages -list " + support::shellQuote(pdf)).output);
    for (std::size_t i = 2; i < zeilen.size(); ++i) {
        std::istringstream in(zeilen[i]);
        PdfBild b;
        std::string num, typ, farbe, comp, bpc, interp, objekt, gen;
        in >> b.seite >> num >> typ >> b.breite >> b.hoehe >> farbe >> comp >> bpc >> b.kodierung >> interp >> objekt >>
            gen >> b.ppiX >> b.ppiY;
        if (in) out.push_back(b);
    }
    return out;
}

// Whether any of the lines holds the text.
inline bool enthaelt(const std::vector<std::string>& zeilen, const std::string& text) {
    for (const auto& z : zeilen)
        if (z.find(text) != std::string::npos) return true;
    return false;
}

inline int vorkommen(const std::string& text, const std::string& was) {
    int n = 0;
    for (auto p = text.find(was); p != std::string::npos; p = text.find(was, p + 1)) ++n;
    return n;
}

// Every item of every sheet lies inside the printable area (the sheet without its margins).
inline void allesImDruckbereich(const report::Document& d) {
    const QRectF area = d.contentRect().adjusted(-1, -1, 1, 1);
    for (int p = 0; p < d.pageCount(); ++p)
        for (const auto& it : d.page(p)) {
            const QRectF r = QRectF(it.x, it.y, it.w, it.h).normalized();
            EXPECT_TRUE(r.left() >= area.left() && r.right() <= area.right() && r.top() >= area.top() &&
                        r.bottom() <= area.bottom())
                << "Seite " << p + 1 << ": \"" << it.text << "\" bei " << it.x << "," << it.y << " " << it.w << "x"
                << it.h;
        }
}

class LayoutTest : public support::TempFolderTest {
protected:
    void layout(const std::string& name, const std::string& text) { support::writeFile(m_dir / name, text); }
};

}  // namespace report_test
