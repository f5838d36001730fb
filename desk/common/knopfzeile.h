#pragma once

// The row of buttons under a dialog's tabs, alike in both programs' dialogs.

#include <QHBoxLayout>

#include <initializer_list>

#include "platform/forms/controls.h"

// `links` from the left edge, `rechts` at the right edge, all of them buttons of `fenster`.
inline QHBoxLayout* Knopfzeile(QWidget& fenster, std::initializer_list<forms::CommandButton*> links,
                               std::initializer_list<forms::CommandButton*> rechts) {
    auto* zeile = new QHBoxLayout;
    for (forms::CommandButton* b : links) {
        b->setParent(&fenster);
        zeile->addWidget(b);
    }
    zeile->addStretch(1);
    for (forms::CommandButton* b : rechts) {
        b->setParent(&fenster);
        zeile->addWidget(b);
    }
    return zeile;
}
