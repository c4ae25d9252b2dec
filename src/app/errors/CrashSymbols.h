#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace kivo {

// Names the code addresses of a crashed run from the load map it left (the lines of its
// /proc/<pid>/maps), by reading each module's ELF symbol tables now, at the next start. A module that was
// replaced or removed since (its file is not the one that was mapped) is not read: its frames keep the
// module and offset only, never a name that may be wrong.
class CrashSymbols {
public:
    explicit CrashSymbols(const QByteArray& loadMap);
    ~CrashSymbols();

    // "symbol+0x1a" (the symbol as the module names it) where the module's symbols cover the address,
    // otherwise "module+0x1a2b" (the module's file name and the address's offset from where it was
    // loaded), or the bare address where no file was mapped there. A return address (every frame but
    // the innermost) is looked up one byte back, in the call that it returns from.
    QString name(quint64 address, bool returnAddress);

private:
    struct Mapping {
        quint64 start = 0;
        quint64 end = 0;
        quint64 offset = 0;
        quint64 inode = 0;
        QByteArray path;
    };
    struct Module;

    const Mapping* mappingAt(quint64 address) const;
    Module& module(const Mapping& mapping);

    std::vector<Mapping> mappings_;
    std::map<QByteArray, std::unique_ptr<Module>> modules_;
};

} // namespace kivo
