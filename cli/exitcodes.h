#pragma once

// Exit statuses of quillbank-cli, documented in its --help.
enum ExitCode : int {
    ExitOk = 0,
    ExitUsage = 2,
    ExitToolFailed = 3,
    ExitUndecodable = 4,
    ExitBadHistory = 5,
    ExitNoSuchContainer = 6,
    ExitCannotWrite = 7,
};
