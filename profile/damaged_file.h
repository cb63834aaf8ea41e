#pragma once

#include <string>

// Keeps a data file that could not be read out of harm's way before a default takes its place:
// the file is renamed in its own folder to "<name>.damaged-<time stamp>", so the user (or
// support) can still recover what it held.
//
// Thread safety: any thread; the operations share no state.
class CDamagedFile {
public:
    // Whether the path is a regular file with content, i.e. a file that a null read means is
    // damaged rather than absent.
    static bool HasContent(const std::string& path);

    // Renames the file beside itself; returns the new path, or "" when it could not be moved
    // (a debug line then says why).
    static std::string MoveAside(const std::string& path);
};
