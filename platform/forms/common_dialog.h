#pragma once

// The common dialog: one object per window whose settings carry over from one use to the next.
// Open, Save, Font, Colour and Printer go through the Host. A cancelled dialog raises 32755
// when CancelError is set, else it returns with the properties unchanged.

#include "platform/forms/host.h"

#include <cstdint>
#include <string>
#include <vector>

namespace forms {

// Flags of the file dialogs (in and out).
inline constexpr int32_t cdlOFNReadOnly = 1;
inline constexpr int32_t cdlOFNOverwritePrompt = 2;
inline constexpr int32_t cdlOFNHideReadOnly = 4;
inline constexpr int32_t cdlOFNNoChangeDir = 8;
inline constexpr int32_t cdlOFNExtensionDifferent = 1024;
inline constexpr int32_t cdlOFNPathMustExist = 2048;
inline constexpr int32_t cdlOFNFileMustExist = 4096;
// Font, colour and printer flags the programs set.
inline constexpr int32_t cdlCFScreenFonts = 1;
inline constexpr int32_t cdlCFPrinterFonts = 2;
inline constexpr int32_t cdlCFBoth = 3;
inline constexpr int32_t cdlCCRGBInit = 1;
inline constexpr int32_t cdlCCFullOpen = 2;
inline constexpr int32_t cdlPDPrintSetup = 64;

class CommonDialog {
public:
    std::string DialogTitle() const { return m_title; }
    void setDialogTitle(std::string t) { m_title = std::move(t); }
    // "Text|Pattern|Text|Pattern", patterns separated by ';'.
    std::string Filter() const { return m_filter; }
    void setFilter(std::string f) { m_filter = std::move(f); }
    int FilterIndex() const { return m_filterIndex; }
    void setFilterIndex(int i) { m_filterIndex = i; }
    std::string FileName() const { return m_fileName; }
    void setFileName(std::string f) { m_fileName = std::move(f); }
    std::string FileTitle() const { return m_fileTitle; }
    std::string DefaultExt() const { return m_defaultExt; }
    void setDefaultExt(std::string e) { m_defaultExt = std::move(e); }
    std::string InitDir() const { return m_initDir; }
    void setInitDir(std::string d) { m_initDir = std::move(d); }
    int32_t Flags() const { return m_flags; }
    void setFlags(int32_t f) { m_flags = f; }
    bool CancelError() const { return m_cancelError; }
    void setCancelError(bool on) { m_cancelError = on; }

    std::string FontName() const { return m_font.name; }
    void setFontName(std::string n) { m_font.name = std::move(n); }
    double FontSize() const { return m_font.size; }
    void setFontSize(double s) { m_font.size = s; }
    bool FontBold() const { return m_font.bold; }
    void setFontBold(bool b) { m_font.bold = b; }
    bool FontItalic() const { return m_font.italic; }
    void setFontItalic(bool b) { m_font.italic = b; }
    bool FontUnderline() const { return m_font.underline; }
    void setFontUnderline(bool b) { m_font.underline = b; }
    bool FontStrikethru() const { return m_font.strikethru; }
    void setFontStrikethru(bool b) { m_font.strikethru = b; }
    int32_t Color() const { return m_color; }
    void setColor(int32_t c) { m_color = c; }
    int Copies() const { return m_printer.copies; }
    void setCopies(int n) { m_printer.copies = n; }
    int Orientation() const { return m_printer.orientation; }
    void setOrientation(int o) { m_printer.orientation = o; }

    void ShowOpen();
    void ShowSave();
    void ShowFont();
    void ShowColor();
    void ShowPrinter();
    // The older way of showing: 1 Open, 2 Save, 3 Colour, 4 Font, 5 Printer.
    void setAction(int action);

    // The filter text split into (text, patterns) pairs.
    static std::vector<std::pair<std::string, std::string>> parseFilter(const std::string& filter);

private:
    void showFile(FileDialogKind kind);
    void cancelled();

    std::string m_title, m_filter, m_fileName, m_fileTitle, m_defaultExt, m_initDir;
    int m_filterIndex = 0;
    int32_t m_flags = 0;
    bool m_cancelError = false;
    FontChoice m_font;
    int32_t m_color = 0;
    PrinterChoice m_printer;
};

// The printer chosen in the last printer dialog (empty name = the system default), for the
// printing surfaces.
const PrinterChoice& chosenPrinter();
// Hands a printer choice to the program-wide printer (draw::printer()), the one place every
// print path reads it from: printing into the chosen PDF file, or to the printer when it
// exists on this system (a choice of neither goes back to the system's printer); then copies,
// orientation and paper. Nothing changes while a document is being printed. ShowPrinter calls
// it after every choice.
void applyToPrinter(const PrinterChoice& choice);

}  // namespace forms
