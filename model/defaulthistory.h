#pragma once

#include <QString>

// The per-user history: history.json in the application's data folder
// (Qt's AppDataLocation, ~/.local/share/Quillbank on Linux). `record` fills it
// when given no file, and the window opens it at start when it exists. Both
// fronts name the application "Quillbank" before asking.
QString defaultHistoryPath();
