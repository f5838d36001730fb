#pragma once

// The report engine's object model: a report layout of our own text format (README.md beside
// this file), opened by path together with the subreports it places; its sections reached by
// position (from 1) or by name, their report objects by name and kind; suppress flags; picture
// objects whose place and size the caller may set; reports fed with the rows of a recordset.
// Document (document.h) lays an opened report out into pages and paints them.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vb/variant.h"

namespace db {
class Recordset;
}

namespace report {

// Kinds of report objects, as the callers test them (Kind() == PictureObject).
enum ObjectKind {
    FieldObject = 1,       // text made of data fields, page number, print date
    TextObject = 2,        // fixed text
    LineObject = 3,        // horizontal rule
    BoxObject = 4,         // rectangle
    SubreportObject = 5,   // another layout placed here
    PictureObject = 6,     // a picture file (see Report::picturePath)
    PrintLinesObject = 20  // the print lines (page, line, text, code) of the data source
};

enum class SectionType { ReportHeader, PageHeader, GroupHeader, Details, GroupFooter, ReportFooter, PageFooter };

enum class Align { Left, Center, Right };

struct TextFont {
    std::string family = "DejaVu Sans";
    double size = 10;  // points
    bool bold = false;
    bool italic = false;
};

// How the print lines of one format code look.
struct LineStyle {
    std::string code;
    TextFont font;
    int indent = 0;         // twips from the left edge of the print lines
    int before = 0;         // space above the line, twips
    int after = 0;          // space below it
    bool mono = false;      // fixed pitch: never wrapped, made smaller to fit the width
    bool table = false;     // cells split at tabs and runs of blanks are set in aligned columns
    bool keepNext = false;  // never the last line of a sheet when another line follows
    bool grid = false;      // table cells get ruled borders
    bool apart = false;     // each line stands alone, never joined to its neighbours as one sentence
    int32_t color = 0;      // 0x00BBGGRR
};

// The rows a report was fed with, read whole when the data source is set.
struct DataTable {
    std::vector<std::string> columns;
    std::vector<std::vector<vb::Variant>> rows;
    int column(std::string_view name) const;  // without regard to case; -1 when absent
    // Row `row`'s value of a column; Empty when there is no such row or column.
    vb::Variant value(std::size_t row, std::string_view name) const;
};

class Report;

class ReportObject {
public:
    const std::string& Name() const { return m_name; }
    int Kind() const { return m_kind; }
    bool Suppress() const { return m_suppress; }
    void setSuppress(bool on) { m_suppress = on; }
    // Place and size in twips, from the top left corner of the section.
    int Left() const { return m_left; }
    void setLeft(int twips) { m_left = twips; }
    int Top() const { return m_top; }
    void setTop(int twips) { m_top = twips; }
    int Width() const { return m_width; }
    void setWidth(int twips);  // 380 below 0
    int Height() const { return m_height; }
    void setHeight(int twips);  // 380 below 0

    // What it shows: the text of a text object, the template of a field object.
    const std::string& value() const { return m_value; }
    // The file of a picture or subreport object, as the layout names it.
    const std::string& file() const { return m_file; }
    const TextFont& font() const { return m_font; }
    Align align() const { return m_align; }
    int thickness() const { return m_thickness; }
    int32_t color() const { return m_color; }
    // Print lines: the range of pages they take and the fields they read.
    int fromPage() const { return m_fromPage; }
    int toPage() const { return m_toPage; }
    const std::string& pageField() const { return m_pageField; }
    const std::string& lineField() const { return m_lineField; }
    const std::string& textField() const { return m_textField; }
    const std::string& codeField() const { return m_codeField; }
    // The subreport a subreport object places (loaded with its main report).
    Report* subreport() const { return m_subreport.get(); }

private:
    friend class LayoutReader;
    friend class Engine;
    std::string m_name;
    int m_kind = TextObject;
    bool m_suppress = false;
    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    std::string m_value;
    std::string m_file;
    TextFont m_font;
    Align m_align = Align::Left;
    int m_thickness = 15;
    int32_t m_color = 0;
    int m_fromPage = 0, m_toPage = 32767;
    std::string m_pageField = "Druckseite", m_lineField = "ZeilenNr", m_textField = "Zeilentext",
                m_codeField = "Formatierung";
    std::shared_ptr<Report> m_subreport;
};

class Section {
public:
    const std::string& Name() const { return m_name; }
    SectionType Type() const { return m_type; }
    bool Suppress() const { return m_suppress; }
    void setSuppress(bool on) { m_suppress = on; }
    // The report objects in layout order: count, and by position from 1 (9 outside).
    int ReportObjectCount() const { return static_cast<int>(m_objects.size()); }
    ReportObject& ReportObjects(int index);
    const std::vector<std::unique_ptr<ReportObject>>& objects() const { return m_objects; }

