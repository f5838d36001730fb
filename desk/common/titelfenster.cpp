#include "desk/common/titelfenster.h"

#include <QVBoxLayout>

void TitelfensterAufbauen(QWidget& fenster, forms::Shape& rahmen, forms::Image* bild,
                          std::initializer_list<forms::Label*> zeilen) {
    auto* l = new QVBoxLayout(&fenster);
    l->setContentsMargins(28, 28, 28, 28);
    l->setSpacing(12);
    if (bild) {
        bild->setParent(&fenster);
        l->addWidget(bild, 0, Qt::AlignHCenter);
    }
    QFont gross = (*zeilen.begin())->font();
    gross.setPointSize(gross.pointSize() + 5);
    gross.setBold(true);
    int nr = 0;
    for (forms::Label* z : zeilen) {
        z->setParent(&fenster);
        z->setWordWrap(true);
        z->setAlignment(Qt::AlignHCenter);
        if (nr++ < 2) z->setFont(gross);
        l->addWidget(z);
    }
    l->addStretch(1);
    rahmen.setParent(&fenster);
    rahmen.lower();
    fenster.resize(520, bild ? 360 : 300);
}
