#include "desk/testing/antwortstatistik.h"

#include <cmath>

#include "desk/common/globals.h"
#include "platform/vb/variant.h"

namespace antwortstatistik {

Anzahlen jeTyp(int typ) {
    Anzahlen n{};
    for (int v = 0; v <= 4; ++v) n[v] = gAntwortAnzahlJeTyp[typ + 10 * (v + 1)];
    return n;
}

Anzahlen gesamt() {
    Anzahlen n{};
    for (int v = 0; v <= 4; ++v) n[v] = gAntwortAnzahlGesamt[v + 1];
    return n;
}

int16_t hoechsteAnzahl(const Anzahlen& n) {
    int16_t hoechste = 0;
    for (int v = 0; v <= 4; ++v)
        if (n[v] > hoechste) hoechste = n[v];
    return hoechste;
}

std::vector<int> haeufigsteWerte(const Anzahlen& n, int16_t hoechste) {
    std::vector<int> werte;
    for (int v = 0; v <= 4; ++v)
        if (n[v] == hoechste) werte.push_back(v);
    return werte;
}

Mitte mittlererWert(const Anzahlen& n) {
    int summe = 0, v = 0;
    while (v <= 4 && summe <= 7) summe += n[v++];
    const int m = v - 1;
    return {m, summe - n[m] == 7};
}

int mittlererWertGesamt(const Anzahlen& n) {
    int16_t summe = 0;
    int v = 0;
    // The average count per type is a multiple of a ninth: the rounding never meets a half.
    while (v <= 4 && summe <= 7) summe = vb::Variant(summe + n[v++] / 9.0).toInt();
    return v - 1;
}

double entropie(double anteil) {
    if (anteil <= 0.0 || anteil >= 1.0) return 0.0;
    const double log2 = 1.0 / std::log(2.0);
    return -anteil * (log2 * std::log(anteil)) - (1.0 - anteil) * (log2 * std::log(1.0 - anteil));
}

std::array<double, 5> kumulierteAnteile(const Anzahlen& n) {
    std::array<double, 5> c{};
    c[1] = n[0] / 14.0;
    c[2] = n[1] / 14.0 + n[0] / 14.0;
    c[3] = n[1] / 14.0 + n[0] / 14.0 + n[2] / 14.0;
    c[4] = n[1] / 14.0 + n[0] / 14.0 + n[2] / 14.0 + n[3] / 14.0;
    return c;
}

double informationsmass(const Anzahlen& n) {
    const auto c = kumulierteAnteile(n);
    double summe = 0;
    for (int j = 1; j <= 4; ++j) summe += entropie(c[j]);
    return summe / 4;
}

double informationsmassGesamt(const Anzahlen& n) {
    double summe = 0;
    for (int j = 1; j <= 4; ++j) summe += entropie(n[j - 1] / 126.0);
    return summe / 4;
}

int informationsKlasse(double mass) {
    if (mass < 0.3) return 373;
    if (mass <= 0.7) return 375;
    return 374;
}

}  // namespace antwortstatistik
