// The words of the progress display: what the run is doing, and the time since it began.
#pragma once
#include "fusion/bracket_run.h"

#include <string>

namespace lvp {
// "Ausrichten: Bildpaar 1 von 2", "Ausrichten: Bild 2 von 3", "Zusammenführen: Bild 2 von 3" or
// "Überblenden"; in a batch "Reihe 3 von 40, " first. Empty before a tool runs and once the run
// has ended (the display then says how it ended).
std::u16string StageText(const SRunProgress& progress);

// Seconds as "m:ss" (minutes as many as it takes); negative as 0:00.
std::u16string ElapsedText(double seconds);
} // namespace lvp
