#pragma once

// What a frame knows of one of its actions: the command it sends and
// where it sits.
struct CommandActionInfo {
    enum class Source { None, Menu, RecentFile, Button, Accelerator };
    int id = 0;
    Source source = Source::None;
    // Marked grayed in the menu resource: the recent-file item so marked
    // stands in for an empty list.
    bool grayed = false;
};
