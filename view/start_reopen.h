#pragma once

// Whether this start still has to reopen the most recent diary. The
// application knows (a start after one that died opening that diary skips
// it); the graph asks at each initial update and, the one time the answer
// is yes, asks the main window to reopen the file.
class StartReopen {
public:
    virtual ~StartReopen() = default;
    // True the first time it is asked in a start that reopens; false after
    // that, and in a start that does not.
    virtual bool TakeReopen() = 0;
};
