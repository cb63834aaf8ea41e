#pragma once

// How the update thread reports to the main window. The main window implements it.
//
// Thread safety: called on the update thread. Implementations must not touch controls there;
// they post to the UI thread (the settings button's image and message 0x0C15 are UI work).
class IUpdateNotifier {
public:
    virtual ~IUpdateNotifier() = default;

    // A round has ended. somethingNew: mark "setbtn" with "file='sysbtn/haveNewInfo.png'" and
    // post 0x0C15 (open the settings window); the thread then ends. Otherwise: clear the mark.
    // A round that could not reach the service, or had no service to ask, reports false.
    virtual void UpdateRoundFinished(bool somethingNew) = 0;
};
