#include "core/compile/DataProblemCsv.h"

namespace {

// A field quoted when it holds a separator, a quote, a line break or blanks at either end
// (which readers would otherwise drop); quotes inside are doubled.
void AppendField(std::string& out, const std::string& value) {
    const bool quote = value.find_first_of(",\"\r\n") != std::string::npos ||
                       (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!quote) {
        out += value;
        return;
    }
    out += '"';
    for (const char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string ProblemsToCsv(const std::vector<DataProblem>& problems) {
    std::string out = "record,field,text,problem\r\n";
    for (const DataProblem& problem : problems) {
        out += std::to_string(problem.record);
        out += ',';
        AppendField(out, problem.field);
        out += ',';
        AppendField(out, problem.text);
        out += ',';
        AppendField(out, DescribeProblem(problem));
        out += "\r\n";
    }
    return out;
}
