#include "app/errors/CrashSymbols.h"

#include <QFile>
#include <QSysInfo>

#include <algorithm>
#include <cstring>
#include <elf.h>
#include <optional>
#include <sys/stat.h>

namespace kivo {
namespace {

// A symbol table larger than this is not read: no module Kivo loads comes near it.
constexpr quint64 kLargestTable = 64ull << 20;

QByteArray readAt(QFile& file, quint64 offset, quint64 size) {
    if (size > kLargestTable || offset > static_cast<quint64>(file.size()) ||
        size > static_cast<quint64>(file.size()) - offset || !file.seek(static_cast<qint64>(offset)))
        return {};
    QByteArray bytes = file.read(static_cast<qint64>(size));
    return static_cast<quint64>(bytes.size()) == size ? bytes : QByteArray();
}

template <class T> std::optional<T> entry(const QByteArray& bytes, quint64 offset) {
    if (offset > static_cast<quint64>(bytes.size()) ||
        sizeof(T) > static_cast<quint64>(bytes.size()) - offset)
        return std::nullopt;
    T value;
    std::memcpy(&value, bytes.constData() + offset, sizeof(T));
    return value;
}

QByteArray hex(quint64 value) {
    return "0x" + QByteArray::number(value, 16);
}

} // namespace

struct CrashSymbols::Module {
    struct Table {
        QByteArray symbols;
        QByteArray names;
    };
    bool readable = false;
    std::vector<Elf64_Phdr> loads;
    std::vector<Table> tables; // the full symbol table first, then the dynamic one

    // Reads the program headers and the symbol tables of a 64-bit ELF file in this machine's byte order;
    // anything else leaves the module unreadable.
    void read(QFile& file) {
        const QByteArray header = readAt(file, 0, sizeof(Elf64_Ehdr));
        const auto elf = entry<Elf64_Ehdr>(header, 0);
        const unsigned char order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? ELFDATA2LSB : ELFDATA2MSB;
        if (!elf || std::memcmp(elf->e_ident, ELFMAG, SELFMAG) != 0 || elf->e_ident[EI_CLASS] != ELFCLASS64 ||
            elf->e_ident[EI_DATA] != order || elf->e_phentsize != sizeof(Elf64_Phdr) ||
            (elf->e_shnum && elf->e_shentsize != sizeof(Elf64_Shdr)))
            return;
        const QByteArray programHeaders =
            readAt(file, elf->e_phoff, quint64{elf->e_phnum} * sizeof(Elf64_Phdr));
        for (quint64 i = 0; i < elf->e_phnum; ++i) {
            const auto segment = entry<Elf64_Phdr>(programHeaders, i * sizeof(Elf64_Phdr));
            if (segment && segment->p_type == PT_LOAD)
                loads.push_back(*segment);
        }
        const QByteArray sections = readAt(file, elf->e_shoff, quint64{elf->e_shnum} * sizeof(Elf64_Shdr));
        for (const Elf64_Word wanted : {SHT_SYMTAB, SHT_DYNSYM}) {
            for (quint64 i = 0; i < elf->e_shnum; ++i) {
                const auto table = entry<Elf64_Shdr>(sections, i * sizeof(Elf64_Shdr));
                if (!table || table->sh_type != wanted || table->sh_entsize != sizeof(Elf64_Sym))
                    continue;
                const auto strings =
                    entry<Elf64_Shdr>(sections, quint64{table->sh_link} * sizeof(Elf64_Shdr));
                if (!strings || table->sh_link >= elf->e_shnum)
                    continue;
                Table loaded{readAt(file, table->sh_offset, table->sh_size),
                             readAt(file, strings->sh_offset, strings->sh_size)};
                if (!loaded.symbols.isEmpty() && !loaded.names.isEmpty())
                    tables.push_back(std::move(loaded));
            }
        }
        readable = !loads.empty();
    }

    // The address the module's own headers give to a byte of its file.
    std::optional<quint64> addressOf(quint64 fileOffset) const {
        for (const Elf64_Phdr& load : loads) {
            if (fileOffset >= load.p_offset && fileOffset - load.p_offset < load.p_filesz)
                return fileOffset - load.p_offset + load.p_vaddr;
        }
        return std::nullopt;
    }

