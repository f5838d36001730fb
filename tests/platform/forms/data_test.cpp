#include "platform/db/db_fixture.h"
#include "platform/forms/controls.h"
#include "platform/forms/data.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

using namespace forms;

namespace {

class BoundControls : public dbtest::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        file = path("Daten.ZDB");
        auto d = dbtest::makeDataFile(*ws, file);
        dbtest::addPerson(*d, "Carl", "Xaver");
        dbtest::addPerson(*d, "Anna", "Meier");
        d->Close();
        data.setDatabaseName(file);
        data.setRecordSource("select * from persdat order by nachname");
        surname.setDataField("Nachname");
        surname.setDataSource(&data);
        first.setDataField("Vorname");
        first.setDataSource(&data);
        meta.setDataField("Metasatz");
        meta.setDataSource(&data);
        data.Refresh();
    }
    std::string stored(const std::string& where, const std::string& field) {
        auto rs = ws->OpenDatabase(file)->OpenRecordset("select * from persdat where " + where);
        return rs->Eof() ? "<keine Zeile>" : vb::textOrEmpty(rs->Fields(field).Value());
    }
    std::string file;
    ScriptedHostGuard host;
    Data data;
    TextBox surname;
    Label first;
    CheckBox meta;
};

TEST_F(BoundControls, ShowTheCurrentRowAndFollowTheNavigator) {
    EXPECT_EQ(surname.Text(), "Meier");
    EXPECT_EQ(first.Caption(), "Anna");
    data.moveNext();
    EXPECT_EQ(surname.Text(), "Xaver");
    data.moveNext();  // at the end the control stays on the last row
    EXPECT_EQ(surname.Text(), "Xaver");
    EXPECT_FALSE(data.Recordset()->Eof());
    data.movePrevious();
    data.movePrevious();
    EXPECT_EQ(first.Caption(), "Anna");
    EXPECT_FALSE(data.Recordset()->Bof());
    data.moveLast();
    EXPECT_EQ(first.Caption(), "Carl");
    EXPECT_TRUE(host->messages().empty());

    // Without rows the navigator does nothing and the controls show nothing.
    data.setRecordSource("select * from persdat where nachname = 'Niemand'");
    data.Refresh();
    data.moveNext();
    EXPECT_EQ(surname.Text(), "");
    EXPECT_TRUE(host->messages().empty());
}

TEST_F(BoundControls, RepositionAndLabelChangeFollowTheRowNotItsContent) {
    int repositions = 0, labelChanges = 0;
    data.Reposition = [&] { ++repositions; };
    first.Change = [&] { ++labelChanges; };
    data.Refresh();  // a new recordset on the same first row
    EXPECT_EQ(repositions, 1);
    EXPECT_EQ(labelChanges, 0);  // same caption: no change
    data.moveNext();
    EXPECT_EQ(repositions, 2);
    EXPECT_EQ(labelChanges, 1);
    data.moveNext();  // already last: stays, no repositioning
    EXPECT_EQ(repositions, 2);
    auto rs = data.Recordset();
    rs->Edit();
    rs->Fields("Bemerkung") = "nur Inhalt";
    rs->Update();
    EXPECT_EQ(repositions, 2);
}

TEST_F(BoundControls, WriteBackOnlyIntoAPendingEditThatTheProgramUpdates) {
    auto rs = data.Recordset();
    // Typed while no edit is pending: never stored.
    surname.setText("Getippt");
    data.moveNext();
    data.moveFirst();
    EXPECT_EQ(stored("vorname = 'Anna'", "nachname"), "Meier");

    // Edit, type, Update: stored.
    rs->Edit();
    surname.setText("Maier");
    meta.setValue(1);
    rs->Update();
    EXPECT_EQ(stored("vorname = 'Anna'", "nachname"), "Maier");
    EXPECT_EQ(stored("vorname = 'Anna'", "metasatz"), vb::Variant(true).toString());

    // Edit, type, then move away: the entry is dropped.
    rs->Edit();
    surname.setText("Verworfen");
    data.moveNext();
    EXPECT_EQ(stored("vorname = 'Anna'", "nachname"), "Maier");
    EXPECT_EQ(surname.Text(), "Xaver");

    // A new row: the controls show it empty, the typed text goes into it.
    rs->AddNew();
    EXPECT_EQ(surname.Text(), "");
    EXPECT_EQ(first.Caption(), "");
    surname.setText("Neu");
    rs->Update();
    EXPECT_EQ(stored("nachname = 'Neu'", "nachname"), "Neu");
}

TEST_F(BoundControls, ATextFieldLimitsTheBoxSoLongTextCannotFailTheUpdate) {
    auto rs = data.Recordset();
    rs->Edit();
    surname.setText(std::string(200, 'x'));
    EXPECT_EQ(surname.Text().size(), 150u);
    rs->Update();
    EXPECT_EQ(stored("vorname = 'Anna'", "nachname"), std::string(150, 'x'));
    EXPECT_TRUE(host->messages().empty());

    // A field the source lacks shows nothing and breaks nothing.
    TextBox other;
    other.setDataField("Gibtsnicht");
    other.setDataSource(&data);
    EXPECT_EQ(other.Text(), "");
    data.moveNext();
    EXPECT_EQ(surname.Text(), "Xaver");
}

}  // namespace
