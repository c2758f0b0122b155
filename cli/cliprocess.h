#pragma once

// Settings for the whole command-line tool process, made once at its start:
// - SIGXFSZ is ignored, so that a file size limit fails a write (standard
//   output's too) with "File too large" instead of killing the tool;
// - SIGINT, SIGTERM and SIGHUP, unless ignored already (as nohup does), end
//   it with status 128 + the signal's number after removing the temporary
//   file of a save in progress and killing the listing tool's process group;
// - it adopts the listing tool's descendants that leave that group.
void prepareCliProcess();
