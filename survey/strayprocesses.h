#pragma once

// Processes the listing tool started that left its process group (with
// setsid, say), and so outlive the kill of the group. Where the system
// allows it (Linux), a process that adopts them becomes the reaper of its
// orphaned descendants: when the tool ends they become its children, and it
// kills what is left of them. Elsewhere both calls do nothing.
class StrayProcesses
{
public:
    // For a process whose only children are listing tools: the command-line
    // tool, not the window.
    static void adopt();
    // Kills and reaps every child of this process, generation by generation,
    // once adopt() has been called. Async-signal-safe.
    static void killAll();
};
