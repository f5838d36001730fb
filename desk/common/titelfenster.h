#pragma once

// The splash and the about box of both programs share one layout.

#include <initializer_list>

#include "platform/forms/controls.h"

// A frame (`rahmen`, kept behind and sized by the window) round a column of lines under the
// program's picture, where it has one; the first two lines are large and bold. The captions are
// the window's own.
void TitelfensterAufbauen(QWidget& fenster, forms::Shape& rahmen, forms::Image* bild,
                          std::initializer_list<forms::Label*> zeilen);
