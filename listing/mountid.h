#pragma once

#include <QtGlobal>

#include <optional>

// The id of the mount that an open file lies on, the number in the first
// column of mountinfo; nothing when the kernel cannot tell (before Linux 5.8).
std::optional<quint64> mountIdOf(int fd);
