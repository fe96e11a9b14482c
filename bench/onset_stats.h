// Onset errors against an ideal timeline.
#pragma once
#include <cstdint>
#include <vector>

struct OnsetStats {
  double medianUs;
  double p99Us;
  double maxUs;
  double endDriftUs;  // signed: late is positive
};

// `onsetsUs` the measured note-ons, `idealUs` their times on the ideal
// timeline (same time base); `endUs` and `idealEndUs` the end of the piece.
OnsetStats Measure(const std::vector<uint64_t>& onsetsUs, const std::vector<uint64_t>& idealUs, uint64_t endUs,
                   uint64_t idealEndUs);
