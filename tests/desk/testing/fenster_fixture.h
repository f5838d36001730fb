#pragma once

// Whole-command tests: the program-wide state of a session with an open data file, the
// interface texts of the installed settings database, and the scripted Host.

#include "desk/common/globals.h"
#include "fixture.h"
#include "platform/forms/form.h"
#include "support/scripted_host.h"

namespace zuvtest_test {

class FensterTest : public DatenTest {
protected:
    void SetUp() override {
        // Reset first: the dialog texts the data fixture loads stay.
        forms::resetAllWindows();
        resetGlobals();
        DatenTest::SetUp();
        gAppPath = m_dir.path().toStdString();
        gProgrammDB = gAppPath + "/zuv.sdb";
        gDatenbankName = path("test.ZDB");
        gDatenbank = datei;
        gWorkspace = ws;
        gWorkspace2 = ws;
        gItemNummer = tabelle.itemNummer;
        gTypNummer = tabelle.typNummer;
        auto l = programmDb->OpenRecordset("select * from labelTxt order by ID", db::RecordsetType::Snapshot);
        for (; !l->Eof(); l->MoveNext()) gLabelTxt.push_back(l->Fields("BeschriftungDtsch").Value().toString());
    }
    void TearDown() override {
        forms::resetAllWindows();
        resetGlobals();
        DatenTest::TearDown();
    }

    // Prompts of the message boxes shown so far.
    std::vector<std::string> meldungen() { return host->messages(); }
    bool gezeigt(const std::string& text) {
        for (const auto& m : host->messages())
            if (m.find(text) != std::string::npos) return true;
        return false;
    }

    // A connection must not cross a fork: a test lets go of every file before it starts another
    // program, and opens the data file again to look.
    void loslassen() {
        gDatenbank.reset();
        if (datei) datei->Close();
        datei.reset();
        if (programmDb) programmDb->Close();
        programmDb.reset();
    }

    forms::ScriptedHostGuard host;
};

}  // namespace zuvtest_test
