#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>

namespace kivo {

// Replacing a file so that a crash leaves either the old or the new contents, never a torn file: write a
// temporary file of its own (`<path>.tmp-XXXXXX`, created exclusively, so overlapping writes never touch
// each other's), fsync it, rename it over `path`, fsync the directory.
namespace AtomicFile {

// Returns an empty string on success, else why the file was left as it was. The parent directory is
// created when missing. A symbolic link at `path` is kept: the file it leads to is replaced, with the
// temporary file beside that file. `interruptBeforeRename` (tests only) abandons the write after the
// temporary file is complete, as a crash there would.
std::string write(const QString& path, const QByteArray& contents, int mode = 0600,
                  const std::function<bool()>& interruptBeforeRename = {});

// Where a write to `path` lands: `path` itself, or the end of its chain of symbolic links (which need
// not exist yet).
QString writeTarget(const QString& path);

// Whether `fileName` is the name of a temporary file of a write to a file named `targetName`.
bool isTemporaryName(const QString& fileName, const QString& targetName);

// Flushes a directory entry (a rename or an unlink in it) to the disk.
bool syncDirectory(const QString& directory);

} // namespace AtomicFile
} // namespace kivo