    // The function that covers `address`: the one that starts closest below it.
    std::optional<std::pair<QByteArray, quint64>> functionAt(quint64 address) const {
        for (const Table& table : tables) {
            std::optional<Elf64_Sym> best;
            for (qsizetype at = 0; at + qsizetype{sizeof(Elf64_Sym)} <= table.symbols.size();
                 at += qsizetype{sizeof(Elf64_Sym)}) {
                Elf64_Sym symbol;
                std::memcpy(&symbol, table.symbols.constData() + at, sizeof symbol);
                const auto type = ELF64_ST_TYPE(symbol.st_info);
                if ((type != STT_FUNC && type != STT_GNU_IFUNC) || symbol.st_shndx == SHN_UNDEF ||
                    symbol.st_value == 0 || address < symbol.st_value ||
                    address - symbol.st_value >= std::max<quint64>(symbol.st_size, 1))
                    continue;
                if (!best || symbol.st_value > best->st_value)
                    best = symbol;
            }
            if (best && best->st_name < static_cast<quint64>(table.names.size())) {
                const char* name = table.names.constData() + best->st_name;
                const auto length = qstrnlen(name, static_cast<uint>(table.names.size() - best->st_name));
                if (length > 0 && best->st_name + length < static_cast<quint64>(table.names.size()))
                    return std::pair{QByteArray(name, static_cast<qsizetype>(length)), best->st_value};
            }
        }
        return std::nullopt;
    }
};

CrashSymbols::CrashSymbols(const QByteArray& loadMap) {
    // "start-end perms offset major:minor inode path", the path being all that follows the fifth field.
    for (const QByteArray& line : loadMap.split('\n')) {
        qsizetype at = 0;
        const auto field = [&line, &at] {
            while (at < line.size() && line[at] == ' ')
                ++at;
            const qsizetype start = at;
            while (at < line.size() && line[at] != ' ')
                ++at;
            return line.mid(start, at - start);
        };
        const QByteArray range = field();
        field(); // permissions
        const QByteArray offset = field();
        field(); // device
        const QByteArray inode = field();
        const qsizetype dash = range.indexOf('-');
        bool ok[4] = {};
        Mapping mapping;
        mapping.start = range.left(dash).toULongLong(&ok[0], 16);
        mapping.end = range.mid(dash + 1).toULongLong(&ok[1], 16);
        mapping.offset = offset.toULongLong(&ok[2], 16);
        mapping.inode = inode.toULongLong(&ok[3], 10);
        if (dash < 0 || !ok[0] || !ok[1] || !ok[2] || !ok[3] || mapping.end <= mapping.start)
            continue;
        mapping.path = line.mid(at).trimmed();
        mappings_.push_back(std::move(mapping));
    }
}

CrashSymbols::~CrashSymbols() = default;

const CrashSymbols::Mapping* CrashSymbols::mappingAt(quint64 address) const {
    for (const Mapping& mapping : mappings_) {
        if (address >= mapping.start && address < mapping.end)
            return &mapping;
    }
    return nullptr;
}

CrashSymbols::Module& CrashSymbols::module(const Mapping& mapping) {
    auto& slot = modules_[mapping.path];
    if (!slot) {
        slot = std::make_unique<Module>();
        // Only the very file that was mapped: an update since may have put another in its place.
        struct stat status {};
        QFile file(QFile::decodeName(mapping.path));
        if (mapping.inode != 0 && ::stat(mapping.path.constData(), &status) == 0 &&
            status.st_ino == mapping.inode && S_ISREG(status.st_mode) && file.open(QIODevice::ReadOnly))
            slot->read(file);
    }
    return *slot;
}

QString CrashSymbols::name(quint64 address, bool returnAddress) {
    const quint64 lookup = returnAddress && address > 0 ? address - 1 : address;
    const Mapping* mapping = mappingAt(lookup);
    if (!mapping || mapping->path.isEmpty())
        return QString::fromLatin1(hex(address));
    if (mapping->path.startsWith('/')) {
        const Module& code = module(*mapping);
        const auto at =
            code.readable ? code.addressOf(lookup - mapping->start + mapping->offset) : std::nullopt;
        if (const auto function = at ? code.functionAt(*at) : std::nullopt)
            return QString::fromUtf8(function->first + '+' +
                                     hex(*at + (address - lookup) - function->second));
    }
    // Where the module was loaded: its first mapping, the one of the file's start.
    quint64 base = mapping->start - mapping->offset;
    for (const Mapping& other : mappings_) {
        if (other.path == mapping->path && other.offset == 0) {
            base = other.start;
            break;
        }
    }
    QByteArray file = mapping->path.mid(mapping->path.lastIndexOf('/') + 1);
    if (file.endsWith(" (deleted)"))
        file.chop(qsizetype{sizeof " (deleted)" - 1});
    return QString::fromUtf8(file + '+' + hex(address - base));
}

} // namespace kivo
