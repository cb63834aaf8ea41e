#pragma once

#include <ostream>
#include <string>
#include <vector>

// norvikctl's "mouse shoot" commands on one mouse's shoot files (CShootData), as the recoil panel
// edits them; nothing is sent to the mouse ("mouse write-shoot" does that).
//
//   shoot show GUN                   the gun's 30 bullets (x, y, delay)
//   shoot set GUN BULLET X Y DELAY   one bullet; a negative X moves left, a negative Y up
//   shoot import GUN FILE | export GUN FILE | reset GUN
//
// GUN 0..3 and BULLET 0..29 as the files number them. X, Y and DELAY beyond what an event carries
// are clamped, and the output shows the clamped values. Exit codes: kExitOk, kExitFailure (a file
// could not be written), kExitUsage (bad arguments, or a file that is not a shoot file; nothing
// changed).
//
// Threads: norvikctl's only thread.
class CShootCommand {
public:
    CShootCommand(std::string userFolder, std::string defaultFolder);

    // words: "shoot" and what follows it.
    int Run(const std::vector<std::string>& words, bool json, std::ostream& out, std::ostream& err) const;
    static void PrintHelp(std::ostream& out);

private:
    std::string userFolder_;
    std::string defaultFolder_;
};
