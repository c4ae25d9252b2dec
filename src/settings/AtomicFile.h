#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>

namespace kivo {

// Replacing a file so that a crash leaves either the old or the new contents, never a torn file:
// write `<path>.tmp`, fsync it, rename it over `path`, fsync the directory.
namespace AtomicFile {

// Returns an empty string on success, else why the file was left as it was. The parent directory is
// created when missing. `interruptBeforeRename` (tests only) abandons the write after the temporary file
// is complete, as a crash there would.
std::string write(const QString& path, const QByteArray& contents, int mode = 0600,
                  const std::function<bool()>& interruptBeforeRename = {});

// Flushes a directory entry (a rename or an unlink in it) to the disk.
bool syncDirectory(const QString& directory);

} // namespace AtomicFile
} // namespace kivo
