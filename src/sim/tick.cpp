#include "sim/tick.h"

namespace kurvilo {

// Placeholder so the tree builds while the tick driver is written.
void startAction(RunModel& model) { model.timer1.enabled = true; }
void stopAction(RunModel& model) { model.timer1.enabled = false; }
bool Timer1Timer(RunModel&) { return false; }

}  // namespace kurvilo
