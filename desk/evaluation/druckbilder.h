#pragma once

// Enters the makers of the evaluation's two report figures, the enneagram ("ZUVEnneagramm.bmp") and
// the answer table ("ZUVTabelle.bmp"), for the report to make a missing one off screen.
void AuswertungsDruckbilderEintragen();
