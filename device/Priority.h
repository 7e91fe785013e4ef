#pragma once

// Raises the process's priority while it lives, so that the page transfer is not starved by
// other programs, and puts back the priority it found. On Linux the nice value belongs to the
// calling thread, which is the one that runs the transfer. A system that refuses the
// raise (an unprivileged user on Linux) leaves the priority as it was; that is no error.
class RaisedPriority {
public:
    RaisedPriority();
    ~RaisedPriority();
    RaisedPriority(const RaisedPriority&) = delete;
    RaisedPriority& operator=(const RaisedPriority&) = delete;

    // Whether the system granted the raise.
    bool Raised() const { return raised_; }

private:
    long previous_ = 0; // the priority class or the nice value, as found
    bool raised_ = false;
};
