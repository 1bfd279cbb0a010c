#include "report/free_format.hpp"

#include <cstdlib>

#include "report/fields.hpp"

namespace adequacy::report {

std::string renderFree(std::initializer_list<Value> values) {
    std::string record(" ");
    bool afterNumber = false;
    for (const Value& value : values) {
        if (value.kind == Value::Kind::text) {
            if (afterNumber) record += ' ';
            record += value.text;
            afterNumber = false;
        } else if (value.kind == Value::Kind::integer) {
            record += formatI(value.integer, 12);
            afterNumber = true;
        } else {
            std::abort();  // no free-format line carries a real
        }
    }
    return values.size() == 0 ? std::string() : record;
}

void writeFree(Channel& channel, std::initializer_list<Value> values) {
    writeRecord(channel, renderFree(values));
}

}  // namespace adequacy::report
