#pragma once

#include <QString>

// A text as one field of a comma-separated line that a spreadsheet takes as
// data: quoted (double quotes doubled) when it holds a comma, a double quote,
// CR or LF, and, when it begins with =, +, -, @, TAB or CR, quoted with a
// leading ' so that it is not run as a formula. Any other text is returned as
// it is. For texts only: numbers and dates need none of it.
QString csvField(const QString &text);