    int minHeight() const { return m_height; }  // twips; the section is at least this high
    bool newPage() const { return m_newPage; }  // starts on a new sheet
    bool keepTogether() const { return m_keepTogether; }
    bool collapse() const { return m_collapse; }  // hidden or empty objects give their room to those below

private:
    friend class LayoutReader;
    friend class Engine;
    std::string m_name;
    SectionType m_type = SectionType::Details;
    bool m_suppress = false;
    int m_height = 0;
    bool m_newPage = false;
    bool m_keepTogether = false;
    bool m_collapse = false;
    std::vector<std::unique_ptr<ReportObject>> m_objects;
};

struct PageSetup {
    int width = 11906;  // twips; A4 portrait
    int height = 16838;
    int left = 1134, top = 850, right = 1134, bottom = 850;
    // The printable width the layout's objects are placed for (its sheet as the file gives it).
    int designWidth = 0;
    int contentWidth() const { return width - left - right; }
    bool landscape() const { return width > height; }
};

class Report {
public:
    const std::string& Name() const { return m_name; }
    // The file it was read from, and the folder its pictures and subreports lie in.
    const std::string& fileName() const { return m_fileName; }
    const std::string& folder() const { return m_folder; }
    // The file a picture object shows: found in the engine's picture folder, else in the
    // report's own folder (where a missing one is then reported).
    std::string picturePath(const std::string& file) const;

    int SectionCount() const { return static_cast<int>(m_sections.size()); }
    // By position from 1 (error 9 outside), or by name without regard to case (error 20512).
    Section& Sections(int position);
    Section& Sections(const std::string& name);
    const std::vector<std::unique_ptr<Section>>& sections() const { return m_sections; }

    // The subreport placed in this report whose file is `name` ("ZUVHeader1.rpt"), without regard
    // to case; error 20513 when the layout places none of that name.
    Report& OpenSubreport(const std::string& name);

    // Feeds the report with the rows of a recordset, read now from the first row to the last
    // (the recordset stands on its first row afterwards). Without a data source the report has no rows.
    void SetDataSource(db::Recordset& recordset);
    void setData(DataTable data) { m_data = std::move(data); }
    const DataTable& data() const { return m_data; }

    const PageSetup& page() const { return m_page; }
    // Turns the sheet (of the main report) for this report: the objects, placed for the sheet as
    // the layout gives it, spread across the printable width in proportion (their places and
    // widths; texts keep their size, pictures the size they were given).
    void setLandscape(bool on);
    const TextFont& font() const { return m_font; }
    const std::vector<LineStyle>& styles() const { return m_styles; }
    // The style of a format code; the style "DE" (or the report's font) for an unknown code.
    LineStyle style(const std::string& code) const;

private:
    friend class LayoutReader;
    friend class Engine;
    std::string m_name, m_fileName, m_folder, m_pictureFolder;
    std::vector<std::unique_ptr<Section>> m_sections;
    PageSetup m_page;
    TextFont m_font;
    std::vector<LineStyle> m_styles;
    DataTable m_data;
};

// Error numbers of the engine (vb::Error). A missing file is error 53.
namespace err {
inline constexpr int DamagedLayout = 20510;
inline constexpr int NoSuchSection = 20512;
inline constexpr int NoSuchSubreport = 20513;
}  // namespace err

// Reads a layout from its text; `fileName` names it in error messages. Subreports are not
// loaded. Raises DamagedLayout with the line and the reason for a text that is not a layout.
std::shared_ptr<Report> readLayout(const std::string& text, const std::string& fileName);

// The engine's application object: opens layout files.
class Engine {
public:
    // Opens a layout by path ("\" taken as "/", names matched without regard to case) with every
    // subreport it places, from the same folder. Error 53 naming the file for a missing main
    // report or subreport; DamagedLayout for a file that is not a layout.
    std::shared_ptr<Report> OpenReport(const std::string& path);
    // The folder where the program leaves the pictures it draws for its reports (its data
    // folder, which need not be the reports' folder): the reports opened afterwards look there
    // first for the files their pictures show. Empty: only the report's own folder.
    void setPictureFolder(const std::string& folder) { m_pictureFolder = folder; }

private:
    std::shared_ptr<Report> open(const std::string& path, int depth) const;
    std::string m_pictureFolder;
};

}  // namespace report
