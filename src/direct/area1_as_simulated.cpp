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
    const std::vector<double>& tail;  // tail[j], j = 0..top + 1
};

std::vector<double> tailSums(const OutageTable& table) {
    std::vector<double> tail(static_cast<std::size_t>(table.top()) + 2, 0.0);
    for (int j = table.top(); j >= 0; --j)
        tail[static_cast<std::size_t>(j)] = tail[static_cast<std::size_t>(j) + 1] + table.at(j);
    return tail;
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
                        const std::array<double, atcTieStates>& shares, double load0,
                        double load1) {
    Shortfall hour;
    for (std::size_t row = 0; row < shares.size(); ++row) {
        if (!(shares[row] > 0.0)) continue;
        const double capability = atc.mw[row];
        const Shortfall s = capability > 0.0
                                ? rowShortfall(a, tables.area0OutageTable, tables.area0.capacity,
                                               capability, load0, load1)
                                : area1Shortfall(a, 0.0, load1);
        addWeighted(hour, shares[row], s);
    }
    return hour;
}

}  // namespace

Area1AsSimulatedSolver::Area1AsSimulatedSolver(const CapacityTables& tables, const AtcTable& atc,
                                               const std::array<double, atcTieStates>& shares)
    : tables_(&tables), atc_(&atc), shares_(shares), tail_(tailSums(tables.area1OutageTable)) {}

std::optional<Area1AsSimulatedSolver> Area1AsSimulatedSolver::prepare(const CapacityTables& tables,
                                                                      const AtcTable& atc) {
    const auto shares = tieLongRunShares(atc);
    if (!shares) return std::nullopt;
    return Area1AsSimulatedSolver(tables, atc, *shares);
}

Area1AsSimulated Area1AsSimulatedSolver::solve(const HourlyLoads& loads,
                                               const Area1LoadChange& change,
                                               DayFilter days) const {
    const Area1Table a{tables_->area1OutageTable, tables_->area1.capacity, tail_};
    Area1AsSimulated result;
    double energy = 0.0;
    for (int day = 1; day <= daysPerYear; ++day) {
        if (!days.takes(day)) continue;
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            const auto i = static_cast<std::size_t>(hourIndex(day, hour));
            const double load0 = static_cast<double>(loads.total[i]) - loads.area1[i];
            const double load1 = loads.area1[i] * change.scale + change.addedMw;
            const Shortfall s = hourShortfall(a, *tables_, *atc_, shares_, load0, load1);
            result.lolh += s.lolp;
            result.mwhEue += s.mw;
            if (loads.area1PeakHour[static_cast<std::size_t>(day - 1)] == hour)
                result.lole += s.lolp;
            energy += load1;
        }
    }
    result.mwhTotal = energy;
    result.puEueppm = result.mwhEue / energy * 1000000.0;
    return result;
}

std::optional<Area1AsSimulated> solveArea1AsSimulated(const CapacityTables& tables,
                                                      const HourlyLoads& loads,
                                                      const AtcTable& atc) {
    const auto solver = Area1AsSimulatedSolver::prepare(tables, atc);
    if (!solver) return std::nullopt;
    return solver->solve(loads);
}

}  // namespace adequacy
