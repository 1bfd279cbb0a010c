#pragma once
// Faults a system file can hold, each in a small file named system.toml,
// with the message that follows "FILE:" on standard error. Shared by the
// reader's tests and the end-to-end tests of --system.

#include <sstream>
#include <string>
#include <vector>

namespace adequacy::testing {

// Twelve lines; the cases below change one line or append some.
inline const std::string validSystem =
    "[[unit_type]]\n"                       // 1
    "pmax_mw = 100\n"                       // 2
    "derated_mw = 0\n"                      // 3
    "forced_outage_rate = 0.1\n"            // 4
    "derated_probability = 0.0\n"           // 5
    "mttr_days = 5\n"                       // 6
    "[area1]\n"                             // 7
    "units = [1]\n"                         // 8
    "[area0]\n"                             // 9
    "units = [1]\n"                         // 10
    "[loads]\n"                             // 11
    "parameters = [1, 2, 3, 4, 5, 6, 7]\n"  // 12
    ;

// The valid system with line `number` (1-based) replaced.
inline std::string withLine(int number, const std::string& replacement) {
    std::istringstream in(validSystem);
    std::string line;
    std::string text;
    for (int n = 1; std::getline(in, line); ++n) text += (n == number ? replacement : line) + "\n";
    return text;
}

inline std::string without(const std::string& part) {
    std::string text = validSystem;
    return text.erase(text.find(part), part.size());
}

inline std::string atcRows(int count, const char* probability) {
    std::string rows;
    for (int r = 0; r < count; ++r)
        rows +=
            "[[atc]]\nmw = " + std::to_string(100 + r) + "\nprobability = " + probability + "\n";
    return rows;
}

inline const std::string firstRowRule =
    "the first row must be an import row (MW above 0) with a probability above 0: the simulated "
    "tie spends its normal hours in row 1, whatever it holds";

struct Fault {
    const char* what;
    std::string text;
    std::string message;  // after "FILE:"
    bool prefixOnly = false;
};

inline const std::vector<Fault> systemFileFaults = {
    {"syntax error", withLine(2, "pmax_mw = = 5"), "2: not valid TOML: ", true},
    {"duplicate key", withLine(3, "pmax_mw = 5"), "3: not valid TOML: ", true},
    {"unknown top-level key", "colour = 1\n" + validSystem,
     "1: unknown key colour (known keys: unit_type, area1, area0, loads, atc, variable, weather, "
     "maintenance)"},
    {"misspelt key", withLine(6, "mttr_day = 5"),
     "6: unknown key unit_type[1].mttr_day (known keys: pmax_mw, derated_mw, forced_outage_rate, "
     "derated_probability, mttr_days)"},
    {"unknown key with a line end in it", "\"a\\nb\" = 1\n" + validSystem,
     "1: unknown key a\\x0ab (known keys: unit_type, area1, area0, loads, atc, variable, weather, "
     "maintenance)"},
    {"unknown key in a later table", validSystem + "colour = 1\n",
     "13: unknown key loads.colour (known keys: parameters, shape, hourly, forecast_uncertainty)"},
    {"unknown key in an area", withLine(10, "unit = [1]"),
     "10: unknown key area0.unit (known keys: units, repeat)"},
    {"missing key", withLine(6, ""), "1: unit_type[1]: missing key mttr_days"},
    {"missing area", without("[area0]\nunits = [1]\n"), "1: missing key area0"},
    {"missing loads", without("[loads]\nparameters = [1, 2, 3, 4, 5, 6, 7]\n"),
     "1: missing key loads"},
    {"no parameters", withLine(12, ""),
     "11: loads: missing key parameters (or hourly, for a year of hourly loads)"},
    {"integer wanted", withLine(2, "pmax_mw = 5.0"),
     "2: unit_type[1].pmax_mw: must be an integer, not a floating-point number"},
    {"number wanted", withLine(4, "forced_outage_rate = \"0.1\""),
     "4: unit_type[1].forced_outage_rate: must be a number, not a string"},
    {"array wanted", "unit_type = 5\n" + validSystem.substr(validSystem.find("[area1]")),
     "1: unit_type: must be an array, not an integer"},
    {"table wanted", withLine(8, "units = 1"), "8: area1.units: must be an array, not an integer"},
    {"pmax below 1", withLine(2, "pmax_mw = 0"),
     "2: unit_type[1].pmax_mw: must be between 1 and 10000000 (is 0)"},
    {"derated above pmax", withLine(3, "derated_mw = 101"),
     "3: unit_type[1].derated_mw: must be between 0 and 100 (is 101)"},
    {"derated below 0", withLine(3, "derated_mw = -1"),
     "3: unit_type[1].derated_mw: must be between 0 and 100 (is -1)"},
    {"rate above 1", withLine(4, "forced_outage_rate = 1.5"),
     "4: unit_type[1].forced_outage_rate: must be between 0 and 1 (is 1.5)"},
    {"probability below 0", withLine(5, "derated_probability = -0.1"),
     "5: unit_type[1].derated_probability: must be between 0 and 1 (is -0.1)"},
    {"probabilities above 1", withLine(5, "derated_probability = 0.95"),
     "5: unit_type[1]: forced_outage_rate and derated_probability add up to more than 1"},
    {"mttr zero", withLine(6, "mttr_days = 0.0"),
     "6: unit_type[1].mttr_days: must be above 0 (is 0.0)"},
    {"mttr negative", withLine(6, "mttr_days = -2"),
     "6: unit_type[1].mttr_days: must be above 0 (is -2)"},
    {"mttr not finite", withLine(6, "mttr_days = inf"),
     "6: unit_type[1].mttr_days: must be a finite number"},
    {"area without units", withLine(8, "units = []"),
     "8: area1.units: no units; an area needs at least one"},
    {"no such type", withLine(10, "units = [1, 2]"),
     "10: area0.units[2]: there is no unit type 2 (the file has types 1 to 1)"},
    {"type number as text", withLine(10, "units = [\"1\"]"),
     "10: area0.units[1]: must be a type number (an integer), not a string"},
    {"repeat zero", withLine(10, "units = [1]\nrepeat = 0"),
     "11: area0.repeat: must be between 1 and 100000 (is 0)"},
    {"too many units", withLine(10, "units = [1, 1]\nrepeat = 50000"),
     "10: area0: the system would have 100001 units; at most 100000 are allowed"},
    {"too much capacity", withLine(2, "pmax_mw = 9000000"),
     "10: area0: the installed capacity would be 18000000 MW; at most 10000000 MW are allowed"},
    {"eleven ATC rows", validSystem + atcRows(11, "0.01"), "43: atc: more than 10 rows"},
    {"ATC import above 1", validSystem + atcRows(2, "0.6"),
     "13: atc: the import rows' (mw > 0) probabilities add up to more than 1"},
    // The simulated tie's normal state is row 1, whatever it holds.
    {"ATC export row first",
     validSystem + "[[atc]]\nmw = -100\nprobability = 1\n" + atcRows(1, "0.5"),
     "13: atc[1]: " + firstRowRule},
    {"ATC first row of probability 0", validSystem + atcRows(1, "0") + atcRows(1, "0.5"),
     "13: atc[1]: " + firstRowRule},
    {"area 1 above the system in an hour", withLine(12, "parameters = [1, 2, 3, 4, 9, 6, 7]"),
     "12: loads.parameters: with the shape, these give day 11 hour 1: an area-1 load of 5 MW, "
     "above the whole system's 4 MW, which includes it"},
    {"ATC row without probability", validSystem + "[[atc]]\nmw = 5\n",
     "13: atc[1]: missing key probability"},
    {"shape of 2 values", validSystem + "shape = [1, 2]\n",
     "13: loads.shape: must hold 24 values (hours 1 to 24), not 2"},
    {"seven parameters wanted", withLine(12, "parameters = [1, 2, 3]"),
     "12: loads.parameters: must hold 7 values (D1 to D7), not 3"},
    {"negative parameter", withLine(12, "parameters = [1, 2, 3, 4, -5, 6, 7]"),
     "12: loads.parameters[5]: must be between 0 and 10000000 (is -5)"},
    {"hourly and parameters", validSystem + "hourly = \"loads.csv\"\n",
     "12: loads.parameters: not used with hourly loads; give one or the other"},
    {"hourly file missing", withLine(12, "hourly = \"absent.csv\""),
     "12: loads.hourly: {DIR}absent.csv: cannot open: No such file or directory"},
    // What makes the years differ: resources, weather, maintenance, forecast.
    {"variable file missing",
     validSystem + "[[variable]]\nname = \"wind\"\narea = 0\nhourly = \"absent.csv\"\n",
     "16: variable[1].hourly: {DIR}absent.csv: cannot open: No such file or directory"},
    {"variable in area 2", validSystem + "[[variable]]\nname = \"wind\"\narea = 2\n",
     "15: variable[1].area: must be between 0 and 1 (is 2)"},
    {"variable without a name", validSystem + "[[variable]]\narea = 0\n",
     "13: variable[1]: missing key name"},
    {"variable named nothing", validSystem + "[[variable]]\nname = \"\"\n",
     "14: variable[1].name: must be a name of printable characters"},
    {"unknown key in a variable", validSystem + "[[variable]]\nmw = 5\n",
     "14: unknown key variable[1].mw (known keys: name, area, hourly)"},
    {"weights for too many years", validSystem + "[weather]\nweights = [0.5, 0.5]\n",
     "14: weather.weights: 2 weights for 1 weather year"},
    {"weights not adding up to 1", validSystem + "[weather]\nweights = [0.9]\n",
     "14: weather.weights: add up to 0.900000, not 1"},
    {"negative weight", validSystem + "[weather]\nweights = [-1]\n",
     "14: weather.weights[1]: must be between 0 and 1 (is -1)"},
    {"maintenance of no unit",
     validSystem + "[[maintenance]]\nunit = 3\nfirst_day = 1\nlast_day = 2\n",
     "14: maintenance[1].unit: must be between 1 and 2 (is 3)"},
    {"maintenance ending before it starts",
     validSystem + "[[maintenance]]\nunit = 1\nfirst_day = 10\nlast_day = 9\n",
     "16: maintenance[1].last_day: must be between 10 and 365 (is 9)"},
    {"maintenance past the year",
     validSystem + "[[maintenance]]\nunit = 1\nfirst_day = 366\nlast_day = 366\n",
     "15: maintenance[1].first_day: must be between 1 and 365 (is 366)"},
    {"overlapping maintenance",
     validSystem + "[[maintenance]]\nunit = 2\nfirst_day = 10\nlast_day = 20\n" +
         "[[maintenance]]\nunit = 2\nfirst_day = 20\nlast_day = 30\n",
     "17: maintenance[2]: unit 2 is already on maintenance from day 10 to day 20 "
     "(maintenance[1])"},
    {"forecast steps 0", validSystem + "forecast_uncertainty = { sd_percent = 2.0, steps = 0 }\n",
     "13: loads.forecast_uncertainty.steps: must be between 1 and 15 (is 0)"},
    {"forecast without steps", validSystem + "forecast_uncertainty = { sd_percent = 2.0 }\n",
     "13: loads.forecast_uncertainty: missing key steps"},
    {"negative forecast deviation",
     validSystem + "forecast_uncertainty = { sd_percent = -1, steps = 3 }\n",
     "13: loads.forecast_uncertainty.sd_percent: must be between 0 and 100 (is -1)"},
    {"forecast step below no load",
     validSystem + "forecast_uncertainty = { sd_percent = 40, steps = 7 }\n",
     "13: loads.forecast_uncertainty: the lowest of 7 steps would scale the loads by -0.200000, "
     "below 0"},
};

// The message for a system file in folder `dir` ("" for the current one).
inline std::string expectedMessage(const Fault& fault, const std::string& dir) {
    std::string message = fault.message;
    const std::size_t at = message.find("{DIR}");
    if (at != std::string::npos) message.replace(at, 5, dir.empty() ? "" : dir + "/");
    return message;
}

}  // namespace adequacy::testing
