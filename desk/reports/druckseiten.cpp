#include "desk/reports/druckseiten.h"

#include "desk/reports/druckzeile.h"

// The pages are not written yet: each builder leaves its page out of the report.

void DruckSeitePersonendaten() {}
void DruckSeiteErlaeuterung() {}
void DruckSeiteRangfolgeTypgesamtsumme() {}
void DruckSeiteRangfolgeTypsumme4() {}
void DruckSeiteRangfolgeTypsumme3() {}
void DruckSeiteRangfolgeTypsumme34() {}
void DruckSeiteRangfolgeTypsumme2() {}
void DruckSeiteRangfolgeTypsumme1() {}
void DruckSeiteRangfolgeTypsumme0() {}
void DruckSeiteRangfolgeTypsumme01() {}
void DruckSeiteMittelwertAbweichung() {}
void DruckSeiteRangfolgeVergleich() {}
void DruckSeiteHaupttyp() {}
void DruckSeiteVerbindungstypen() {}
void DruckSeiteTabelle() {}
void DruckSeiteAntwortwerteAnzahl() {}
void DruckSeiteAntwortwerteProzent() {}
void DruckSeiteHaeufigsteAntwortwerte() {}
void DruckSeiteMittlereAntwortwerte() {}
void DruckSeiteInformationsmass() {}
