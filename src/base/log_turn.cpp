#include "base/log_turn.h"

namespace artwheel {

bool KeepTryingForLog(bool patient, LogObstacle obstacle, int attempts, double spentMs) {
  switch (obstacle) {
    case LogObstacle::kTurnTaken:
      return patient || spentMs < kGameThreadLogBudgetMs;
    case LogObstacle::kFileHeld:
      if (patient) return spentMs < kPatientLogBudgetMs;
      return attempts < kGameThreadOpenAttempts && spentMs < kGameThreadLogBudgetMs;
    case LogObstacle::kFileFailed:
      return false;
  }
  return false;
}

bool SkipHeldLogFile(uint64_t heldSinceMs, uint64_t nowMs) {
  return heldSinceMs != 0 && nowMs >= heldSinceMs && nowMs - heldSinceMs < kHeldLogFileRestMs;
}

bool GiveWayForLog(int gameThreadsTrying, double spentMs) {
  return gameThreadsTrying > 0 && spentMs < kGameThreadLogBudgetMs;
}

}  // namespace artwheel
