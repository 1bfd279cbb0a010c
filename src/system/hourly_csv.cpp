#include "system/hourly_csv.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <istream>
#include <optional>
#include <string_view>
#include <vector>

#include "model/system_data.hpp"
#include "system/file_error.hpp"
#include "system/system_limits.hpp"

namespace adequacy::system {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// Whether a decimal that single precision cannot hold is too large for it
// (else it is too small, and its nearest float is 0). Beyond the range of
// long double the exponent's sign tells.
bool tooLargeForFloat(std::string_view text) {
    long double wide = 0.0L;
    auto [stop, status] = std::from_chars(text.data(), text.data() + text.size(), wide);
    if (status == std::errc{}) return std::fabs(wide) > 1.0L;
    const std::size_t exponent = text.find_first_of("eE");
    return exponent == std::string_view::npos || exponent + 1 >= text.size() ||
           text[exponent + 1] != '-';
}

struct Decimal {
    float value = 0.0f;
    bool tooLarge = false;  // beyond single precision; value is then 0
};

// The decimal rounded once to single precision, the precision loads are kept in.
std::optional<Decimal> parsedNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    Decimal decimal;
    const char* end = text.data() + text.size();
    auto [stop, status] = std::from_chars(text.data(), end, decimal.value);
    if (stop != end || (status != std::errc{} && status != std::errc::result_out_of_range))
        return std::nullopt;
    if (status == std::errc::result_out_of_range) {
        decimal.tooLarge = tooLargeForFloat(text);
        decimal.value = text.front() == '-' ? -0.0f : 0.0f;
    }
    return decimal;
}

std::string counted(int count, const std::string& thing) {
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr int maxHourlyRows = maxWeatherYears * hoursPerYear;

// The columns of a file as they are read, named for messages.
struct HourlySeries {
    std::vector<const char*> names;
    const char* shape;  // what a row must hold
    std::array<std::vector<float>, 2> columns;
};

class CsvReader {
  public:
    explicit CsvReader(std::string path) : path_(std::move(path)) {}

    [[noreturn]] void fail(std::string what) const {
        throw SystemFileFailure{SystemFileError{path_, line_, std::move(what)}};
    }
    [[noreturn]] void failRow(int row, const std::string& what) const {
        const int day = (row - 1) / hoursPerDay + 1;
        const int hour = (row - 1) % hoursPerDay + 1;
        fail("data row " + std::to_string(row) + " (day " + std::to_string(day) + ", hour " +
             std::to_string(hour) + "): " + what);
    }

    void read(std::istream& in, HourlySeries& series) {
        std::string text;
        int row = 0;
        int blankLine = 0;  // the first blank line seen; only trailing ones are allowed
        while (std::getline(in, text)) {
            ++line_;
            std::string_view content = trimmed(text);
            if (content.empty()) {
                if (blankLine == 0) blankLine = line_;
                continue;
            }
            if (blankLine != 0) {
                line_ = blankLine;
                fail("blank line among the data rows");
            }
            // A byte-order mark, which some editors put first, is not data.
            if (line_ == 1 && content.starts_with(byteOrderMark))
                content = trimmed(content.substr(byteOrderMark.size()));
            if (line_ == 1 && isHeader(content)) continue;
            if (++row > maxHourlyRows)
                fail("more than " + std::to_string(maxHourlyRows) + " data rows; at most " +
                     std::to_string(maxWeatherYears) + " weather years of " +
                     std::to_string(hoursPerYear) + " hours");
            readRow(content, row, series);
        }
        if (in.bad()) fail(std::string("cannot read: ") + std::strerror(errno));
        if (row < hoursPerYear)
            fail("only " + std::to_string(row) + " data rows; a year needs exactly " +
                 std::to_string(hoursPerYear));
        if (row % hoursPerYear != 0)
            fail(std::to_string(row) + " data rows: " + counted(row % hoursPerYear, "hour") +
                 " more than " + counted(row / hoursPerYear, "weather year") +
                 "; each weather year needs exactly " + std::to_string(hoursPerYear));
    }

  private:
    // A first line whose first field is not a number names the columns.
    static bool isHeader(std::string_view content) {
        return !parsedNumber(trimmed(content.substr(0, content.find(',')))).has_value();
    }

    float field(std::string_view text, int row, const char* name) const {
        const std::optional<Decimal> decimal = parsedNumber(trimmed(text));
        if (!decimal)
            failRow(row,
                    std::string(name) + " is not a number: \"" + std::string(trimmed(text)) + "\"");
        const float value = decimal->value;
        if (!std::isfinite(value)) failRow(row, std::string(name) + " is not a finite number");
        if (decimal->tooLarge || value < 0.0f || value > static_cast<float>(maxMw))
            failRow(row, std::string(name) + " must be between 0 and " + std::to_string(maxMw) +
                             " MW (is " + std::string(trimmed(text)) + ")");
        return value;
    }

    void readRow(std::string_view content, int row, HourlySeries& series) const {
        const std::size_t count = series.names.size();
        if (static_cast<std::size_t>(std::count(content.begin(), content.end(), ',')) != count - 1)
            failRow(row, series.shape);
        std::size_t start = 0;
        for (std::size_t c = 0; c < count; ++c) {
            const std::size_t comma = content.find(',', start);
            const std::string_view text = content.substr(start, comma - start);
            series.columns[c].push_back(field(text, row, series.names[c]));
            start = comma + 1;
        }
        if (count == 2 && series.columns[1].back() > series.columns[0].back())
            failRow(row, "area1_mw exceeds total_mw, which includes it");
    }

    std::string path_;
    int line_ = 0;
};

}  // namespace

HourlyLoadYear readHourlyCsv(std::istream& in, const std::string& filePath,
                             const std::string& userPath) {
    HourlySeries series{{"total_mw", "area1_mw"}, "must hold two values, total_mw,area1_mw", {}};
    CsvReader(filePath).read(in, series);
    HourlyLoadYear year;
    year.path = userPath;
    year.total = std::move(series.columns[0]);
    year.area1 = std::move(series.columns[1]);
    return year;
}

std::vector<float> readOutputCsv(std::istream& in, const std::string& filePath) {
    HourlySeries series{{"mw"}, "must hold one value, mw", {}};
    CsvReader(filePath).read(in, series);
    return std::move(series.columns[0]);
}

}  // namespace adequacy::system
