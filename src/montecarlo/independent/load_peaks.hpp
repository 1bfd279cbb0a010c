#pragma once
// The largest load of any stretch of hours in O(1): a stretch between two
// events is clear of loss of load when the capacity covers its largest load,
// so most stretches are passed without looking at their hours.

#include <span>
#include <vector>

namespace adequacy::independent {

class LoadPeaks {
  public:
    explicit LoadPeaks(std::span<const float> loads);

    // The largest load of hours [first, end), end > first.
    float max(int first, int end) const;

  private:
    int hours_;
    std::vector<float> levels_;  // level k holds the maxima of 2^k hours from each hour
};

}  // namespace adequacy::independent
