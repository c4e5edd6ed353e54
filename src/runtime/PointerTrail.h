// Where the hand itself last put the pointer, read from the system's trail of pointer points:
// one rule for every backend, so that the fakes read their trail as Windows' is read.
#pragma once
#include <cstddef>
#include <optional>

#include "runtime/MouseInput.h"

namespace rt {

struct TrailPoint {
  ScreenPoint at;
  // Input with our extra info put it there.
  bool ours = false;
  // It came before our own last injection.
  bool beforeOurs = false;
};

// Newest first, the hand's newest point made since we last injected: a move taken while
// Windows took ours comes before or after our own point. A point older than our injection
// ends the search: it may be one the search matched at the same place long ago (the pick-up,
// as often as not). A trail that shows no point of ours cannot tell ours from the hand's.
inline std::optional<ScreenPoint> HandsNewestPoint(const TrailPoint* newestFirst, std::size_t count) {
  std::optional<ScreenPoint> hands;
  bool oursSeen = false;
  for (std::size_t i = 0; i < count && !(oursSeen && hands); ++i) {
    const TrailPoint& point = newestFirst[i];
    if (point.ours)
      oursSeen = true;
    else if (point.beforeOurs)
      break;
    else if (!hands)
      hands = point.at;
  }
  return oursSeen ? hands : std::nullopt;
}

}  // namespace rt
