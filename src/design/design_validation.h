#pragma once
// From a design file's JSON to a design: every member of the wrong type, a
// slider outside its range, another format or a newer version is refused
// with the member named; members this program does not know are kept.

#include <string>

#include "design/design_file.h"
#include "design/json_tree.h"

namespace diaspring::design {

// The wanted types of WrongType, as stored in DesignFileError::detail.
inline constexpr const char* kText = "text";
inline constexpr const char* kObject = "object";
inline constexpr const char* kWholeNumber = "whole number";

// A failed read of the file `path`.
DesignRead readFailure(const std::string& path, DesignFileProblem problem, std::string key = {},
                       std::string detail = {});

DesignRead designFromJson(JsonValue root, const std::string& path);

}  // namespace diaspring::design
