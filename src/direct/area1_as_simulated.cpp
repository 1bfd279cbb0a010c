#include "direct/area1_as_simulated.hpp"

#include <cmath>
#include <vector>

#include "montecarlo/loss_of_load.hpp"
#include "montecarlo/tie.hpp"

namespace adequacy {
namespace {

// P(x) of a table for any whole x: 1 below the table, 0 above it.
double exceeds(const OutageTable& table, double level) {
    if (level < 0.0) return 1.0;
    if (level > table.top()) return 0.0;
    return table.at(static_cast<int>(level));
}

// Area 1's table with its tail sums, tail(j) = P(j) + P(j + 1) + ... + P(top):
// the expected MW out above j.
struct Area1Table {
    const OutageTable& table;
    int capacity;
    std::vector<double> tail;  // tail[j], j = 0..top + 1
};

Area1Table area1Table(const CapacityTables& tables) {
    const OutageTable& table = tables.area1OutageTable;
    Area1Table a{table, tables.area1.capacity,
                 std::vector<double>(static_cast<std::size_t>(table.top()) + 2, 0.0)};
    for (int j = table.top(); j >= 0; --j)
        a.tail[static_cast<std::size_t>(j)] = a.tail[static_cast<std::size_t>(j) + 1] + table.at(j);
    return a;
}

// Area 1's chance of loss of load and its expected MW short, with `supply`
// MW received. An outage of x MW is short by x - m, m = C + supply - L, and
// counts as loss of load beyond the simulation's margin.
struct Shortfall {
    double lolp = 0.0;
    double mw = 0.0;
};

Shortfall area1Shortfall(const Area1Table& a, double supply, double load) {
    const double margin = a.capacity + supply - load;
    const double level = std::floor(margin + static_cast<double>(lolMargin));
    if (std::isnan(level)) return {};
    if (level < 0.0) return {1.0, a.tail[0] - margin};
    if (level > a.table.top()) return {};
    const auto k = static_cast<std::size_t>(level);
    const double p = a.table.at(static_cast<int>(k));
    return {p, a.tail[k] + (level - margin) * p};
}

void addWeighted(Shortfall& sum, double weight, const Shortfall& s) {
    if (!(weight > 0.0)) return;
    sum.lolp += weight * s.lolp;
    sum.mw += weight * s.mw;
}

// One tie row of capability c > 0: area 0 with x MW out has the surplus
// s = C0 - x - L0 and sends min(c, s) when that is positive. Outages that
// leave c or more to spare send c, those that leave nothing send nothing,
// and the whole MW in between send their own surplus.
Shortfall rowShortfall(const Area1Table& a, const OutageTable& area0, int area0Capacity,
                       double capability, double load0, double load1) {
    const double spare = area0Capacity - load0;
    Shortfall sum;
    const double fullUpTo = std::floor(spare - capability);  // x <= it sends c
    addWeighted(sum, 1.0 - exceeds(area0, fullUpTo), area1Shortfall(a, capability, load1));
    const double noneFrom = std::ceil(spare);  // x >= it sends nothing
    addWeighted(sum, exceeds(area0, noneFrom - 1.0), area1Shortfall(a, 0.0, load1));
    const double last = std::fmin(noneFrom - 1.0, area0.top() + 1.0);
    for (double x = last; x > fullUpTo && x >= 0.0; x -= 1.0) {
        const double probability = exceeds(area0, x - 1.0) - exceeds(area0, x);
        const Shortfall s = area1Shortfall(a, spare - x, load1);
        if (s.lolp == 0.0) break;  // more surplus: no shortfall either
        addWeighted(sum, probability, s);
    }
    return sum;
}

Shortfall hourShortfall(const Area1Table& a, const CapacityTables& tables, const AtcTable& atc,
                        const std::array<double, atcTieStates>& shares, float total, float area1) {
    const double load0 = static_cast<double>(total) - area1;
    Shortfall hour;
    for (std::size_t row = 0; row < shares.size(); ++row) {
        if (!(shares[row] > 0.0)) continue;
        const double capability = atc.mw[row];
        const Shortfall s = capability > 0.0
                                ? rowShortfall(a, tables.area0OutageTable, tables.area0.capacity,
                                               capability, load0, area1)
                                : area1Shortfall(a, 0.0, area1);
        addWeighted(hour, shares[row], s);
    }
    return hour;
}

}  // namespace

std::optional<Area1AsSimulated> solveArea1AsSimulated(const CapacityTables& tables,
                                                      const HourlyLoads& loads,
                                                      const AtcTable& atc) {
    const auto shares = tieLongRunShares(atc);
    if (!shares) return std::nullopt;
    const Area1Table a = area1Table(tables);
    Area1AsSimulated result;
    double energy = 0.0;
    for (int day = 1; day <= daysPerYear; ++day) {
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            const auto i = static_cast<std::size_t>(hourIndex(day, hour));
            const Shortfall s =
                hourShortfall(a, tables, atc, *shares, loads.total[i], loads.area1[i]);
            result.lolh += s.lolp;
            result.mwhEue += s.mw;
            if (loads.area1PeakHour[static_cast<std::size_t>(day - 1)] == hour)
                result.lole += s.lolp;
            energy += loads.area1[i];
        }
    }
    result.puEueppm = result.mwhEue / energy * 1000000.0;
    return result;
}

}  // namespace adequacy
