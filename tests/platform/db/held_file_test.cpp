#include "db_fixture.h"

using namespace dbtest;

namespace {

class HeldFileTest : public DbTest {};

// A data control refreshed again on a file the program holds open (as a dialog does each time it
// is loaded) must not drop the program's locks: a reader in another program would take the live
// journal away, and every later change would be written where nobody sees it.
TEST_F(HeldFileTest, ChangesStayVisibleToOutsideReadersWhileTheFileIsRefreshedAgain) {
    auto d = makeDataFile(*ws, path("a.ZDB"));
    const int id = addPerson(*d, "Anna", "Berg");
    auto outside = [&] {
        return support::run("sqlite3 " + support::shellQuote(path("a.ZDB")) +
                            " 'SELECT Nachname FROM PersDat WHERE PersonID = " + std::to_string(id) + "'")
            .output;
    };
    db::DataControl c;
    c.setDatabaseName(path("a.ZDB"));
    c.setRecordSource("PersDat");
    std::string vorher = "Berg";
    for (const char* name : {"Arens", "Bode", "Claus"}) {
        c.Refresh();
        EXPECT_EQ(outside(), vorher + "\n");
        auto rs = c.Recordset();
        rs->Edit();
        rs->Fields("Nachname") = name;
        rs->Update();
        EXPECT_EQ(outside(), std::string(name) + "\n");
        vorher = name;
    }
    EXPECT_EQ(integrity(path("a.ZDB")), "ok");
}

}  // namespace
