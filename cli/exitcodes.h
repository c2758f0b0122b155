#pragma once

// Exit statuses of quillbank-cli. This table is the one place they are
// defined: --help prints it, and a test holds the README and the manual page
// to the same words.
enum ExitCode : int {
    ExitOk = 0,
    ExitUsage = 2,
    ExitToolFailed = 3,
    ExitUndecodable = 4,
    ExitBadHistory = 5,
    ExitNoSuchContainer = 6,
    ExitCannotWrite = 7,
    ExitOutputFailed = 8,
    ExitLocked = 9,
};

struct ExitCodeMeaning {
    ExitCode code;
    const char *meaning;
};

inline constexpr ExitCodeMeaning exitCodeMeanings[] = {
    {ExitOk, "success"},
    {ExitUsage, "wrong command, unknown option, missing value or stray argument, or no usable "
                "folder for the default history"},
    {ExitToolFailed, "the listing tool could not be started, was killed by a signal, exited "
                     "with a non-zero status, or ran past its time limit or 64 MiB of output"},
    {ExitUndecodable, "the listing tool's output does not decode"},
    {ExitBadHistory, "the history file is not a valid history, or holds numbers the CSV export "
                     "cannot write exactly"},
    {ExitNoSuchContainer, "the history has no reading of the given container"},
    {ExitCannotWrite, "the output file cannot be written"},
    {ExitOutputFailed, "standard output cannot be written"},
    {ExitLocked, "another process held the history's lock for 10 seconds"},
};
