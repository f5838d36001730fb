#pragma once

// The answer table and the enneagram window opened through the main window's commands on a fresh
// installation: ZUVDESK started, a data file made, persons with chosen ratings written into it and
// taken as the current person the way the person chooser takes one.

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <array>
#include <cstdio>
#include <functional>
#include <optional>

#include "desk/evaluation/form15.h"
#include "desk/evaluation/form2.h"
#include "desk/frame/frame_fixture.h"
#include "support/personen.h"
#include "support/files.h"

namespace ergebnis_test {

using namespace frame_test;

// What an outside program prints.
inline std::string ausgabe(const std::string& cmd) { return support::run(cmd).output; }

// The rating of the n-th item-type row (0-based, in stored order) of a type; nothing for a row
// left unanswered.
using Bewertung = std::function<std::optional<int>(int typ, int n)>;

// What the table must show of a person: answers per type and rating value.
struct Erwartung {
    std::array<std::array<int, 5>, 10> anzahl{};  // [type][value]
    std::array<int, 10> gesamt{};                 // total score per type
};

class ErgebnisFensterTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(starte());
        neueDatei("Ergebnis.ZDB");
        ASSERT_TRUE(gDateiOffen);
        ASSERT_EQ(gItemNummer.size(), 126u);
        h().clearRecords();
    }

    // A person with every row the person window makes, the item-type rows rated by `wert`.
    int32_t person(const std::string& vorname, const std::string& nachname, const Bewertung& wert,
                   const std::string& datum = "01.02.2026", Erwartung* erwartung = nullptr) {
        const std::vector<int> werte = support::jeTypBewerten(gTypNummer, [&wert](int typ, int n) {
            return wert(typ, n).value_or(-1);
        });
        if (erwartung) {
            static constexpr int kPunkte[5] = {-2, -1, 2, 3, 4};
            *erwartung = {};
            for (size_t k = 0; k < werte.size(); ++k) {
                if (werte[k] < 0) continue;
                ++erwartung->anzahl[gTypNummer[k]][werte[k]];
                erwartung->gesamt[gTypNummer[k]] += kPunkte[werte[k]];
            }
        }
        const auto textOderNull = [](const std::string& t) { return t.empty() ? vb::Variant::null() : vb::Variant(t); };
        support::Zeilenwerte z;
        z.typWert = [&werte](size_t k) { return support::bewertung(werte[k]); };
        return support::personMitZeilen(*gDatenbank, gItemNummer, gTypNummer,
                                        {{"Vorname", textOderNull(vorname)},
                                         {"Nachname", vb::Variant(nachname)},
                                         {"Testdatum", textOderNull(datum)}},
                                        z);
    }

    // Takes the person as the current one, as the person chooser does.
    void waehle(int32_t id) {
        gAktPersonID = id;
        auto p = gDatenbank->OpenRecordset("SELECT * FROM PersDat WHERE PersonID = " + std::to_string(id),
                                           db::RecordsetType::Snapshot);
        gAktPerson[1] = vb::textOrEmpty(p->Fields("Vorname").Value());
        gAktPerson[2] = vb::textOrEmpty(p->Fields("Nachname").Value());
        gAktPerson[11] = vb::textOrEmpty(p->Fields("Testdatum").Value());
        EnableFileMenus();
    }

    // A whole count of every row, to see that a window writes nothing into the data file.
    std::string dateiInhalt() {
        std::string s;
        for (const char* tabelle : {"PersDat", "PersonTestErgebnis", "TypWertZuweisung", "Ergebnis"}) {
            auto rs = gDatenbank->OpenRecordset(std::string("SELECT * FROM ") + tabelle, db::RecordsetType::Snapshot);
            for (; !rs->Eof(); rs->MoveNext()) {
                for (int i = 0; i < rs->FieldCount(); ++i) s += vb::textOrEmpty(rs->Fields(i).Value()) + "|";
                s += "\n";
            }
        }
        return s;
    }

    Form15* tabelle() { return dynamic_cast<Form15*>(gTabellenFenster.data()); }
    Form2* enneagramm() { return dynamic_cast<Form2*>(gEnneagrammFenster.data()); }

    // The main window's active child and the child windows that are open.
    forms::Form* aktiv() { return mdi().ActiveForm(); }
    void aktiviere(forms::Form& f) {
        auto* sub = qobject_cast<QMdiSubWindow*>(f.parentWidget());
        ASSERT_NE(sub, nullptr);
        mdi().mdiArea()->setActiveSubWindow(sub);
        QApplication::processEvents();
    }

    static std::optional<int> reihum(int typ, int n) { return (typ + n) % 5; }
};

}  // namespace ergebnis_test
