#pragma once

// The report viewer's document printed into a PDF file, chosen in the print dialog as the user
// chooses it, and the printer stand-in put back afterwards so that no later test prints into that file.

#include <string>

#include "platform/draw/printer.h"
#include "platform/forms/common_dialog.h"
#include "support/scripted_host.h"
#include "platform/report/viewer.h"

namespace pdf_druck {

inline void drucken(forms::ScriptedHost& host, report::Viewer& viewer, const std::string& pdf) {
    forms::PrinterChoice wahl;
    wahl.outputFile = pdf;
    host.choosePrinter(wahl);
    viewer.PrintReport();
}

inline void druckerZuruecksetzen() {
    draw::printer().setOutputFileName("");
    forms::applyToPrinter(forms::PrinterChoice{});
}

}  // namespace pdf_druck
