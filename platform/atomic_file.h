#pragma once

#include <string>

// Replaces a file's content so that a crash or a full disk never leaves it half written: the
// text goes to a temporary file beside it, is synced, and is renamed over the old one. The old
// file's mode is kept; a write through a symlink replaces the symlink's target. Temporaries of
// the same file left by writers killed more than ten minutes ago are removed after a write.
//
// Thread safety: any thread; two writers of the same file leave one of the two contents.

namespace platform {

// 0 on success, else the errno of the step that failed (EACCES for a file marked read-only,
// which stays untouched even for root); the old content is kept then.
int ReplaceFile(const std::string& path, const std::string& text);

}  // namespace platform
