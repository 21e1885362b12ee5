// How the Combra core talks to its host (the Qt program, the command line, tests).
#pragma once

#include <string>

namespace combra {

// Receives the texts the user is to see, in the program's own words ("CIRCLE!",
// "Cannot open file ... for reading", ...). The Qt program shows each one in a modal
// message box; the command line writes it to standard error.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

// Told when the document's network changes as a whole, so that a view can follow.
// Every method does nothing by default.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // New document: every node was deleted. Repaint.
    virtual void NetworkCleared() {}
    // A file was read and its links resolved. Recompute extents and repaint.
    virtual void NetworkLoaded() {}
    // The calculation ran. Results are valid; repaint.
    virtual void Calculated() {}
};

}  // namespace combra
