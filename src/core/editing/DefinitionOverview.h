// A read-only overview of a whole definition, group by group in the order of the Operations
// menu, as rows of text: what the main window shows and what a test can read.
#pragma once

#include <string>
#include <vector>

class CCatforgeDoc;

enum class OverviewGroupId {
    General,
    Fields,
    UserSymbols,
    ObjectTypes,
    Position,
    Labels,
    Size,
    Magnitude,
};

struct OverviewRow {
    std::vector<std::string> cells;
    // The row refers to a field, symbol or type that does not exist (the cell shows the
    // same marker as the editors, "(missing field 7)").
    bool dangling = false;
};

struct OverviewGroup {
    OverviewGroupId id;
    std::string heading;  // the Operations command's name without "..."
    // Settings as name/value pairs, then an optional table with its column titles.
    std::vector<OverviewRow> properties;
    std::vector<std::string> columns;
    std::vector<OverviewRow> rows;
    std::string noRows;  // shown instead of an empty table
};

std::vector<OverviewGroup> BuildDefinitionOverview(const CCatforgeDoc& doc);

// How many rows of all groups refer to something missing.
int CountDanglingRows(const std::vector<OverviewGroup>& groups);

// The overview as plain text: each heading on its own line, its rows indented, table cells
// padded to their column's width; a dangling row starts with "!".
std::string FormatOverviewText(const std::vector<OverviewGroup>& groups);
