#include "ElfImage.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <link.h>
#include <vector>

namespace {

using Ehdr = ElfW(Ehdr);
using Phdr = ElfW(Phdr);
using Shdr = ElfW(Shdr);

// Only this program's own kind of file is ever read: the native word size and byte order.
constexpr unsigned char kNativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kNativeData =
    std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

// offset + size without wrapping: a nonsensical header yields an end beyond any file.
uint64_t EndOf(uint64_t offset, uint64_t size) {
    return size > std::numeric_limits<uint64_t>::max() - offset
               ? std::numeric_limits<uint64_t>::max()
               : offset + size;
}

[[noreturn]] void ShorterThanHeaders(uint64_t fileSize, uint64_t end) {
    throw EElfImageError("The program file is " + std::to_string(fileSize) +
                         " bytes long but its ELF headers describe " +
                         (end == std::numeric_limits<uint64_t>::max()
                              ? std::string("an impossible size")
                              : std::to_string(end) + " bytes"));
}

template <class Entry> Entry ReadEntry(const TReadAt& readAt, uint64_t offset) {
    Entry entry;
    readAt(offset, std::span(reinterpret_cast<uint8_t*>(&entry), sizeof entry));
    return entry;
}

// Reads the `count` entries of a header table, each `entrySize` bytes long in the file,
// after checking that the whole table lies inside the file.
template <class Entry>
std::vector<Entry> ReadTable(uint64_t fileSize, const TReadAt& readAt, uint64_t offset,
                             uint64_t count, uint64_t entrySize) {
    if (count == 0) return {};
    if (entrySize < sizeof(Entry))
        throw EElfImageError("The program file's ELF header table entries are too small");
    const uint64_t end = EndOf(offset, count * entrySize);
    if (end > fileSize) ShorterThanHeaders(fileSize, end);
    std::vector<Entry> entries;
    for (uint64_t i = 0; i < count; ++i)
        entries.push_back(ReadEntry<Entry>(readAt, offset + i * entrySize));
    return entries;
}

} // namespace

uint64_t ElfImageEnd(std::span<const uint8_t> file) {
    return ElfImageEnd(file.size(), [file](uint64_t offset, std::span<uint8_t> into) {
        std::memcpy(into.data(), file.data() + offset, into.size());
    });
}

uint64_t ElfImageEnd(uint64_t fileSize, const TReadAt& readAt) {
    if (fileSize < sizeof(Ehdr)) throw EElfImageError("The program file is not an ELF program");
    const Ehdr header = ReadEntry<Ehdr>(readAt, 0);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        throw EElfImageError("The program file is not an ELF program");
    if (header.e_ident[EI_CLASS] != kNativeClass || header.e_ident[EI_DATA] != kNativeData)
        throw EElfImageError("The program file is an ELF program of another machine");

    const auto segments =
        ReadTable<Phdr>(fileSize, readAt, header.e_phoff, header.e_phnum, header.e_phentsize);
    const auto sections =
        ReadTable<Shdr>(fileSize, readAt, header.e_shoff, header.e_shnum, header.e_shentsize);
    // The section header table is normally the end; the sections and segments are counted
    // too, so that a linker that orders the file otherwise cannot make us cut into its image.
    uint64_t end = std::max<uint64_t>(
        {sizeof header, EndOf(header.e_phoff, uint64_t(header.e_phnum) * header.e_phentsize),
         EndOf(header.e_shoff, uint64_t(header.e_shnum) * header.e_shentsize)});
    for (const Phdr& segment : segments)
        end = std::max(end, EndOf(segment.p_offset, segment.p_filesz));
    for (const Shdr& section : sections)
        if (section.sh_type != SHT_NOBITS)
            end = std::max(end, EndOf(section.sh_offset, section.sh_size));
    if (end > fileSize) ShorterThanHeaders(fileSize, end);
    return end;
}
