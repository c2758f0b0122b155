#pragma once

#include "mountentry.h"

#include <optional>

// The entry of this process's mount table that "/" leads to: the last one
// listed at "/". Nothing when the table cannot be read.
std::optional<MountEntry> rootMount();
