// Where a program file's own image ends, so that a card's player can find the package that
// the builder appended to it without searching for the start marker (which is written in its
// own code as well).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>

class EElfImageError : public std::runtime_error {
public:
    explicit EElfImageError(const std::string& message) : std::runtime_error(message) {}
};

// The end of the ELF image at the start of `file`: the furthest byte that its headers, its
// sections and its segments occupy. The linker lays the section header table out last, and
// nothing that the ELF headers describe lies beyond it, so bytes appended to the program
// start exactly there. Throws EElfImageError if `file` is not an ELF program of this machine
// or is shorter than its headers say.
uint64_t ElfImageEnd(std::span<const uint8_t> file);

// Fills `into` with the bytes of the file that start at `offset`.
using TReadAt = std::function<void(uint64_t offset, std::span<uint8_t> into)>;
// The same, reading only the headers of a file of `fileSize` bytes.
uint64_t ElfImageEnd(uint64_t fileSize, const TReadAt& readAt);
