#pragma once

#include <functional>

// CEditingLock: keeps the user from switching device or profile while an edit that spans several
// events (a macro recording) is under way. Taking it with the bar disables the device bar and the
// active page's profile panel until a release with the bar; in every case the page's key panel is
// marked busy while the lock is on.
//
// The lock only keeps a flag and tells its two observers; what "disable" means is theirs.
// Thread: the UI thread only.
class CEditingLock {
public:
    using Switch = std::function<void(bool)>;

    // barEnabled(false) disables the bar and profile panel; panelBusy(true) marks the panel busy.
    CEditingLock(Switch barEnabled, Switch panelBusy);

    void Take(bool withBar);
    void Release(bool withBar);
    bool IsLocked() const { return !notLocked_; }

private:
    Switch barEnabled_;
    Switch panelBusy_;
    bool notLocked_ = true;
};
