#pragma once

#include <string_view>

// Member names of the history file's objects: the records' field names.
namespace historykeys {
inline constexpr std::string_view id = "id";
inline constexpr std::string_view date = "date";
inline constexpr std::string_view containers = "containers";
inline constexpr std::string_view conUUID = "conUUID";
inline constexpr std::string_view conRef = "conRef";
inline constexpr std::string_view capacity = "capacity";
inline constexpr std::string_view free = "free";
inline constexpr std::string_view volNames = "volNames";
inline constexpr std::string_view firstVolName = "firstVolName";
inline constexpr std::string_view totalUsed = "totalUsed";
} // namespace historykeys
