// What the definition dialogs decide without a widget: which boxes a choice enables, what OK
// refuses, what a question asks. The dialogs only show the results.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

class CCatforgeDoc;
struct FileDialogRequest;

// Which of the hours, minutes and seconds boxes a right ascension notation uses (notation 3,
// degrees, only the hours box). A notation outside 0..3 leaves all three enabled.
std::array<bool, 3> RaBoxesEnabled(int notation);

// Which of the sign, degrees, minutes and seconds boxes a declination notation uses.
// A notation outside 0..2 leaves all four enabled.
std::array<bool, 4> DecBoxesEnabled(int notation);

// What OK checks, in its order: the epoch, then the fields each notation needs.
// Returns the refusal's text, or an empty string when the values are accepted.
// A notation outside 0..3 (right ascension) or 0..2 (declination) is refused.
std::string RaDecRefusal(const std::string& epoch, int raNotation,
                         const std::array<int, 3>& raFields, int decNotation,
                         const std::array<int, 4>& decFields);

// Whether the major and minor axis boxes are enabled for a choice of size fields
// (0 none, 1 major axis only, 2 both). A value outside 0..2 leaves both enabled.
std::array<bool, 2> AxisBoxesEnabled(int sizeFields);

// What OK checks: the axes the choice of size fields needs, then the position angle field
// when the check box says there is one. A choice outside 0..2 is refused.
bool SizeFieldsComplete(int sizeFields, int majorField, int minorField, bool positionAngle,
                        int positionAngleField);

// The file-open question of the path's "..." button, starting from the current path.
FileDialogRequest DataFileRequest(const std::string& currentPath);

// The names of the fields, in list order, as the selection boxes show them.
std::vector<std::string> FieldNames(const CCatforgeDoc& doc);

// Dialogs whose count group ("0", "1", "2", "3") says how many rows of selection boxes are used.
// Row r (0-based) is enabled when r < count; a count outside 0..rows leaves every row enabled.
bool CountRowEnabled(int count, int row, int rows);

// A count from 0 to the number of rows is complete when each of its first count boxes has a
// selection; any other count never is.
bool CountRowsSelected(int count, std::span<const int> selections);

// The names of the user symbols, in list order.
std::vector<std::string> UserSymbolNames(const CCatforgeDoc& doc);
