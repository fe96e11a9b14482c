#include "onset_stats.h"

#include <algorithm>
#include <cmath>

namespace {

double Quantile(const std::vector<double>& sorted, double q) {
  if (sorted.empty()) return 0;
  size_t i = static_cast<size_t>(std::ceil(q * static_cast<double>(sorted.size()))) ;
  return sorted[std::min(sorted.size() - 1, i == 0 ? 0 : i - 1)];
}

}  // namespace

OnsetStats Measure(const std::vector<uint64_t>& onsetsUs, const std::vector<uint64_t>& idealUs, uint64_t endUs,
                   uint64_t idealEndUs) {
  std::vector<double> errors;
  size_t n = std::min(onsetsUs.size(), idealUs.size());
  for (size_t i = 0; i < n; ++i)
    errors.push_back(std::fabs(static_cast<double>(onsetsUs[i]) - static_cast<double>(idealUs[i])));
  std::sort(errors.begin(), errors.end());
  return {Quantile(errors, 0.5), Quantile(errors, 0.99), errors.empty() ? 0 : errors.back(),
          static_cast<double>(endUs) - static_cast<double>(idealEndUs)};
}
