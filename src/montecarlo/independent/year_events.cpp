#include "montecarlo/independent/year_events.hpp"

#include <algorithm>

#include "montecarlo/independent/sojourn.hpp"
#include "montecarlo/independent/stretch_losses.hpp"

namespace adequacy::independent {
namespace {

// The capacities in force: whole MW, exact in any order of changes.
struct Capacities {
    long long system = 0;
    long long area1 = 0;
    int row = 1;
    int rowSince = 0;  // the hour the tie entered the row
};

void schedule(YearWork& work, int hour, int stay, int component) {
    if (stay == neverLeft || stay >= hoursPerYear - hour) return;
    work.pending.push(hour + stay, component);
}

void startUnits(const YearModel& model, std::uint32_t seed, std::uint64_t year, YearWork& work,
                Capacities& c) {
    const auto& units = model.chains.units;
    for (std::size_t u = 0; u < units.size(); ++u) {
        ComponentDraws& draws = work.draws[u];
        draws = ComponentDraws(seed, year, units[u].stream);
        const int state = initialUnitState(units[u], draws.uniform());
        work.state[u] = state;
        const int mw = units[u].mw[static_cast<std::size_t>(state)];
        c.system += mw;
        if (static_cast<int>(u) < model.chains.area1Units) c.area1 += mw;
        // The first step is the year's first hour's: a stay of k steps
        // changes the state in hour k - 1.
        schedule(work, -1, unitStay(units[u], state, draws), static_cast<int>(u));
    }
}

bool startTie(const YearModel& model, std::uint32_t seed, std::uint64_t year, YearWork& work,
              Capacities& c) {
    ComponentDraws& draws = work.draws.back();
    draws = ComponentDraws(seed, year, tieComponent);
    c.row = initialTieRow(model.chains.tie, draws.uniform());
    const TieMove move = nextTieMove(model.chains.tie, c.row, draws);
    work.state.back() = move.row;
    if (move.row == 0 && move.hours <= hoursPerYear) return false;
    schedule(work, -1, move.hours, static_cast<int>(work.state.size()) - 1);
    return true;
}

// A unit on maintenance keeps its chain; only its MW leave the capacities.
void applyMaintenance(const YearModel& model, const MaintenanceChange& m, YearWork& work,
                      Capacities& c) {
    const auto u = static_cast<std::size_t>(m.unit);
    if ((work.onMaintenance[u] != 0) == m.leaves) return;
    work.onMaintenance[u] = m.leaves ? 1 : 0;
    const int mw = model.chains.units[u].mw[static_cast<std::size_t>(work.state[u])];
    const int delta = m.leaves ? -mw : mw;
    c.system += delta;
    if (m.unit < model.chains.area1Units) c.area1 += delta;
}

// Applies the change of `component` in `hour`; false if the tie is stranded.
bool change(const YearModel& model, YearWork& work, int hour, int component, Capacities& c,
            YearOutcome& outcome) {
    const auto u = static_cast<std::size_t>(component);
    ComponentDraws& draws = work.draws[u];
    if (u + 1 == work.state.size()) {
        outcome.tieHours[static_cast<std::size_t>(c.row - 1)] += hour - c.rowSince;
        c.row = work.state[u];
        c.rowSince = hour;
        const TieMove move = nextTieMove(model.chains.tie, c.row, draws);
        if (move.row == 0 && move.hours < hoursPerYear - hour) return false;
        work.state[u] = move.row;
        schedule(work, hour, move.hours, component);
        return true;
    }
    const UnitChain& unit = model.chains.units[u];
    const int before = unit.mw[static_cast<std::size_t>(work.state[u])];
    const int state = nextUnitState(unit, work.state[u], draws);
    work.state[u] = state;
    const int delta = work.onMaintenance[u] ? 0 : unit.mw[static_cast<std::size_t>(state)] - before;
    c.system += delta;
    if (component < model.chains.area1Units) c.area1 += delta;
    schedule(work, hour, unitStay(unit, state, draws), component);
    return true;
}

}  // namespace

YearWork::YearWork(const Chains& chains)
    : state(chains.units.size() + 1, 0),
      draws(chains.units.size() + 1, ComponentDraws(0, 0, 0)),
      onMaintenance(chains.units.size() + 1, 0),
      pending(chains.units.size() + 1) {}

void simulateYear(const YearModel& model, std::uint32_t seed, std::uint64_t year, YearWork& work,
                  YearOutcome& outcome) {
    outcome.losses.clear();
    outcome.tieHours.fill(0);
    outcome.tieStranded = false;
    outcome.changes = 0;
    outcome.weatherYear = 0;
    work.pending.clear();
    std::fill(work.onMaintenance.begin(), work.onMaintenance.end(), 0);
    StepLoads loads = plainLoads(model);
    static const std::vector<MaintenanceChange> noMaintenance;
    const std::vector<MaintenanceChange>& maintenance =
        model.variation ? model.variation->maintenance() : noMaintenance;
    if (model.variation) {
        outcome.weatherYear = model.variation->weatherYearOf(seed, year);
        loads = model.variation->loadsOf(outcome.weatherYear);
    }
    Capacities c;
    startUnits(model, seed, year, work, c);
    if (!startTie(model, seed, year, work, c)) {
        outcome.tieStranded = true;
        return;
    }
    std::size_t nextMaintenance = 0;
    int hour = 0;
    while (hour < hoursPerYear) {
        const int nextChange = work.pending.nextHour(hour);
        const int next = nextMaintenance < maintenance.size()
                             ? std::min(nextChange, maintenance[nextMaintenance].hour)
                             : nextChange;
        if (next > hour) testStretch(model, loads, {c.system, c.area1, c.row}, hour, next, outcome);
        hour = next;
        if (hour == hoursPerYear) break;
        for (; nextMaintenance < maintenance.size() && maintenance[nextMaintenance].hour == hour;
             ++nextMaintenance)
            applyMaintenance(model, maintenance[nextMaintenance], work, c);
        if (nextChange != hour) continue;
        for (int component = work.pending.take(hour); component != HourQueue::none;) {
            // Read the next one first: a change schedules its own anew.
            const int following = work.pending.after(component);
            ++outcome.changes;
            if (!change(model, work, hour, component, c, outcome)) {
                outcome.tieStranded = true;
                return;
            }
            component = following;
        }
    }
    outcome.tieHours[static_cast<std::size_t>(c.row - 1)] += hoursPerYear - c.rowSince;
}

}  // namespace adequacy::independent
