#pragma once

// The builders of the report's pages: each takes no arguments, reads the person's results and the
// program-wide rankings, thresholds and texts, and writes its own fixed page into the print table through
// SchreibeDruckzeile (druckzeile.h). The report window calls them in page order (pages 7 to 18 one
// after the other: later pages read what earlier ones left). No builder writes pages 4 to 6.

void DruckSeitePersonendaten();            // page 1: the cover page with the person's data
void DruckSeiteErlaeuterung();             // pages 2, 3: the explanations
void DruckSeiteRangfolgeTypgesamtsumme();  // page 7: the ranking by total score
void DruckSeiteRangfolgeTypsumme4();       // page 8: the ranking by ratings of 4
void DruckSeiteRangfolgeTypsumme3();       // page 9: the ranking by ratings of 3
void DruckSeiteRangfolgeTypsumme34();      // page 10: the ranking by ratings of 3 and 4 with its conclusions
void DruckSeiteRangfolgeTypsumme2();       // page 11: the ranking by ratings of 2
void DruckSeiteRangfolgeTypsumme1();       // page 12: the ranking by ratings of 1
void DruckSeiteRangfolgeTypsumme0();       // page 13: the ranking by ratings of 0
void DruckSeiteRangfolgeTypsumme01();      // page 14: the ranking by ratings of 0 and 1 with its conclusions
void DruckSeiteMittelwertAbweichung();     // page 15: the deviation from the mean
void DruckSeiteRangfolgeVergleich();       // page 16: the two rankings compared
void DruckSeiteHaupttyp();                 // page 17: the main type and its wings
void DruckSeiteVerbindungstypen();         // page 18: the connected types
void DruckSeiteTabelle();                  // page 19: the answer values by type
void DruckSeiteAntwortwerteAnzahl();       // page 20: the shares of the answer values
void DruckSeiteAntwortwerteProzent();      // page 21: the answer values in percent
void DruckSeiteHaeufigsteAntwortwerte();   // page 22: the most frequent answer values
void DruckSeiteMittlereAntwortwerte();     // page 23: the middle answer values
void DruckSeiteInformationsmass();         // page 24: the information measure

// Page 15 on results given, as the builder above writes it on the current person's results.
namespace urteil {
struct Befund;
}
void DruckSeiteMittelwertAbweichung(const urteil::Befund& befund);

// The builders of the chosen parts in page order, with the scoring and ranking of the current
// person before the evaluation and statistics pages and the thresholds the ranking pages use
// (0.85; -0.2 and 0.4 for page 15): one report's worth of print lines. `mitBildern`: the report
// prints figures, which draw the person as scored here, so the person is scored (once) also when
// no evaluation or statistics page is chosen.
void BerichtsseitenSchreiben(bool deckblatt, bool erlaeuterungen, bool auswertung, bool statistik,
                             bool mitBildern = false);
