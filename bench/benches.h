// The operations of each family, with their inputs and peers.
#pragma once

#include <vector>

#include "compare.h"

namespace bench {

std::vector<Operation> FieldOperations();
std::vector<Operation> SearchOperations();
std::vector<Operation> LikeOperations();
// The files are written into folder on the first run and read from there afterwards.
std::vector<Operation> FileFormatOperations(const std::string& folder);
std::vector<Operation> ReportOperations();

}  // namespace bench
