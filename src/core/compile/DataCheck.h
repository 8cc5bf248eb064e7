// The data check: reads a definition's data file record by record and names what the compile
// would silently get wrong: records without a position, texts that are not numbers in the
// numeric fields the definition uses (VizieR nulls such as ---, * or nan, which the compile
// reads as 0), positions out of range, labels cut at 31 characters and minutes or seconds of
// 60 or more. It changes nothing.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class CCatforgeDoc;
class IUserInteraction;

enum class DataProblemKind {
    BlankPosition,
    NotANumber,
    RaOutOfRange,
    DecOutOfRange,
    LabelCut,
    SixtyOrMore
};

inline constexpr std::size_t kDataProblemKinds = 6;

struct DataProblem {
    std::uint64_t record;  // 1-based, as the Data Browser counts
    std::string field;     // the field's name ("RAh"; "RAh, DEd" when both coordinates are blank)
    std::string text;      // the field's text without surrounding blanks
    DataProblemKind kind;
};

// The problem column's text, e.g. "not a number: the compile reads it as 0".
std::string DescribeProblem(const DataProblem& problem);

struct DataCheckSummary {
    std::uint64_t records = 0;                              // records read
    std::array<std::uint64_t, kDataProblemKinds> counts{};  // problems, by kind
};

// How many problems of one kind, e.g. "12 records without a position".
std::string DescribeCount(DataProblemKind kind, std::uint64_t count);

// The summary in one line, e.g. "12 records without a position, 340 texts that are not
// numbers (read as 0)"; "no problems in 15 records" when there are none.
std::string FormatSummary(const DataCheckSummary& summary);

// Streams the definition's data file (or dataPath when not empty) and calls onProblem for each
// problem in record order. Stops early, returning false with no message, when cancelled
// returns true (asked between blocks of records). Returns false with a message through ui when
// it cannot run: a record length below 1, a field the definition needs that is missing or lies
// outside the record, a data file that cannot be opened or holds no whole record. summary
// counts what was read.
bool CheckData(const CCatforgeDoc& doc, const std::string& dataPath, IUserInteraction& ui,
               const std::function<void(const DataProblem&)>& onProblem, DataCheckSummary& summary,
               const std::function<bool()>& cancelled = {});
