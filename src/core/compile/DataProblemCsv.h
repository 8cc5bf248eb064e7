// The problems of a data check as comma-separated values, one line per problem under a
// heading line: record, field, text, problem. Fields are quoted where they must be.
#pragma once

#include <string>
#include <vector>

#include "core/compile/DataCheck.h"

std::string ProblemsToCsv(const std::vector<DataProblem>& problems);
