// Files that the program rewrites (the preferences, the user places) are
// never written in place: the new contents go to a twin (".tmp") first, and
// only a twin that was written completely replaces the file, in one step,
// so that a crash or a full disk at any moment leaves either the old or the
// new file.
#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace Data {

// folder + the platform's separator + name; no separator is added when the
// folder is empty or already ends in one.
std::u16string JoinPath(const std::u16string& folder, const std::u16string& name);

// The file to read for `path`: `path` when it exists; otherwise its twin
// when that is a complete write that was never moved into place (it ends
// with a line end: a twin cut off part-way is not used); otherwise empty.
std::u16string FileToRead(const std::u16string& path, const std::u16string& twin);

// Writes a UTF-8 text file through its twin: opens `twin` (truncating it),
// lets `write` fill the stream, closes it; when anything failed (the twin
// did not open, `write` returned false, a write or the close failed) the
// twin is deleted and false returned, `path` untouched. Otherwise the twin
// replaces `path` in one step; when that fails the twin stays, `path` is
// unchanged, and the result is false.
bool WriteReplacing(const std::u16string& path, const std::u16string& twin,
                    const std::function<bool(std::basic_ostream<char16_t>&)>& write);

// Copies a file byte for byte, replacing `to`. False when anything failed
// (a partial `to` is removed).
bool CopyFileBytes(const std::u16string& from, const std::u16string& to);

}  // namespace Data
