#include "results/read_back.hpp"

#include <algorithm>
#include <cmath>

namespace adequacy::results {

namespace {

ConvergenceValues convergenceValues(const AreaReadBack& area) {
    const YearValues& lolh = area.values[lolhField];
    const YearValues& mwhEue = area.values[mwhEueField];
    return {lolh.lastEstimate, standardError(lolh), mwhEue.lastEstimate, standardError(mwhEue)};
}

void readAreaRecord(ReadBack& readBack, AreaReadBack& area,
                    ConvergenceValues ConvergencePoint::*side, std::span<const double> record) {
    for (int i = 0; i < simulatedIndices; ++i)
        addRunningEstimate(area.values[static_cast<std::size_t>(i)],
                           record[static_cast<std::size_t>(i)]);
    if (area.nextPoint >= readBack.schedule.count) return;
    const auto point = static_cast<std::size_t>(area.nextPoint);
    if (area.values[0].years != readBack.schedule.years[point]) return;
    readBack.points[point].years = area.values[0].years;
    readBack.points[point].*side = convergenceValues(area);
    area.nextPoint += 1;
}

}  // namespace

ConvergenceSchedule convergenceSchedule(int n) {
    ConvergenceSchedule schedule;
    const double first = std::min(firstConvergenceYear, n);
    const double ratio = n / first;
    for (int i = 0; i < maxConvergencePoints; ++i) {
        const double fraction = static_cast<double>(i) / (maxConvergencePoints - 1);
        int years = static_cast<int>(std::lround(first * std::pow(ratio, fraction)));
        years = std::min(years, n);
        if (schedule.count > 0 &&
            years <= schedule.years[static_cast<std::size_t>(schedule.count - 1)])
            continue;
        schedule.years[static_cast<std::size_t>(schedule.count++)] = years;
    }
    // Rounding must not lose the last year, where the report stands.
    schedule.years[static_cast<std::size_t>(schedule.count - 1)] = n;
    return schedule;
}

void startReadBack(ReadBack& readBack, int n) {
    readBack.schedule = convergenceSchedule(n);
    YearValues start;
    start.batchYears = readBack.batchYears;
    readBack.system = AreaReadBack{};
    readBack.system.values.fill(start);
    readBack.area1 = AreaReadBack{};
    readBack.area1.values.fill(start);
    readBack.tie.fill(start);
    readBack.points.fill(ConvergencePoint{});
}

void readSystemRecord(ReadBack& readBack, std::span<const double> record) {
    readAreaRecord(readBack, readBack.system, &ConvergencePoint::system, record);
}

void readArea1Record(ReadBack& readBack, std::span<const double> record) {
    readAreaRecord(readBack, readBack.area1, &ConvergencePoint::area1, record);
}

void readTieRecord(ReadBack& readBack, std::span<const double> record) {
    for (std::size_t i = 0; i < readBack.tie.size() && i < record.size(); ++i)
        addRunningEstimate(readBack.tie[i], record[i]);
}

}  // namespace adequacy::results
