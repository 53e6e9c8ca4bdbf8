// Whole text files for the record and the trace: a bounded reader of regular files and an atomic
// writer.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "files/record.h"

namespace zel {

// Reads the whole of a regular file of at most `limit` bytes into `text`. Anything else is
// refused, unread and without blocking, and the refusal is returned as a load of no moves:
// kCannotRead (with errno), kNotRegularFile (with the kind of file) or kTooLarge (with the limit,
// in decimal). Nothing when the file was read.
std::optional<RecordLoad> ReadTextFile(const std::filesystem::path& path, long limit,
                                       std::string& text);

// Writes `text` to `path` atomically: a temporary file in the same directory, synced, then
// renamed over `path`, which holds either its old content or the whole new text whenever the
// program or the machine stops. An empty error on success; otherwise the errno of the step that
// failed, and `path` is left as it was, with no temporary file beside it.
std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view text);

}  // namespace zel
