#pragma once

#include <utility>
#include <vector>

#include "platform/DisplayServices.h"
#include "platform/Geometry.h"

namespace turnlet {

// Changes of the display layout, made for this run of the program only.
struct DisplayLayout {
  // Platform code for an argument the display services refuse (kCGErrorIllegalArgument).
  static constexpr DisplayError illegalArgumentError = 1001;

  // Moves each display to its origin (global points, rounded to whole points, halves away from
  // zero), in list order, in one configuration transaction: every origin changes, or none does.
  // Throws AppFailure naming the step that failed and the platform's code; a transaction that
  // fails before completion, or whose call throws, is cancelled, and a failed completion has
  // ended it already. An origin that is not finite or does not fit a signed 32-bit coordinate is
  // refused at its turn like a rejected position, with illegalArgumentError. An empty list begins
  // and completes a transaction that changes nothing.
  static void place(DisplayServices& services, const std::vector<std::pair<DisplayID, Point>>& origins);
};

}  // namespace turnlet
