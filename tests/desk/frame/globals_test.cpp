#include <gtest/gtest.h>

#include <filesystem>

#include "desk/common/globals.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/workspace.h"

namespace {

TEST(Globals, TypeNumbersBecomeDesignationsOnlyWhereTheyStand) {
    resetGlobals();
    for (int t = 1; t <= 9; ++t) gTypbezeichnung[t] = "Typ-" + std::to_string(t);
    gRang1Typgesamtsumme[1] = " 3";
    gRang1Typgesamtsumme[2] = "";
    gRang2Typsumme0[9] = " 9";
    gRang1Typsumme34[4] = "3";  // no leading blank: not a stored type number
    TypnummernErsetzen();
    EXPECT_EQ(gRang1Typgesamtsumme[1], "Typ-3");
    EXPECT_EQ(gRang1Typgesamtsumme[2], "");
    EXPECT_EQ(gRang2Typsumme0[9], "Typ-9");
    EXPECT_EQ(gRang1Typsumme34[4], "3");
    EXPECT_EQ(gRang1Typgesamtsumme[0], "");

    // A designation that reads like a later type number is replaced again by that one.
    gTypbezeichnung[2] = " 5";
    gTypbezeichnung[5] = "Fuenf";
    gRang1Typsumme1[1] = " 2";
    TypnummernErsetzen();
    EXPECT_EQ(gRang1Typsumme1[1], "Fuenf");
}

TEST(Globals, ColourPartsAndCountsByTypeAndRow) {
    const int32_t c = 86 | (52 << 8) | (18 << 16);
    EXPECT_EQ(GetRed(c), 86);
    EXPECT_EQ(GetGreen(c), 52);
    EXPECT_EQ(GetBlue(c), 18);

    resetGlobals();
    gAntwortAnzahlJeTyp(7, 2) = 4;
    EXPECT_EQ(gAntwortAnzahlJeTyp[27], 4);  // element (t, r) is flat t + 10 r
    EXPECT_THROW(gAntwortAnzahlJeTyp(10, 0), vb::Error);
    EXPECT_THROW(gAntwortAnzahlJeTyp[60], vb::Error);
}

TEST(Globals, TextsOutsideTheLoadedRangeAreSubscriptErrors) {
    resetGlobals();
    gLabelTxt = {"a", "b"};
    EXPECT_EQ(LabelTxt(1), "b");
    try {
        LabelTxt(2);
        FAIL();
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), vb::err::SubscriptOutOfRange);
    }
    EXPECT_THROW(DialogTxt(0), vb::Error);
}

TEST(Globals, TableExistsIgnoresCase) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("zuv_globals_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    db::DBEngine::instance().reset();
    db::createWorkgroupFile((dir / "Sys.mda").string(), "Test", {{"admin", ""}}, {});
    db::DBEngine::instance().setSystemDB((dir / "Sys.mda").string());
    auto ws = db::DBEngine::instance().CreateWorkspace("t", "admin", "");
    auto d = ws->CreateDatabase((dir / "a.zdb").string(), "", db::dbInstallation);
    d->Execute("CREATE TABLE DRUCKTABELLE (Druckseite short);");
    EXPECT_TRUE(TableExists(*d, "Drucktabelle"));
    EXPECT_FALSE(TableExists(*d, "Info"));
    d->Close();
    fs::remove_all(dir);
}

}  // namespace
